// The answer panel below the content view of the exam frame: the shown
// node's title, the question's score line and countdown, its answer
// controls, a status icon, the score entry while the learner scores by hand,
// and the buttons that move through the exam and submit or end it. What it
// shows the exam session decides; what the learner does goes to the exam
// frame as signals.
#pragma once

#include <QScrollArea>

#include "core/practice/answer_panel.h"
#include "core/practice/exam_session.h"
#include "practice/answer_controls.h"

class QTimer;
class QLabel;
class QLineEdit;
class QPushButton;

class CInputForm : public QScrollArea {
    Q_OBJECT
public:
    explicit CInputForm(QWidget* parent);
    ~CInputForm() override;

    // The height that shows the whole form.
    int FormHeight() const;

    // Shows one node of the exam in the given exam state; navFlags are
    // NavigationFlag bits. A node that is not a question comes with an item
    // whose question ID is -1.
    void ShowItem(int nodeId, const QString& title, quillory::ExamState state, int navFlags,
                  const quillory::ExamItem& item);

    // The shown node and the panel's copy of its item; while answering, the
    // learner's entries are read into it first.
    quillory::PanelItem TakeItem();

signals:
    void previousRequested(int nodeId);
    void nextRequested(int nodeId);
    // Submit while answering or scoring; end the result display otherwise.
    void submitRequested();
    void returnRequested();
    // The learner changed an answer or the score given by hand.
    void answersEdited();
    // The toggle shows the other side of the question in the content view.
    void pageRequested(const QString& link);

private:
    void LayOutForm();
    template <typename Window>
    Window* Add(Window* window, int id, const QRect& dialogUnits);
    QLabel* AddIcon(int id, const char* resource, const QRect& dialogUnits);
    void ShowStatusIcon(quillory::StatusIcon icon);
    void EnableNavigation(int navFlags);
    void ToggleAnswer();
    void OnPrevious();
    void OnNext();
    void OnSubmit();
    void OnScoreEdited(const QString& text);
    void CountDown();

    int nodeId_ = -1;
    QString nodeTitle_;
    quillory::ExamState state_ = quillory::ExamState::Idle;
    int secondsLeft_ = 0;
    // Counts ShowItem calls, so that a next posted by the countdown acts only
    // on the question it counted for.
    int shown_ = 0;
    quillory::ExamItem item_;
    CAnswerControls controls_;
    QTimer* countdown_ = nullptr;

    QWidget* form_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* timeLeft_ = nullptr;
    QLabel* scoreLine_ = nullptr;
    QLineEdit* scoreEntry_ = nullptr;
    QWidget* answerArea_ = nullptr;
    QLabel* correctIcon_ = nullptr;
    QLabel* partlyIcon_ = nullptr;
    QLabel* wrongIcon_ = nullptr;
    QLabel* answeringIcon_ = nullptr;
    QLabel* scoringIcon_ = nullptr;
    QPushButton* toggleButton_ = nullptr;
    QPushButton* previousButton_ = nullptr;
    QPushButton* nextButton_ = nullptr;
    QPushButton* submitButton_ = nullptr;
};

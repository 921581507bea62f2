// The answer panel below the content view of the exam frame: the shown
// node's title, the question's score line and countdown, its answer
// controls, a status icon, the score entry while the learner scores by hand,
// and the buttons that move through the exam and submit or end it.
#pragma once

#include <QScrollArea>
#include <QTimer>

#include "core/practice/exam_item.h"
#include "practice/answer_controls.h"

class CDoPaperFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class CInputForm : public QScrollArea {
    Q_OBJECT
public:
    CInputForm(CDoPaperFrame& frame, QWidget* parent);
    ~CInputForm() override;

    // The height that shows the whole form.
    int FormHeight() const;

    // Shows one node of the exam in the given exam state; navFlags are
    // NavigationFlag bits. A node that is not a question comes with an item
    // whose question ID is -1.
    void ShowItem(int nodeId, const QString& title, int state, int navFlags,
                  const quillory::ExamItem& item);

    struct TakenItem {
        int nodeId = -1;
        quillory::ExamItem item;
    };
    // The shown node and the panel's copy of its item; while answering, the
    // learner's entries are read into it first.
    TakenItem TakeItem();

private:
    void LayOutForm();
    template <typename Window>
    Window* Add(Window* window, int id, const QRect& dialogUnits);
    QLabel* AddIcon(int id, const char* resource, const QRect& dialogUnits);
    void ShowStatusIcon(QLabel* icon);
    void EnableNavigation(int navFlags);
    void ToggleAnswer();
    void OnPrevious();
    void OnNext();
    void OnSubmit();
    void OnScoreEdited(const QString& text);
    void CountDown();

    CDoPaperFrame& frame_;
    int nodeId_ = -1;
    QString nodeTitle_;
    int state_ = 0;
    int secondsLeft_ = 0;
    // Counts ShowItem calls, so that a next posted by the countdown acts only
    // on the question it counted for.
    int shown_ = 0;
    quillory::ExamItem item_;
    CAnswerControls controls_;
    QTimer countdown_;

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

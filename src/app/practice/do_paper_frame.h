// The mock exam: one exam at a time on a paper node (a whole paper, a
// section or one question item), answered in the panel below the content
// view, judged, scored by hand where it must be, stored as an exam record
// and shown as a result; or the review of a stored exam record. The rules
// are the exam session's; the frame shows what it says.
#pragma once

#include <vector>

#include "core/practice/exam_session.h"
#include "practice/paper_frame.h"
#include "widgets/qt_clock.h"

class QTimer;
class CInputForm;
class QLabel;
class QSplitter;

class CDoPaperFrame : public CPaperFrame {
    Q_OBJECT
public:
    CDoPaperFrame(CBankSession& bank, QWidget* owner);
    ~CDoPaperFrame() override;

    quillory::ExamState State() const { return session_.State(); }

    // Loads the exam of a paper node for the learner to answer.
    void StartExam(int nodeId);
    // Replays the exam record whose first History row is historyId; 1 when
    // loaded, 0 otherwise.
    int ReviewRecord(int historyId);
    // Offers the exam left unfinished on the open data file; true when the
    // learner went on with it, shown where it stopped.
    bool ResumeExam();

    // Select the node before (after) nodeId and return its NavigationFlag
    // bits; at the first (last) node nothing moves.
    int Previous(int nodeId);
    int Next(int nodeId);
    // kCmdSubmit and the panel's submit while answering or scoring by hand.
    void Submit();

    void ResetTree() override;
    void ReturnToMenu() override;

    CInputForm* Panel() const { return panel_; }
    int HistoryId() const { return session_.HistoryId(); }
    const std::vector<quillory::ExamItem>& Items() const { return session_.Items(); }
    // The clock that dates exam records (the machine's, unless replaced).
    void SetClock(quillory::Clock& clock) { session_.SetClock(clock); }

protected:
    void OnTreeSelect(int itemId) override;
    void UpdateCommandStates() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildLayout();
    void LayOutRows();
    // Fills the tree with the exam's nodes; the root is expanded and
    // selected when asked.
    void ShowExamTree(bool selectRoot);
    void ShowResult();
    void SetResultImages();
    // Selects no node and then id, so that the node is shown again even
    // when it was selected.
    void ReselectNode(int id);
    void CountDown();
    void ClearPanel();
    void KeepAnswers();

    CQtClock systemClock_;
    quillory::ExamSession session_;
    QSplitter* rightColumn_ = nullptr;
    CInputForm* panel_ = nullptr;
    QLabel* timeLeft_ = nullptr;
    QTimer* countdown_ = nullptr;
    // Typing is kept in bursts, not at every key.
    QTimer* answersKeeper_ = nullptr;
};

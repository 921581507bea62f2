// The mock exam: one exam at a time on a paper node (a whole paper, a
// section or one question item), answered in the panel below the content
// view, judged, scored by hand where it must be, stored as an exam record
// and shown as a result; or the review of a stored exam record.
#pragma once

#include <QTimer>
#include <vector>

#include "core/practice/exam_item.h"
#include "practice/exam_state.h"
#include "practice/paper_frame.h"
#include "shell/qt_clock.h"

class CInputForm;
class QLabel;
class QSplitter;

class CDoPaperFrame : public CPaperFrame {
    Q_OBJECT
public:
    CDoPaperFrame(CQuilloryApp& app, QWidget* owner);
    ~CDoPaperFrame() override;

    ExamState State() const { return state_; }
    // The main menu sets answering before StartExam and review before
    // ReviewRecord.
    void SetState(ExamState state);

    // Loads the exam of a paper node; nothing without an open data file.
    void StartExam(int nodeId);
    // Replays the exam record whose first History row is historyId; 1 when
    // loaded, 0 otherwise.
    int ReviewRecord(int historyId);

    // Select the node before (after) nodeId and return its NavigationFlag
    // bits; at the first (last) node nothing moves.
    int Previous(int nodeId);
    int Next(int nodeId);
    // Command 185 and the panel's submit while answering or scoring by hand.
    void Submit();

    void ResetTree() override;
    void ReturnToMenu() override;

    CInputForm* Panel() const { return panel_; }
    // The first History row of the record stored or reviewed; -1 before any.
    int HistoryId() const { return historyId_; }
    const std::vector<quillory::ExamItem>& Items() const { return items_; }
    // The clock that dates exam records (the machine's, unless replaced).
    void SetClock(quillory::Clock& clock) { clock_ = &clock; }

protected:
    void OnTreeSelect(int itemId) override;
    void UpdateCommandStates() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildLayout();
    void LayOutRows();
    quillory::ExamItem* ItemOf(int paperItemId);
    int FlagsAt(int index);
    int Step(int nodeId, int delta);
    // Copies the panel's item, with the learner's entries, into the exam.
    void KeepPanelItem();
    void Score();
    void StoreRecord();
    void ShowResult();
    void SetResultImages();
    // Selects no node and then id, so that the node is shown again even
    // when it was selected.
    void ReselectNode(int id);
    void CountDown();

    int rootNodeId_ = -1;
    int historyId_ = -1;
    int secondsLeft_ = 0;
    ExamState state_ = kExamIdle;
    size_t cursor_ = 0;  // the next item to judge
    std::vector<quillory::ExamItem> items_;
    const quillory::ExamItem placeholder_;  // for nodes that are not questions

    QSplitter* rightColumn_ = nullptr;
    CInputForm* panel_ = nullptr;
    QLabel* timeLeft_ = nullptr;
    QTimer countdown_;
    CQtClock systemClock_;
    quillory::Clock* clock_ = &systemClock_;
};

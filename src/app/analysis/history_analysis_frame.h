// The history module: the learner's exam records by day, the history
// summary, the page of each record; records are deleted or reviewed here.
// The core decides the tree's rows and does the deleting; the frame shows
// them and passes on what the learner asks for.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>

#include "core/host/kept_messages.h"
#include "core/store/date_time.h"
#include "frame/quillory_frame.h"

class QThread;

class CHistoryAnalysisFrame : public CQuilloryFrame {
    Q_OBJECT
public:
    CHistoryAnalysisFrame(CBankSession& bank, QWidget* owner);
    // Waits for a summary build still running.
    ~CHistoryAnalysisFrame() override;

    // Days and records from the History table, the root selected; an
    // unreadable table leaves the tree empty.
    void LoadTree() override;

protected:
    void OnTreeSelect(int itemId) override;
    void UpdateCommandStates() override;
    // Shown after the history changed: the tree is read again.
    void showEvent(QShowEvent* event) override;

private:
    // The root's summary: shown at once when it may be reused, else built
    // on a thread of its own over a store of its own, a note shown
    // meanwhile; the program stays usable all the while.
    void ShowSummary();
    // built: the page is in place; now: when the build started.
    void OnSummaryBuilt(bool built, const quillory::DateTime& now);

    void DeleteRecords();
    void Review();
    // The current record's first History row; 0 for any other item.
    int CurrentHistoryId();

    std::unordered_map<int, std::string> links_;  // item ID -> what it shows
    // A build's progress window disables the frames while it runs, and the
    // tree then reports its selection again: that must not start the build
    // once more.
    bool building_ = false;
    QThread* summaryBuild_ = nullptr;
    std::shared_ptr<quillory::KeptMessages> summaryMessages_;
};

// A running exam on one paper node (a whole paper, a section or one question
// item): its nodes and items, the learner's answers and scores, its state,
// judging and hand scoring, and storing the record; or the replay of a
// stored record. The exam windows show what it says and pass on what the
// learner does; it asks the learner its questions through the host. While
// the learner answers or scores by hand, the exam is kept in its progress
// file beside the data file, so that a crash loses nothing.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/common/paper_node_list.h"
#include "core/practice/exam_item.h"
#include "core/practice/exam_progress.h"
#include "core/practice/exam_state.h"

namespace quillory {

class Clock;
class DataStore;
class Host;
class Settings;

// The item the answer panel holds: the node it shows and its copy of the
// item, with the learner's entries read back, and the state it was shown
// in (a copy shown before judging holds no score).
struct PanelItem {
    int nodeId = -1;
    ExamItem item;
    ExamState shownIn = ExamState::Idle;
};

// What the windows show for one node.
struct NodeView {
    std::string link;  // the page of the content view
    std::string title;
    int flags = 0;                   // NavigationFlag bits
    const ExamItem* item = nullptr;  // the placeholder for nodes that are not questions
};

// What the windows do after the learner submitted.
struct ExamStep {
    enum class Kind {
        None,      // nothing changes
        Select,    // select the node
        Reselect,  // select no node, then the node, so that it is shown anew
        Result,    // the record is stored: show the results, then reselect the root
    };
    Kind kind = Kind::None;
    int nodeId = 0;
};

// How loading went.
struct ExamLoad {
    bool selectRoot = false;  // the exam is whole: expand and select its root
    bool countdown = false;   // the exam's countdown runs
};

class ExamSession {
public:
    ExamSession(Host& host, Clock& clock) : host_(host), clock_(&clock) {}

    ExamState State() const { return state_; }
    void SetClock(Clock& clock) { clock_ = &clock; }

    // Loads the exam of a paper node in the given state, replacing any
    // earlier one; answering keeps progress and runs the countdown. A
    // question without its row is reported and ends the load: the nodes
    // before it stay.
    ExamLoad Start(ExamState state, DataStore& store, int nodeId);

    enum class ReviewOutcome { NotLoaded, Loaded, RowsUnread };
    struct ReviewLoad {
        ReviewOutcome outcome = ReviewOutcome::NotLoaded;
        ExamLoad load;
    };
    // Loads the exam of the record whose first History row is historyId in
    // review and applies its answers and scores. RowsUnread: the exam is loaded but the
    // record's rows could not be read.
    ReviewLoad Review(DataStore& store, int historyId);

    struct ResumeLoad {
        bool resumed = false;
        bool countdown = false;  // the exam's countdown runs on from the time left
        ExamStep step;           // the node to show again, as it was shown
    };
    // Offers to go on with the exam left unfinished on this data file, if
    // there is one. A damaged progress file, or one whose paper is gone or
    // changed, is reported and given up, as is one the learner declines.
    ResumeLoad Resume(DataStore& store);
    // What is kept of the exam in progress.
    ExamProgress Progress() const;

    const PaperNodeList& Nodes() const { return nodes_; }
    const std::vector<ExamItem>& Items() const { return items_; }
    int RootNodeId() const { return rootNodeId_; }
    // The first History row of the record stored or reviewed; -1 before any.
    int HistoryId() const { return historyId_; }
    const ExamItem& Placeholder() const { return placeholder_; }

    // The node the learner selected; the panel's item is kept first, so the
    // answers of the question left (while answering) or its score (while
    // scoring by hand) stay in the exam.
    NodeView Select(int nodeId, const PanelItem& leaving);

    // The node before (delta -1) or after (+1) nodeId, if there is one, and
    // the flags of the position then shown.
    struct Move {
        std::optional<int> target;
        int flags = 0;
    };
    Move Step(int nodeId, int delta) const;

    // The learner changed an answer or a score in the panel.
    void KeepAnswers(const PanelItem& panel);

    // The learner submits (answering) or goes on (scoring by hand). Going on
    // takes the score of the question shown as the learner's; the record is
    // stored only once every question that needs a score by hand has had
    // one given.
    ExamStep Submit(DataStore& store, Settings& settings, const PanelItem& panel);

    // One second of the exam's countdown: the text to show, if any. At
    // 0:00:00 it stops; the exam is not submitted for the learner.
    std::optional<std::string> TickCountdown();

    // Asks before an exam or its result is left; true to leave.
    bool MayLeave();
    // Back to idle: no exam, no countdown.
    void Reset();

private:
    ExamItem* ItemOf(int paperItemId);
    int FlagsAt(int index) const;
    void Keep(const PanelItem& panel);
    ExamStep Score(DataStore& store, Settings& settings, bool firstPass);
    ExamStep SubmitStep(DataStore& store, Settings& settings, const PanelItem& panel);
    // Saves the progress while the exam is in progress, and gives it up
    // once the exam is stored or left.
    void Track();
    void SaveProgress();
    void DropProgress();

    Host& host_;
    Clock* clock_;
    ExamState state_ = ExamState::Idle;
    int rootNodeId_ = -1;
    int historyId_ = -1;
    int secondsLeft_ = 0;
    size_t cursor_ = 0;           // the next item to judge
    std::set<int> scoredByHand_;  // paper item IDs the learner gave a score
    int currentNodeId_ = -1;
    std::string progressPath_;  // empty when no progress is kept
    int ticksSinceSave_ = 0;
    bool saveFailed_ = false;  // told once, until a save succeeds again
    PaperNodeList nodes_;
    std::vector<ExamItem> items_;
    const ExamItem placeholder_;
};

}  // namespace quillory

#include "core/practice/exam_session.h"

#include <algorithm>

#include "core/common/file_error.h"
#include "core/common/internal_link.h"
#include "core/common/text.h"
#include "core/host/host.h"
#include "core/practice/answer_form.h"
#include "core/practice/exam_countdown.h"
#include "core/practice/exam_paper.h"
#include "core/practice/exam_record.h"
#include "core/store/data_store.h"

namespace quillory {

namespace {

// The countdown saves the time left this often; answers, moves and scores
// are saved at once.
constexpr int kTicksBetweenSaves = 5;

bool SameItems(const std::vector<ExamItem>& items, const std::vector<ExamProgress::Item>& saved) {
    return std::equal(items.begin(), items.end(), saved.begin(), saved.end(),
                      [](const ExamItem& item, const ExamProgress::Item& kept) {
                          return item.paperItemId == kept.paperItemId &&
                                 item.questionId == kept.questionId;
                      });
}

Judgement Judge(const ExamItem& item, bool countUnansweredAsWrong) {
    return JudgeAnswerForm(ParseAnswerForm(item.description, item.learnerAnswer), item.fullMarks,
                           countUnansweredAsWrong);
}

}  // namespace

ExamLoad ExamSession::Start(ExamState state, DataStore& store, int nodeId) {
    state_ = state;
    DropProgress();
    rootNodeId_ = nodeId;
    secondsLeft_ = 0;
    cursor_ = 0;
    nodes_.Clear();
    items_.clear();
    scoredByHand_.clear();
    std::optional<ExamPaper> paper = LoadExamPaper(store, nodeId);
    if (!paper) {
        return {};
    }
    for (size_t i = 0; i < paper->loadedNodes; ++i) {
        nodes_.Add(paper->nodes[i]);
    }
    items_ = std::move(paper->items);
    if (paper->missingQuestionNode) {
        host_.Message("试题ID没有找到！", MessageIcon::Error);
        return {};
    }
    if (nodes_.Empty()) {
        return {};
    }
    ExamLoad load{true, false};
    if (state_ == ExamState::Answering) {
        secondsLeft_ = paper->timeLimits[0];
        load.countdown = secondsLeft_ > 0;
        currentNodeId_ = rootNodeId_;
        progressPath_ = ExamProgressPath(store.Path());
        SaveProgress();
    }
    return load;
}

ExamSession::ResumeLoad ExamSession::Resume(DataStore& store) {
    const std::string path = ExamProgressPath(store.Path());
    ReadProgress read = ReadExamProgress(path);
    if (read.result == ProgressRead::None) {
        return {};
    }
    if (read.result == ProgressRead::Damaged) {
        RemoveExamProgress(path);
        host_.Message("上次未完成的模拟考试无法继续：考试进度文件已损坏，已放弃。\n" + read.reason,
                      MessageIcon::Error);
        return {};
    }
    const ExamProgress& saved = read.progress;
    std::optional<ExamPaper> paper = LoadExamPaper(store, saved.rootNodeId);
    if (!paper || paper->missingQuestionNode || paper->nodes.Empty() ||
        !SameItems(paper->items, saved.items)) {
        RemoveExamProgress(path);
        host_.Message("上次未完成的模拟考试无法继续：它的试卷已不存在或已改变，已放弃。",
                      MessageIcon::Error);
        return {};
    }
    if (host_.Ask(Format("上次的模拟考试“%s”还没有完成，要继续吗？\n选择“否”将放弃这次考试。",
                         paper->nodes[0].title.c_str()),
                  Buttons::YesNo, MessageIcon::Exclamation) != Answer::Yes) {
        RemoveExamProgress(path);
        return {};
    }

    DropProgress();
    nodes_ = std::move(paper->nodes);
    items_ = std::move(paper->items);
    scoredByHand_.clear();
    for (size_t i = 0; i < items_.size(); ++i) {
        items_[i].learnerAnswer = saved.items[i].learnerAnswer;
        items_[i].learnerScore = saved.items[i].learnerScore;
        if (saved.items[i].scoredByHand) {
            scoredByHand_.insert(items_[i].paperItemId);
        }
    }
    rootNodeId_ = saved.rootNodeId;
    state_ = saved.state;
    cursor_ = saved.cursor;
    // Time that ran out stays at 0:00:00.
    secondsLeft_ = std::max(saved.secondsLeft, 0);
    currentNodeId_ = nodes_.IndexOf(saved.currentNodeId) >= 0 ? saved.currentNodeId : rootNodeId_;
    progressPath_ = path;

    ResumeLoad resumed;
    resumed.resumed = true;
    resumed.countdown = state_ == ExamState::Answering && paper->timeLimits[0] > 0;
    resumed.step = {
        state_ == ExamState::Scoring ? ExamStep::Kind::Reselect : ExamStep::Kind::Select,
        currentNodeId_};
    return resumed;
}

ExamProgress ExamSession::Progress() const {
    ExamProgress progress;
    progress.rootNodeId = rootNodeId_;
    progress.state = state_;
    progress.currentNodeId = currentNodeId_;
    progress.secondsLeft = secondsLeft_;
    progress.cursor = cursor_;
    for (const ExamItem& item : items_) {
        progress.items.push_back({item.paperItemId, item.questionId, item.learnerAnswer,
                                  item.learnerScore, scoredByHand_.count(item.paperItemId) != 0});
    }
    return progress;
}

void ExamSession::Track() {
    if (state_ == ExamState::Answering || state_ == ExamState::Scoring) {
        SaveProgress();
    } else {
        DropProgress();
    }
}

void ExamSession::SaveProgress() {
    if (progressPath_.empty()) {
        return;
    }
    ticksSinceSave_ = 0;
    const int error = WriteExamProgress(progressPath_, Progress());
    if (error == 0) {
        saveFailed_ = false;
        return;
    }
    if (!saveFailed_) {
        saveFailed_ = true;
        host_.Message("无法保存考试进度，程序意外退出时本次考试的答案将会丢失。\n" +
                          FileErrorText(progressPath_, error),
                      MessageIcon::Error);
    }
}

void ExamSession::DropProgress() {
    if (progressPath_.empty()) {
        return;
    }
    RemoveExamProgress(progressPath_);
    progressPath_.clear();
    saveFailed_ = false;
}

ExamSession::ReviewLoad ExamSession::Review(DataStore& store, int historyId) {
    ReviewLoad review;
    state_ = ExamState::Review;
    if (historyId == 0) {
        return review;
    }
    historyId_ = historyId;
    const std::optional<ReviewRecord> record = FindRecord(store, historyId);
    if (!record) {
        return review;
    }
    review.load = Start(ExamState::Review, store, record->paperId);
    review.outcome =
        ApplyRecordRows(store, *record, items_) ? ReviewOutcome::Loaded : ReviewOutcome::RowsUnread;
    return review;
}

ExamItem* ExamSession::ItemOf(int paperItemId) {
    const auto found = std::find_if(
        items_.begin(), items_.end(),
        [paperItemId](const ExamItem& item) { return item.paperItemId == paperItemId; });
    return found == items_.end() ? nullptr : &*found;
}

int ExamSession::FlagsAt(int index) const {
    const int last = static_cast<int>(nodes_.Size()) - 1;
    return (index == 0 ? kFirstNode : 0) | (index >= 0 && index == last ? kLastNode : 0);
}

void ExamSession::Keep(const PanelItem& panel) {
    ExamItem* item = ItemOf(panel.nodeId);
    if (item == nullptr || panel.shownIn != state_) {
        return;
    }
    if (state_ == ExamState::Answering) {
        *item = panel.item;
    } else if (state_ == ExamState::Scoring) {
        item->learnerScore = panel.item.learnerScore;
    }
}

void ExamSession::KeepAnswers(const PanelItem& panel) {
    Keep(panel);
    Track();
}

NodeView ExamSession::Select(int nodeId, const PanelItem& leaving) {
    Keep(leaving);
    currentNodeId_ = nodeId;
    Track();
    NodeView view;
    const int index = nodes_.IndexOf(nodeId);
    int questionId = 0;
    if (index >= 0) {
        view.title = nodes_[static_cast<size_t>(index)].title;
        questionId = nodes_[static_cast<size_t>(index)].questionId;
    }
    view.flags = FlagsAt(index);
    view.item = &placeholder_;
    if (questionId != 0) {
        view.link = MakeLink(state_ == ExamState::Scoring ? LinkKind::Answer : LinkKind::Question,
                             questionId, view.title);
        if (const ExamItem* item = ItemOf(nodeId)) {
            view.item = item;
        }
    } else if (state_ == ExamState::Result || state_ == ExamState::Review) {
        view.link = MakeHistoryLink(historyId_, nodeId);
    } else {
        view.link = MakeLink(LinkKind::Paper, nodeId);
    }
    return view;
}

ExamSession::Move ExamSession::Step(int nodeId, int delta) const {
    const int index = nodes_.IndexOf(nodeId);
    if (index < 0) {
        return {std::nullopt, FlagsAt(0)};
    }
    const int target = index + delta;
    if (target < 0 || target >= static_cast<int>(nodes_.Size())) {
        return {std::nullopt, FlagsAt(index)};
    }
    return {nodes_[static_cast<size_t>(target)].id, FlagsAt(target)};
}

ExamStep ExamSession::Submit(DataStore& store, Settings& settings, const PanelItem& panel) {
    const ExamStep step = SubmitStep(store, settings, panel);
    if (step.kind == ExamStep::Kind::Select || step.kind == ExamStep::Kind::Reselect) {
        // The windows show it next.
        currentNodeId_ = step.nodeId;
    }
    Track();
    return step;
}

ExamStep ExamSession::SubmitStep(DataStore& store, Settings& settings, const PanelItem& panel) {
    if (nodes_.Empty()) {
        return {};
    }
    if (state_ == ExamState::Answering) {
        Keep(panel);
        const auto unanswered = std::find_if(
            items_.begin(), items_.end(),
            [](const ExamItem& item) { return Judge(item, false).code == kNotAnswered; });
        const bool allAnswered = unanswered == items_.end();
        if (host_.Ask(allAnswered ? "真的提交吗？" : "题目还没有答完，真的提交吗？", Buttons::YesNo,
                      MessageIcon::Exclamation) != Answer::Yes) {
            if (!allAnswered) {
                return {ExamStep::Kind::Select, unanswered->paperItemId};
            }
            return {};
        }
        cursor_ = 0;
        return Score(store, settings, true);
    }
    if (state_ == ExamState::Scoring) {
        if (panel.shownIn == ExamState::Scoring && ItemOf(panel.nodeId) != nullptr) {
            Keep(panel);
            scoredByHand_.insert(panel.nodeId);
        }
        return Score(store, settings, false);
    }
    return {};
}

ExamStep ExamSession::Score(DataStore& store, Settings& settings, bool firstPass) {
    state_ = ExamState::Scoring;
    for (; cursor_ < items_.size(); ++cursor_) {
        ExamItem& item = items_[cursor_];
        const Judgement judgement = Judge(item, true);
        if (judgement.code == kNeedsHandScoring) {
            if (scoredByHand_.count(item.paperItemId) != 0) {
                continue;
            }
            if (firstPass) {
                host_.Message("某些题目无法自动判断对错，请根据答案进行判断并输入相应得分。",
                              MessageIcon::None);
            }
            return {ExamStep::Kind::Reselect, item.paperItemId};
        }
        if (judgement.SetsScore()) {
            item.learnerScore = judgement.score;
        }
    }
    const StoredRecord stored = StoreExamRecord(store, settings, clock_->Now(), nodes_, items_);
    if (!stored.stored) {
        // Nothing was stored and everything stays as it is: the learner may
        // go on to store again.
        host_.Message("无法保存考试纪录！\n" + stored.error, MessageIcon::Error);
        return {ExamStep::Kind::Reselect, rootNodeId_};
    }
    historyId_ = stored.historyId;
    state_ = ExamState::Result;
    return {ExamStep::Kind::Result, rootNodeId_};
}

std::optional<std::string> ExamSession::TickCountdown() {
    if (state_ != ExamState::Answering || secondsLeft_ < 0) {
        return std::nullopt;
    }
    std::string text = ExamTimeLeftText(secondsLeft_--);
    if (++ticksSinceSave_ >= kTicksBetweenSaves) {
        SaveProgress();
    }
    return text;
}

bool ExamSession::MayLeave() {
    const char* question = nullptr;
    switch (state_) {
        case ExamState::Answering:
        case ExamState::Scoring:
            question = "模拟考试尚未完成，要结束吗？";
            break;
        case ExamState::Result:
        case ExamState::Review:
            question = "确信要退出考试结果显示吗？";
            break;
        case ExamState::Idle:
            return true;
    }
    return host_.Ask(question, Buttons::OkCancel, MessageIcon::Exclamation) == Answer::Ok;
}

void ExamSession::Reset() {
    DropProgress();
    secondsLeft_ = 0;
    nodes_.Clear();
    items_.clear();
    state_ = ExamState::Idle;
}

}  // namespace quillory

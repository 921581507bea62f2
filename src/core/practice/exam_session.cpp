#include "core/practice/exam_session.h"

#include <algorithm>

#include "core/common/internal_link.h"
#include "core/host/host.h"
#include "core/practice/answer_form.h"
#include "core/practice/exam_countdown.h"
#include "core/practice/exam_paper.h"
#include "core/practice/exam_record.h"

namespace quillory {

namespace {

Judgement Judge(const ExamItem& item, bool countUnansweredAsWrong) {
    return JudgeAnswerForm(ParseAnswerForm(item.description, item.learnerAnswer), item.fullMarks,
                           countUnansweredAsWrong);
}

}  // namespace

ExamLoad ExamSession::Start(DataStore& store, int nodeId) {
    rootNodeId_ = nodeId;
    secondsLeft_ = 0;
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
    }
    return load;
}

ExamSession::ReviewLoad ExamSession::Review(DataStore& store, int historyId) {
    ReviewLoad review;
    if (historyId == 0) {
        return review;
    }
    historyId_ = historyId;
    const std::optional<ReviewRecord> record = FindRecord(store, historyId);
    if (!record) {
        return review;
    }
    review.load = Start(store, record->paperId);
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

NodeView ExamSession::Select(int nodeId, const PanelItem& leaving) {
    Keep(leaving);
    NodeView view;
    const int index = nodes_.IndexOf(nodeId);
    int questionId = 0;
    if (index >= 0) {
        view.title = nodes_[static_cast<size_t>(index)].title;
        questionId = nodes_[static_cast<size_t>(index)].tag;
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
    return ExamTimeLeftText(secondsLeft_--);
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
    secondsLeft_ = 0;
    nodes_.Clear();
    items_.clear();
    state_ = ExamState::Idle;
}

}  // namespace quillory

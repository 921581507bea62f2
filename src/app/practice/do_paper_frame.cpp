#include "practice/do_paper_frame.h"

#include <QAction>
#include <QEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QSplitter>
#include <QToolBar>
#include <algorithm>

#include "core/common/internal_link.h"
#include "core/practice/answer_form.h"
#include "core/practice/exam_paper.h"
#include "core/practice/exam_record.h"
#include "frame/frame_commands.h"
#include "frame/message_box.h"
#include "frame/quillory_view.h"
#include "frame/tree_view_ext.h"
#include "practice/input_form.h"
#include "shell/quillory_app.h"

namespace {

constexpr int kExamResource = 166;
// The exam tree holds whatever node the exam was started on.
constexpr int kAllPapers = 0;
constexpr int kTreeWidth = 200;
constexpr int kViewWidth = 400;
constexpr int kSecond = 1000;
// The content view keeps at least this much when the panel takes its height.
constexpr int kMinimumViewHeight = 100;

// Result images of the question items in the paper tree strip.
constexpr int kCorrectImage = 6;
constexpr int kPartlyCorrectImage = 7;
constexpr int kWrongImage = 8;

quillory::Judgement Judge(const quillory::ExamItem& item, bool countUnansweredAsWrong) {
    return quillory::JudgeAnswerForm(
        quillory::ParseAnswerForm(item.description, item.learnerAnswer), item.fullMarks,
        countUnansweredAsWrong);
}

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

CDoPaperFrame::CDoPaperFrame(CQuilloryApp& app, QWidget* owner)
    : CPaperFrame(app, kExamResource, kAllPapers, owner) {
    BuildLayout();
    countdown_.setInterval(kSecond);
    connect(&countdown_, &QTimer::timeout, this, &CDoPaperFrame::CountDown);
    if (QAction* submit = Command(kCmdSubmit)) {
        connect(submit, &QAction::triggered, this, &CDoPaperFrame::Submit);
    }
    UpdateCommandStates();
}

CDoPaperFrame::~CDoPaperFrame() = default;

void CDoPaperFrame::BuildLayout() {
    // The right column holds the content view above the answer panel.
    auto* splitter = qobject_cast<QSplitter*>(centralWidget());
    rightColumn_ = new QSplitter(Qt::Vertical);
    rightColumn_->setObjectName(QStringLiteral("rightColumn"));
    rightColumn_->setChildrenCollapsible(false);
    splitter->insertWidget(1, rightColumn_);
    rightColumn_->addWidget(ContentView());
    panel_ = new CInputForm(*this, rightColumn_);
    rightColumn_->addWidget(panel_);
    rightColumn_->setStretchFactor(0, 1);
    rightColumn_->setStretchFactor(1, 0);
    rightColumn_->installEventFilter(this);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({kTreeWidth, kViewWidth});

    // The exam's time left sits beside the toolbar.
    auto* timeBar = new QToolBar(this);
    timeBar->setObjectName(QStringLiteral("timeBar"));
    timeBar->setMovable(false);
    timeBar->setFloatable(false);
    timeLeft_ = new QLabel(timeBar);
    timeLeft_->setObjectName(QStringLiteral("examTimeLeft"));
    QFont font = timeLeft_->font();
    font.setPointSize(16);
    timeLeft_->setFont(font);
    timeLeft_->setMinimumWidth(
        QFontMetrics(font).horizontalAdvance(FromUtf8(quillory::ExamTimeLeftText(99 * 3600))) +
        font.pointSize());
    timeLeft_->setContentsMargins(font.pointSize() / 2, 0, 0, 0);
    timeBar->addWidget(timeLeft_);
    addToolBar(Qt::TopToolBarArea, timeBar);
}

bool CDoPaperFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == rightColumn_ && event->type() == QEvent::Resize) {
        LayOutRows();
    }
    return CPaperFrame::eventFilter(watched, event);
}

void CDoPaperFrame::LayOutRows() {
    // The panel gets the height of its form as long as the content view
    // keeps a fair share; otherwise the rows stay as the learner left them.
    const int height = rightColumn_->height();
    const int formHeight = panel_->FormHeight();
    if (height > formHeight + kMinimumViewHeight) {
        const int viewHeight =
            std::max(kMinimumViewHeight, height - formHeight - rightColumn_->handleWidth());
        rightColumn_->setSizes({viewHeight, formHeight});
    }
}

void CDoPaperFrame::SetState(ExamState state) {
    state_ = state;
    UpdateCommandStates();
}

void CDoPaperFrame::UpdateCommandStates() {
    CPaperFrame::UpdateCommandStates();
    EnableCommand(kCmdSubmit, state_ == kExamAnswering);
}

void CDoPaperFrame::StartExam(int nodeId) {
    if (!app_.HasStore()) {
        return;
    }
    rootNodeId_ = nodeId;
    countdown_.stop();
    timeLeft_->clear();
    // The panel lets go of any earlier exam's question before the new one
    // is shown, so its entries cannot reach the new exam.
    panel_->ShowItem(-1, {}, kExamIdle, kFirstNode | kLastNode, placeholder_);

    std::optional<quillory::ExamPaper> paper = quillory::LoadExamPaper(app_.Store(), nodeId);
    TreeView()->DeleteAll();
    Nodes().Clear();
    items_.clear();
    if (!paper) {
        return;
    }
    for (size_t i = 0; i < paper->loadedNodes; ++i) {
        Nodes().Add(paper->nodes[i]);
        InsertPaperNode(paper->nodes[i]);
    }
    items_ = std::move(paper->items);
    if (paper->missingQuestionNode) {
        ShowMessageBox(this, QStringLiteral("试题ID没有找到！"), QMessageBox::Critical);
        return;
    }
    if (Nodes().Empty()) {
        return;
    }
    TreeView()->ExpandItemById(Nodes()[0].id, true);
    TreeView()->SelectItemById(Nodes()[0].id);
    if (state_ == kExamAnswering) {
        secondsLeft_ = paper->timeLimits[0];
        if (secondsLeft_ > 0) {
            countdown_.start();
        }
    }
}

int CDoPaperFrame::ReviewRecord(int historyId) {
    if (!app_.HasStore() || historyId == 0) {
        return 0;
    }
    historyId_ = historyId;
    const std::optional<quillory::ReviewRecord> record =
        quillory::FindRecord(app_.Store(), historyId);
    if (!record) {
        return 0;
    }
    StartExam(record->paperId);
    if (!quillory::ApplyRecordRows(app_.Store(), *record, items_)) {
        return 0;
    }
    SetResultImages();
    TreeView()->ExpandItemById(rootNodeId_, true);
    // Shown anew: the root was shown before the rows were applied, and may
    // be the record's only question.
    ReselectNode(rootNodeId_);
    return 1;
}

void CDoPaperFrame::OnTreeSelect(int itemId) {
    // The paper frames' own page choice does not apply here.
    CQuilloryFrame::OnTreeSelect(itemId);
    const int index = Nodes().IndexOf(itemId);
    QString title;
    int questionId = 0;
    if (index >= 0) {
        title = FromUtf8(Nodes()[static_cast<size_t>(index)].title);
        questionId = Nodes()[static_cast<size_t>(index)].tag;
    }
    const int flags = FlagsAt(index);
    if (state_ == kExamAnswering) {
        KeepPanelItem();
    }

    std::string link;
    const quillory::ExamItem* item = &placeholder_;
    if (questionId != 0) {
        link = quillory::MakeLink(
            state_ == kExamScoring ? quillory::LinkKind::Answer : quillory::LinkKind::Question,
            questionId, title.toStdString());
        if (const quillory::ExamItem* found = ItemOf(itemId)) {
            item = found;
        }
    } else if (state_ == kExamResult || state_ == kExamReview) {
        link = quillory::MakeHistoryLink(historyId_, itemId);
    } else {
        link = quillory::MakeLink(quillory::LinkKind::Paper, itemId);
    }
    ContentView()->Navigate(FromUtf8(link));
    panel_->ShowItem(itemId, title, state_, flags, *item);
}

quillory::ExamItem* CDoPaperFrame::ItemOf(int paperItemId) {
    const auto found = std::find_if(
        items_.begin(), items_.end(),
        [paperItemId](const quillory::ExamItem& item) { return item.paperItemId == paperItemId; });
    return found == items_.end() ? nullptr : &*found;
}

int CDoPaperFrame::FlagsAt(int index) {
    const int last = static_cast<int>(Nodes().Size()) - 1;
    return (index == 0 ? kFirstNode : 0) | (index >= 0 && index == last ? kLastNode : 0);
}

int CDoPaperFrame::Previous(int nodeId) {
    return Step(nodeId, -1);
}

int CDoPaperFrame::Next(int nodeId) {
    return Step(nodeId, 1);
}

int CDoPaperFrame::Step(int nodeId, int delta) {
    const int index = Nodes().IndexOf(nodeId);
    if (index < 0) {
        return FlagsAt(0);
    }
    const int target = index + delta;
    if (target < 0 || target >= static_cast<int>(Nodes().Size())) {
        return FlagsAt(index);
    }
    TreeView()->SelectItemById(Nodes()[static_cast<size_t>(target)].id);
    return FlagsAt(target);
}

void CDoPaperFrame::KeepPanelItem() {
    const CInputForm::TakenItem taken = panel_->TakeItem();
    if (quillory::ExamItem* item = ItemOf(taken.nodeId)) {
        *item = taken.item;
    }
}

void CDoPaperFrame::Submit() {
    if (Nodes().Empty()) {
        return;
    }
    if (state_ == kExamAnswering) {
        KeepPanelItem();
        const auto unanswered =
            std::find_if(items_.begin(), items_.end(), [](const quillory::ExamItem& item) {
                return Judge(item, false).code == quillory::kNotAnswered;
            });
        const QString question = unanswered != items_.end()
                                     ? QStringLiteral("题目还没有答完，真的提交吗？")
                                     : QStringLiteral("真的提交吗？");
        if (ShowMessageBox(this, question, QMessageBox::Warning,
                           QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
            if (unanswered != items_.end()) {
                TreeView()->SelectItemById(unanswered->paperItemId);
            }
            return;
        }
        cursor_ = 0;
        Score();
    } else if (state_ == kExamScoring) {
        const CInputForm::TakenItem taken = panel_->TakeItem();
        if (quillory::ExamItem* item = ItemOf(taken.nodeId)) {
            item->learnerScore = taken.item.learnerScore;
        }
        ++cursor_;
        Score();
    }
}

void CDoPaperFrame::Score() {
    SetState(kExamScoring);
    const bool firstPass = cursor_ == 0;
    for (; cursor_ < items_.size(); ++cursor_) {
        quillory::ExamItem& item = items_[cursor_];
        const quillory::Judgement judgement = Judge(item, true);
        if (judgement.code == quillory::kNeedsHandScoring) {
            if (firstPass) {
                ShowMessageBox(this,
                               QStringLiteral("某些题目无法自动判断对错，请根据答案进行判断并"
                                              "输入相应得分。"),
                               QMessageBox::NoIcon);
            }
            ReselectNode(item.paperItemId);
            return;
        }
        if (judgement.SetsScore()) {
            item.learnerScore = judgement.score;
        }
    }
    StoreRecord();
}

void CDoPaperFrame::StoreRecord() {
    const quillory::StoredRecord stored =
        quillory::StoreExamRecord(app_.Store(), app_.Settings(), clock_->Now(), Nodes(), items_);
    if (!stored.stored) {
        // Nothing was stored and everything stays as it is: the learner may
        // submit again.
        ShowMessageBox(this, QStringLiteral("无法保存考试纪录！\n") + FromUtf8(stored.error),
                       QMessageBox::Critical);
        ReselectNode(rootNodeId_);
        return;
    }
    historyId_ = stored.historyId;
    ShowResult();
}

void CDoPaperFrame::ShowResult() {
    SetState(kExamResult);
    SetResultImages();
    TreeView()->ExpandItemById(rootNodeId_, true);
    ReselectNode(rootNodeId_);
}

void CDoPaperFrame::SetResultImages() {
    for (const quillory::ExamItem& item : items_) {
        int image = kWrongImage;
        switch (quillory::ResultOf(item)) {
            case quillory::ItemResult::Correct:
                image = kCorrectImage;
                break;
            case quillory::ItemResult::PartlyCorrect:
                image = kPartlyCorrectImage;
                break;
            case quillory::ItemResult::Wrong:
                break;
        }
        TreeView()->SetItemImage(TreeView()->FindItemById(item.paperItemId), image, image);
    }
}

void CDoPaperFrame::ReselectNode(int id) {
    TreeView()->selectionModel()->clear();
    TreeView()->SelectItemById(id);
}

void CDoPaperFrame::CountDown() {
    // At 0:00:00 the clock stops; the exam is not submitted for the learner.
    if (state_ == kExamAnswering && secondsLeft_ >= 0) {
        timeLeft_->setText(FromUtf8(quillory::ExamTimeLeftText(secondsLeft_)));
        --secondsLeft_;
    }
}

void CDoPaperFrame::ReturnToMenu() {
    QString question;
    if (state_ == kExamAnswering || state_ == kExamScoring) {
        question = QStringLiteral("模拟考试尚未完成，要结束吗？");
    } else if (state_ == kExamResult || state_ == kExamReview) {
        question = QStringLiteral("确信要退出考试结果显示吗？");
    }
    if (!question.isEmpty() &&
        ShowMessageBox(this, question, QMessageBox::Warning,
                       QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok) {
        return;
    }
    ResetTree();
    CPaperFrame::ReturnToMenu();
}

void CDoPaperFrame::ResetTree() {
    CPaperFrame::ResetTree();
    countdown_.stop();
    secondsLeft_ = 0;
    timeLeft_->clear();
    items_.clear();
    panel_->ShowItem(-1, {}, kExamIdle, kFirstNode | kLastNode, placeholder_);
    SetState(kExamIdle);
}

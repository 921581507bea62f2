#include "practice/do_paper_frame.h"

#include <QAction>
#include <QEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

#include "core/practice/exam_countdown.h"
#include "frame/frame_commands.h"
#include "practice/input_form.h"
#include "widgets/bank_session.h"
#include "widgets/quillory_view.h"
#include "widgets/tree_view_ext.h"
#include "widgets/utf8_text.h"

namespace {

constexpr int kTreeWidth = 200;
constexpr int kViewWidth = 400;
constexpr int kSecond = 1000;
constexpr int kKeepAnswersAfter = 500;
// The content view keeps at least this much when the panel takes its height.
constexpr int kMinimumViewHeight = 100;

// Result images of the question items in the paper tree strip.
constexpr int kCorrectImage = 6;
constexpr int kPartlyCorrectImage = 7;
constexpr int kWrongImage = 8;

}  // namespace

CDoPaperFrame::CDoPaperFrame(CBankSession& bank, QWidget* owner)
    : CPaperFrame(bank, FrameResource::Exam, quillory::PaperFilter::All, owner),
      session_(ContentView()->Host(), systemClock_) {
    BuildLayout();
    countdown_ = new QTimer(this);
    countdown_->setObjectName(QStringLiteral("examCountdown"));
    countdown_->setInterval(kSecond);
    connect(countdown_, &QTimer::timeout, this, &CDoPaperFrame::CountDown);
    answersKeeper_ = new QTimer(this);
    answersKeeper_->setSingleShot(true);
    answersKeeper_->setInterval(kKeepAnswersAfter);
    connect(answersKeeper_, &QTimer::timeout, this, &CDoPaperFrame::KeepAnswers);
    connect(panel_, &CInputForm::answersEdited, answersKeeper_,
            static_cast<void (QTimer::*)()>(&QTimer::start));
    if (QAction* submit = Command(kCmdSubmit)) {
        connect(submit, &QAction::triggered, this, &CDoPaperFrame::Submit);
    }
    connect(panel_, &CInputForm::previousRequested, this, &CDoPaperFrame::Previous);
    connect(panel_, &CInputForm::nextRequested, this, &CDoPaperFrame::Next);
    connect(panel_, &CInputForm::submitRequested, this, &CDoPaperFrame::Submit);
    connect(panel_, &CInputForm::returnRequested, this, &CDoPaperFrame::ReturnToMenu);
    connect(panel_, &CInputForm::pageRequested, ContentView(), &CQuilloryView::Navigate);
    UpdateCommandStates();
}

CDoPaperFrame::~CDoPaperFrame() {
    // The program ends with the exam unfinished: what was typed last is
    // kept for the next start.
    KeepAnswers();
}

void CDoPaperFrame::KeepAnswers() {
    session_.KeepAnswers(panel_->TakeItem());
}

void CDoPaperFrame::BuildLayout() {
    // The right column holds the content view above the answer panel.
    auto* splitter = qobject_cast<QSplitter*>(centralWidget());
    rightColumn_ = new QSplitter(Qt::Vertical);
    rightColumn_->setObjectName(QStringLiteral("rightColumn"));
    rightColumn_->setChildrenCollapsible(false);
    splitter->insertWidget(1, rightColumn_);
    rightColumn_->addWidget(ContentView());
    panel_ = new CInputForm(rightColumn_);
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

void CDoPaperFrame::UpdateCommandStates() {
    CPaperFrame::UpdateCommandStates();
    EnableCommand(kCmdSubmit, session_.State() == quillory::ExamState::Answering);
}

void CDoPaperFrame::ClearPanel() {
    panel_->ShowItem(-1, {}, quillory::ExamState::Idle, quillory::kFirstNode | quillory::kLastNode,
                     session_.Placeholder());
}

void CDoPaperFrame::StartExam(int nodeId) {
    countdown_->stop();
    timeLeft_->clear();
    // The panel lets go of any earlier exam's question before the new one
    // is shown, so its entries cannot reach the new exam.
    ClearPanel();
    // 后退 must not lead back into an earlier exam's pages.
    ContentView()->RestartHistory();
    const quillory::ExamLoad load =
        session_.Start(quillory::ExamState::Answering, bank_.Store(), nodeId);
    UpdateCommandStates();
    ShowExamTree(load.selectRoot);
    if (load.countdown) {
        countdown_->start();
    }
}

bool CDoPaperFrame::ResumeExam() {
    countdown_->stop();
    timeLeft_->clear();
    ClearPanel();
    const quillory::ExamSession::ResumeLoad resumed = session_.Resume(bank_.Store());
    if (!resumed.resumed) {
        return false;
    }
    ContentView()->RestartHistory();
    ShowExamTree(false);
    TreeView()->ExpandItemById(session_.RootNodeId(), true);
    if (resumed.step.kind == quillory::ExamStep::Kind::Reselect) {
        ReselectNode(resumed.step.nodeId);
    } else {
        TreeView()->SelectItemById(resumed.step.nodeId);
    }
    if (resumed.countdown) {
        CountDown();
        countdown_->start();
    }
    UpdateCommandStates();
    return true;
}

void CDoPaperFrame::ShowExamTree(bool selectRoot) {
    ShowPaperNodes(session_.Nodes());
    if (selectRoot && !Nodes().Empty()) {
        TreeView()->ExpandItemById(Nodes()[0].id, true);
        TreeView()->SelectItemById(Nodes()[0].id);
    }
}

int CDoPaperFrame::ReviewRecord(int historyId) {
    const quillory::ExamSession::ReviewLoad review = session_.Review(bank_.Store(), historyId);
    UpdateCommandStates();
    if (review.outcome == quillory::ExamSession::ReviewOutcome::NotLoaded) {
        return 0;
    }
    countdown_->stop();
    timeLeft_->clear();
    ClearPanel();
    switch (review.outcome) {
        case quillory::ExamSession::ReviewOutcome::NotLoaded:
        case quillory::ExamSession::ReviewOutcome::RowsUnread:
            ShowExamTree(review.load.selectRoot);
            return 0;
        case quillory::ExamSession::ReviewOutcome::Loaded:
            break;
    }
    ShowExamTree(false);
    ShowResult();
    return 1;
}

void CDoPaperFrame::OnTreeSelect(int itemId) {
    // The paper frames' own page choice does not apply here.
    CQuilloryFrame::OnTreeSelect(itemId);
    const quillory::NodeView view = session_.Select(itemId, panel_->TakeItem());
    ContentView()->Navigate(FromUtf8(view.link));
    panel_->ShowItem(itemId, FromUtf8(view.title), session_.State(), view.flags, *view.item);
}

int CDoPaperFrame::Previous(int nodeId) {
    const quillory::ExamSession::Move move = session_.Step(nodeId, -1);
    if (move.target) {
        TreeView()->SelectItemById(*move.target);
    }
    return move.flags;
}

int CDoPaperFrame::Next(int nodeId) {
    const quillory::ExamSession::Move move = session_.Step(nodeId, 1);
    if (move.target) {
        TreeView()->SelectItemById(*move.target);
    }
    return move.flags;
}

void CDoPaperFrame::Submit() {
    const quillory::ExamStep step =
        session_.Submit(bank_.Store(), bank_.Settings(), panel_->TakeItem());
    UpdateCommandStates();
    switch (step.kind) {
        case quillory::ExamStep::Kind::None:
            break;
        case quillory::ExamStep::Kind::Select:
            TreeView()->SelectItemById(step.nodeId);
            break;
        case quillory::ExamStep::Kind::Reselect:
            ReselectNode(step.nodeId);
            break;
        case quillory::ExamStep::Kind::Result:
            ShowResult();
            break;
    }
}

void CDoPaperFrame::ShowResult() {
    SetResultImages();
    TreeView()->ExpandItemById(session_.RootNodeId(), true);
    ReselectNode(session_.RootNodeId());
}

void CDoPaperFrame::SetResultImages() {
    for (const quillory::ExamItem& item : session_.Items()) {
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
    if (const std::optional<std::string> text = session_.TickCountdown()) {
        timeLeft_->setText(FromUtf8(*text));
    }
}

void CDoPaperFrame::ReturnToMenu() {
    if (!session_.MayLeave()) {
        return;
    }
    ResetTree();
    CPaperFrame::ReturnToMenu();
}

void CDoPaperFrame::ResetTree() {
    CPaperFrame::ResetTree();
    countdown_->stop();
    timeLeft_->clear();
    session_.Reset();
    ClearPanel();
    UpdateCommandStates();
}

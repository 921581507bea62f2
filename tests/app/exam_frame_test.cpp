// The mock exam on the exam test bank, opened from the main menu as the
// program does: answering every kind of control, submitting, scoring by hand,
// the stored record and the result, review, the countdowns, a record that
// cannot be stored, leaving an exam, and going on with one broken off.
#include <QAction>
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>
#include <deque>

#include "app_test_main.h"
#include "core/bank/bank_builder.h"
#include "core/common/text.h"
#include "core/host/host.h"
#include "core/practice/exam_progress.h"
#include "find_control.h"
#include "frame/frame_commands.h"
#include "practice/answer_controls.h"
#include "practice/do_paper_frame.h"
#include "practice/input_form.h"
#include "practice/panel_controls.h"
#include "shell/main_menu_dlg.h"
#include "support/pinned_clock.h"
#include "support/temp_dir.h"
#include "support/test_banks.h"
#include "widgets/message_box.h"
#include "widgets/quillory_view.h"
#include "widgets/tree_view_ext.h"

namespace {

constexpr int kWait = 10000;

// The learner answers message boxes as scripted; once the script is used up,
// with the first button.
class ScriptedLearner {
public:
    struct Shown {
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
    };

    ScriptedLearner() {
        previous_ =
            SetMessageBoxHandler([this](QWidget*, const QString& text, QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons) {
                shown.push_back({text, icon, buttons});
                if (!answers.empty()) {
                    const QMessageBox::StandardButton answer = answers.front();
                    answers.pop_front();
                    return answer;
                }
                return buttons.testFlag(QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::Yes;
            });
    }
    ~ScriptedLearner() { SetMessageBoxHandler(previous_); }

    QStringList Texts() const {
        QStringList texts;
        for (const Shown& entry : shown) {
            texts << entry.text;
        }
        return texts;
    }

    std::deque<QMessageBox::StandardButton> answers;
    std::vector<Shown> shown;

private:
    MessageBoxHandler previous_;
};

// The frames of the main menu, the exam frame a real one.
std::vector<CQuilloryFrame*> ExamFrames(CBankSession& bank, QWidget* owner) {
    std::vector<CQuilloryFrame*> frames;
    for (const ModuleEntry& entry : kModules) {
        frames.push_back(entry.module == Module::Exam
                             ? new CDoPaperFrame(bank, owner)
                             : new CQuilloryFrame(bank, entry.resource, owner));
    }
    return frames;
}

struct HistoryRow {
    int id;
    std::string date;
    std::string time;
    int paperId;
    int itemId;
    int questionId;
    float totalScore;
    float userScore;
    std::string answer;
};

// Text as an input method commits it, the way Chinese reaches an entry.
void Commit(QWidget* entry, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(entry, &event);
}

int Answer(size_t group, size_t index) {
    return CAnswerControls::ControlId(group, index);
}

QImage Cell(int index) {
    const QPixmap strip(QStringLiteral(":/frame/icons/tree_paper.png"));
    return strip.copy(index * 16, 0, 16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

class ExamFrameTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void wholeExamWithEveryKindOfControl();
    void recordsOfOneSecondAreReviewedInIdOrder();
    void failedStoreKeepsEverythingAndSubmittingAgainStores();
    void countdownsOfTheExamAndOfAQuestion();
    void missingQuestionStopsTheLoad();
    void leavingAnUnfinishedExamAsksAndStoresNothing();
    void aNewExamCannotGoBackToTheLastExamsPages();
    void anExamBrokenOffIsOfferedAtTheNextStart();

private:
    void AddNode(int id, int superiorId, int questionId, double score, int timeLimit,
                 const char* title);
    void StartExam(int paperId);
    std::vector<HistoryRow> History();
    int SelectedNode() const;
    QImage NodeImage(int id) const;

    template <typename Window>
    Window* Panel(int id) const {
        auto* window = FindControl<Window>(*exam_->Panel(), id);
        if (window == nullptr) {
            qWarning("no window %d in the panel", id);
        }
        return window;
    }
    // On the left edge: radio buttons and check boxes take clicks on their
    // indicator and text only.
    void Click(int id) {
        QWidget* window = Panel<QWidget>(id);
        QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(8, window->height() / 2));
    }
    QString Caption(int id) const { return Panel<QPushButton>(id)->text(); }

    quillory::testing::TempDir folder_;
    CQuilloryApp& app_ = quillory::testing::ProgramApp();
    std::unique_ptr<CMainMenuDlg> menu_;
    CQuilloryFrame* papers_ = nullptr;
    CQuilloryFrame* history_ = nullptr;
    CDoPaperFrame* exam_ = nullptr;
    quillory::testing::PinnedClock clock_;
};

void ExamFrameTest::initTestCase() {
    const std::string file = folder_.File("exam.qly");
    const quillory::Status built = quillory::BuildBank(quillory::testing::TestBankSource("exam"),
                                                       file, quillory::testing::ProgramFolder());
    QVERIFY2(built.ok(), built.error().detail.c_str());
    QVERIFY(app_.OpenDataFile(QString::fromStdString(file)));

    // A question item whose question has no row cannot be in a sound bank.
    AddNode(104000, 0, 0, 9, 60, "测试卷四");
    AddNode(104101, 104000, 200001, 3, 0, "第01题");
    AddNode(104102, 104000, 299999, 3, 0, "第02题");
    AddNode(104103, 104000, 200002, 3, 0, "第03题");

    menu_ = std::make_unique<CMainMenuDlg>(*app_.Session(), ExamFrames);
    menu_->Initialize();
    papers_ = menu_->Frame(Module::ClassicPapers);
    history_ = menu_->Frame(Module::History);
    exam_ = qobject_cast<CDoPaperFrame*>(menu_->Frame(Module::Exam));
    QVERIFY(exam_ != nullptr);
    exam_->SetClock(clock_);
}

void ExamFrameTest::init() {
    QVERIFY(app_.Session()->Store().Execute("delete from History"));
    app_.Session()->Settings().WriteInt("Settings", "HistoryModified", 0);
}

void ExamFrameTest::cleanup() {
    if (exam_->isVisible()) {
        const ScriptedLearner learner;
        exam_->ReturnToMenu();
    }
}

void ExamFrameTest::cleanupTestCase() {
    menu_.reset();
}

void ExamFrameTest::AddNode(int id, int superiorId, int questionId, double score, int timeLimit,
                            const char* title) {
    QVERIFY(app_.Session()->Store().Execute(quillory::Format(
        "insert into Paper(ID, SuperiorID, QuestionID, Score, TimeLimit, Title, IsQuestion) "
        "values(%d, %d, %d, %f, %d, '%s', %d)",
        id, superiorId, questionId, score, timeLimit, title, questionId != 0 ? 1 : 0)));
}

void ExamFrameTest::StartExam(int paperId) {
    emit papers_->startExamRequested(papers_, paperId);
}

std::vector<HistoryRow> ExamFrameTest::History() {
    std::vector<HistoryRow> rows;
    auto result = app_.Session()->Store().Query("select * from History order by ID");
    if (!result) {
        return rows;
    }
    for (; !result->AtEnd(); result->Next()) {
        rows.push_back({result->Int("ID"), result->Text("RecordDate"), result->Text("RecordTime"),
                        result->Int("PaperID"), result->Int("PaperItemID"),
                        result->Int("QuestionID"), result->Single("TotalScore"),
                        result->Single("UserScore"), result->Text("UserAnswer")});
    }
    return rows;
}

int ExamFrameTest::SelectedNode() const {
    const QList<QTreeWidgetItem*> selected = exam_->TreeView()->selectedItems();
    return selected.isEmpty() ? -1 : CTreeViewExt::ItemId(selected.first());
}

QImage ExamFrameTest::NodeImage(int id) const {
    const QTreeWidgetItem* item = exam_->TreeView()->FindItemById(id);
    if (item == nullptr) {
        return {};
    }
    return item->icon(0).pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

void ExamFrameTest::wholeExamWithEveryKindOfControl() {
    ScriptedLearner learner;
    QSignalSpy pages(exam_->ContentView(), &CQuilloryView::pageRequested);
    StartExam(101000);
    QVERIFY(exam_->isVisible());
    QCOMPARE(exam_->State(), quillory::ExamState::Answering);
    QCOMPARE(menu_->ShownFrames().last(), exam_);
    QCOMPARE(SelectedNode(), 101000);
    QVERIFY(exam_->Command(kCmdSubmit)->isEnabled());
    QVERIFY(!Panel<QPushButton>(kCtlPrevious)->isEnabled());
    QCOMPARE(NodeImage(101105), Cell(4));

    // Down to the first question, answering as we go.
    Click(kCtlNext);
    Click(kCtlNext);
    QCOMPARE(SelectedNode(), 101101);
    QVERIFY(pages.last()[0].value<quillory::InternalLink>().kind == quillory::LinkKind::Question);
    Click(Answer(1, 0));
    Click(kCtlNext);
    Click(Answer(1, 0));
    Click(Answer(1, 1));
    Click(Answer(1, 3));
    Click(kCtlNext);
    Commit(Panel<QLineEdit>(Answer(1, 1)), QStringLiteral("长江"));
    Commit(Panel<QLineEdit>(Answer(2, 1)), QStringLiteral("广州"));
    Click(kCtlNext);
    auto* lines = Panel<QPlainTextEdit>(Answer(1, 0));
    Commit(lines, QStringLiteral("第一行"));
    QTest::keyClick(lines, Qt::Key_Return);
    Commit(lines, QStringLiteral("第二行"));

    // Back to the start: what was entered is still there.
    for (int i = 0; i < 3; ++i) {
        Click(kCtlPrevious);
    }
    QCOMPARE(SelectedNode(), 101101);
    QVERIFY(Panel<QRadioButton>(Answer(1, 0))->isChecked());
    Click(kCtlNext);
    QVERIFY(Panel<QCheckBox>(Answer(1, 1))->isChecked());
    QVERIFY(!Panel<QCheckBox>(Answer(1, 2))->isChecked());
    Click(kCtlNext);
    QCOMPARE(Panel<QLineEdit>(Answer(2, 1))->text(), QStringLiteral("广州"));

    // The fifth question is not answered: "No" goes there, then "Yes".
    learner.answers = {QMessageBox::No, QMessageBox::Yes, QMessageBox::Ok};
    exam_->Command(kCmdSubmit)->trigger();
    QCOMPARE(SelectedNode(), 101105);
    QCOMPARE(exam_->State(), quillory::ExamState::Answering);
    Click(kCtlSubmit);
    QCOMPARE(learner.Texts(),
             (QStringList{"题目还没有答完，真的提交吗？", "题目还没有答完，真的提交吗？",
                          "某些题目无法自动判断对错，请根据答案进行判断并输入相应得分。"}));
    QCOMPARE(learner.shown[0].icon, QMessageBox::Warning);
    QCOMPARE(learner.shown[0].buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(learner.shown[2].icon, QMessageBox::NoIcon);

    // Scoring the multi-line answer by hand beside its answer page.
    QCOMPARE(exam_->State(), quillory::ExamState::Scoring);
    QCOMPARE(SelectedNode(), 101104);
    QVERIFY(!exam_->Command(kCmdSubmit)->isEnabled());
    const auto answerPage = pages.last()[0].value<quillory::InternalLink>();
    QVERIFY(answerPage.kind == quillory::LinkKind::Answer);
    QCOMPARE(answerPage.id, 200005);
    QCOMPARE(Caption(kCtlSubmit), QStringLiteral("继  续(&S)"));
    auto* score = Panel<QLineEdit>(kCtlScoreEntry);
    QVERIFY(score->isVisible());
    score->selectAll();
    QTest::keyClicks(score, "15");
    Click(kCtlSubmit);

    QCOMPARE(exam_->State(), quillory::ExamState::Result);
    QCOMPARE(learner.shown.size(), size_t{3});
    const std::vector<HistoryRow> rows = History();
    QCOMPARE(rows.size(), size_t{5});
    const struct {
        int itemId;
        int questionId;
        float totalScore;
        float userScore;
        std::string answer;
    } expected[] = {
        {101101, 200001, 3, 3, "\r\n1\r\n0\r\n0\r\n0\r\n"},
        {101102, 200003, 5, 5, "\r\n1\r\n1\r\n0\r\n1\r\n"},
        {101103, 200004, 4, 2, "\r\n\r\n长江\r\n\r\n广州\r\n"},
        {101104, 200005, 10, 10, "\r\n第一行<\\r\\n>第二行\r\n"},
        {101105, 200002, 3, 0, "\r\n0\r\n0\r\n0\r\n0\r\n"},
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        QCOMPARE(rows[i].id, 700001 + static_cast<int>(i));
        QCOMPARE(rows[i].date, std::string("2026-03-14"));
        QCOMPARE(rows[i].time, std::string("09:26:53"));
        QCOMPARE(rows[i].paperId, 101000);
        QCOMPARE(rows[i].itemId, expected[i].itemId);
        QCOMPARE(rows[i].questionId, expected[i].questionId);
        QCOMPARE(rows[i].totalScore, expected[i].totalScore);
        QCOMPARE(rows[i].userScore, expected[i].userScore);
        QCOMPARE(rows[i].answer, expected[i].answer);
    }
    QCOMPARE(app_.Session()->Settings().ReadInt("Settings", "HistoryModified", 0), 1);

    // The result: an image per question, the record's page on the root.
    QCOMPARE(exam_->HistoryId(), 700001);
    QCOMPARE(NodeImage(101101), Cell(6));
    QCOMPARE(NodeImage(101102), Cell(6));
    QCOMPARE(NodeImage(101103), Cell(7));
    QCOMPARE(NodeImage(101104), Cell(6));
    QCOMPARE(NodeImage(101105), Cell(8));
    QCOMPARE(SelectedNode(), 101000);
    const auto recordPage = pages.last()[0].value<quillory::InternalLink>();
    QVERIFY(recordPage.kind == quillory::LinkKind::HistoryAnalysis);
    QCOMPARE(recordPage.id, 700001);
    QCOMPARE(recordPage.second, 101000);
    QCOMPARE(Caption(kCtlSubmit), QStringLiteral("结  束(&E)"));

    // Ending the result display asks first.
    learner.shown.clear();
    learner.answers = {QMessageBox::Cancel};
    Click(kCtlSubmit);
    QVERIFY(exam_->isVisible());
    Click(kCtlSubmit);
    QCOMPARE(learner.Texts(),
             (QStringList{"确信要退出考试结果显示吗？", "确信要退出考试结果显示吗？"}));
    QVERIFY(!exam_->isVisible());
    QCOMPARE(exam_->State(), quillory::ExamState::Idle);
    QCOMPARE(exam_->TreeView()->topLevelItemCount(), 0);
}

void ExamFrameTest::recordsOfOneSecondAreReviewedInIdOrder() {
    ScriptedLearner learner;
    // An exam on one question item: nowhere to go before or after it.
    for (const int choice : {Answer(1, 0), Answer(1, 1)}) {
        StartExam(102101);
        QCOMPARE(SelectedNode(), 102101);
        QVERIFY(!Panel<QPushButton>(kCtlPrevious)->isEnabled());
        QVERIFY(!Panel<QPushButton>(kCtlNext)->isEnabled());
        Click(choice);
        exam_->Command(kCmdSubmit)->trigger();
        QCOMPARE(exam_->State(), quillory::ExamState::Result);
        exam_->ReturnToMenu();
    }
    QCOMPARE(learner.Texts(), (QStringList{"真的提交吗？", "确信要退出考试结果显示吗？",
                                           "真的提交吗？", "确信要退出考试结果显示吗？"}));
    const std::vector<HistoryRow> rows = History();
    QCOMPARE(rows.size(), size_t{2});
    QCOMPARE(rows[0].time, rows[1].time);
    QCOMPARE(rows[1].id, 700002);

    emit history_->reviewExamRequested(history_, 700001);
    QVERIFY(exam_->isVisible());
    QCOMPARE(exam_->State(), quillory::ExamState::Review);
    QCOMPARE(exam_->HistoryId(), 700001);
    QCOMPARE(SelectedNode(), 102101);
    // Both records' rows were applied, the later one last.
    QCOMPARE(exam_->Items().at(0).learnerScore, 0.0f);
    QVERIFY(Panel<QRadioButton>(Answer(1, 1))->isChecked());
    QVERIFY(!Panel<QRadioButton>(Answer(1, 0))->isChecked());
    QCOMPARE(Panel<QLabel>(kCtlScoreLine)->text(), QStringLiteral("本题分数: 3.0  您的得分: 0.0"));
    QVERIFY(Panel<QLabel>(kCtlWrongIcon)->isVisible());
    QCOMPARE(NodeImage(102101), Cell(8));
}

void ExamFrameTest::failedStoreKeepsEverythingAndSubmittingAgainStores() {
    ScriptedLearner learner;
    QVERIFY(
        app_.Session()->Store().Execute("create trigger NoHistory before insert on History "
                                        "begin select raise(abort, 'History is closed'); end"));
    StartExam(102000);
    Click(kCtlNext);
    Click(Answer(1, 0));
    Click(kCtlNext);
    Commit(Panel<QLineEdit>(Answer(1, 1)), QStringLiteral("长江"));
    Commit(Panel<QLineEdit>(Answer(2, 1)), QStringLiteral("黄河"));
    Click(kCtlSubmit);

    QCOMPARE(learner.shown.size(), size_t{2});
    QCOMPARE(learner.shown[0].text, QStringLiteral("真的提交吗？"));
    QVERIFY(learner.shown[1].text.startsWith(QStringLiteral("无法保存考试纪录！\n")));
    QVERIFY(learner.shown[1].text.contains(QStringLiteral("History is closed")));
    QCOMPARE(learner.shown[1].icon, QMessageBox::Critical);
    QVERIFY(History().empty());
    QCOMPARE(app_.Session()->Settings().ReadInt("Settings", "HistoryModified", 0), 0);

    // Still scoring, with every answer in place.
    QCOMPARE(exam_->State(), quillory::ExamState::Scoring);
    QCOMPARE(SelectedNode(), 102000);
    QCOMPARE(Caption(kCtlSubmit), QStringLiteral("继　续(&C)"));
    exam_->TreeView()->SelectItemById(102101);
    QVERIFY(Panel<QRadioButton>(Answer(1, 0))->isChecked());
    QCOMPARE(Panel<QLineEdit>(kCtlScoreEntry)->text(), QStringLiteral("3.0"));
    exam_->TreeView()->SelectItemById(102000);

    QVERIFY(app_.Session()->Store().Execute("drop trigger NoHistory"));
    Click(kCtlSubmit);
    QCOMPARE(exam_->State(), quillory::ExamState::Result);
    const std::vector<HistoryRow> rows = History();
    QCOMPARE(rows.size(), size_t{2});
    QCOMPARE(rows[0].answer, std::string("\r\n1\r\n0\r\n0\r\n0\r\n"));
    QCOMPARE(rows[1].answer, std::string("\r\n\r\n长江\r\n\r\n黄河\r\n"));
    QCOMPARE(rows[1].userScore, 4.0f);
    QCOMPARE(app_.Session()->Settings().ReadInt("Settings", "HistoryModified", 0), 1);
    QCOMPARE(learner.shown.size(), size_t{2});
}

void ExamFrameTest::countdownsOfTheExamAndOfAQuestion() {
    // The seconds are the timers' ticks, given here one by one.
    const auto tick = [](QTimer* timer) {
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 1000);
        QMetaObject::invokeMethod(timer, "timeout");
    };
    StartExam(103000);
    auto* examTime = exam_->findChild<QLabel*>("examTimeLeft");
    auto* examClock = exam_->findChild<QTimer*>("examCountdown");
    for (const char* text : {"剩余时间 0:00:02", "剩余时间 0:00:01", "剩余时间 0:00:00"}) {
        tick(examClock);
        QCOMPARE(examTime->text(), QString::fromUtf8(text));
    }
    tick(examClock);
    QCOMPARE(examTime->text(), QStringLiteral("剩余时间 0:00:00"));

    Click(kCtlNext);
    QCOMPARE(SelectedNode(), 103101);
    auto* questionTime = Panel<QLabel>(kCtlTimeLeft);
    auto* questionClock = exam_->Panel()->findChild<QTimer*>("questionCountdown");
    QVERIFY(questionTime->isVisible());
    QCOMPARE(questionTime->text(), QStringLiteral("剩余时间: 0:00:03"));
    for (const char* text : {"剩余时间: 0:00:02", "剩余时间: 0:00:01", "剩余时间: 0:00:00"}) {
        QCOMPARE(SelectedNode(), 103101);
        tick(questionClock);
        QCOMPARE(questionTime->text(), QString::fromUtf8(text));
        // A progress window (another module's analysis being built) disables
        // the main menu and its frames meanwhile; the question's time goes on.
        menu_->setEnabled(false);
        menu_->setEnabled(true);
        QCOMPARE(questionTime->text(), QString::fromUtf8(text));
    }
    // Time is up: the panel moves on by itself.
    QTRY_COMPARE_WITH_TIMEOUT(SelectedNode(), 103102, kWait);
    QVERIFY(!questionTime->isVisible());
    QVERIFY(!questionClock->isActive());

    // The exam's clock stayed at nought, and the exam is still open.
    QCOMPARE(examTime->text(), QStringLiteral("剩余时间 0:00:00"));
    QCOMPARE(exam_->State(), quillory::ExamState::Answering);
    QVERIFY(exam_->Command(kCmdSubmit)->isEnabled());
}

void ExamFrameTest::missingQuestionStopsTheLoad() {
    ScriptedLearner learner;
    StartExam(104000);
    QCOMPARE(learner.Texts(), QStringList{"试题ID没有找到！"});
    QCOMPARE(learner.shown[0].icon, QMessageBox::Critical);
    QCOMPARE(exam_->TreeView()->topLevelItemCount(), 1);
    QCOMPARE(exam_->TreeView()->topLevelItem(0)->childCount(), 2);
    QVERIFY(exam_->TreeView()->FindItemById(104102) != nullptr);
    QVERIFY(exam_->TreeView()->FindItemById(104103) == nullptr);
    QCOMPARE(SelectedNode(), -1);
    QVERIFY(exam_->findChild<QLabel*>("examTimeLeft")->text().isEmpty());
}

void ExamFrameTest::leavingAnUnfinishedExamAsksAndStoresNothing() {
    ScriptedLearner learner;
    StartExam(102000);
    Click(kCtlNext);
    Click(Answer(1, 0));

    learner.answers = {QMessageBox::Cancel};
    exam_->Command(kCmdReturn)->trigger();
    QVERIFY(exam_->isVisible());
    QCOMPARE(exam_->State(), quillory::ExamState::Answering);
    QCOMPARE(SelectedNode(), 102101);

    exam_->Command(kCmdReturn)->trigger();
    QCOMPARE(learner.Texts(),
             (QStringList{"模拟考试尚未完成，要结束吗？", "模拟考试尚未完成，要结束吗？"}));
    QCOMPARE(learner.shown[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QVERIFY(!exam_->isVisible());
    QCOMPARE(exam_->State(), quillory::ExamState::Idle);
    QVERIFY(exam_->Items().empty());
    QVERIFY(FindControl<QRadioButton>(*exam_->Panel(), Answer(1, 0)) == nullptr);
    QVERIFY(!Panel<QPushButton>(kCtlToggleAnswer)->isVisible());
    QVERIFY(History().empty());
    QVERIFY(!menu_->ShownFrames().contains(exam_));
}

void ExamFrameTest::aNewExamCannotGoBackToTheLastExamsPages() {
    ScriptedLearner learner;
    QSignalSpy loads(exam_->ContentView(), &QWebEngineView::loadFinished);
    StartExam(102000);
    for (int question = 0; question < 2; ++question) {
        Click(kCtlNext);
        QVERIFY(loads.wait(kWait));
    }
    QVERIFY(exam_->Command(kCmdBack)->isEnabled());
    exam_->ReturnToMenu();

    StartExam(102000);
    Click(kCtlNext);
    QVERIFY(loads.wait(kWait));
    QVERIFY(!exam_->ContentView()->CanGoBack());
    QVERIFY(!exam_->Command(kCmdBack)->isEnabled());
}

void ExamFrameTest::anExamBrokenOffIsOfferedAtTheNextStart() {
    ScriptedLearner learner;
    StartExam(102000);
    Click(kCtlNext);
    Click(Answer(1, 0));
    // The answer reaches the progress file without a move.
    const std::string progress = quillory::ExamProgressPath(app_.Session()->Store().Path());
    QTRY_VERIFY_WITH_TIMEOUT(
        quillory::ReadExamProgress(progress).progress.items.at(0).learnerAnswer.find('1') !=
            std::string::npos,
        kWait);

    // The program is not left: the next start finds the exam where it was.
    CMainMenuDlg next(*app_.Session(), ExamFrames);
    next.Initialize();
    QCOMPARE(learner.Texts().last(),
             QStringLiteral("上次的模拟考试“模拟考试二”还没有完成，要继续吗？\n"
                            "选择“否”将放弃这次考试。"));
    auto* resumed = qobject_cast<CDoPaperFrame*>(next.Frame(Module::Exam));
    QVERIFY(resumed->isVisible());
    QCOMPARE(next.ShownFrames().last(), resumed);
    QCOMPARE(resumed->State(), quillory::ExamState::Answering);
    const QList<QTreeWidgetItem*> selected = resumed->TreeView()->selectedItems();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(CTreeViewExt::ItemId(selected.first()), 102101);
    QVERIFY(FindControl<QRadioButton>(*resumed->Panel(), Answer(1, 0))->isChecked());

    resumed->SetClock(clock_);
    resumed->Command(kCmdSubmit)->trigger();
    QCOMPARE(resumed->State(), quillory::ExamState::Result);
    const std::vector<HistoryRow> rows = History();
    QCOMPARE(rows.size(), size_t{2});
    QCOMPARE(rows[0].userScore, 3.0f);
    QCOMPARE(quillory::ReadExamProgress(progress).result, quillory::ProgressRead::None);
}

QUILLORY_APP_TEST_MAIN(ExamFrameTest)
#include "exam_frame_test.moc"

// The mock exam on a copy of the demo bank, opened from the main menu as the
// program does: answering every kind of control, submitting, scoring by hand,
// the stored record and the result, review, the countdowns, a record that
// cannot be stored, and leaving an exam.
#include <QAction>
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <deque>

#include "app_test_main.h"
#include "core/bank/bank_builder.h"
#include "core/common/text.h"
#include "core/host/host.h"
#include "frame/message_box.h"
#include "frame/quillory_view.h"
#include "frame/tree_view_ext.h"
#include "practice/do_paper_frame.h"
#include "practice/input_form.h"
#include "shell/main_menu_dlg.h"
#include "support/temp_dir.h"

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

class PinnedClock : public quillory::Clock {
public:
    quillory::DateTime Now() override { return {2026, 3, 14, 9, 26, 53}; }
};

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

private:
    void AddNode(int id, int superiorId, int questionId, double score, int timeLimit,
                 const char* title);
    void StartExam(int paperId);
    std::vector<HistoryRow> History();
    int SelectedNode() const;
    QImage NodeImage(int id) const;

    template <typename Window>
    Window* Panel(const QString& name) const {
        auto* window = exam_->Panel()->findChild<Window*>(name);
        if (window == nullptr) {
            qWarning("no window %s in the panel", qPrintable(name));
        }
        return window;
    }
    // On the left edge: radio buttons and check boxes take clicks on their
    // indicator and text only.
    void Click(const QString& name) {
        QWidget* window = Panel<QWidget>(name);
        QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(8, window->height() / 2));
    }
    QString Caption(const QString& name) const { return Panel<QPushButton>(name)->text(); }

    quillory::testing::TempDir folder_;
    CQuilloryApp& app_ = *CQuilloryApp::Instance();
    std::unique_ptr<CMainMenuDlg> menu_;
    CQuilloryFrame* papers_ = nullptr;
    CQuilloryFrame* history_ = nullptr;
    CDoPaperFrame* exam_ = nullptr;
    PinnedClock clock_;
};

void ExamFrameTest::initTestCase() {
    const std::string file = folder_.File("demo.qly");
    std::string error;
    QVERIFY2(quillory::BuildBank(quillory::testing::SourceFolder() + "/resources/demo", file,
                                 quillory::testing::ProgramFolder(), &error),
             error.c_str());
    QVERIFY(app_.OpenDataFile(QString::fromStdString(file)));

    // Small papers over the demo bank's questions, one for each use.
    AddNode(901000, 0, 0, 25, 0, "测试卷一");
    AddNode(901100, 901000, 0, 25, 0, "第1部分");
    AddNode(901101, 901100, 200001, 3, 0, "第01题");   // radio buttons
    AddNode(901102, 901100, 200017, 5, 0, "第02题");   // check boxes
    AddNode(901103, 901100, 200024, 4, 0, "第03题");   // two blanks
    AddNode(901104, 901100, 200039, 10, 0, "第04题");  // multi-line, scored by hand
    AddNode(901105, 901100, 200002, 3, 0, "第05题");   // left unanswered
    AddNode(902000, 0, 0, 7, 0, "测试卷二");
    AddNode(902101, 902000, 200001, 3, 0, "第01题");
    AddNode(902102, 902000, 200024, 4, 0, "第02题");
    AddNode(903000, 0, 0, 6, 2, "测试卷三");
    AddNode(903101, 903000, 200001, 3, 3, "第01题");
    AddNode(903102, 903000, 200002, 3, 0, "第02题");
    AddNode(904000, 0, 0, 9, 60, "测试卷四");
    AddNode(904101, 904000, 200001, 3, 0, "第01题");
    AddNode(904102, 904000, 299999, 3, 0, "第02题");
    AddNode(904103, 904000, 200002, 3, 0, "第03题");

    menu_ = std::make_unique<CMainMenuDlg>(app_, [](CQuilloryApp& app, QWidget* owner) {
        std::vector<CQuilloryFrame*> frames;
        for (int id : {4, 156, 166, 152, 172, 173}) {
            frames.push_back(id == 166 ? new CDoPaperFrame(app, owner)
                                       : new CQuilloryFrame(app, id, owner));
        }
        return frames;
    });
    menu_->Initialize();
    papers_ = menu_->Frame(CMainMenuDlg::ClassicPapers);
    history_ = menu_->Frame(CMainMenuDlg::History);
    exam_ = qobject_cast<CDoPaperFrame*>(menu_->Frame(CMainMenuDlg::Exam));
    QVERIFY(exam_ != nullptr);
    exam_->SetClock(clock_);
}

void ExamFrameTest::init() {
    QVERIFY(app_.Store().Execute("delete from History"));
    app_.Settings().WriteInt("Settings", "HistoryModified", 0);
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
    QVERIFY(app_.Store().Execute(quillory::Format(
        "insert into Paper(ID, SuperiorID, QuestionID, Score, TimeLimit, Title, IsQuestion) "
        "values(%d, %d, %d, %f, %d, '%s', %d)",
        id, superiorId, questionId, score, timeLimit, title, questionId != 0 ? 1 : 0)));
}

void ExamFrameTest::StartExam(int paperId) {
    emit papers_->startExamRequested(papers_, paperId);
}

std::vector<HistoryRow> ExamFrameTest::History() {
    std::vector<HistoryRow> rows;
    auto result = app_.Store().Query("select * from History order by ID");
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
    StartExam(901000);
    QVERIFY(exam_->isVisible());
    QCOMPARE(exam_->State(), kExamAnswering);
    QCOMPARE(menu_->ShownFrames().last(), exam_);
    QCOMPARE(SelectedNode(), 901000);
    QVERIFY(exam_->Command(185)->isEnabled());
    QVERIFY(!Panel<QPushButton>("ctl1027")->isEnabled());
    QCOMPARE(NodeImage(901105), Cell(4));

    // Down to the first question, answering as we go.
    Click("ctl1028");
    Click("ctl1028");
    QCOMPARE(SelectedNode(), 901101);
    QVERIFY(pages.last()[0].value<quillory::InternalLink>().kind == quillory::LinkKind::Question);
    Click("ctl60100");
    Click("ctl1028");
    Click("ctl60100");
    Click("ctl60101");
    Click("ctl60103");
    Click("ctl1028");
    Commit(Panel<QLineEdit>("ctl60101"), QStringLiteral("台湾岛"));
    Commit(Panel<QLineEdit>("ctl60201"), QStringLiteral("广州"));
    Click("ctl1028");
    auto* lines = Panel<QPlainTextEdit>("ctl60100");
    Commit(lines, QStringLiteral("第一行"));
    QTest::keyClick(lines, Qt::Key_Return);
    Commit(lines, QStringLiteral("第二行"));

    // Back to the start: what was entered is still there.
    for (int i = 0; i < 3; ++i) {
        Click("ctl1027");
    }
    QCOMPARE(SelectedNode(), 901101);
    QVERIFY(Panel<QRadioButton>("ctl60100")->isChecked());
    Click("ctl1028");
    QVERIFY(Panel<QCheckBox>("ctl60101")->isChecked());
    QVERIFY(!Panel<QCheckBox>("ctl60102")->isChecked());
    Click("ctl1028");
    QCOMPARE(Panel<QLineEdit>("ctl60201")->text(), QStringLiteral("广州"));

    // The fifth question is not answered: "No" goes there, then "Yes".
    learner.answers = {QMessageBox::No, QMessageBox::Yes, QMessageBox::Ok};
    exam_->Command(185)->trigger();
    QCOMPARE(SelectedNode(), 901105);
    QCOMPARE(exam_->State(), kExamAnswering);
    Click("ctl1035");
    QCOMPARE(learner.Texts(),
             (QStringList{"题目还没有答完，真的提交吗？", "题目还没有答完，真的提交吗？",
                          "某些题目无法自动判断对错，请根据答案进行判断并输入相应得分。"}));
    QCOMPARE(learner.shown[0].icon, QMessageBox::Warning);
    QCOMPARE(learner.shown[0].buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(learner.shown[2].icon, QMessageBox::NoIcon);

    // Scoring the multi-line answer by hand beside its answer page.
    QCOMPARE(exam_->State(), kExamScoring);
    QCOMPARE(SelectedNode(), 901104);
    QVERIFY(!exam_->Command(185)->isEnabled());
    const auto answerPage = pages.last()[0].value<quillory::InternalLink>();
    QVERIFY(answerPage.kind == quillory::LinkKind::Answer);
    QCOMPARE(answerPage.id, 200039);
    QCOMPARE(Caption("ctl1035"), QStringLiteral("继  续(&S)"));
    auto* score = Panel<QLineEdit>("ctl1024");
    QVERIFY(score->isVisible());
    score->selectAll();
    QTest::keyClicks(score, "15");
    Click("ctl1035");

    QCOMPARE(exam_->State(), kExamResult);
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
        {901101, 200001, 3, 3, "\r\n1\r\n0\r\n0\r\n0\r\n"},
        {901102, 200017, 5, 5, "\r\n1\r\n1\r\n0\r\n1\r\n"},
        {901103, 200024, 4, 2, "\r\n\r\n台湾岛\r\n\r\n广州\r\n"},
        {901104, 200039, 10, 10, "\r\n第一行<\\r\\n>第二行\r\n"},
        {901105, 200002, 3, 0, "\r\n0\r\n0\r\n0\r\n0\r\n"},
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        QCOMPARE(rows[i].id, 700001 + static_cast<int>(i));
        QCOMPARE(rows[i].date, std::string("2026-03-14"));
        QCOMPARE(rows[i].time, std::string("09:26:53"));
        QCOMPARE(rows[i].paperId, 901000);
        QCOMPARE(rows[i].itemId, expected[i].itemId);
        QCOMPARE(rows[i].questionId, expected[i].questionId);
        QCOMPARE(rows[i].totalScore, expected[i].totalScore);
        QCOMPARE(rows[i].userScore, expected[i].userScore);
        QCOMPARE(rows[i].answer, expected[i].answer);
    }
    QCOMPARE(app_.Settings().ReadInt("Settings", "HistoryModified", 0), 1);

    // The result: an image per question, the record's page on the root.
    QCOMPARE(exam_->HistoryId(), 700001);
    QCOMPARE(NodeImage(901101), Cell(6));
    QCOMPARE(NodeImage(901102), Cell(6));
    QCOMPARE(NodeImage(901103), Cell(7));
    QCOMPARE(NodeImage(901104), Cell(6));
    QCOMPARE(NodeImage(901105), Cell(8));
    QCOMPARE(SelectedNode(), 901000);
    const auto recordPage = pages.last()[0].value<quillory::InternalLink>();
    QVERIFY(recordPage.kind == quillory::LinkKind::HistoryAnalysis);
    QCOMPARE(recordPage.id, 700001);
    QCOMPARE(recordPage.second, 901000);
    QCOMPARE(Caption("ctl1035"), QStringLiteral("结  束(&E)"));

    // Ending the result display asks first.
    learner.shown.clear();
    learner.answers = {QMessageBox::Cancel};
    Click("ctl1035");
    QVERIFY(exam_->isVisible());
    Click("ctl1035");
    QCOMPARE(learner.Texts(),
             (QStringList{"确信要退出考试结果显示吗？", "确信要退出考试结果显示吗？"}));
    QVERIFY(!exam_->isVisible());
    QCOMPARE(exam_->State(), kExamIdle);
    QCOMPARE(exam_->TreeView()->topLevelItemCount(), 0);
}

void ExamFrameTest::recordsOfOneSecondAreReviewedInIdOrder() {
    ScriptedLearner learner;
    // An exam on one question item: nowhere to go before or after it.
    for (const QString& choice : {QStringLiteral("ctl60100"), QStringLiteral("ctl60101")}) {
        StartExam(902101);
        QCOMPARE(SelectedNode(), 902101);
        QVERIFY(!Panel<QPushButton>("ctl1027")->isEnabled());
        QVERIFY(!Panel<QPushButton>("ctl1028")->isEnabled());
        Click(choice);
        exam_->Command(185)->trigger();
        QCOMPARE(exam_->State(), kExamResult);
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
    QCOMPARE(exam_->State(), kExamReview);
    QCOMPARE(exam_->HistoryId(), 700001);
    QCOMPARE(SelectedNode(), 902101);
    // Both records' rows were applied, the later one last.
    QCOMPARE(exam_->Items().at(0).learnerScore, 0.0f);
    QVERIFY(Panel<QRadioButton>("ctl60101")->isChecked());
    QVERIFY(!Panel<QRadioButton>("ctl60100")->isChecked());
    QCOMPARE(Panel<QLabel>("ctl1023")->text(), QStringLiteral("本题分数: 3.0  您的得分: 0.0"));
    QVERIFY(Panel<QLabel>("ctl1032")->isVisible());
    QCOMPARE(NodeImage(902101), Cell(8));
}

void ExamFrameTest::failedStoreKeepsEverythingAndSubmittingAgainStores() {
    ScriptedLearner learner;
    QVERIFY(
        app_.Store().Execute("create trigger NoHistory before insert on History "
                             "begin select raise(abort, 'History is closed'); end"));
    StartExam(902000);
    Click("ctl1028");
    Click("ctl60100");
    Click("ctl1028");
    Commit(Panel<QLineEdit>("ctl60101"), QStringLiteral("台湾岛"));
    Commit(Panel<QLineEdit>("ctl60201"), QStringLiteral("海南岛"));
    Click("ctl1035");

    QCOMPARE(learner.shown.size(), size_t{2});
    QCOMPARE(learner.shown[0].text, QStringLiteral("真的提交吗？"));
    QVERIFY(learner.shown[1].text.startsWith(QStringLiteral("无法保存考试纪录！\n")));
    QVERIFY(learner.shown[1].text.contains(QStringLiteral("History is closed")));
    QCOMPARE(learner.shown[1].icon, QMessageBox::Critical);
    QVERIFY(History().empty());
    QCOMPARE(app_.Settings().ReadInt("Settings", "HistoryModified", 0), 0);

    // Still scoring, with every answer in place.
    QCOMPARE(exam_->State(), kExamScoring);
    QCOMPARE(SelectedNode(), 902000);
    QCOMPARE(Caption("ctl1035"), QStringLiteral("继　续(&C)"));
    exam_->TreeView()->SelectItemById(902101);
    QVERIFY(Panel<QRadioButton>("ctl60100")->isChecked());
    QCOMPARE(Panel<QLineEdit>("ctl1024")->text(), QStringLiteral("3.0"));
    exam_->TreeView()->SelectItemById(902000);

    QVERIFY(app_.Store().Execute("drop trigger NoHistory"));
    Click("ctl1035");
    QCOMPARE(exam_->State(), kExamResult);
    const std::vector<HistoryRow> rows = History();
    QCOMPARE(rows.size(), size_t{2});
    QCOMPARE(rows[0].answer, std::string("\r\n1\r\n0\r\n0\r\n0\r\n"));
    QCOMPARE(rows[1].answer, std::string("\r\n\r\n台湾岛\r\n\r\n海南岛\r\n"));
    QCOMPARE(rows[1].userScore, 4.0f);
    QCOMPARE(app_.Settings().ReadInt("Settings", "HistoryModified", 0), 1);
    QCOMPARE(learner.shown.size(), size_t{2});
}

void ExamFrameTest::countdownsOfTheExamAndOfAQuestion() {
    StartExam(903000);
    auto* examTime = exam_->findChild<QLabel*>("examTimeLeft");
    for (const char* text : {"剩余时间 0:00:02", "剩余时间 0:00:01", "剩余时间 0:00:00"}) {
        QTRY_COMPARE_WITH_TIMEOUT(examTime->text(), QString::fromUtf8(text), kWait);
    }

    Click("ctl1028");
    QCOMPARE(SelectedNode(), 903101);
    auto* questionTime = Panel<QLabel>("ctl1034");
    QVERIFY(questionTime->isVisible());
    QCOMPARE(questionTime->text(), QStringLiteral("剩余时间: 0:00:03"));
    for (const char* text : {"剩余时间: 0:00:02", "剩余时间: 0:00:01", "剩余时间: 0:00:00"}) {
        QTRY_COMPARE_WITH_TIMEOUT(questionTime->text(), QString::fromUtf8(text), kWait);
    }
    // Time is up: the panel moves on by itself.
    QTRY_COMPARE_WITH_TIMEOUT(SelectedNode(), 903102, kWait);
    QVERIFY(!questionTime->isVisible());

    // The exam's clock stayed at nought, and the exam is still open.
    QCOMPARE(examTime->text(), QStringLiteral("剩余时间 0:00:00"));
    QCOMPARE(exam_->State(), kExamAnswering);
    QVERIFY(exam_->Command(185)->isEnabled());
}

void ExamFrameTest::missingQuestionStopsTheLoad() {
    ScriptedLearner learner;
    StartExam(904000);
    QCOMPARE(learner.Texts(), QStringList{"试题ID没有找到！"});
    QCOMPARE(learner.shown[0].icon, QMessageBox::Critical);
    QCOMPARE(exam_->TreeView()->topLevelItemCount(), 1);
    QCOMPARE(exam_->TreeView()->topLevelItem(0)->childCount(), 1);
    QVERIFY(exam_->TreeView()->FindItemById(904101) != nullptr);
    QCOMPARE(SelectedNode(), -1);
    QVERIFY(exam_->findChild<QLabel*>("examTimeLeft")->text().isEmpty());
}

void ExamFrameTest::leavingAnUnfinishedExamAsksAndStoresNothing() {
    ScriptedLearner learner;
    StartExam(902000);
    Click("ctl1028");
    Click("ctl60100");

    learner.answers = {QMessageBox::Cancel};
    exam_->Command(130)->trigger();
    QVERIFY(exam_->isVisible());
    QCOMPARE(exam_->State(), kExamAnswering);
    QCOMPARE(SelectedNode(), 902101);

    exam_->Command(130)->trigger();
    QCOMPARE(learner.Texts(),
             (QStringList{"模拟考试尚未完成，要结束吗？", "模拟考试尚未完成，要结束吗？"}));
    QCOMPARE(learner.shown[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QVERIFY(!exam_->isVisible());
    QCOMPARE(exam_->State(), kExamIdle);
    QVERIFY(exam_->Items().empty());
    QVERIFY(exam_->Panel()->findChild<QRadioButton*>("ctl60100") == nullptr);
    QVERIFY(!Panel<QPushButton>("ctl1026")->isVisible());
    QVERIFY(History().empty());
    QVERIFY(!menu_->ShownFrames().contains(exam_));
}

QUILLORY_APP_TEST_MAIN(ExamFrameTest)
#include "exam_frame_test.moc"

// The program on the exam test bank, as a learner reads his analyses: the
// reference papers' summary and a reference paper's page; then from an exam
// to his history: take an exam in the exam frame, see its record page, find
// the record in the history module, review it in the exam frame, delete it.
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>

#include "analysis/classic_analysis_frame.h"
#include "core/analysis/history_tree.h"
#include "core/common/text.h"
#include "core/host/host.h"
#include "find_control.h"
#include "frame/frame_commands.h"
#include "frame/quillory_frame.h"
#include "practice/answer_controls.h"
#include "practice/do_paper_frame.h"
#include "practice/input_form.h"
#include "practice/panel_controls.h"
#include "shell/main_menu_dlg.h"
#include "support/pinned_clock.h"
#include "test_bank_support.h"
#include "widgets/progress_wnd.h"
#include "widgets/tree_view_ext.h"

namespace {

// The history module shows a note while its summary is built beside it;
// the summary follows.
bool WaitForSummary(QWebEngineView& view) {
    while (view.title() != QStringLiteral("用户历史分析")) {
        if (!quillory::testing::WaitForPage(view, [] {})) {
            return false;
        }
    }
    return true;
}

// How the view lays out the analysis table's last row ("flex": on its own,
// only when near the screen), and how many of its cells end where no
// heading cell ends.
QString LastRowLayout(QWebEngineView& view) {
    return quillory::testing::RunScript(
               view,
               QStringLiteral("(function () {"
                              "  var rows = document.querySelectorAll('#AutoNumber1 > tbody > tr');"
                              "  var ends = function (row) {"
                              "    return Array.prototype.map.call(row.children, function (cell) {"
                              "      return Math.round(cell.getBoundingClientRect().right); }); };"
                              "  var heading = ends(rows[0]).concat(ends(rows[1]));"
                              "  var last = rows[rows.length - 1];"
                              "  var astray = ends(last).filter(function (end) {"
                              "    return heading.indexOf(end) < 0; }).length;"
                              "  return getComputedStyle(last).display + ' ' + astray;"
                              "})()"))
        .toString();
}

}  // namespace

class HistoryEndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void theReferencePapersAreAnalysed();
    void anExamIsShownFoundReviewedAndDeleted();

private:
    CQuilloryFrame* OpenModule(const QString& text);
    void ClickPanel(int id);
    int HistoryRows();
    int Weight(int knowledgeId);
    // What a progress window does to the program while a paper is generated
    // or printed: the main menu, and every frame it owns, disabled until it
    // closes.
    void ShowProgressWindow();

    CQuilloryApp& app_ = quillory::testing::ProgramApp();
    quillory::testing::TempDir folder_;
    std::unique_ptr<quillory::testing::MessageRecorder> learner_;
    quillory::testing::PinnedClock clock_;
};

void HistoryEndToEndTest::initTestCase() {
    learner_ = std::make_unique<quillory::testing::MessageRecorder>();
    const std::string bank = folder_.File("历史.qly");
    const quillory::Status built = quillory::BuildBank(quillory::testing::TestBankSource("exam"),
                                                       bank, quillory::testing::ProgramFolder());
    QVERIFY2(built.ok(), built.error().detail.c_str());
    QVERIFY(app_.InitInstance(QString::fromStdString(bank)));
}

void HistoryEndToEndTest::cleanupTestCase() {
    app_.ExitInstance();
    learner_.reset();
}

CQuilloryFrame* HistoryEndToEndTest::OpenModule(const QString& text) {
    for (QPushButton* button : app_.MainMenu()->findChildren<QPushButton*>()) {
        if (button->text() == text) {
            QTest::mouseClick(button, Qt::LeftButton);
            return app_.MainMenu()->ShownFrames().last();
        }
    }
    return nullptr;
}

void HistoryEndToEndTest::ClickPanel(int id) {
    auto* exam = qobject_cast<CDoPaperFrame*>(app_.MainMenu()->Frame(Module::Exam));
    auto* window = FindControl<QWidget>(*exam->Panel(), id);
    QVERIFY2(window != nullptr, qPrintable(ControlName(id)));
    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(8, window->height() / 2));
}

int HistoryEndToEndTest::HistoryRows() {
    auto rows = app_.Session()->Store().Query("select count(*) as n from History");
    return rows ? rows->Int("n") : -1;
}

int HistoryEndToEndTest::Weight(int knowledgeId) {
    auto row = app_.Session()->Store().Query(
        quillory::Format("select Weight from Knowledge where ID=%d", knowledgeId));
    return row && !row->AtEnd() ? row->Int("Weight") : -1;
}

void HistoryEndToEndTest::ShowProgressWindow() {
    CProgressWnd progress(app_.MainMenu(), QStringLiteral("组卷"), false,
                          &app_.Session()->Settings());
    progress.GoModal();
    QVERIFY(!app_.MainMenu()->isEnabled());
}

void HistoryEndToEndTest::theReferencePapersAreAnalysed() {
    using quillory::testing::ShownFile;
    using quillory::testing::WaitForPage;
    CQuilloryFrame* frame = nullptr;
    auto* classic =
        qobject_cast<CClassicAnalysisFrame*>(app_.MainMenu()->Frame(Module::ClassicAnalysis));
    QVERIFY(classic != nullptr);
    CQuilloryView& view = *classic->ContentView();
    QVERIFY(WaitForPage(view, [&] { frame = OpenModule(QStringLiteral("考点分析")); }));
    QCOMPARE(frame, classic);
    const QString summary =
        app_.Session()->DataFolder() + QStringLiteral("/Knowledge/ReferenceTotal.html");
    QCOMPARE(ShownFile(view), summary);
    QCOMPARE(LastRowLayout(view), QStringLiteral("flex 0"));
    const QString answered = QStringLiteral("模拟考试三 第01题答案(3.0分)");
    const QString viewAnswered = QStringLiteral("模拟考试三 第01题 答案(3.0分)");
    QVERIFY(quillory::testing::ElementText(view, "body").contains(viewAnswered));
    QTreeWidgetItem* root = classic->TreeView()->topLevelItem(0);
    QCOMPARE(root->text(0), QStringLiteral("经典试卷汇总分析"));
    QCOMPARE(root->childCount(), 1);
    QCOMPARE(root->child(0)->text(0), QStringLiteral("模拟考试三"));

    QVERIFY(WaitForPage(view, [&] { classic->TreeView()->SelectItem(root->child(0)); }));
    QCOMPARE(ShownFile(view),
             app_.Session()->DataFolder() + QStringLiteral("/Knowledge/模拟考试三.htm"));
    QCOMPARE(quillory::testing::ElementText(view, "b"), QStringLiteral("试卷分析--模拟考试三"));
    QCOMPARE(LastRowLayout(view), QStringLiteral("table-row 0"));

    // Building the summary stores the weights again: 3 points on 301100 alone.
    QVERIFY(app_.Session()->Store().Execute("update Knowledge set Weight=0"));
    QVERIFY(WaitForPage(view, [&] { classic->BuildClassicAnalysis(); }));
    // The command's own page (no blank before the answer links), not the
    // view's again.
    QCOMPARE(ShownFile(view), summary);
    QVERIFY(quillory::testing::ElementText(view, "body").contains(answered));
    QCOMPARE(Weight(301100), 3);

    // Left at the summary, the analysis is not built again behind a progress
    // window of another module.
    QVERIFY(WaitForPage(view, [&] { classic->TreeView()->SelectItem(root); }));
    classic->Command(kCmdReturn)->trigger();
    QVERIFY(!classic->isVisible());
    QVERIFY(app_.Session()->Store().Execute("update Knowledge set Weight=0"));
    ShowProgressWindow();
    QCOMPARE(Weight(301100), 0);
}

void HistoryEndToEndTest::anExamIsShownFoundReviewedAndDeleted() {
    using quillory::testing::ShownFile;
    using quillory::testing::WaitForPage;
    auto* exam = qobject_cast<CDoPaperFrame*>(app_.MainMenu()->Frame(Module::Exam));
    QVERIFY(exam != nullptr);
    exam->SetClock(clock_);
    CQuilloryView& examView = *exam->ContentView();

    // 模拟考试二: the first question right, one of the second's two blanks.
    CQuilloryFrame* papers = OpenModule(QStringLiteral("经典试卷"));
    QVERIFY(papers != nullptr);
    papers->TreeView()->SelectItemById(102000);
    papers->Command(kCmdStartExam)->trigger();
    QVERIFY(exam->isVisible());
    QVERIFY(WaitForPage(examView, [&] { ClickPanel(kCtlNext); }));
    ClickPanel(CAnswerControls::ControlId(1, 0));
    QVERIFY(WaitForPage(examView, [&] { ClickPanel(kCtlNext); }));
    QInputMethodEvent typed;
    typed.setCommitString(QStringLiteral("长江"));
    QCoreApplication::sendEvent(
        FindControl<QLineEdit>(*exam->Panel(), CAnswerControls::ControlId(1, 1)), &typed);

    // Submitting shows the record's page at the root.
    QVERIFY(WaitForPage(examView, [&] { exam->Command(kCmdSubmit)->trigger(); }));
    QCOMPARE(exam->State(), quillory::ExamState::Result);
    QCOMPARE(HistoryRows(), 2);
    const QString recordPage = app_.Session()->DataFolder() +
                               QStringLiteral("/Knowledge/模拟考试二-2026-03-14-09-26-53.htm");
    QCOMPARE(ShownFile(examView), recordPage);
    QCOMPARE(examView.url().query(), QStringLiteral("700001"));
    QCOMPARE(quillory::testing::ElementText(examView, "b"), QStringLiteral("历史分析--模拟考试二"));
    QVERIFY(quillory::testing::ElementText(examView, "body").contains(QStringLiteral("71.4%")));
    exam->Command(kCmdReturn)->trigger();
    QVERIFY(!exam->isVisible());

    // The history module lists it under its day.
    CQuilloryFrame* history = app_.MainMenu()->Frame(Module::History);
    CQuilloryView& historyView = *history->ContentView();
    QVERIFY(WaitForPage(historyView, [&] { OpenModule(QStringLiteral("历史纪录")); }));
    QVERIFY(WaitForSummary(historyView));
    QVERIFY(history->isVisible());
    QCOMPARE(ShownFile(historyView),
             app_.Session()->DataFolder() + QStringLiteral("/Knowledge/UserTotal.html"));
    QCOMPARE(LastRowLayout(historyView), QStringLiteral("flex 0"));
    // The mistake notebook stands beside the root, first in title order.
    QCOMPARE(history->TreeView()->topLevelItem(0)->text(0), QStringLiteral("错题本"));
    QTreeWidgetItem* root = history->TreeView()->FindItemById(quillory::kHistoryRootId);
    QVERIFY(root != nullptr);
    QCOMPARE(root->text(0), QStringLiteral("用户历史分析"));
    QCOMPARE(root->childCount(), 1);
    QCOMPARE(root->child(0)->text(0), QStringLiteral("2026-03-14(得分率:71.4%)"));
    QTreeWidgetItem* record = root->child(0)->child(0);
    QVERIFY(record != nullptr);
    const QString recordTitle = QStringLiteral("(09:26:53)模拟考试二(得分率:71.4%)");
    QCOMPARE(record->text(0), recordTitle);
    QVERIFY(!history->Command(kCmdReview)->isEnabled());
    QVERIFY(WaitForPage(historyView, [&] { history->TreeView()->SelectItem(record); }));
    QCOMPARE(ShownFile(historyView), recordPage);

    // Reviewed in the exam frame, which shows the same page at the root.
    QVERIFY(history->Command(kCmdReview)->isEnabled());
    QVERIFY(WaitForPage(examView, [&] { history->Command(kCmdReview)->trigger(); }));
    QVERIFY(exam->isVisible());
    QCOMPARE(exam->State(), quillory::ExamState::Review);
    QCOMPARE(ShownFile(examView), recordPage);
    exam->Command(kCmdReturn)->trigger();
    QVERIFY(!exam->isVisible());

    // Deleted once the question is answered with OK, not before; the tree
    // keeps its root alone.
    QStringList asked;
    const int modified = app_.Session()->Settings().ReadInt("Settings", "HistoryModified", 1);
    const MessageBoxHandler recorder = SetMessageBoxHandler(
        [&](QWidget*, const QString& text, QMessageBox::Icon, QMessageBox::StandardButtons) {
            asked << text;
            return QMessageBox::Cancel;
        });
    history->Command(kCmdDelete)->trigger();
    SetMessageBoxHandler(recorder);
    QCOMPARE(HistoryRows(), 2);
    QCOMPARE(app_.Session()->Settings().ReadInt("Settings", "HistoryModified", 1), modified);
    QCOMPARE(history->TreeView()->FindItemById(CTreeViewExt::ItemId(record)), record);
    learner_->Clear();
    history->Command(kCmdDelete)->trigger();
    QCOMPARE(learner_->Shown().size(), size_t{1});
    QCOMPARE(learner_->Shown()[0].text, asked.value(0));
    QCOMPARE(asked.value(0),
             QStringLiteral("确定要删除用户历史纪录\"") + recordTitle + QStringLiteral("\"吗？"));
    QCOMPARE(learner_->Shown()[0].icon, QMessageBox::Warning);
    QCOMPARE(HistoryRows(), 0);
    QCOMPARE(history->TreeView()->topLevelItemCount(), 2);
    QCOMPARE(history->TreeView()->FindItemById(quillory::kHistoryRootId)->childCount(), 0);

    // A later exam is there when the module is shown again.
    history->Command(kCmdReturn)->trigger();
    papers->TreeView()->SelectItemById(102101);
    papers->Command(kCmdStartExam)->trigger();
    ClickPanel(CAnswerControls::ControlId(1, 0));
    QVERIFY(WaitForPage(examView, [&] { exam->Command(kCmdSubmit)->trigger(); }));
    exam->Command(kCmdReturn)->trigger();
    // A paper generated meanwhile does not rebuild the hidden history's
    // summary, which would mark the history as seen.
    ShowProgressWindow();
    QVERIFY(WaitForPage(historyView, [&] { OpenModule(QStringLiteral("历史纪录")); }));
    QVERIFY(WaitForSummary(historyView));
    root = history->TreeView()->FindItemById(quillory::kHistoryRootId);
    QCOMPARE(root->childCount(), 1);
    QCOMPARE(root->child(0)->child(0)->text(0), QStringLiteral("(09:26:53)第01题(得分率:100.0%)"));

    // The notebook shows its page; with nothing wrong there is nothing to redo.
    QTreeWidgetItem* notebook = history->TreeView()->FindItemById(quillory::kMistakesItemId);
    QVERIFY(WaitForPage(historyView, [&] { history->TreeView()->SelectItem(notebook); }));
    QCOMPARE(ShownFile(historyView),
             app_.Session()->DataFolder() + QStringLiteral("/Knowledge/MistakeNotebook.html"));
    QVERIFY(!history->Command(kCmdDelete)->isEnabled());
    learner_->Clear();
    history->Command(kCmdRedoMistakes)->trigger();
    QCOMPARE(learner_->Shown().size(), size_t{1});
    QCOMPARE(learner_->Shown()[0].text, QStringLiteral("错题本中没有试题。"));
}

QUILLORY_BANK_TEST_MAIN(HistoryEndToEndTest)
#include "history_end_to_end_test.moc"

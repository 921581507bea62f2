// The paper frames on the browse test bank: which papers each tree holds
// and in what order, the page each node shows, the related-information
// toggle, a clicked answer link, starting an exam, and deleting a practice
// paper with its history.
#include <QAction>
#include <QFile>

#include "core/host/host.h"
#include "core/store/data_store.h"
#include "frame/frame_commands.h"
#include "practice/paper_frame.h"
#include "test_bank_support.h"
#include "widgets/tree_view_ext.h"

using quillory::testing::ClickLink;
using quillory::testing::ElementText;
using quillory::testing::kPageWait;
using quillory::testing::MessageRecorder;
using quillory::testing::RunScript;
using quillory::testing::ShownFile;
using quillory::testing::WaitForPage;

namespace {

// The browse bank (tests/banks/browse/papers.txt).
constexpr int kFirstPaper = 103000;   // "丙卷 综合测试", first by title
constexpr int kSecondPaper = 101000;  // "甲卷 基础练习"
constexpr int kSection = 101100;      // "第1部分 选择题" of 甲卷, two items
constexpr int kItem = 101101;         // "第01题" of that section, question 200001

int Count(quillory::DataStore& store, const std::string& sql) {
    auto rows = store.Query(sql);
    return rows && !rows->AtEnd() ? rows->Int("N") : -1;
}

// Every top-level title of the tree, in order.
QStringList TopLevelTitles(const CTreeViewExt& tree) {
    QStringList titles;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        titles << tree.topLevelItem(i)->text(0);
    }
    return titles;
}

}  // namespace

class PaperFrameTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void classicTreeHoldsTheClassicPapersInOrder();
    void practiceTreeHoldsOnlyThePracticePapers();
    void questionItemShowsItsQuestionPageLabelledWithItsTitle();
    void paperAndSectionShowTheirPaperPages();
    void relatedInformationToggleAddsAndRemovesTheBlock();
    void clickedAnswerLinkShowsTheAnswerPage();
    void commandsAreEnabledByTheKindOfNode();
    void startExamAsksForTheCurrentNode();
    void onlyAWholePaperCanBeDeleted();
    void cancelledDeletionKeepsThePaper();
    void failedDeletionChangesNothing();
    void deletionRemovesThePaperItsHistoryAndItsPage();

private:
    void AddPracticePaper();
    bool Select(CPaperFrame& frame, int id);

    quillory::testing::TempDir dir_;
    std::unique_ptr<CBankSession> bank_;
    std::unique_ptr<CPaperFrame> classic_;
    std::unique_ptr<CPaperFrame> practice_;
    MessageRecorder messages_;
};

void PaperFrameTest::initTestCase() {
    bank_ = quillory::testing::OpenTestBank(dir_, "browse");
    QVERIFY(bank_);
    AddPracticePaper();
    classic_ = std::make_unique<CPaperFrame>(*bank_, FrameResource::ClassicPapers,
                                             quillory::PaperFilter::Classic, nullptr);
    practice_ = std::make_unique<CPaperFrame>(*bank_, FrameResource::PracticePapers,
                                              quillory::PaperFilter::Practice, nullptr);
    classic_->show();
    QVERIFY(QTest::qWaitForWindowExposed(classic_.get()));
    QVERIFY(WaitForPage(*classic_->ContentView(), [&] { classic_->LoadTree(); }));
}

void PaperFrameTest::cleanupTestCase() {
    classic_.reset();
    practice_.reset();
}

void PaperFrameTest::init() {
    messages_.Clear();
    bank_->SetRelatedInfo(true);
}

// A generated paper as paper generation leaves it: a paper, one section,
// two question items, an exam record on one of them, and a local page.
void PaperFrameTest::AddPracticePaper() {
    quillory::DataStore& store = bank_->Store();
    for (const char* sql : {
             "insert into Paper(ID, SuperiorID, QuestionID, Title, Url, IsSystem) values"
             "(550001, 0, 0, '组卷练习 第1套', 'Question/P550001.html', true)",
             "insert into Paper(ID, SuperiorID, QuestionID, Title, IsSystem) values"
             "(550002, 550001, 0, '第1部分', true)",
             "insert into Paper(ID, SuperiorID, QuestionID, Title, IsSystem) values"
             "(550003, 550002, 200001, '第1题', true)",
             "insert into Paper(ID, SuperiorID, QuestionID, Title, IsSystem) values"
             "(550004, 550002, 200002, '第2题', true)",
             "insert into History(ID, PaperID, PaperItemID, QuestionID, TotalScore, UserScore) "
             "values(700001, 550001, 550003, 200001, 3, 3)",
         }) {
        QVERIFY2(store.Execute(sql), store.LastError().c_str());
    }
    quillory::testing::WriteFileBytes(dir_.File("Question/P550001.html"),
                                      "<html><body>[标题]</body></html>");
}

// Selects a node as the learner does and waits for its page; a node that
// is selected already is selected anew.
bool PaperFrameTest::Select(CPaperFrame& frame, int id) {
    frame.TreeView()->selectionModel()->clear();
    return WaitForPage(*frame.ContentView(), [&] { frame.TreeView()->SelectItemById(id); });
}

void PaperFrameTest::classicTreeHoldsTheClassicPapersInOrder() {
    const CTreeViewExt& tree = *classic_->TreeView();
    // By GB2312 title (丙 bing, 甲 jia, 乙 yi), not by ID.
    QCOMPARE(TopLevelTitles(tree),
             QStringList({QStringLiteral("丙卷 综合测试"), QStringLiteral("甲卷 基础练习"),
                          QStringLiteral("乙卷 提高练习")}));
    QVERIFY(classic_->IsLoaded());
    // The node list holds the rows in tree order: each paper before its
    // sections, each section before its items.
    const quillory::PaperNodeList& nodes = classic_->Nodes();
    QCOMPARE(nodes.Size(), size_t{13});
    QCOMPARE(nodes[0].id, kFirstPaper);
    QCOMPARE(nodes[4].id, kSecondPaper);
    QCOMPARE(nodes[5].id, kSection);
    QCOMPARE(nodes[6].id, kItem);
    QCOMPARE(nodes[6].questionId, 200001);
    QCOMPARE(nodes.IndexOf(550001), -1);
    QCOMPARE(tree.FindItemById(kSection)->parent(), tree.FindItemById(kSecondPaper));
    QCOMPARE(tree.FindItemById(kItem)->parent(), tree.FindItemById(kSection));
    // The first paper is selected and shown.
    QCOMPARE(classic_->CurrentItemId(), kFirstPaper);
    QVERIFY(ShownFile(*classic_->ContentView()).endsWith("/Question/P103000.htm"));
    QVERIFY(messages_.Shown().empty());
}

void PaperFrameTest::practiceTreeHoldsOnlyThePracticePapers() {
    QCOMPARE(practice_->LoadPaperTree(-1, practice_->Filter()), 1);
    QCOMPARE(TopLevelTitles(*practice_->TreeView()), QStringList(QStringLiteral("组卷练习 第1套")));
    QCOMPARE(practice_->Nodes().Size(), size_t{4});
    QCOMPARE(practice_->CurrentItemId(), 550001);

    // One node and what lies below it.
    CPaperFrame subtree(*bank_, FrameResource::PracticePapers, quillory::PaperFilter::Practice,
                        nullptr);
    QCOMPARE(subtree.LoadPaperTree(kSection, quillory::PaperFilter::All), 1);
    QCOMPARE(TopLevelTitles(*subtree.TreeView()), QStringList(QStringLiteral("第1部分 选择题")));
    QCOMPARE(subtree.Nodes().Size(), size_t{3});
    QCOMPARE(subtree.Nodes().IndexOf(101200), -1);
}

void PaperFrameTest::questionItemShowsItsQuestionPageLabelledWithItsTitle() {
    QVERIFY(Select(*classic_, kItem));
    CQuilloryView& view = *classic_->ContentView();
    QCOMPARE(classic_->CurrentItemId(), kItem);
    QVERIFY(ShownFile(view).endsWith("/Question/200001.htm"));
    QCOMPARE(ElementText(view, QStringLiteral("h3.item")), QStringLiteral("第01题"));

    // The label is the item's title, whatever the question's own page says.
    QVERIFY(bank_->Store().Execute("update Paper set Title='第一题' where ID=101101"));
    QVERIFY(
        WaitForPage(view, [&] { classic_->LoadPaperTree(-1, quillory::PaperFilter::Classic); }));
    QVERIFY(Select(*classic_, kItem));
    QCOMPARE(ElementText(view, QStringLiteral("h3.item")), QStringLiteral("第一题"));
    QVERIFY(bank_->Store().Execute("update Paper set Title='第01题' where ID=101101"));
    QVERIFY(
        WaitForPage(view, [&] { classic_->LoadPaperTree(-1, quillory::PaperFilter::Classic); }));
    QVERIFY(messages_.Shown().empty());
}

void PaperFrameTest::paperAndSectionShowTheirPaperPages() {
    CQuilloryView& view = *classic_->ContentView();
    QVERIFY(Select(*classic_, kSection));
    QVERIFY(ShownFile(view).endsWith("/Question/P101100.htm"));
    QVERIFY(Select(*classic_, 102000));
    QVERIFY(ShownFile(view).endsWith("/Question/P102000.htm"));
    // "[标题]" became the paper's title.
    QCOMPARE(ElementText(view, QStringLiteral("h2")), QStringLiteral("乙卷 提高练习"));
}

void PaperFrameTest::relatedInformationToggleAddsAndRemovesTheBlock() {
    CQuilloryView& view = *classic_->ContentView();
    const QString hasBlock = QStringLiteral("document.getElementById('Knowledge') !== null");
    QVERIFY(Select(*classic_, kItem));
    QCOMPARE(RunScript(view, hasBlock).toBool(), true);

    // The page shown is shown again at once.
    QAction* toggle = classic_->Command(kCmdRelatedInfo);
    QVERIFY(toggle->isCheckable());
    QVERIFY(toggle->isChecked());
    QVERIFY(WaitForPage(view, [&] { toggle->trigger(); }));
    QVERIFY(!toggle->isChecked());
    QCOMPARE(RunScript(view, hasBlock).toBool(), false);

    QVERIFY(WaitForPage(view, [&] { toggle->trigger(); }));
    QVERIFY(toggle->isChecked());
    QCOMPARE(RunScript(view, hasBlock).toBool(), true);
}

void PaperFrameTest::clickedAnswerLinkShowsTheAnswerPage() {
    CQuilloryView& view = *classic_->ContentView();
    QVERIFY(Select(*classic_, kItem));
    QVERIFY(WaitForPage(view, [&] { QVERIFY(ClickLink(view, QStringLiteral("答案"))); }));
    QVERIFY(ShownFile(view).endsWith("/Question/200001a.htm"));
    // The answer side links back to the question, keeping the label.
    QVERIFY(WaitForPage(view, [&] { QVERIFY(ClickLink(view, QStringLiteral("试题"))); }));
    QVERIFY(ShownFile(view).endsWith("/Question/200001.htm"));
    QCOMPARE(ElementText(view, QStringLiteral("h3.item")), QStringLiteral("第01题"));
    QVERIFY(messages_.Shown().empty());
}

void PaperFrameTest::commandsAreEnabledByTheKindOfNode() {
    QVERIFY(practice_->LoadPaperTree(-1, quillory::PaperFilter::Practice));
    QAction* start = practice_->Command(kCmdStartExam);
    QAction* remove = practice_->Command(kCmdDelete);
    QAction* print = practice_->Command(kCmdPrint);
    for (const int id : {550001, 550002, 550003}) {
        practice_->TreeView()->SelectItemById(id);
        QVERIFY(start->isEnabled());
        QVERIFY(print->isEnabled());
        QCOMPARE(remove->isEnabled(), id == 550001);
    }
    // The classic papers offer no deletion at all.
    QCOMPARE(classic_->Command(kCmdDelete), nullptr);
}

void PaperFrameTest::startExamAsksForTheCurrentNode() {
    QSignalSpy requested(classic_.get(), &CQuilloryFrame::startExamRequested);
    QVERIFY(Select(*classic_, kSection));
    classic_->Command(kCmdStartExam)->trigger();
    QCOMPARE(requested.count(), 1);
    QCOMPARE(requested.first().at(0).value<CQuilloryFrame*>(), classic_.get());
    QCOMPARE(requested.first().at(1).toInt(), kSection);
}

void PaperFrameTest::onlyAWholePaperCanBeDeleted() {
    QVERIFY(practice_->LoadPaperTree(-1, quillory::PaperFilter::Practice));
    practice_->TreeView()->SelectItemById(550002);
    // The command is disabled for a section; a trigger that comes anyway is refused.
    practice_->Command(kCmdDelete)->setEnabled(true);
    practice_->Command(kCmdDelete)->trigger();
    QCOMPARE(messages_.Shown().size(), size_t{1});
    QCOMPARE(messages_.Shown()[0].text, QStringLiteral("无法单独删除试题或试卷部分！"));
    QCOMPARE(messages_.Shown()[0].icon, QMessageBox::Warning);
    QCOMPARE(Count(bank_->Store(), "select count(*) as N from Paper where ID=550002"), 1);
}

void PaperFrameTest::cancelledDeletionKeepsThePaper() {
    QVERIFY(practice_->LoadPaperTree(-1, quillory::PaperFilter::Practice));
    QStringList asked;
    const MessageBoxHandler previous = SetMessageBoxHandler(
        [&](QWidget*, const QString& text, QMessageBox::Icon, QMessageBox::StandardButtons) {
            asked << text;
            return QMessageBox::Cancel;
        });
    practice_->Command(kCmdDelete)->trigger();
    SetMessageBoxHandler(previous);
    QCOMPARE(asked,
             QStringList(QStringLiteral("您确定要删除试卷\"组卷练习 第1套\"及相关历史纪录吗？")));
    QCOMPARE(Count(bank_->Store(), "select count(*) as N from Paper where ID>=550001"), 4);
    QCOMPARE(practice_->Nodes().Size(), size_t{4});
}

void PaperFrameTest::failedDeletionChangesNothing() {
    QVERIFY(practice_->LoadPaperTree(-1, quillory::PaperFilter::Practice));
    // The frame's list still names a question item that has gone meanwhile;
    // the deletion stops there and must leave everything as it was.
    QVERIFY(bank_->Store().Execute("delete from Paper where ID=550004"));
    bank_->Settings().WriteInt("Settings", "HistoryModified", 0);
    practice_->TreeView()->SelectItemById(550001);
    practice_->Command(kCmdDelete)->trigger();

    QCOMPARE(Count(bank_->Store(), "select count(*) as N from Paper where ID>=550001"), 3);
    QCOMPARE(Count(bank_->Store(), "select count(*) as N from History where ID=700001"), 1);
    QVERIFY(QFile::exists(QString::fromStdString(dir_.File("Question/P550001.html"))));
    QCOMPARE(bank_->Settings().ReadInt("Settings", "HistoryModified", -1), 0);
    QCOMPARE(messages_.Shown().size(), size_t{2});
    QCOMPARE(messages_.Shown()[1].icon, QMessageBox::Critical);
    // The tree shows what is there.
    QCOMPARE(practice_->Nodes().Size(), size_t{3});
    QVERIFY(bank_->Store().Execute(
        "insert into Paper(ID, SuperiorID, QuestionID, Title, IsSystem) values"
        "(550004, 550002, 200002, '第2题', true)"));
}

void PaperFrameTest::deletionRemovesThePaperItsHistoryAndItsPage() {
    QVERIFY(practice_->LoadPaperTree(-1, quillory::PaperFilter::Practice));
    bank_->Settings().WriteInt("Settings", "HistoryModified", 0);
    practice_->TreeView()->SelectItemById(550001);
    practice_->Command(kCmdDelete)->trigger();

    QCOMPARE(messages_.Shown().size(), size_t{1});
    QCOMPARE(Count(bank_->Store(), "select count(*) as N from Paper where ID>=550001"), 0);
    QCOMPARE(Count(bank_->Store(), "select count(*) as N from History"), 0);
    QVERIFY(!QFile::exists(QString::fromStdString(dir_.File("Question/P550001.html"))));
    QCOMPARE(bank_->Settings().ReadInt("Settings", "HistoryModified", -1), 1);
    // Reloaded as the practice papers: now empty, nothing selected.
    QCOMPARE(practice_->TreeView()->topLevelItemCount(), 0);
    QCOMPARE(practice_->CurrentItemId(), -1);
    QVERIFY(!practice_->Command(kCmdDelete)->isEnabled());
    // The classic papers are untouched.
    QCOMPARE(Count(bank_->Store(), "select count(*) as N from Paper where ID=101000"), 1);
}

QUILLORY_BANK_TEST_MAIN(PaperFrameTest)
#include "paper_frame_test.moc"

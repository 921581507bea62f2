// The knowledge module on the browse test bank: the tree of knowledge
// points, the page of the selected point with its related points and
// questions, and the links of that page.
#include <QAction>
#include <QTreeWidgetItemIterator>

#include "frame/frame_commands.h"
#include "generation/knowledge_frame.h"
#include "test_bank_support.h"
#include "widgets/tree_view_ext.h"

using quillory::testing::ClickLink;
using quillory::testing::ElementText;
using quillory::testing::MessageRecorder;
using quillory::testing::RunScript;
using quillory::testing::ShownFile;
using quillory::testing::WaitForPage;

namespace {

// The browse bank (tests/banks/browse/knowledge.txt).
constexpr int kChapter = 301000;  // "第1章 地球与地图"
constexpr int kPoint = 301101;    // "1.1.1 经线和纬线", tested by questions 200001 and 200003

// The hrefs of the links in the page's knowledge block, in order.
QStringList BlockLinks(QWebEngineView& view) {
    return RunScript(view, QStringLiteral("Array.prototype.map.call("
                                          "  document.querySelectorAll('#Knowledge a'),"
                                          "  function (a) { return a.getAttribute('href'); })"))
        .toStringList();
}

}  // namespace

class KnowledgeFrameTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void treeHoldsEveryPointUnderItsParent();
    void firstChapterIsShownAtLoad();
    void selectedPointShowsItsPageWithRelatedPointsAndQuestions();
    void relatedPointLinkShowsThatPoint();
    void questionAndAnswerLinksShowTheirPages();

private:
    bool Select(int id);

    quillory::testing::TempDir dir_;
    std::unique_ptr<CBankSession> bank_;
    std::unique_ptr<CKnowledgeFrame> frame_;
    MessageRecorder messages_;
};

void KnowledgeFrameTest::initTestCase() {
    bank_ = quillory::testing::OpenTestBank(dir_, "browse");
    QVERIFY(bank_);
    frame_ = std::make_unique<CKnowledgeFrame>(*bank_, nullptr);
    QVERIFY(!frame_->Command(kCmdTargeted)->isEnabled());
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    QVERIFY(WaitForPage(*frame_->ContentView(), [&] { frame_->LoadTree(); }));
}

void KnowledgeFrameTest::cleanupTestCase() {
    frame_.reset();
}

void KnowledgeFrameTest::init() {
    messages_.Clear();
}

bool KnowledgeFrameTest::Select(int id) {
    frame_->TreeView()->selectionModel()->clear();
    return WaitForPage(*frame_->ContentView(), [&] { frame_->TreeView()->SelectItemById(id); });
}

void KnowledgeFrameTest::treeHoldsEveryPointUnderItsParent() {
    const CTreeViewExt& tree = *frame_->TreeView();
    int count = 0;
    for (QTreeWidgetItemIterator it(const_cast<CTreeViewExt*>(&tree)); *it != nullptr; ++it) {
        ++count;
    }
    QCOMPARE(count, 9);
    QStringList chapters;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        chapters << tree.topLevelItem(i)->text(0);
    }
    QCOMPARE(chapters,
             QStringList({QStringLiteral("第1章 地球与地图"), QStringLiteral("第2章 气候")}));
    QTreeWidgetItem* point = tree.FindItemById(kPoint);
    QCOMPARE(point->text(0), QStringLiteral("1.1.1 经线和纬线"));
    QCOMPARE(CTreeViewExt::ItemId(point->parent()), 301100);
    QCOMPARE(CTreeViewExt::ItemId(point->parent()->parent()), kChapter);
    // The points are the tree's, not a paper list.
    QVERIFY(frame_->Nodes().Empty());
}

void KnowledgeFrameTest::firstChapterIsShownAtLoad() {
    QVERIFY(frame_->IsLoaded());
    QCOMPARE(frame_->CurrentItemId(), kChapter);
    QVERIFY(ShownFile(*frame_->ContentView()).endsWith("/Knowledge/301000.htm"));
    QVERIFY(frame_->Command(kCmdTargeted)->isEnabled());
    QVERIFY(messages_.Shown().empty());
}

void KnowledgeFrameTest::selectedPointShowsItsPageWithRelatedPointsAndQuestions() {
    QVERIFY(Select(kPoint));
    CQuilloryView& view = *frame_->ContentView();
    QCOMPARE(frame_->CurrentItemId(), kPoint);
    QVERIFY(ShownFile(view).endsWith("/Knowledge/301101.htm"));
    // The points sharing a key word (经纬网, 纬线) by title, never the point
    // itself; then the questions that test it by type, each with its
    // question and answer.
    QCOMPARE(BlockLinks(view), QStringList({QStringLiteral("Quillory://Knowledge:301100"),
                                            QStringLiteral("Quillory://Knowledge:302100"),
                                            QStringLiteral("Quillory://Question:200001试题"),
                                            QStringLiteral("Quillory://Answer:200001答案"),
                                            QStringLiteral("Quillory://Question:200003试题"),
                                            QStringLiteral("Quillory://Answer:200003答案")}));
    QVERIFY(ElementText(view, QStringLiteral("#Knowledge")).contains(QStringLiteral("[相关试题]")));
}

void KnowledgeFrameTest::relatedPointLinkShowsThatPoint() {
    QVERIFY(Select(kPoint));
    CQuilloryView& view = *frame_->ContentView();
    QVERIFY(WaitForPage(view, [&] { QVERIFY(ClickLink(view, QStringLiteral("2.1 气温"))); }));
    QVERIFY(ShownFile(view).endsWith("/Knowledge/302100.htm"));
    // The tree keeps its selection.
    QCOMPARE(frame_->CurrentItemId(), kPoint);
    QVERIFY(messages_.Shown().empty());
}

void KnowledgeFrameTest::questionAndAnswerLinksShowTheirPages() {
    QVERIFY(Select(kPoint));
    CQuilloryView& view = *frame_->ContentView();
    QVERIFY(WaitForPage(view, [&] { QVERIFY(ClickLink(view, QStringLiteral("试题"))); }));
    QVERIFY(ShownFile(view).endsWith("/Question/200001.htm"));
    // The link's label stands in the question page's placeholder.
    QCOMPARE(ElementText(view, QStringLiteral("h3.item")), QStringLiteral("试题"));

    QVERIFY(Select(kPoint));
    QVERIFY(WaitForPage(view, [&] { QVERIFY(ClickLink(view, QStringLiteral("答案"))); }));
    QVERIFY(ShownFile(view).endsWith("/Question/200001a.htm"));
    QVERIFY(messages_.Shown().empty());
}

QUILLORY_BANK_TEST_MAIN(KnowledgeFrameTest)
#include "knowledge_frame_test.moc"

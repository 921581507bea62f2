// CTreeViewExt: nodes found and ordered by their IDs and titles, and the
// selection reports its owner frame relies on.

#include <QSignalSpy>
#include <QTreeWidgetItemIterator>
#include <QtTest>
#include <vector>

#include "widgets/tree_view_ext.h"

namespace {

QStringList ChildTitles(const CTreeViewExt& tree, QTreeWidgetItem* parent) {
    QStringList titles;
    const int count = parent != nullptr ? parent->childCount() : tree.topLevelItemCount();
    for (int i = 0; i < count; ++i) {
        titles << (parent != nullptr ? parent->child(i) : tree.topLevelItem(i))->text(0);
    }
    return titles;
}

// Every node in pre-order as "depth id title", and the node FindItemById
// gives for each ID.
QStringList Shape(const CTreeViewExt& tree, const QList<int>& ids) {
    QStringList shape;
    for (QTreeWidgetItemIterator it(const_cast<CTreeViewExt*>(&tree)); *it != nullptr; ++it) {
        int depth = 0;
        for (const QTreeWidgetItem* up = (*it)->parent(); up != nullptr; up = up->parent()) {
            ++depth;
        }
        shape << QStringLiteral("%1 %2 %3")
                     .arg(depth)
                     .arg(CTreeViewExt::ItemId(*it))
                     .arg((*it)->text(0));
    }
    for (const int id : ids) {
        const QTreeWidgetItem* found = tree.FindItemById(id);
        shape << QStringLiteral("%1 -> %2")
                     .arg(id)
                     .arg(found != nullptr ? found->text(0) : QStringLiteral("-"));
    }
    return shape;
}

QTreeWidgetItem* Selected(const CTreeViewExt& tree) {
    const QList<QTreeWidgetItem*> selected = tree.selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

}  // namespace

class TreeViewTest : public QObject {
    Q_OBJECT

private slots:
    void findsTheFirstNodeInPreOrder();
    void siblingsFollowTheGb2312OrderOfTheirTitles();
    void missingParentInsertsAtTheTopLevel();
    void fillingMakesTheTreeOfInsertingOneByOne();
    void expandsOneNodeOrAWholeBranch();
    void reportsEachNewSelectionOnce();
    void reportsTheSelectionAgainWhenEnabledAgain();
    void staysQuietWhenEnabledAgainWithItsWindow();
    void rightClickSelectsANodeButNotEmptySpace();
    void deleteAllEmptiesTheTreeWithoutAReport();
};

void TreeViewTest::findsTheFirstNodeInPreOrder() {
    CTreeViewExt tree;
    tree.InsertItemById(1, 0, QStringLiteral("a"), 0, 1);
    tree.InsertItemById(7, 0, QStringLiteral("b"), 0, 1);
    tree.InsertItemById(7, 1, QStringLiteral("c"), 0, 1);
    tree.InsertItemById(9, 7, QStringLiteral("d"), 0, 1);

    // The child of "a" comes before the later top-level node with the same ID.
    QCOMPARE(tree.FindItemById(7)->text(0), QStringLiteral("c"));
    // Children of the first match are where new nodes go.
    QCOMPARE(tree.FindItemById(9)->parent()->text(0), QStringLiteral("c"));
    QCOMPARE(tree.FindItemById(42), nullptr);
}

void TreeViewTest::siblingsFollowTheGb2312OrderOfTheirTitles() {
    CTreeViewExt tree;
    tree.InsertItemById(1, 0, QStringLiteral("b"), 0, 1);
    tree.InsertItemById(2, 0, QStringLiteral("a"), 0, 1);
    tree.InsertItemById(3, 0, QStringLiteral("c"), 0, 1);
    QCOMPARE(ChildTitles(tree, nullptr),
             QStringList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));

    // Code point order would put 政治 before 英语; GB2312 orders by reading.
    QTreeWidgetItem* subjects = tree.InsertItemById(10, 0, QStringLiteral("科目"), 0, 1);
    for (const auto& [id, title] : {std::pair{11, "政治"},
                                    {12, "语文"},
                                    {13, "化学"},
                                    {14, "英语"},
                                    {15, "英语"},
                                    {16, "History"}}) {
        tree.InsertItemById(id, 10, QString::fromUtf8(title), 0, 1);
    }
    QCOMPARE(ChildTitles(tree, subjects),
             QStringList({"History", "化学", "英语", "英语", "语文", "政治"}));
    // Equal titles keep the order they were inserted in.
    QCOMPARE(CTreeViewExt::ItemId(subjects->child(2)), 14);
    QCOMPARE(CTreeViewExt::ItemId(subjects->child(3)), 15);
}

void TreeViewTest::missingParentInsertsAtTheTopLevel() {
    CTreeViewExt tree;
    tree.InsertItemById(5, 0, QStringLiteral("b"), 0, 1);
    QTreeWidgetItem* orphan = tree.InsertItemById(6, 404, QStringLiteral("a"), 0, 1);
    QCOMPARE(orphan->parent(), nullptr);
    QCOMPARE(tree.topLevelItem(0), orphan);
}

void TreeViewTest::fillingMakesTheTreeOfInsertingOneByOne() {
    using Items = std::vector<CTreeViewExt::NewItem>;
    const struct {
        const char* name;
        Items items;
    } cases[] = {
        {"siblings out of order, equal titles",
         {{1, 0, "b"},
          {2, 0, "a"},
          {3, 1, "政治"},
          {4, 1, "英语"},
          {5, 1, "英语"},
          {6, 1, "化学"}}},
        {"a repeated ID: children go under the first in pre-order",
         {{1, 0, "a"},
          {7, 0, "b"},
          {7, 1, "c"},
          {9, 7, "d"},
          {10, 0, "0"},
          {7, 10, "e"},
          {11, 7, "f"}}},
        {"a parent missing, or later in the list",
         {{5, 0, "b"}, {6, 404, "a"}, {8, 9, "c"}, {9, 0, "d"}, {10, 9, "e"}}},
    };
    for (const auto& [name, items] : cases) {
        CTreeViewExt oneByOne;
        QList<int> ids;
        for (const CTreeViewExt::NewItem& item : items) {
            oneByOne.InsertItemById(item.id, item.parentId, item.text, 0, 1);
            ids << item.id;
        }
        CTreeViewExt filled;
        filled.InsertItemById(99, 0, QStringLiteral("gone"), 0, 1);
        filled.FillItems(items);
        QVERIFY2(Shape(filled, ids) == Shape(oneByOne, ids), name);
        QCOMPARE(filled.FindItemById(99), nullptr);
    }
}

void TreeViewTest::expandsOneNodeOrAWholeBranch() {
    CTreeViewExt tree;
    tree.InsertItemById(1, 0, QStringLiteral("paper"), 0, 1);
    tree.InsertItemById(2, 1, QStringLiteral("section"), 2, 3);
    tree.InsertItemById(3, 2, QStringLiteral("part"), 2, 3);
    tree.InsertItemById(4, 3, QStringLiteral("question"), 4, 5);

    tree.ExpandItemById(1, false);
    QVERIFY(tree.FindItemById(1)->isExpanded());
    QVERIFY(!tree.FindItemById(2)->isExpanded());

    tree.ExpandItemById(2, true);
    QVERIFY(tree.FindItemById(2)->isExpanded());
    QVERIFY(tree.FindItemById(3)->isExpanded());
    tree.ExpandItemById(404, true);
}

void TreeViewTest::reportsEachNewSelectionOnce() {
    CTreeViewExt tree;
    tree.InsertItemById(1, 0, QStringLiteral("a"), 0, 1);
    tree.InsertItemById(2, 1, QStringLiteral("b"), 0, 1);
    QSignalSpy reports(&tree, &CTreeViewExt::treeSelect);

    tree.SelectItem(tree.FindItemById(1));
    QCOMPARE(reports.count(), 1);
    QCOMPARE(reports.last().at(1).toInt(), 1);

    // Already selected: nothing to report.
    tree.SelectItem(tree.FindItemById(1));
    tree.SelectItemById(1);
    QCOMPARE(reports.count(), 1);

    // A node under a collapsed parent is shown as it is selected.
    tree.SelectItemById(2);
    QCOMPARE(reports.count(), 2);
    QCOMPARE(reports.last().at(1).toInt(), 2);
    QCOMPARE(reports.last().at(0).value<QTreeWidgetItem*>(), tree.FindItemById(2));
    QVERIFY(tree.FindItemById(1)->isExpanded());

    // An ID that is not there clears the selection without a report.
    tree.SelectItemById(404);
    QCOMPARE(Selected(tree), nullptr);
    QCOMPARE(reports.count(), 2);

    // Selecting again after the selection was cleared is a new selection.
    tree.SelectItemById(2);
    QCOMPARE(reports.count(), 3);
}

void TreeViewTest::reportsTheSelectionAgainWhenEnabledAgain() {
    CTreeViewExt tree;
    tree.InsertItemById(1, 0, QStringLiteral("a"), 0, 1);
    tree.InsertItemById(2, 0, QStringLiteral("b"), 0, 1);
    tree.SelectItemById(2);
    QSignalSpy reports(&tree, &CTreeViewExt::treeSelect);

    tree.setEnabled(false);
    QCOMPARE(reports.count(), 0);
    tree.setEnabled(true);
    QCOMPARE(reports.count(), 1);
    QCOMPARE(reports.last().at(1).toInt(), 2);
    QCOMPARE(Selected(tree), tree.FindItemById(2));

    // Nothing selected: nothing to report.
    tree.SelectItemById(404);
    tree.setEnabled(false);
    tree.setEnabled(true);
    QCOMPARE(reports.count(), 1);
}

void TreeViewTest::staysQuietWhenEnabledAgainWithItsWindow() {
    // A progress window disables the main menu, and with it every frame and
    // tree it owns, shown or hidden.
    QWidget window;
    auto* tree = new CTreeViewExt(&window);
    tree->InsertItemById(1, 0, QStringLiteral("a"), 0, 1);
    tree->SelectItemById(1);
    QSignalSpy reports(tree, &CTreeViewExt::treeSelect);

    window.setEnabled(false);
    QVERIFY(!tree->isEnabled());
    window.setEnabled(true);
    QVERIFY(tree->isEnabled());
    QCOMPARE(reports.count(), 0);

    // Itself disabled and enabled again inside its window, it still reports.
    tree->setEnabled(false);
    tree->setEnabled(true);
    QCOMPARE(reports.count(), 1);
}

void TreeViewTest::rightClickSelectsANodeButNotEmptySpace() {
    CTreeViewExt tree;
    tree.resize(300, 400);
    tree.InsertItemById(1, 0, QStringLiteral("a"), 0, 1);
    tree.InsertItemById(2, 0, QStringLiteral("b"), 0, 1);
    tree.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tree));
    tree.SelectItemById(1);
    QSignalSpy reports(&tree, &CTreeViewExt::treeSelect);

    const QRect second = tree.visualItemRect(tree.FindItemById(2));
    QTest::mouseClick(tree.viewport(), Qt::RightButton, {}, second.center());
    QCOMPARE(reports.count(), 1);
    QCOMPARE(reports.last().at(1).toInt(), 2);

    const QPoint below(second.center().x(), second.bottom() + 100);
    QTest::mouseClick(tree.viewport(), Qt::RightButton, {}, below);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, below);
    QCOMPARE(reports.count(), 1);
    QCOMPARE(Selected(tree), tree.FindItemById(2));

    // The expand box beside a node is no empty space.
    tree.InsertItemById(3, 1, QStringLiteral("c"), 0, 1);
    const QRect first = tree.visualItemRect(tree.FindItemById(1));
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {},
                      QPoint(first.left() - tree.indentation() / 2, first.center().y()));
    QVERIFY(tree.FindItemById(1)->isExpanded());
}

void TreeViewTest::deleteAllEmptiesTheTreeWithoutAReport() {
    CTreeViewExt tree;
    tree.InsertItemById(1, 0, QStringLiteral("a"), 0, 1);
    tree.SelectItemById(1);
    QSignalSpy reports(&tree, &CTreeViewExt::treeSelect);
    tree.DeleteAll();
    QCOMPARE(tree.topLevelItemCount(), 0);
    QCOMPARE(reports.count(), 0);
    tree.InsertItemById(1, 0, QStringLiteral("a"), 0, 1);
    tree.SelectItemById(1);
    QCOMPARE(reports.count(), 1);
}

QTEST_MAIN(TreeViewTest)
#include "tree_view_test.moc"

// The tree of a module frame. Its nodes carry record IDs, the modules
// address nodes by those IDs, and every change of selection is reported to
// the frame once.
#pragma once

#include <QHash>
#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QTreeWidget>
#include <vector>

class CTreeViewExt : public QTreeWidget {
    Q_OBJECT
public:
    explicit CTreeViewExt(QWidget* parent = nullptr);

    // Cuts a strip of 16-pixel images into the node images, indexed from 0.
    void SetImageList(const QPixmap& strip);

    // A node to insert: under parentId, as InsertItemById places it.
    struct NewItem {
        int id = 0;
        int parentId = 0;
        QString text;
        int image = 0;
        int selectedImage = 0;
    };

    // A whole branch is expanded in one step, not node by node.
    void ExpandItem(QTreeWidgetItem* item, bool recursive);
    void ExpandItemById(int id, bool recursive);
    // The first node in pre-order whose ID is id, or nullptr.
    QTreeWidgetItem* FindItemById(int id) const;
    // Under FindItemById(parentId), or at the top level when parentId is 0 or
    // not found; among its siblings in the GB2312 order of their titles,
    // after the siblings with an equal title.
    QTreeWidgetItem* InsertItemById(int id, int parentId, const QString& text, int image,
                                    int selectedImage);
    // Replaces every node with items, making the tree InsertItemById would
    // make from them one after another, but built apart from the view and
    // handed to it at once: a tree of many thousands costs about what making
    // its items costs.
    void FillItems(const std::vector<NewItem>& items);
    // Replaces the images of a node (nothing for nullptr); an index outside
    // the image list leaves that image out.
    void SetItemImage(QTreeWidgetItem* item, int image, int selectedImage);
    // Selects item (nothing for nullptr), expanding its ancestors.
    void SelectItem(QTreeWidgetItem* item);
    // An ID that is not found clears the selection.
    void SelectItemById(int id);
    void DeleteAll();

    static int ItemId(const QTreeWidgetItem* item);

signals:
    // A node became the selected one (WM_TREE_SELECT).
    void treeSelect(QTreeWidgetItem* item, int id);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override;

private:
    void OnSelectionChanged();
    // Of the nodes InsertItemById and FillItems made with that ID, the first
    // in pre-order, or nullptr.
    QTreeWidgetItem* IndexedItem(int id) const;
    // A new node under parent (the invisible root for the top level), placed
    // by its title, and indexed.
    QTreeWidgetItem* AddItem(QTreeWidgetItem* parent, int id, const QString& text, int image,
                             int selectedImage);
    // One icon for every node of an image pair, shared rather than made anew
    // for each node.
    QIcon IconOf(int image, int selectedImage);

    QList<QPixmap> images_;
    QHash<QPair<int, int>, QIcon> icons_;
    // The nodes InsertItemById and FillItems made, by ID, so that finding
    // one does not walk a tree of many thousands for every node inserted
    // below it: the first made with each ID, and the rare later ones.
    QHash<int, QTreeWidgetItem*> byId_;
    QHash<int, QList<QTreeWidgetItem*>> moreById_;
    bool disabledItself_ = false;
};

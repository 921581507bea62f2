// The tree of a module frame. Its nodes carry record IDs, the modules
// address nodes by those IDs, and every change of selection is reported to
// the frame once.
#pragma once

#include <QHash>
#include <QList>
#include <QPixmap>
#include <QTreeWidget>

class CTreeViewExt : public QTreeWidget {
    Q_OBJECT
public:
    explicit CTreeViewExt(QWidget* parent = nullptr);

    // Cuts a strip of 16-pixel images into the node images, indexed from 0.
    void SetImageList(const QPixmap& strip);

    void ExpandItem(QTreeWidgetItem* item, bool recursive);
    void ExpandItemById(int id, bool recursive);
    // The first node in pre-order whose ID is id, or nullptr.
    QTreeWidgetItem* FindItemById(int id) const;
    // Under FindItemById(parentId), or at the top level when parentId is 0 or
    // not found; among its siblings in the GB2312 order of their titles,
    // after the siblings with an equal title.
    QTreeWidgetItem* InsertItemById(int id, int parentId, const QString& text, int image,
                                    int selectedImage);
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

    QList<QPixmap> images_;
    // The nodes InsertItemById made, by ID, so that finding one does not
    // walk a tree of many thousands for every node inserted below it.
    QHash<int, QList<QTreeWidgetItem*>> byId_;
    bool disabledItself_ = false;
};

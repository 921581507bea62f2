#include "widgets/tree_view_ext.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QTreeWidgetItemIterator>
#include <utility>

#include "core/common/gb_encoding.h"

namespace {

constexpr int kImageSize = 16;
constexpr int kIdRole = Qt::UserRole;
constexpr int kSortKeyRole = Qt::UserRole + 1;

QByteArray SortKey(const QString& title) {
    return QByteArray::fromStdString(quillory::GbSortKey(title.toStdString()));
}

// The node's place as the child indexes from the top: paths compare in
// pre-order. The top is the tree, or, for a branch not yet in a tree, the
// item that holds it.
QList<int> PreOrderPath(const QTreeWidgetItem* item) {
    QList<int> path;
    for (; item != nullptr && (item->parent() != nullptr || item->treeWidget() != nullptr);
         item = item->parent()) {
        path.prepend(
            item->parent() != nullptr
                ? item->parent()->indexOfChild(const_cast<QTreeWidgetItem*>(item))
                : item->treeWidget()->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)));
    }
    return path;
}

// Where a node with that key goes among parent's children: after every
// sibling whose key is not greater. The siblings are in order, so a binary
// search finds it.
int SortedPlace(const QTreeWidgetItem& parent, const QByteArray& key) {
    int low = 0;
    int high = parent.childCount();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (parent.child(middle)->data(0, kSortKeyRole).toByteArray() <= key) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

}  // namespace

CTreeViewExt::CTreeViewExt(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    header()->hide();
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setDragEnabled(false);
    setUniformRowHeights(true);
    setIconSize(QSize(kImageSize, kImageSize));
    setContextMenuPolicy(Qt::PreventContextMenu);
    connect(this, &QTreeWidget::itemSelectionChanged, this, &CTreeViewExt::OnSelectionChanged);
}

void CTreeViewExt::SetImageList(const QPixmap& strip) {
    images_.clear();
    icons_.clear();
    for (int x = 0; x + kImageSize <= strip.width(); x += kImageSize) {
        images_.append(strip.copy(x, 0, kImageSize, kImageSize));
    }
}

void CTreeViewExt::ExpandItem(QTreeWidgetItem* item, bool recursive) {
    if (item == nullptr) {
        return;
    }
    if (recursive) {
        expandRecursively(indexFromItem(item));
    } else {
        item->setExpanded(true);
    }
}

void CTreeViewExt::ExpandItemById(int id, bool recursive) {
    ExpandItem(FindItemById(id), recursive);
}

QTreeWidgetItem* CTreeViewExt::FindItemById(int id) const {
    if (QTreeWidgetItem* indexed = IndexedItem(id)) {
        return indexed;
    }
    // A node made another way: the iterator walks in pre-order, a node, its
    // children, then its next sibling.
    for (QTreeWidgetItemIterator it(const_cast<CTreeViewExt*>(this)); *it != nullptr; ++it) {
        if (ItemId(*it) == id) {
            return *it;
        }
    }
    return nullptr;
}

QTreeWidgetItem* CTreeViewExt::IndexedItem(int id) const {
    QTreeWidgetItem* first = byId_.value(id);
    const auto more = moreById_.constFind(id);
    if (more == moreById_.cend()) {
        return first;
    }
    // Of nodes sharing an ID, the first in pre-order.
    QList<int> firstPath = PreOrderPath(first);
    for (QTreeWidgetItem* other : *more) {
        QList<int> path = PreOrderPath(other);
        if (path < firstPath) {
            first = other;
            firstPath = std::move(path);
        }
    }
    return first;
}

QTreeWidgetItem* CTreeViewExt::InsertItemById(int id, int parentId, const QString& text, int image,
                                              int selectedImage) {
    QTreeWidgetItem* parent = parentId == 0 ? nullptr : FindItemById(parentId);
    return AddItem(parent != nullptr ? parent : invisibleRootItem(), id, text, image,
                   selectedImage);
}

void CTreeViewExt::FillItems(const std::vector<NewItem>& items) {
    DeleteAll();
    // The top level gathers here and goes into the tree in one insertion; a
    // node's parent is looked up among the nodes before it, as one by one.
    QTreeWidgetItem top;
    for (const NewItem& item : items) {
        QTreeWidgetItem* parent = item.parentId == 0 ? nullptr : IndexedItem(item.parentId);
        AddItem(parent != nullptr ? parent : &top, item.id, item.text, item.image,
                item.selectedImage);
    }
    addTopLevelItems(top.takeChildren());
}

QTreeWidgetItem* CTreeViewExt::AddItem(QTreeWidgetItem* parent, int id, const QString& text,
                                       int image, int selectedImage) {
    auto* item = new QTreeWidgetItem(QStringList(text));
    item->setData(0, kIdRole, id);
    const QByteArray key = SortKey(text);
    item->setData(0, kSortKeyRole, key);
    SetItemImage(item, image, selectedImage);
    parent->insertChild(SortedPlace(*parent, key), item);
    QTreeWidgetItem*& first = byId_[id];
    if (first == nullptr) {
        first = item;
    } else {
        moreById_[id].append(item);
    }
    return item;
}

QIcon CTreeViewExt::IconOf(int image, int selectedImage) {
    const auto cached = icons_.constFind({image, selectedImage});
    if (cached != icons_.cend()) {
        return *cached;
    }
    QIcon icon;
    if (image >= 0 && image < images_.size()) {
        icon.addPixmap(images_[image]);
        if (selectedImage >= 0 && selectedImage < images_.size()) {
            icon.addPixmap(images_[selectedImage], QIcon::Selected);
        }
    }
    icons_.insert({image, selectedImage}, icon);
    return icon;
}

void CTreeViewExt::SetItemImage(QTreeWidgetItem* item, int image, int selectedImage) {
    if (item == nullptr) {
        return;
    }
    item->setIcon(0, IconOf(image, selectedImage));
}

void CTreeViewExt::SelectItem(QTreeWidgetItem* item) {
    if (item == nullptr) {
        return;
    }
    // A node under a collapsed parent is revealed first, as the learner
    // should see what the page shows.
    for (QTreeWidgetItem* parent = item->parent(); parent != nullptr; parent = parent->parent()) {
        parent->setExpanded(true);
    }
    setCurrentItem(item);
    scrollToItem(item);
}

void CTreeViewExt::SelectItemById(int id) {
    if (QTreeWidgetItem* item = FindItemById(id)) {
        SelectItem(item);
    } else {
        selectionModel()->clear();
    }
}

void CTreeViewExt::DeleteAll() {
    selectionModel()->clear();
    byId_.clear();
    moreById_.clear();
    clear();
}

int CTreeViewExt::ItemId(const QTreeWidgetItem* item) {
    return item->data(0, kIdRole).toInt();
}

void CTreeViewExt::OnSelectionChanged() {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    if (!selected.isEmpty()) {
        emit treeSelect(selected.first(), ItemId(selected.first()));
    }
}

void CTreeViewExt::mousePressEvent(QMouseEvent* event) {
    QTreeWidgetItem* item = itemAt(event->position().toPoint());
    if (item == nullptr) {
        // Empty space below the nodes: the selection stays (the view would clear it).
        setFocus(Qt::MouseFocusReason);
        return;
    }
    if (event->button() == Qt::RightButton) {
        SelectItem(item);
    }
    QTreeWidget::mousePressEvent(event);
}

void CTreeViewExt::changeEvent(QEvent* event) {
    QTreeWidget::changeEvent(event);
    if (event->type() != QEvent::EnabledChange) {
        return;
    }
    if (!isEnabled()) {
        // A progress window disables the main menu, and with it every frame
        // and tree it owns, hidden ones too; only a tree disabled itself
        // hears about being enabled again.
        disabledItself_ = testAttribute(Qt::WA_ForceDisabled);
        return;
    }
    // Enabled again: the frame may have changed its page meanwhile, so it is
    // told about the selected node once more.
    const QList<QTreeWidgetItem*> selected = selectedItems();
    if (std::exchange(disabledItself_, false) && !selected.isEmpty()) {
        QTreeWidgetItem* item = selected.first();
        selectionModel()->clearSelection();
        SelectItem(item);
    }
}

void CTreeViewExt::drawBranches(QPainter* painter, const QRect& rect,
                                const QModelIndex& index) const {
    // Dotted lines joining each node to its parent and siblings, and a
    // plus/minus box on nodes with children, whatever the style draws.
    const int indent = indentation();
    const int mid = rect.center().y();
    int column = rect.right() + 1 - indent;
    const int x = column + indent / 2;
    const bool hasNext = index.sibling(index.row() + 1, 0).isValid();
    const bool hasAbove = index.row() > 0 || index.parent().isValid();

    painter->save();
    painter->setPen(QPen(palette().color(QPalette::Mid), 1, Qt::DotLine));
    painter->drawLine(x, hasAbove ? rect.top() : mid, x, hasNext ? rect.bottom() : mid);
    painter->drawLine(x, mid, column + indent - 2, mid);
    for (QModelIndex ancestor = index.parent(); ancestor.isValid() && column > rect.left();
         ancestor = ancestor.parent()) {
        column -= indent;
        if (ancestor.sibling(ancestor.row() + 1, 0).isValid()) {
            const int ax = column + indent / 2;
            painter->drawLine(ax, rect.top(), ax, rect.bottom());
        }
    }
    if (model()->hasChildren(index)) {
        const QRect box(x - 4, mid - 4, 8, 8);
        painter->setPen(palette().color(QPalette::Dark));
        painter->setBrush(palette().base());
        painter->drawRect(box);
        painter->setPen(palette().color(QPalette::Text));
        painter->drawLine(x - 2, mid, x + 2, mid);
        if (!isExpanded(index)) {
            painter->drawLine(x, mid - 2, x, mid + 2);
        }
    }
    painter->restore();
}

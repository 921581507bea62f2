#include "frame/quillory_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QToolBar>
#include <QWebEnginePage>

#include "frame/frame_commands.h"
#include "widgets/about_dialog.h"
#include "widgets/bank_session.h"
#include "widgets/quillory_view.h"
#include "widgets/tree_view_ext.h"

// The frame icons live in the application library; a static library needs
// its resources registered by hand.
static void InitFrameResources() {
    Q_INIT_RESOURCE(frame);
}

namespace {

constexpr int kTreeWidth = 200;
constexpr int kViewWidth = 400;
constexpr int kToolbarIconSize = 32;

}  // namespace

CQuilloryFrame::CQuilloryFrame(CBankSession& bank, FrameResource resource, QWidget* owner)
    : QMainWindow(owner, Qt::Window), bank_(bank), resource_(resource) {
    InitFrameResources();
    // The normal size fills the screen too, for desktops whose window manager
    // does not maximise (or that have none).
    setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    setWindowState(Qt::WindowMaximized);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("splitter"));
    // The tree can be widened or narrowed by dragging, never dragged away.
    splitter->setChildrenCollapsible(false);
    tree_ = new CTreeViewExt(splitter);
    view_ = new CQuilloryView(&bank, splitter);
    splitter->addWidget(tree_);
    splitter->addWidget(view_);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({kTreeWidth, kViewWidth});
    setCentralWidget(splitter);

    connect(tree_, &CTreeViewExt::treeSelect, this,
            [this](QTreeWidgetItem*, int id) { OnTreeSelect(id); });
    connect(view_, &CQuilloryView::navigationStateChanged, this,
            &CQuilloryFrame::UpdateCommandStates);

    BuildMenusAndToolbar();
    UpdateCommandStates();
}

CQuilloryFrame::~CQuilloryFrame() = default;

void CQuilloryFrame::ResetTree() {
    tree_->DeleteAll();
    nodes_.Clear();
    currentItemId_ = -1;
    loaded_ = false;
    UpdateCommandStates();
}

void CQuilloryFrame::ReturnToMenu() {
    hide();
    emit moduleClosed(this);
}

QAction* CQuilloryFrame::Command(int id) const {
    const auto found = commands_.find(id);
    return found == commands_.end() ? nullptr : found->second;
}

void CQuilloryFrame::OnTreeSelect(int itemId) {
    currentItemId_ = itemId;
    UpdateCommandStates();
}

void CQuilloryFrame::UpdateCommandStates() {
    EnableCommand(kCmdBack, view_->CanGoBack());
    EnableCommand(kCmdForward, view_->CanGoForward());
    if (QAction* info = Command(kCmdRelatedInfo)) {
        info->setChecked(bank_.RelatedInfo());
    }
}

void CQuilloryFrame::EnableCommand(int id, bool enabled) {
    if (QAction* action = Command(id)) {
        action->setEnabled(enabled);
    }
}

void CQuilloryFrame::BuildMenusAndToolbar() {
    const FrameLayout* layout = FindFrameLayout(resource_);
    if (layout == nullptr) {
        return;
    }
    for (const PopupMenu& popup : layout->menus) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(popup.title));
        for (const MenuItem& item : popup.items) {
            if (item.command == kSeparator) {
                menu->addSeparator();
            } else {
                menu->addAction(MakeCommand(item.command, item.text));
            }
        }
    }

    auto* toolbar = new QToolBar(this);
    toolbar->setObjectName(QStringLiteral("toolbar"));
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setIconSize(QSize(kToolbarIconSize, kToolbarIconSize));
    toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const int id : layout->toolbar) {
        if (id == kSeparator) {
            toolbar->addSeparator();
        } else {
            toolbar->addAction(MakeCommand(id, nullptr));
        }
    }
    addToolBar(Qt::TopToolBarArea, toolbar);

    if (QAction* action = Command(kCmdReturn)) {
        connect(action, &QAction::triggered, this, &CQuilloryFrame::ReturnToMenu);
    }
    if (QAction* action = Command(kCmdBack)) {
        connect(action, &QAction::triggered, view_, &CQuilloryView::GoBack);
    }
    if (QAction* action = Command(kCmdForward)) {
        connect(action, &QAction::triggered, view_, &CQuilloryView::GoForward);
    }
    if (QAction* action = Command(kCmdRelatedInfo)) {
        action->setCheckable(true);
        // The menu shows a check mark where the icon would hide it; the
        // toolbar button shows the state as pressed.
        action->setIconVisibleInMenu(false);
        connect(action, &QAction::triggered, this, &CQuilloryFrame::FlipRelatedInfo);
    }
    if (QAction* action = Command(kCmdAbout)) {
        connect(action, &QAction::triggered, this, [this] { ShowAboutDialog(this); });
    }
    if (QAction* action = Command(kCmdHelp)) {
        connect(action, &QAction::triggered, this, [this] { emit helpRequested(this); });
    }
}

QAction* CQuilloryFrame::MakeCommand(int id, const char* ownText) {
    if (QAction* existing = Command(id)) {
        return existing;
    }
    const CommandText* texts = FindCommandText(id);
    auto* action = new QAction(this);
    action->setObjectName(QStringLiteral("cmd%1").arg(id));
    if (texts != nullptr) {
        action->setText(QString::fromUtf8(ownText != nullptr ? ownText : texts->text));
        action->setToolTip(QString::fromUtf8(texts->tip));
        action->setStatusTip(QString::fromUtf8(texts->tip));
        action->setIcon(QIcon(QString::fromUtf8(texts->icon)));
    }
    commands_[id] = action;
    return action;
}

void CQuilloryFrame::FlipRelatedInfo() {
    bank_.SetRelatedInfo(!bank_.RelatedInfo());
    UpdateCommandStates();
    if (currentItemId_ != -1) {
        // Selected anew even when it still is selected, so its page is shown
        // again with or without the related block.
        tree_->selectionModel()->clear();
        tree_->SelectItemById(currentItemId_);
    }
}

void CQuilloryFrame::closeEvent(QCloseEvent* event) {
    event->ignore();
    ReturnToMenu();
}

void CQuilloryFrame::SetPageKept(bool kept) {
    QWebEnginePage* page = view_->page();
    if (kept) {
        page->setVisible(true);
        page->setLifecycleState(QWebEnginePage::LifecycleState::Active);
    } else if (page->lifecycleState() != QWebEnginePage::LifecycleState::Discarded) {
        page->setVisible(false);
        page->setLifecycleState(QWebEnginePage::LifecycleState::Discarded);
    }
}

void CQuilloryFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        SetPageKept(true);
    }
    if (event->type() != QEvent::WindowStateChange) {
        return;
    }
    if (windowState() & Qt::WindowMinimized) {
        setWindowState(Qt::WindowMaximized);
        emit minimizeRequested();
    } else if (isVisible() && !(windowState() & Qt::WindowMaximized)) {
        // Restoring is refused: a module frame always fills the screen.
        setWindowState(Qt::WindowMaximized);
    }
}

void CQuilloryFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    SetPageKept(true);
    if (!(windowState() & Qt::WindowMaximized)) {
        setWindowState(Qt::WindowMaximized);
    }
    // Another frame may have flipped the shared related-information toggle.
    UpdateCommandStates();
}

void CQuilloryFrame::hideEvent(QHideEvent* event) {
    QMainWindow::hideEvent(event);
    SetPageKept(false);
}

QMenu* CQuilloryFrame::createPopupMenu() {
    // No menu to hide the toolbar.
    return nullptr;
}

#include "shell/help_wnd.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QToolBar>

#include "frame/frame_commands.h"
#include "shell/help.h"
#include "widgets/quillory_view.h"

// The back and forward images are the frames'; a static library needs its
// resources registered by hand.
static void InitHelpResources() {
    Q_INIT_RESOURCE(frame);
}

namespace {

constexpr QSize kWindowSize(900, 700);
constexpr int kToolbarIconSize = 32;

QString Icon(int command) {
    return QString::fromUtf8(FindCommandText(command)->icon);
}

QString Tip(int command) {
    return QString::fromUtf8(FindCommandText(command)->tip);
}

}  // namespace

CHelpWnd::CHelpWnd() : QMainWindow(nullptr, Qt::Window) {
    InitHelpResources();
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("穹岚 - 使用帮助"));
    resize(kWindowSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = geometry();
        area.moveCenter(screen->availableGeometry().center());
        move(area.topLeft());
    }

    // The content view of the frames, so the help pages get the same guard
    // against the browser's own keys and menus; they hold no internal links.
    view_ = new CQuilloryView(nullptr, this);
    setCentralWidget(view_);

    auto* toolbar = new QToolBar(this);
    toolbar->setObjectName(QStringLiteral("toolbar"));
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setIconSize(QSize(kToolbarIconSize, kToolbarIconSize));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    back_ = AddCommand(QStringLiteral("HelpBack"), QStringLiteral("后退"), Tip(kCmdBack),
                       Icon(kCmdBack));
    forward_ = AddCommand(QStringLiteral("HelpForward"), QStringLiteral("前进"), Tip(kCmdForward),
                          Icon(kCmdForward));
    QAction* index = AddCommand(QStringLiteral("HelpIndex"), QStringLiteral("目录"),
                                QStringLiteral("回到使用帮助的目录"), Icon(kCmdHelp));
    toolbar->addActions({back_, forward_, index});
    addToolBar(Qt::TopToolBarArea, toolbar);

    connect(back_, &QAction::triggered, view_, &CQuilloryView::GoBack);
    connect(forward_, &QAction::triggered, view_, &CQuilloryView::GoForward);
    connect(index, &QAction::triggered, this, &CHelpWnd::ShowIndex);
    connect(view_, &CQuilloryView::navigationStateChanged, this, &CHelpWnd::UpdateCommandStates);

    UpdateCommandStates();
    ShowIndex();
}

void CHelpWnd::BringToFront() {
    if (isMinimized()) {
        showNormal();
    } else {
        show();
    }
    raise();
    activateWindow();
}

void CHelpWnd::ShowIndex() {
    view_->Navigate(HelpIndexPath());
}

QMenu* CHelpWnd::createPopupMenu() {
    // No menu to hide the toolbar.
    return nullptr;
}

QAction* CHelpWnd::AddCommand(const QString& name, const QString& text, const QString& tip,
                              const QString& icon) {
    auto* action = new QAction(QIcon(icon), text, this);
    action->setObjectName(name);
    action->setToolTip(tip);
    return action;
}

void CHelpWnd::UpdateCommandStates() {
    back_->setEnabled(view_->CanGoBack());
    forward_->setEnabled(view_->CanGoForward());
}

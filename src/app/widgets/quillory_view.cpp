#include "widgets/quillory_view.h"

#include <QChildEvent>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWheelEvent>

#include "core/common/text.h"
#include "core/pages/linked_page.h"
#include "widgets/bank_session.h"
#include "widgets/error_text.h"
#include "widgets/message_box.h"
#include "widgets/progress_wnd.h"
#include "widgets/qt_clock.h"
#include "widgets/quillory_page.h"
#include "widgets/view_host.h"

namespace {

// The browser reports a navigation that another one replaced as aborted; that
// is no error for the learner.
constexpr int kAbortedError = -3;

// A page file may come with a query ("...htm?700001"), which is no part of
// the file's name.
QUrl ToUrl(const QString& pathOrUrl) {
    if (QDir::isAbsolutePath(pathOrUrl)) {
        const qsizetype query = pathOrUrl.indexOf(QLatin1Char('?'));
        QUrl url = QUrl::fromLocalFile(query < 0 ? pathOrUrl : pathOrUrl.left(query));
        if (query >= 0) {
            url.setQuery(pathOrUrl.mid(query + 1));
        }
        return url;
    }
    return QUrl(pathOrUrl);
}

bool HasInternalPrefix(const QString& url) {
    return quillory::StartsWithNoCase(url.toStdString(), quillory::kLinkPrefix);
}

// The browser's own keys (reload, find, zoom, history, select all, print)
// come with Ctrl, Alt or Meta, or are function keys. Copying a selection is
// the learner's, not the browser's, and stays.
bool IsBrowserKey(const QKeyEvent* key) {
    switch (key->key()) {
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_Shift:
        case Qt::Key_Meta:
            return false;
        case Qt::Key_Back:
        case Qt::Key_Forward:
        case Qt::Key_Refresh:
        case Qt::Key_Reload:
        case Qt::Key_Search:
        case Qt::Key_ZoomIn:
        case Qt::Key_ZoomOut:
            return true;
        default:
            break;
    }
    if (key->matches(QKeySequence::Copy)) {
        return false;
    }
    if (key->key() >= Qt::Key_F1 && key->key() <= Qt::Key_F35) {
        return true;
    }
    return (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
}

}  // namespace

CQuilloryView::CQuilloryView(CBankSession* bank, QWidget* parent)
    : QWebEngineView(parent),
      bank_(bank),
      page_(new CQuilloryPage(this)),
      host_(std::make_unique<CViewHost>(
          *this, [this](const QString& path) { Navigate(path); },
          [this](const QString& path) { AddGeneratedFile(path); })) {
    setPage(page_);
    setContextMenuPolicy(Qt::PreventContextMenu);
    connect(page_, &CQuilloryPage::internalLinkClicked, this, [this](const QString& href) {
        if (BeforeNavigate(href, {})) {
            load(ToUrl(href));
        }
    });
    connect(page_, &CQuilloryPage::internalNavigationRefused, this,
            &CQuilloryView::ShowNavigateError);
    connect(page_, &QWebEnginePage::loadingChanged, this, &CQuilloryView::OnLoadingChanged);
    connect(page_, &QWebEnginePage::urlChanged, this, &CQuilloryView::UpdateNavigationState);
    connect(page_, &QWebEnginePage::loadFinished, this, &CQuilloryView::OnLoadFinished);
}

CQuilloryView::~CQuilloryView() {
    for (const QString& path : std::as_const(generatedFiles_)) {
        QFile::remove(path);
    }
}

void CQuilloryView::Navigate(const QString& pathOrUrl) {
    if (BeforeNavigate(pathOrUrl, {})) {
        load(ToUrl(pathOrUrl));
    }
}

void CQuilloryView::AddGeneratedFile(const QString& path) {
    generatedFiles_.append(path);
}

void CQuilloryView::GoBack() {
    if (history()->canGoBack()) {
        back();
    }
}

void CQuilloryView::GoForward() {
    if (history()->canGoForward()) {
        forward();
    }
}

void CQuilloryView::RestartHistory() {
    // The browser keeps the page it shows when its history is cleared; the
    // next page would have it to go back to, so clearing waits for it too.
    restartHistory_ = true;
    history()->clear();
    UpdateNavigationState();
}

void CQuilloryView::OnLoadFinished(bool ok) {
    if (ok && restartHistory_) {
        restartHistory_ = false;
        history()->clear();
    }
    UpdateNavigationState();
}

quillory::Host& CQuilloryView::Host() {
    return *host_;
}

quillory::PageContext CQuilloryView::PageContext() {
    return {bank_->Store(), bank_->DataFolder().toStdString(), *host_};
}

bool CQuilloryView::BeforeNavigate(const QString& url, const QString& targetFrame) {
    const quillory::NavigationDecision decision =
        quillory::DecideNavigation(url.toStdString(), targetFrame.toStdString());
    switch (decision.action) {
        case quillory::NavigationAction::Cancel:
            return false;
        case quillory::NavigationAction::Dispatch:
            Dispatch(decision.link);
            return false;
        case quillory::NavigationAction::Proceed:
            break;
    }
    // An internal link of an unknown kind: the browser could not open it either.
    if (targetFrame.isEmpty() && HasInternalPrefix(url)) {
        ShowNavigateError();
        return false;
    }
    return true;
}

void CQuilloryView::Dispatch(const quillory::InternalLink& link) {
    emit pageRequested(link);
    // Without a bank there is nothing to show.
    if (bank_ == nullptr) {
        return;
    }
    quillory::PageContext context = PageContext();
    // A build's progress window belongs to the main menu, the owner of the frame.
    QWidget* owner = window()->parentWidget();
    const quillory::Status shown =
        quillory::ShowLinkedPage(context, link,
                                 {bank_->RelatedInfo(), CQtClock().Now(), &bank_->Settings(),
                                  [this, owner](const std::string& caption) {
                                      return OpenBuildProgress(owner, bank_->Settings(), caption);
                                  }});
    if (!shown) {
        ShowMessageBox(this, ErrorText(shown.error()), QMessageBox::Critical);
    }
}

void CQuilloryView::OnLoadingChanged(const QWebEngineLoadingInfo& info) {
    if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus &&
        info.errorCode() != kAbortedError) {
        ShowNavigateError();
    }
}

void CQuilloryView::UpdateNavigationState() {
    const bool canGoBack = history()->canGoBack();
    const bool canGoForward = history()->canGoForward();
    if (canGoBack != canGoBack_ || canGoForward != canGoForward_) {
        canGoBack_ = canGoBack;
        canGoForward_ = canGoForward;
        emit navigationStateChanged();
    }
}

void CQuilloryView::ShowNavigateError() {
    ShowMessageBox(this, QStringLiteral("无法打开相应内容！"), QMessageBox::Critical);
}

bool CQuilloryView::event(QEvent* event) {
    // The browser draws and takes input in a child widget, made (and made
    // again) by the engine; its keys and wheel pass through eventFilter.
    if (event->type() == QEvent::ChildAdded) {
        static_cast<QChildEvent*>(event)->child()->installEventFilter(this);
    }
    return QWebEngineView::event(event);
}

bool CQuilloryView::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::ShortcutOverride:
            if (IsBrowserKey(static_cast<QKeyEvent*>(event))) {
                // Not claimed by the browser: the frame's menus and shortcuts may take it.
                event->ignore();
                return true;
            }
            break;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            if (IsBrowserKey(static_cast<QKeyEvent*>(event))) {
                return true;
            }
            break;
        case QEvent::Wheel:
            if (static_cast<QWheelEvent*>(event)->modifiers() & Qt::ControlModifier) {
                return true;
            }
            break;
        default:
            break;
    }
    return QWebEngineView::eventFilter(watched, event);
}

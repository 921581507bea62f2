// The content view of every module frame: the embedded browser that shows
// the pages, and the link dispatcher that hands the internal links of those
// pages ("Quillory://Paper:550001", ...) to the core, which builds the pages.
#pragma once

#include <QStringList>
#include <QWebEngineView>
#include <memory>

#include "core/common/internal_link.h"
#include "core/pages/page_context.h"

class CBankSession;
class CQuilloryPage;
class CViewHost;
class QWebEngineLoadingInfo;

namespace quillory {
class Host;
}

class CQuilloryView : public QWebEngineView {
    Q_OBJECT
public:
    // Without a bank (the help window) internal links lead nowhere.
    CQuilloryView(CBankSession* bank, QWidget* parent);
    // Deletes the generated page files; a file that cannot be deleted stays.
    ~CQuilloryView() override;

    // A full local path shows that file; an internal link is dispatched at
    // once; anything else is an address for the browser.
    void Navigate(const QString& pathOrUrl);
    // A page file written for this view, deleted with the view.
    void AddGeneratedFile(const QString& path);

    void GoBack();
    void GoForward();
    bool CanGoBack() const { return canGoBack_; }
    bool CanGoForward() const { return canGoForward_; }
    // Forgets the back/forward history now and again once the next page has
    // loaded, so that page is where the history starts.
    void RestartHistory();

    // What the core's page composers write to: messages and questions over
    // this view, navigation and generated files of this view.
    quillory::Host& Host();
    // What the page composers work with: the data file (the view must have
    // a bank) and this view.
    quillory::PageContext PageContext();

signals:
    // A page operation was asked for (before it runs).
    void pageRequested(const quillory::InternalLink& link);
    // CanGoBack() or CanGoForward() changed.
    void navigationStateChanged();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The link dispatcher; true when the browser may go to url.
    bool BeforeNavigate(const QString& url, const QString& targetFrame);
    // Hands an internal link to the core's dispatcher, which builds its page.
    void Dispatch(const quillory::InternalLink& link);
    void OnLoadingChanged(const QWebEngineLoadingInfo& info);
    void OnLoadFinished(bool ok);
    void UpdateNavigationState();
    void ShowNavigateError();

    CBankSession* bank_;
    CQuilloryPage* page_;
    std::unique_ptr<CViewHost> host_;
    QStringList generatedFiles_;
    bool canGoBack_ = false;
    bool canGoForward_ = false;
    bool restartHistory_ = false;
};

// The browser page of the content view. Clicks on internal links are caught
// inside the page, before the browser parses the address (it lower-cases the
// scheme and encodes the label), and handed over with their exact text.
// TeX formulas in its pages are typeset once a page is there, and the view's
// own style (page_style.h) applies to them.
#pragma once

#include <QWebEnginePage>

class QWebChannel;

class CQuilloryPage : public QWebEnginePage {
    Q_OBJECT
public:
    explicit CQuilloryPage(QObject* parent);

    // True for an address of the internal scheme, also one the browser could
    // not parse (its text then only shows in the error string).
    static bool IsInternalUrl(const QUrl& url);

signals:
    // A link of the internal scheme without a target frame was clicked;
    // href is the link's attribute text as written in the page.
    void internalLinkClicked(const QString& href);
    // The browser was about to go to an internal address by another road (a
    // link into a named frame, a script); it was refused.
    void internalNavigationRefused();

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

private:
    void InstallLinkCatcher();

    QWebChannel* channel_ = nullptr;
};

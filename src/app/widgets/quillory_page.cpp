#include "widgets/quillory_page.h"

#include <QFile>
#include <QWebChannel>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

#include "widgets/formula_rendering.h"
#include "widgets/page_style.h"

namespace {

// The object the page script reports clicks to.
class LinkBridge : public QObject {
    Q_OBJECT
public:
    explicit LinkBridge(CQuilloryPage* page) : QObject(page), page_(page) {}

    Q_INVOKABLE void linkClicked(const QString& href) { emit page_->internalLinkClicked(href); }

private:
    CQuilloryPage* page_;
};

// Runs in its own script world, so page scripts neither see nor disturb it.
// The capture phase sees the click before any handler of the page. A link
// into a named frame is left to the browser ("_self", "_top" and "_parent"
// name none); clicks before the channel is up are kept and sent once it is.
constexpr char kLinkCatcher[] = R"JS(
(function () {
    var bridge = null;
    var pending = [];
    if (typeof qt === 'undefined' || !qt.webChannelTransport) {
        return;
    }
    new QWebChannel(qt.webChannelTransport, function (channel) {
        bridge = channel.objects.quilloryLinks;
        pending.forEach(function (href) { bridge.linkClicked(href); });
        pending = [];
    });
    document.addEventListener('click', function (event) {
        var node = event.target;
        while (node && !(node.nodeName && node.nodeName.toLowerCase() === 'a' &&
                         node.hasAttribute('href'))) {
            node = node.parentNode;
        }
        if (!node || !/^(|_self|_top|_parent)$/i.test(node.getAttribute('target') || '')) {
            return;
        }
        var href = node.getAttribute('href');
        if (href.substring(0, 11).toLowerCase() !== 'quillory://') {
            return;
        }
        event.preventDefault();
        event.stopPropagation();
        if (bridge) {
            bridge.linkClicked(href);
        } else {
            pending.push(href);
        }
    }, true);
})();
)JS";

QString WebChannelScript() {
    QFile file(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

}  // namespace

CQuilloryPage::CQuilloryPage(QObject* parent) : QWebEnginePage(parent) {
    InstallLinkCatcher();
    InstallFormulaRendering(*this);
    InstallPageStyle(*this);
}

void CQuilloryPage::InstallLinkCatcher() {
    channel_ = new QWebChannel(this);
    channel_->registerObject(QStringLiteral("quilloryLinks"), new LinkBridge(this));
    setWebChannel(channel_, QWebEngineScript::ApplicationWorld);

    QWebEngineScript script;
    script.setName(QStringLiteral("quillory-link-catcher"));
    script.setSourceCode(WebChannelScript() + QString::fromUtf8(kLinkCatcher));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setRunsOnSubFrames(true);
    scripts().insert(script);
}

bool CQuilloryPage::IsInternalUrl(const QUrl& url) {
    static const QString kScheme = QStringLiteral("quillory");
    if (url.scheme().compare(kScheme, Qt::CaseInsensitive) == 0) {
        return true;
    }
    return !url.isValid() && url.errorString().contains(kScheme + u':', Qt::CaseInsensitive);
}

bool CQuilloryPage::acceptNavigationRequest(const QUrl& url, NavigationType type,
                                            bool isMainFrame) {
    // Links the program handles never reach the browser; one that gets here
    // could not be read back intact, so it is refused.
    if (IsInternalUrl(url)) {
        emit internalNavigationRefused();
        return false;
    }
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}

#include "quillory_page.moc"

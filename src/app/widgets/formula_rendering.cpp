#include "widgets/formula_rendering.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace {

constexpr char kSystemKatexFolder[] = "/usr/share/javascript/katex";
constexpr int kPollMilliseconds = 50;
constexpr int kGiveUpMilliseconds = 20000;

// Runs in the page's own world once its document is there, so that KaTeX,
// loaded by script elements, is at hand. Most pages hold no formula: a look
// for an opening delimiter comes first, and only a page with one loads
// anything. A formula KaTeX cannot read keeps its source text. The state on
// the root element ("pending", then "done" or "failed") tells the program
// when the page is ready to print; "done" waits for KaTeX's fonts.
constexpr char kRenderer[] = R"JS(
(function (folder) {
    var root = document.documentElement;
    if (location.protocol !== 'file:' || !document.body ||
        root.hasAttribute('data-quillory-formulas') ||
        !/\$|\\\(|\\\[/.test(document.body.textContent)) {
        return;
    }
    function finish(state) {
        root.setAttribute('data-quillory-formulas', state);
    }
    function add(element, next) {
        element.onload = next;
        element.onerror = function () { finish('failed'); };
        document.head.appendChild(element);
    }
    function script(file, next) {
        var element = document.createElement('script');
        // Read as what it is, not in the page's own encoding (GB2312 mostly).
        element.charset = 'utf-8';
        element.src = folder + file;
        add(element, next);
    }
    function render() {
        // KaTeX refuses to draw into a page without a standards doctype, as
        // most bank pages are; the markup it writes as text is the same.
        if (document.compatMode !== 'CSS1Compat') {
            katex.render = function (tex, element, options) {
                element.innerHTML = katex.renderToString(tex, options);
            };
        }
        try {
            renderMathInElement(document.body, {
                delimiters: [
                    {left: '$$', right: '$$', display: true},
                    {left: '$', right: '$', display: false},
                    {left: '\\(', right: '\\)', display: false},
                    {left: '\\[', right: '\\]', display: true}
                ],
                throwOnError: true,
                errorCallback: function () {}
            });
        } catch (error) {
            finish('failed');
            return;
        }
        // Laying the page out asks for the fonts the formulas use.
        void document.body.offsetHeight;
        document.fonts.ready.then(function () { finish('done'); });
    }
    finish('pending');
    var style = document.createElement('link');
    style.rel = 'stylesheet';
    style.href = folder + 'katex.min.css';
    add(style, function () {
        script('katex.min.js', function () { script('contrib/auto-render.js', render); });
    });
})
)JS";

constexpr char kPendingQuery[] =
    "document.documentElement.getAttribute('data-quillory-formulas') === 'pending'";

void PollFormulas(QPointer<QWebEnginePage> page, QPointer<QObject> context, QDeadlineTimer deadline,
                  std::function<void()> done) {
    if (page.isNull()) {
        done();
        return;
    }
    page->runJavaScript(QString::fromLatin1(kPendingQuery), QWebEngineScript::ApplicationWorld,
                        [page, context, deadline, done](const QVariant& pending) {
                            if (context.isNull()) {
                                return;
                            }
                            if (!pending.toBool() || deadline.hasExpired()) {
                                done();
                                return;
                            }
                            QTimer::singleShot(kPollMilliseconds, context.data(), [=] {
                                PollFormulas(page, context, deadline, done);
                            });
                        });
}

// The folder holding katex.min.js, katex.min.css, contrib/auto-render.js
// and fonts/, looked up once; empty when KaTeX is not installed.
QString KatexFolder() {
    static const QString folder = [] {
        const QDir dir(QString::fromLatin1(kSystemKatexFolder));
        for (const char* file : {"katex.min.js", "katex.min.css", "contrib/auto-render.js"}) {
            if (!dir.exists(QString::fromLatin1(file))) {
                return QString();
            }
        }
        return dir.absolutePath();
    }();
    return folder;
}

}  // namespace

void InstallFormulaRendering(QWebEnginePage& page) {
    const QString folder = KatexFolder();
    if (folder.isEmpty()) {
        return;
    }
    const QString folderUrl = QUrl::fromLocalFile(folder + u'/').toString(QUrl::FullyEncoded);
    QWebEngineScript script;
    script.setName(QStringLiteral("quillory-formulas"));
    script.setSourceCode(QString::fromUtf8(kRenderer) + QStringLiteral("(\"%1\");").arg(folderUrl));
    script.setInjectionPoint(QWebEngineScript::DocumentReady);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(true);
    page.scripts().insert(script);
}

void AfterFormulasRendered(QWebEnginePage& page, QObject* context, std::function<void()> done) {
    PollFormulas(&page, context, QDeadlineTimer(kGiveUpMilliseconds), std::move(done));
}

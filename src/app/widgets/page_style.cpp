#include "widgets/page_style.h"

#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace {

// The analysis pages' tables give every column its width: a fixed layout
// takes them from the first row instead of measuring every cell. A cell's
// content off screen is neither laid out nor drawn until it comes near; its
// size is guessed until then and remembered after.
constexpr char kStyle[] = R"CSS(
table[id="AutoNumber1"][width] { table-layout: fixed; }
table[id="AutoNumber1"] > tbody > tr > td > p {
    content-visibility: auto;
    contain-intrinsic-size: auto 1.5em;
}
)CSS";

// A sheet adopted as the document is made applies before the first layout,
// with no element to add to the page.
constexpr char kAdopt[] = R"JS(
(function (css) {
    var sheet = new CSSStyleSheet();
    sheet.replaceSync(css);
    document.adoptedStyleSheets = document.adoptedStyleSheets.concat([sheet]);
})
)JS";

}  // namespace

void InstallPageStyle(QWebEnginePage& page) {
    QWebEngineScript script;
    script.setName(QStringLiteral("quillory-style"));
    QString css = QString::fromUtf8(kStyle);
    css.replace(u'\\', QStringLiteral("\\\\")).replace(u'`', QStringLiteral("\\`"));
    script.setSourceCode(QString::fromUtf8(kAdopt) + u'(' + u'`' + css + u'`' + u')' + u';');
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setRunsOnSubFrames(true);
    page.scripts().insert(script);
}

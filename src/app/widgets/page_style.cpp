#include "widgets/page_style.h"

#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

#include "core/analysis/classic_analysis.h"
#include "core/analysis/history_summary.h"

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

// The two summaries list every knowledge point, a row each, every cell of a
// row given its width in pixels. Even a fixed table lays out all its rows
// before the page is shown; rows of their own (the headings, which span
// rows and columns, stay a table) are laid out only when they come near the
// screen. Margins and gaps stand for the table's spacing, so that the cells
// keep the places the table gave them.
constexpr char kRowStyle[] = R"CSS(
table[id="AutoNumber1"] { display: block; width: max-content; }
table[id="AutoNumber1"] > tbody { display: block; }
table[id="AutoNumber1"] > tbody > tr:not([bgcolor]) {
    display: flex;
    gap: 1px;
    margin: 0 1px 1px 1px;
    content-visibility: auto;
    contain-intrinsic-height: auto 20px;
}
table[id="AutoNumber1"] > tbody > tr:not([bgcolor]) > td { flex: none; }
table[id="AutoNumber1"] > tbody > tr > td > p { margin: 0; content-visibility: visible; }
)CSS";

// A sheet adopted as the document is made applies before the first layout,
// with no element to add to the page.
constexpr char kAdopt[] = R"JS(
(function (css, rowCss, rowPages) {
    var path = decodeURIComponent(location.pathname);
    var sheets = [css];
    if (location.protocol === 'file:' &&
            rowPages.some(function (page) { return path.endsWith(page); })) {
        sheets.push(rowCss);
    }
    document.adoptedStyleSheets = document.adoptedStyleSheets.concat(sheets.map(function (text) {
        var sheet = new CSSStyleSheet();
        sheet.replaceSync(text);
        return sheet;
    }));
})
)JS";

QString JsString(const QString& text) {
    QString quoted = text;
    quoted.replace(u'\\', QStringLiteral("\\\\")).replace(u'`', QStringLiteral("\\`"));
    quoted.replace(QStringLiteral("${"), QStringLiteral("\\${"));
    return u'`' + quoted + u'`';
}

}  // namespace

void InstallPageStyle(QWebEnginePage& page) {
    // The summaries' names, as the core writes them below any data folder.
    const QString rowPages =
        u'[' + JsString(QString::fromStdString(quillory::ReferenceTotalPath({}))) + u',' +
        JsString(QString::fromStdString(quillory::HistorySummaryPath({}))) + u']';
    QWebEngineScript script;
    script.setName(QStringLiteral("quillory-style"));
    script.setSourceCode(QString::fromUtf8(kAdopt) + u'(' + JsString(QString::fromUtf8(kStyle)) +
                         u',' + JsString(QString::fromUtf8(kRowStyle)) + u',' + rowPages +
                         QStringLiteral(");"));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setRunsOnSubFrames(true);
    page.scripts().insert(script);
}

// TeX formulas in the content view and in printouts, typeset by the
// system's KaTeX in the real browser.

#include "core/common/gb_encoding.h"
#include "frame_test_support.h"
#include "generation/print_document.h"
#include "support/temp_dir.h"

using quillory::testing::NavigateAndWait;
using quillory::testing::ReadFileBytes;
using quillory::testing::RunScript;

namespace {

constexpr int kWait = 60000;

// Plain literals: the meta-object compiler does not read raw strings.
// Pages are GB2312, as the program's own.
const char kHead[] =
    "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
    "<title>公式</title></head><body>\n";
const char kTail[] = "\n</body></html>";

}  // namespace

class FormulasTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void formulasAreTypeset_data();
    void formulasAreTypeset();
    void pageWithoutFormulasLoadsNoScript();
    void malformedFormulaKeepsItsSourceText();
    void printoutHasTheFormulasTypeset();

private:
    // Writes a page with body and shows it in the view.
    bool Show(const QString& name, const QString& body);
    int Count(const QString& selector);
    // Waits until KaTeX has typeset something in the page.
    bool WaitForTypeset();

    quillory::testing::TempDir dir_;
    CQuilloryView* view_ = nullptr;
};

void FormulasTest::initTestCase() {
    view_ = new CQuilloryView(nullptr, nullptr);
    view_->resize(800, 600);
    view_->show();
    QVERIFY(QTest::qWaitForWindowExposed(view_));
}

void FormulasTest::cleanupTestCase() {
    delete view_;
}

bool FormulasTest::Show(const QString& name, const QString& body) {
    const std::string path = dir_.File(name.toStdString());
    quillory::testing::WriteFileBytes(path, quillory::Utf8ToGb(kHead + body.toStdString() + kTail));
    return NavigateAndWait(*view_, QString::fromStdString(path));
}

int FormulasTest::Count(const QString& selector) {
    return RunScript(*view_, QStringLiteral("document.querySelectorAll('%1').length").arg(selector))
        .toInt();
}

bool FormulasTest::WaitForTypeset() {
    return QTest::qWaitFor([this] { return Count(QStringLiteral(".katex")) > 0; }, kWait);
}

void FormulasTest::formulasAreTypeset_data() {
    QTest::addColumn<QString>("body");
    QTest::addColumn<int>("formulas");
    QTest::addColumn<int>("displayed");

    QTest::newRow("dollars") << QStringLiteral("<p>$\\frac{1}{2}$</p>") << 1 << 0;
    QTest::newRow("double dollars") << QStringLiteral("<p>$$\\sqrt{x^2+1}$$</p>") << 1 << 1;
    QTest::newRow("parentheses") << QStringLiteral("<p>\\(a_1+b^2\\)</p>") << 1 << 0;
    QTest::newRow("brackets") << QStringLiteral("<p>\\[E=mc^2\\]</p>") << 1 << 1;
    QTest::newRow("several within text")
        << QStringLiteral("<p>已知$x_1=1$，求$\\sqrt{2}x_1$的值。</p><div>$$v^2=2as$$</div>") << 3
        << 1;
}

void FormulasTest::formulasAreTypeset() {
    QFETCH(QString, body);
    QFETCH(int, formulas);
    QFETCH(int, displayed);
    QVERIFY(Show(QString::fromUtf8(QTest::currentDataTag()) + ".html", body));
    QVERIFY2(WaitForTypeset(), "no formula was typeset");
    QCOMPARE(Count(QStringLiteral(".katex")), formulas);
    QCOMPARE(Count(QStringLiteral(".katex-display")), displayed);
    QCOMPARE(Count(QStringLiteral(".katex-error")), 0);
}

void FormulasTest::pageWithoutFormulasLoadsNoScript() {
    QVERIFY(Show(QStringLiteral("plain.html"),
                 QStringLiteral("<p>普通的题目，没有公式：x+1，(a)，[b]。</p>")));
    QCOMPARE(Count(QStringLiteral("script")), 0);
    QCOMPARE(Count(QStringLiteral("link")), 0);
}

void FormulasTest::malformedFormulaKeepsItsSourceText() {
    const QStringList malformed = {QStringLiteral("$\\frac{1}{$"), QStringLiteral("$\\frac{1}$"),
                                   QStringLiteral("\\(x^\\)")};
    QString body = QStringLiteral("<p>$x^2$</p>");
    for (qsizetype i = 0; i < malformed.size(); ++i) {
        body += QStringLiteral("<p id=\"m%1\">%2</p>").arg(i).arg(malformed[i]);
    }
    QVERIFY(Show(QStringLiteral("malformed.html"), body));
    QVERIFY2(WaitForTypeset(), "the well-formed formula was not typeset");
    for (qsizetype i = 0; i < malformed.size(); ++i) {
        QCOMPARE(
            RunScript(*view_, QStringLiteral("document.getElementById('m%1').innerText").arg(i))
                .toString(),
            malformed[i]);
    }
    QCOMPARE(Count(QStringLiteral(".katex")), 1);
    QCOMPARE(Count(QStringLiteral(".katex-error")), 0);
}

void FormulasTest::printoutHasTheFormulasTypeset() {
    const std::string page = dir_.File("print.html");
    quillory::testing::WriteFileBytes(
        page, quillory::Utf8ToGb(std::string(kHead) + "<p>$\\frac{1}{2}+\\sqrt{3}$</p>" + kTail));
    const QString pdf = QString::fromStdString(dir_.File("print.pdf"));
    CPrintDocument document;
    QVERIFY2(document.Load(QString::fromStdString(page)), qPrintable(document.ErrorText()));
    QVERIFY2(document.ExportPdf(pdf), qPrintable(document.ErrorText()));
    // The PDF names the fonts its text is set in.
    QVERIFY(ReadFileBytes(pdf.toStdString()).find("KaTeX_") != std::string::npos);
}

QUILLORY_APP_TEST_MAIN(FormulasTest)
#include "formulas_test.moc"

// The content view's link dispatcher through the real browser: links in a
// GB2312 page are clicked, and the page operations they call are recorded.

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QWheelEvent>

#include "core/common/gb_encoding.h"
#include "core/host/host.h"
#include "frame_test_support.h"
#include "support/temp_dir.h"
#include "widgets/quillory_view.h"

Q_DECLARE_METATYPE(quillory::LinkKind)

using quillory::InternalLink;
using quillory::LinkKind;
using quillory::testing::ElementCentre;
using quillory::testing::MessageRecorder;
using quillory::testing::NavigateAndWait;
using quillory::testing::RunScript;

namespace {

// Plain literals: the meta-object compiler does not read raw strings.
const char kLinksPage[] =
    "<html><head>\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">\n"
    "<style>a { display: block; height: 28px; font-size: 18px; }</style>\n"
    "<script>\n"
    "document.addEventListener('contextmenu', function () { document.title = 'context'; });\n"
    "</script>\n"
    "</head><body>\n"
    "<a id=\"upper\" href=\"QUILLORY://Paper:550001\">QUILLORY://Paper:550001</a>\n"
    "<a id=\"keyword\" href=\"Quillory://paper:550001\">Quillory://paper:550001</a>\n"
    "<a id=\"slash\" href=\"Quillory://Paper:550001/\">Quillory://Paper:550001/</a>\n"
    "<a id=\"question\" href=\"Quillory://Question:550002第1题\">第1题</a>\n"
    "<a id=\"answer\" href=\"Quillory://Answer:550002第1题\">答案</a>\n"
    "<a id=\"history\" href=\"Quillory://HistoryAnalysis:700001:550003\">700001:550003</a>\n"
    "<a id=\"self\" href=\"Quillory://Knowledge:000007\" target=\"_self\">_self</a>\n"
    "<a id=\"framed\" href=\"Quillory://Paper:550009\" target=\"someframe\">someframe</a>\n"
    "<p id=\"text\">正文</p>\n"
    "<iframe name=\"someframe\" width=\"300\" height=\"40\"></iframe>\n"
    "</body></html>";

constexpr int kWait = 30000;
const QString kNavigateError = QStringLiteral("无法打开相应内容！");

}  // namespace

class ViewLinksTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void clickedLinkCallsItsPageOperation_data();
    void clickedLinkCallsItsPageOperation();
    void keywordInTheWrongCaseIsANavigationError();
    void linkIntoANamedFrameIsNotDispatched();
    void internalLinkNavigatedByTheProgramIsDispatchedAtOnce();
    void missingPageIsANavigationError();
    void rightClickShowsNoMenu();
    void browserKeysDoNothing();
    void generatedFilesGoWithTheView();
    void coreHostWorksOnTheView();

private:
    void Click(const QString& id, Qt::MouseButton button = Qt::LeftButton);

    quillory::testing::TempDir dir_;
    CQuilloryView* view_ = nullptr;
    QString page_;
    MessageRecorder messages_;
};

void ViewLinksTest::initTestCase() {
    page_ = QString::fromStdString(dir_.File("links.html"));
    quillory::testing::WriteFileBytes(page_.toStdString(), quillory::Utf8ToGb(kLinksPage));

    view_ = new CQuilloryView(nullptr, nullptr);
    view_->resize(800, 600);
    view_->show();
    QVERIFY(QTest::qWaitForWindowExposed(view_));
    QVERIFY(NavigateAndWait(*view_, page_));
    QVERIFY(view_->focusProxy() != nullptr);
}

void ViewLinksTest::cleanupTestCase() {
    delete view_;
}

void ViewLinksTest::init() {
    messages_.Clear();
}

void ViewLinksTest::Click(const QString& id, Qt::MouseButton button) {
    const QPoint at = ElementCentre(*view_, id);
    QVERIFY2(!at.isNull(), qPrintable(id));
    QTest::mouseClick(view_->focusProxy(), button, {}, at);
}

void ViewLinksTest::clickedLinkCallsItsPageOperation_data() {
    QTest::addColumn<QString>("element");
    QTest::addColumn<LinkKind>("kind");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("second");
    QTest::addColumn<QString>("label");

    QTest::newRow("prefix in any case") << "upper" << LinkKind::Paper << 550001 << 0 << "";
    QTest::newRow("trailing slash") << "slash" << LinkKind::Paper << 550001 << 0 << "";
    QTest::newRow("question with its label")
        << "question" << LinkKind::Question << 550002 << 0 << QStringLiteral("第1题");
    QTest::newRow("answer with its label")
        << "answer" << LinkKind::Answer << 550002 << 0 << QStringLiteral("第1题");
    QTest::newRow("history record of a paper")
        << "history" << LinkKind::HistoryAnalysis << 700001 << 550003 << "";
    QTest::newRow("into the page's own frame") << "self" << LinkKind::Knowledge << 7 << 0 << "";
}

void ViewLinksTest::clickedLinkCallsItsPageOperation() {
    QFETCH(QString, element);
    QFETCH(LinkKind, kind);
    QFETCH(int, id);
    QFETCH(int, second);
    QFETCH(QString, label);

    QSignalSpy requested(view_, &CQuilloryView::pageRequested);
    Click(element);
    QVERIFY(requested.wait(kWait));
    QCOMPARE(requested.count(), 1);
    const auto link = requested.first().first().value<InternalLink>();
    QCOMPARE(link.kind, kind);
    QCOMPARE(link.id, id);
    QCOMPARE(link.second, second);
    QCOMPARE(QString::fromStdString(link.label), label);
    QVERIFY(messages_.Shown().empty());
    // The page stays: the link was taken by the program, not by the browser.
    QCOMPARE(view_->url(), QUrl::fromLocalFile(page_));
}

void ViewLinksTest::keywordInTheWrongCaseIsANavigationError() {
    QSignalSpy requested(view_, &CQuilloryView::pageRequested);
    Click(QStringLiteral("keyword"));
    QTRY_COMPARE_WITH_TIMEOUT(messages_.Shown().size(), size_t{1}, kWait);
    QCOMPARE(messages_.Shown().front().text, kNavigateError);
    QCOMPARE(messages_.Shown().front().icon, QMessageBox::Critical);
    QCOMPARE(requested.count(), 0);
    // Shown once, not again when the browser gives up on the address.
    RunScript(*view_, QStringLiteral("1"));
    QCOMPARE(messages_.Shown().size(), size_t{1});
}

void ViewLinksTest::linkIntoANamedFrameIsNotDispatched() {
    QSignalSpy requested(view_, &CQuilloryView::pageRequested);
    Click(QStringLiteral("framed"));
    // Left to the browser, which cannot show the internal scheme in the frame.
    QTRY_COMPARE_WITH_TIMEOUT(messages_.Shown().size(), size_t{1}, kWait);
    QCOMPARE(messages_.Shown().front().text, kNavigateError);
    QCOMPARE(requested.count(), 0);
    RunScript(*view_, QStringLiteral("1"));
    QCOMPARE(messages_.Shown().size(), size_t{1});
}

void ViewLinksTest::internalLinkNavigatedByTheProgramIsDispatchedAtOnce() {
    QSignalSpy requested(view_, &CQuilloryView::pageRequested);
    view_->Navigate(QStringLiteral("Quillory://Knowledge:000123"));
    view_->Navigate(QStringLiteral("Quillory://ClassicAnalysis:000000"));
    QCOMPARE(requested.count(), 2);
    QCOMPARE(requested[0].first().value<InternalLink>().kind, LinkKind::Knowledge);
    QCOMPARE(requested[0].first().value<InternalLink>().id, 123);
    QCOMPARE(requested[1].first().value<InternalLink>().kind, LinkKind::ClassicAnalysis);
    QCOMPARE(requested[1].first().value<InternalLink>().id, 0);
}

void ViewLinksTest::missingPageIsANavigationError() {
    CQuilloryView view(nullptr, nullptr);
    view.Navigate(QString::fromStdString(dir_.File("missing.html")));
    QTRY_COMPARE_WITH_TIMEOUT(messages_.Shown().size(), size_t{1}, kWait);
    QCOMPARE(messages_.Shown().front().text, kNavigateError);
    QCOMPARE(messages_.Shown().front().icon, QMessageBox::Critical);
}

void ViewLinksTest::rightClickShowsNoMenu() {
    QSignalSpy title(view_, &QWebEngineView::titleChanged);
    Click(QStringLiteral("text"), Qt::RightButton);
    QVERIFY(title.wait(kWait));
    // One more round trip through the page, so that a menu request sent after
    // the event would have arrived.
    RunScript(*view_, QStringLiteral("1"));
    QApplication::processEvents();
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        QVERIFY(!(qobject_cast<QMenu*>(widget) && widget->isVisible()));
    }
}

void ViewLinksTest::browserKeysDoNothing() {
    // Select all, zoom in by key and by wheel.
    QWidget* browser = view_->focusProxy();
    Click(QStringLiteral("text"));
    QTest::keyClick(browser, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(browser, Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(browser, Qt::Key_Equal, Qt::ControlModifier);
    const QPoint at = ElementCentre(*view_, QStringLiteral("text"));
    QWheelEvent wheel(at, browser->mapToGlobal(at), {}, QPoint(0, 120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(browser, &wheel);
    // Left alone, the browser selects the whole page and zooms it.
    QCOMPARE(RunScript(*view_, QStringLiteral("window.getSelection().toString()")).toString(),
             QString());
    QCOMPARE(view_->zoomFactor(), 1.0);
}

void ViewLinksTest::generatedFilesGoWithTheView() {
    const std::string first = dir_.File("paper.html");
    const std::string second = dir_.File("第1题.html");
    quillory::testing::WriteFileBytes(first, "<html></html>");
    quillory::testing::WriteFileBytes(second, "<html></html>");

    auto* view = new CQuilloryView(nullptr, nullptr);
    view->AddGeneratedFile(QString::fromStdString(first));
    // The core's page composers hand in their files through the view's host.
    view->Host().AddGeneratedFile(second);
    // Written twice, and one that is already gone: neither stops the others.
    view->AddGeneratedFile(QString::fromStdString(first));
    view->AddGeneratedFile(QString::fromStdString(dir_.File("gone.html")));
    QVERIFY(QFile::exists(QString::fromStdString(first)));
    delete view;
    QVERIFY(!QFile::exists(QString::fromStdString(first)));
    QVERIFY(!QFile::exists(QString::fromStdString(second)));
    QVERIFY(QFile::exists(page_));
}

void ViewLinksTest::coreHostWorksOnTheView() {
    CQuilloryView view(nullptr, nullptr);
    quillory::Host& host = view.Host();
    QSignalSpy requested(&view, &CQuilloryView::pageRequested);
    host.Navigate("Quillory://Question:550002第2题");
    QCOMPARE(requested.count(), 1);
    QCOMPARE(QString::fromStdString(requested.first().first().value<InternalLink>().label),
             QStringLiteral("第2题"));

    host.Message("试题ID没有找到！", quillory::MessageIcon::Error);
    QCOMPARE(messages_.Shown().back().text, QStringLiteral("试题ID没有找到！"));
    QCOMPARE(messages_.Shown().back().icon, QMessageBox::Critical);
    QCOMPARE(host.Ask("确定吗？", quillory::Buttons::OkCancel, quillory::MessageIcon::Exclamation),
             quillory::Answer::Ok);
    QCOMPARE(messages_.Shown().back().icon, QMessageBox::Warning);
    QCOMPARE(host.Ask("确定吗？", quillory::Buttons::YesNo, quillory::MessageIcon::Question),
             quillory::Answer::Yes);
}

QUILLORY_APP_TEST_MAIN(ViewLinksTest)
#include "view_links_test.moc"

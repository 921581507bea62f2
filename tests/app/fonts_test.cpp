// Chinese face names used by the dialogs and the bank's pages resolve to
// installed faces of the same kind, in the widgets and in the web view.
#include <QFontDatabase>
#include <QFontInfo>
#include <QSignalSpy>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "app_test_main.h"

namespace {

const QString kKai = QStringLiteral("AR PL UKai CN");
const QString kSong = QStringLiteral("AR PL UMing CN");

// A fingerprint of a few characters drawn by the web view in each font (a
// CSS font family list), so that two names can be told to give one face.
QList<int> GlyphPrints(const QStringList& families) {
    QWebEngineView view;
    view.resize(600, 400);
    view.show();
    QSignalSpy loaded(view.page(), &QWebEnginePage::loadFinished);
    view.setHtml(QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body></body></html>"));
    if (!loaded.wait(60000) || !loaded.first().first().toBool()) {
        return {};
    }
    QList<int> prints;
    for (const QString& family : families) {
        const QString script =
            QStringLiteral(
                "(function () {"
                "  const canvas = document.createElement('canvas');"
                "  canvas.width = 240; canvas.height = 60;"
                "  const context = canvas.getContext('2d');"
                "  context.font = '40px ' + %1;"
                "  context.fillText('穹岚永', 0, 45);"
                "  const data = context.getImageData(0, 0, 240, 60).data;"
                "  let hash = 0;"
                "  for (let i = 3; i < data.length; i += 4) hash = (hash * 31 + data[i]) | 0;"
                "  return hash;"
                "})()")
                .arg(QStringLiteral("\"%1\"").arg(family));
        QVariant print;
        bool done = false;
        view.page()->runJavaScript(script, [&](const QVariant& result) {
            print = result;
            done = true;
        });
        if (!QTest::qWaitFor([&] { return done; }, 30000)) {
            return {};
        }
        prints << print.toInt();
    }
    return prints;
}

}  // namespace

class FontsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void dialogFacesResolveToInstalledFaces();
    void fontConfigTextNamesEveryAliasAndTheSystemConfiguration();
    void webPagesResolveTheSameNames();
};

void FontsTest::initTestCase() {
    const QStringList installed = QFontDatabase::families();
    if (!installed.contains(kKai) || !installed.contains(kSong)) {
        QSKIP("the Kai and Ming faces (fonts-arphic-ukai, fonts-arphic-uming) are not installed");
    }
}

void FontsTest::dialogFacesResolveToInstalledFaces() {
    QCOMPARE(QFontInfo(QFont(QStringLiteral("楷体_GB2312"), 10)).family(), kKai);
    QCOMPARE(QFontInfo(QFont(QStringLiteral("楷体"), 10)).family(), kKai);
    QCOMPARE(QFontInfo(QFont(QStringLiteral("宋体"), 10)).family(), kSong);
    if (QFontDatabase::families().contains(QStringLiteral("Noto Sans CJK SC"))) {
        QCOMPARE(QFontInfo(QApplication::font()).family(), QStringLiteral("Noto Sans CJK SC"));
    }
}

void FontsTest::fontConfigTextNamesEveryAliasAndTheSystemConfiguration() {
    const QString text = FontConfigText(QStringLiteral("/etc/fonts/fonts.conf"));
    for (const char* name : {"楷体_GB2312", "楷体", "宋体"}) {
        QVERIFY2(text.contains(QStringLiteral("<string>%1</string>").arg(QString::fromUtf8(name))),
                 name);
    }
    QVERIFY(
        text.contains(QStringLiteral("<include ignore_missing=\"yes\">/etc/fonts/fonts.conf"
                                     "</include>")));
    // A path with markup characters stays well-formed.
    QVERIFY(FontConfigText(QStringLiteral("/a&b/<c>.conf"))
                .contains(QStringLiteral("/a&amp;b/&lt;c&gt;.conf")));
    QCOMPARE(
        qEnvironmentVariable("FONTCONFIG_FILE").endsWith(QStringLiteral("/quillory/fonts.conf")),
        true);
}

void FontsTest::webPagesResolveTheSameNames() {
    const QList<int> prints =
        GlyphPrints({kKai, QStringLiteral("'楷体_GB2312'"), QStringLiteral("'楷体'"), kSong,
                     QStringLiteral("'宋体'"), QStringLiteral("sans-serif")});
    QCOMPARE(prints.size(), 6);
    QCOMPARE(prints[1], prints[0]);
    QCOMPARE(prints[2], prints[0]);
    QCOMPARE(prints[4], prints[3]);
    // The faces differ, so equal prints mean the names really resolved.
    QVERIFY(prints[0] != prints[3]);
    QVERIFY(prints[3] != prints[5]);
}

QUILLORY_APP_TEST_MAIN(FontsTest)
#include "fonts_test.moc"

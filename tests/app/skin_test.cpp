// The skin: an optional style sheet file per colour scheme; the shipped ones
// must parse. The scheme the desktop asks for sets the palette.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app_test_main.h"
#include "widgets/program_folder.h"
#include "support/temp_dir.h"
#include "widgets/color_scheme.h"
#include "widgets/skin.h"

Q_DECLARE_METATYPE(ColorScheme)

class SkinTest : public QObject {
    Q_OBJECT

private slots:
    void missingOrEmptySkinLeavesTheSystemLook();
    void skinFileIsReadAsText();
    void applyingNoSkinKeepsTheApplicationsOwnSheet();
    void shippedSkinParsesForEveryKindOfWindow_data();
    void shippedSkinParsesForEveryKindOfWindow();
    void chosenSchemeWinsOverTheThemesPalette_data();
    void chosenSchemeWinsOverTheThemesPalette();
    void paletteFollowsTheScheme();
};

void SkinTest::missingOrEmptySkinLeavesTheSystemLook() {
    quillory::testing::TempDir folder;
    const QString path = QString::fromStdString(folder.Path());
    QVERIFY(LoadSkinFile(path, ColorScheme::Light).isEmpty());
    quillory::testing::WriteFileBytes(folder.File(kSkinFileName), " \n\t\n");
    QVERIFY(LoadSkinFile(path, ColorScheme::Light).isEmpty());
    // A folder where the file should be cannot be read either.
    QFile::remove(QString::fromStdString(folder.File(kSkinFileName)));
    QVERIFY(QDir(path).mkdir(kSkinFileName));
    QVERIFY(LoadSkinFile(path, ColorScheme::Light).isEmpty());
}

void SkinTest::skinFileIsReadAsText() {
    quillory::testing::TempDir folder;
    const QString path = QString::fromStdString(folder.Path());
    quillory::testing::WriteFileBytes(folder.File(kDarkSkinFileName), "QWidget { color: #eee; }");
    // No light file: the dark one is never its stand-in.
    QVERIFY(LoadSkinFile(path, ColorScheme::Light).isEmpty());
    quillory::testing::WriteFileBytes(folder.File(kSkinFileName),
                                      "QPushButton { color: #123456; } /* 按钮 */\n");
    const QString skin = LoadSkinFile(path, ColorScheme::Light);
    QVERIFY(skin.contains(QStringLiteral("/* 按钮 */")));
    QCOMPARE(LoadSkinFile(path, ColorScheme::Dark), QStringLiteral("QWidget { color: #eee; }"));

    ApplySkinSheet(*qApp, skin);
    QCOMPARE(qApp->styleSheet(), skin);
    qApp->setStyleSheet(QString());
}

void SkinTest::applyingNoSkinKeepsTheApplicationsOwnSheet() {
    qApp->setStyleSheet(QStringLiteral("QWidget { color: red; }"));
    ApplySkinSheet(*qApp, QString());
    QCOMPARE(qApp->styleSheet(), QStringLiteral("QWidget { color: red; }"));
    qApp->setStyleSheet(QString());
}

void SkinTest::shippedSkinParsesForEveryKindOfWindow_data() {
    QTest::addColumn<ColorScheme>("scheme");
    QTest::newRow("light") << ColorScheme::Light;
    QTest::newRow("dark") << ColorScheme::Dark;
}

void SkinTest::shippedSkinParsesForEveryKindOfWindow() {
    QFETCH(ColorScheme, scheme);
    const QString skin = LoadSkinFile(FindProgramFolder(), scheme);
    QVERIFY2(!skin.isEmpty(), "the build copies both skins into the program data folder");
    QCOMPARE(quillory::testing::ProgramApp().Skin().isEmpty(), true);  // only InitInstance loads it

    // Qt reports a sheet it cannot parse with a warning when it polishes.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("(?i)style ?sheet")));
    QMainWindow frame;
    frame.setObjectName(QStringLiteral("frame"));
    frame.menuBar()
        ->addMenu(QStringLiteral("试　卷(&P)"))
        ->addAction(QStringLiteral("开始练习(&E)"));
    frame.addToolBar(QStringLiteral("toolbar"))->addAction(QStringLiteral("返回"));
    auto* splitter = new QSplitter(&frame);
    auto* tree = new QTreeWidget(splitter);
    tree->addTopLevelItem(new QTreeWidgetItem(QStringList(QStringLiteral("经典试卷"))));
    auto* form = new QWidget(splitter);
    auto* layout = new QVBoxLayout(form);
    layout->addWidget(new QPushButton(QStringLiteral("确定"), form));
    layout->addWidget(new QLineEdit(QStringLiteral("标题"), form));
    layout->addWidget(new QComboBox(form));
    layout->addWidget(new QCheckBox(QStringLiteral("根据历史纪录调整试题"), form));
    auto* bar = new QProgressBar(form);
    bar->setProperty("smooth", false);
    layout->addWidget(bar);
    frame.setCentralWidget(splitter);
    frame.statusBar()->showMessage(QStringLiteral("就绪"));
    frame.setStyleSheet(skin);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    for (QWidget* widget : frame.findChildren<QWidget*>()) {
        widget->ensurePolished();
    }
    QVERIFY(!frame.grab().isNull());
}

void SkinTest::chosenSchemeWinsOverTheThemesPalette_data() {
    QTest::addColumn<QByteArray>("chosen");
    QTest::addColumn<bool>("darkTheme");
    QTest::addColumn<ColorScheme>("expected");
    // The tests run without a desktop portal, so the theme's palette decides
    // when nothing is chosen.
    QTest::newRow("dark chosen") << QByteArray("dark") << false << ColorScheme::Dark;
    QTest::newRow("light chosen, dark theme")
        << QByteArray(" Light ") << true << ColorScheme::Light;
    QTest::newRow("nothing, light theme") << QByteArray() << false << ColorScheme::Light;
    QTest::newRow("nothing, dark theme") << QByteArray() << true << ColorScheme::Dark;
    QTest::newRow("unknown word") << QByteArray("blue") << true << ColorScheme::Dark;
}

void SkinTest::chosenSchemeWinsOverTheThemesPalette() {
    QFETCH(QByteArray, chosen);
    QFETCH(bool, darkTheme);
    QFETCH(ColorScheme, expected);
    qputenv("QUILLORY_COLOR_SCHEME", chosen);
    const QPalette theme(darkTheme ? QColor(0x20, 0x20, 0x20) : QColor(0xf0, 0xf0, 0xf0));
    QCOMPARE(DesktopColorScheme(theme), expected);
    qunsetenv("QUILLORY_COLOR_SCHEME");
}

void SkinTest::paletteFollowsTheScheme() {
    const QPalette before = QApplication::palette();
    UseColorScheme(ColorScheme::Dark);
    QPalette palette = QApplication::palette();
    QVERIFY(palette.color(QPalette::Window).lightness() < 128);
    // Text stays readable on its own background.
    QVERIFY(palette.color(QPalette::WindowText).lightness() > 160);
    QVERIFY(palette.color(QPalette::Text).lightness() - palette.color(QPalette::Base).lightness() >
            120);
    UseColorScheme(ColorScheme::Light);
    palette = QApplication::palette();
    QVERIFY(palette.color(QPalette::Window).lightness() >= 128);
    QVERIFY(palette.color(QPalette::Base).lightness() - palette.color(QPalette::Text).lightness() >
            120);
    QApplication::setPalette(before);
}

QUILLORY_APP_TEST_MAIN(SkinTest)
#include "skin_test.moc"

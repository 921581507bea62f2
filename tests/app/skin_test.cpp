// The skin: an optional style sheet file; the shipped one must parse.
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
#include "shell/program_folder.h"
#include "shell/skin.h"
#include "support/temp_dir.h"

class SkinTest : public QObject {
    Q_OBJECT

private slots:
    void missingOrEmptySkinLeavesTheSystemLook();
    void skinFileIsReadAsText();
    void applyingNoSkinKeepsTheWindowsOwnSheet();
    void shippedSkinParsesForEveryKindOfWindow();
};

void SkinTest::missingOrEmptySkinLeavesTheSystemLook() {
    quillory::testing::TempDir folder;
    const QString path = QString::fromStdString(folder.Path());
    QVERIFY(LoadSkinFile(path).isEmpty());
    quillory::testing::WriteFileBytes(folder.File(kSkinFileName), " \n\t\n");
    QVERIFY(LoadSkinFile(path).isEmpty());
    // A folder where the file should be cannot be read either.
    QFile::remove(QString::fromStdString(folder.File(kSkinFileName)));
    QVERIFY(QDir(path).mkdir(kSkinFileName));
    QVERIFY(LoadSkinFile(path).isEmpty());
}

void SkinTest::skinFileIsReadAsText() {
    quillory::testing::TempDir folder;
    quillory::testing::WriteFileBytes(folder.File(kSkinFileName),
                                      "QPushButton { color: #123456; } /* 按钮 */\n");
    const QString skin = LoadSkinFile(QString::fromStdString(folder.Path()));
    QVERIFY(skin.contains(QStringLiteral("/* 按钮 */")));

    QWidget window;
    ApplySkinSheet(&window, skin);
    QCOMPARE(window.styleSheet(), skin);
}

void SkinTest::applyingNoSkinKeepsTheWindowsOwnSheet() {
    QWidget window;
    window.setStyleSheet(QStringLiteral("QWidget { color: red; }"));
    ApplySkinSheet(&window, QString());
    QCOMPARE(window.styleSheet(), QStringLiteral("QWidget { color: red; }"));
    ApplySkinSheet(nullptr, QStringLiteral("QWidget {}"));
}

void SkinTest::shippedSkinParsesForEveryKindOfWindow() {
    const QString skin = LoadSkinFile(FindProgramFolder());
    QVERIFY2(!skin.isEmpty(), "the build copies Quillory.skn into the program data folder");
    QCOMPARE(CQuilloryApp::Instance()->Skin().isEmpty(), true);  // only InitInstance loads it

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
    ApplySkinSheet(&frame, skin);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    for (QWidget* widget : frame.findChildren<QWidget*>()) {
        widget->ensurePolished();
    }
    QVERIFY(!frame.grab().isNull());
}

QUILLORY_APP_TEST_MAIN(SkinTest)
#include "skin_test.moc"

// Start-up and shut-down of the application object on real data files:
// refusals, a new data file made from the template, settings, the second
// start on the same data file.
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

#include "app_test_main.h"
#include "core/host/host.h"
#include "frame/quillory_frame.h"
#include "shell/demo_bank.h"
#include "shell/main_menu_dlg.h"
#include "shell/single_instance.h"
#include "support/temp_dir.h"
#include "widgets/message_box.h"
#include "widgets/progress_wnd.h"
#include "widgets/qt_settings.h"

namespace {

struct Shown {
    QString text;
    QMessageBox::Icon icon;
};

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void dataFileIsTheFirstArgumentThatIsNotASwitch();
    void demoBankIsCopiedForTheLearnerOnceAndKept();
    void unreadableDataFilesAreRefused_data();
    void unreadableDataFilesAreRefused();
    void boxesBeforeADataFileIsOpenCarryTheProductName();
    void standardButtonsSpeakChinese();
    void openingCarriesAnEarlierInstallationOverOnce();
    void existingDataFileIsOpenedUnchanged();
    void settingsKeepIntegersPerTitle();
    void newFileNameStartsTheProgramOnANewDataFile();
    void modalProgressWindowDisablesTheMainMenuUntilItCloses();
    void secondStartOnTheSameDataFileRaisesTheMenu();
    void exitClosesTheDataFileAndFreesTheTitle();

private:
    CQuilloryApp& app_ = quillory::testing::ProgramApp();
    quillory::testing::TempDir folder_;
    QList<Shown> shown_;
    MessageBoxHandler previous_;
};

void StartupTest::initTestCase() {
    previous_ = SetMessageBoxHandler([this](QWidget*, const QString& text, QMessageBox::Icon icon,
                                            QMessageBox::StandardButtons) {
        shown_ << Shown{text, icon};
        return QMessageBox::Ok;
    });
}

void StartupTest::cleanupTestCase() {
    SetMessageBoxHandler(previous_);
}

void StartupTest::dataFileIsTheFirstArgumentThatIsNotASwitch() {
    QCOMPARE(
        CQuilloryApp::DataFileArgument({"quillory", "--no-sandbox", "--remote-debugging-port=9222",
                                        "-v", "work.qly", "other.qly"}),
        QStringLiteral("work.qly"));
    QCOMPARE(CQuilloryApp::DataFileArgument({"quillory", "--single-process"}), QString());
    QCOMPARE(CQuilloryApp::DataFileArgument({"quillory"}), QString());
    QCOMPARE(CQuilloryApp::DataFileArgument({"quillory", "/data/穹岚 题库.qly"}),
             QStringLiteral("/data/穹岚 题库.qly"));
}

void StartupTest::demoBankIsCopiedForTheLearnerOnceAndKept() {
    using quillory::testing::ReadFileBytes;
    using quillory::testing::WriteFileBytes;
    quillory::testing::TempDir program;
    quillory::testing::TempDir user;
    const QString programFolder = QString::fromStdString(program.Path());
    const QString userFolder = QString::fromStdString(user.Path()) + "/quillory";
    QString error;
    QVERIFY(UserDemoBank(programFolder, userFolder, &error).isEmpty());
    QVERIFY(error.contains(QStringLiteral("没有示例题库")));

    QVERIFY(QDir(programFolder).mkpath(QStringLiteral("demo/Question")));
    WriteFileBytes(program.File("demo/demo.qly"), "bank");
    WriteFileBytes(program.File("demo/Question/P1.htm"), "page");
    // Installed files are read-only; the copy must not be.
    QFile::setPermissions(program.File("demo/demo.qly").c_str(), QFileDevice::ReadOwner);
    const QString copy = UserDemoBank(programFolder, userFolder, &error);
    QCOMPARE(copy, userFolder + "/demo/demo.qly");
    QCOMPARE(ReadFileBytes(user.File("quillory/demo/Question/P1.htm")), std::string("page"));
    QVERIFY(QFileInfo(copy).permissions() & QFileDevice::WriteOwner);
    QVERIFY(!QFileInfo::exists(userFolder + "/demo.part"));

    // The learner's records live in his copy: a later start keeps it.
    WriteFileBytes(copy.toStdString(), "bank with records");
    QCOMPARE(UserDemoBank(programFolder, userFolder, &error), copy);
    QCOMPARE(ReadFileBytes(copy.toStdString()), std::string("bank with records"));
}

void StartupTest::unreadableDataFilesAreRefused_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    const QString refused = QStringLiteral("无法打开数据库!");
    QTest::newRow("not a data file") << "garbage" << refused;
    QTest::newRow("cut short") << "cut" << refused;
    QTest::newRow("another password") << "password" << refused;
    QTest::newRow("folder missing") << "folder" << refused;
    QTest::newRow("file missing") << "missing" << refused;
    QTest::newRow("newer") << "newer" << QStringLiteral("数据文件的版本比本程序新，请升级程序。");
}

void StartupTest::unreadableDataFilesAreRefused() {
    QFETCH(QString, kind);
    QFETCH(QString, text);
    const std::string path = folder_.File(kind.toStdString() + ".qly");
    if (kind == "garbage") {
        quillory::testing::WriteFileBytes(path, std::string(4096, 'x'));
    } else if (kind == "cut") {
        quillory::testing::MakeDataFile(path);
        const std::string bytes = quillory::testing::ReadFileBytes(path);
        quillory::testing::WriteFileBytes(path, bytes.substr(0, bytes.size() / 3));
    } else if (kind == "password") {
        QVERIFY(quillory::DataStore::Create(path, "not-the-password").ok());
    } else if (kind == "newer") {
        QVERIFY(quillory::testing::MakeDataFile(path)->Execute("pragma user_version=99"));
    }
    const QString name = kind == "folder" ? QString::fromStdString(folder_.File("no/such/x.qly"))
                                          : QString::fromStdString(path);
    const std::string before = quillory::testing::ReadFileBytes(path);
    shown_.clear();

    QVERIFY(!app_.InitInstance(name));
    QCOMPARE(shown_.size(), 1);
    QCOMPARE(shown_[0].text, text);
    QCOMPARE(shown_[0].icon, QMessageBox::Critical);
    QVERIFY(app_.ExitCode() != 0);
    QVERIFY(app_.Session() == nullptr);
    QCOMPARE(app_.MainMenu(), nullptr);
    // A refused file is left as it was; a missing one is not made.
    QCOMPARE(quillory::testing::ReadFileBytes(path), before);
    QCOMPARE(QFileInfo::exists(QString::fromStdString(path)),
             kind != "missing" && kind != "folder");
    QVERIFY(!QFileInfo::exists(QString::fromStdString(folder_.File("Knowledge"))));
}

void StartupTest::boxesBeforeADataFileIsOpenCarryTheProductName() {
    const MessageBoxHandler recording = SetMessageBoxHandler({});
    QString title;
    QTimer look;
    connect(&look, &QTimer::timeout, this, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            look.stop();
            title = box->windowTitle();
            box->accept();
        }
    });
    look.start(10);
    ShowMessageBox(nullptr, QStringLiteral("无法打开数据库!"), QMessageBox::Critical);
    SetMessageBoxHandler(recording);
    QCOMPARE(title, QStringLiteral("穹岚"));
}

void StartupTest::standardButtonsSpeakChinese() {
    // Qt's own catalogue, loaded by the application object, whatever the
    // desktop's language.
    QMessageBox box(QMessageBox::Question, QString(), QString(),
                    QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("是(&Y)"));
    QCOMPARE(box.button(QMessageBox::No)->text(), QStringLiteral("否(&N)"));
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QCOMPARE(buttons.button(QDialogButtonBox::Ok)->text(), QStringLiteral("确定"));
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
}

// Records the title and text of each progress window as it is shown.
class ProgressWatch : public QObject {
public:
    ProgressWatch() { qApp->installEventFilter(this); }
    ~ProgressWatch() override { qApp->removeEventFilter(this); }
    QStringList shown;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto* window = qobject_cast<CProgressWnd*>(watched)) {
                shown << window->Title();
            }
        }
        return false;
    }
};

void StartupTest::openingCarriesAnEarlierInstallationOverOnce() {
    const std::string earlier = folder_.File("earlier.qly");
    {
        auto store = quillory::testing::MakeDataFile(earlier);
        QVERIFY(store->Execute(
            "insert into Paper(ID, SuperiorID, Title, IsSystem) values(550001, 0, '练习', true)"));
        QVERIFY(store->Execute("insert into History(ID, PaperID) values(700001, 550001)"));
    }
    const std::string path = folder_.File("upgraded.qly");
    QVERIFY(quillory::testing::MakeDataFile(path)->Execute(
        "update ConfigProduct set LastVerFile='earlier.qly'"));
    shown_.clear();
    ProgressWatch watch;
    QVERIFY(app_.OpenDataFile(QString::fromStdString(path)));
    QCOMPARE(watch.shown, QStringList({"产品升级 ", "产品升级 "}));
    QVERIFY(shown_.isEmpty());
    auto rows = app_.Session()->Store().Query("select count(*) as n from Paper where ID=550001");
    QVERIFY(rows);
    QCOMPARE(rows->Int("n"), 1);

    const std::string broken = folder_.File("broken.qly");
    QVERIFY(quillory::testing::MakeDataFile(broken)->Execute(
        "update ConfigProduct set LastVerFile='gone.qly'"));
    QVERIFY(app_.OpenDataFile(QString::fromStdString(broken)));
    QCOMPARE(shown_.size(), 1);
    QCOMPARE(shown_[0].icon, QMessageBox::Critical);
    QVERIFY(shown_[0].text.startsWith(QStringLiteral("产品升级失败：找不到上一版本的数据文件")));
}

void StartupTest::existingDataFileIsOpenedUnchanged() {
    const std::string path = folder_.File("existing.qly");
    {
        auto store = quillory::testing::MakeDataFile(path);
        QVERIFY(
            store->Execute("insert into Knowledge (ID, SuperiorID, Title) "
                           "values (100001, 0, '函数')"));
    }
    QVERIFY(app_.OpenDataFile(QString::fromStdString(path)));
    QCOMPARE(app_.Session()->ApplicationTitle(), QStringLiteral("穹岚 - existing"));
    QCOMPARE(app_.Session()->DataFolder(), QString::fromStdString(folder_.Path()));
    auto rows = app_.Session()->Store().Query("select Title from Knowledge where ID=100001");
    QVERIFY(rows && !rows->AtEnd());
    QCOMPARE(rows->Text("Title"), std::string("函数"));
    // Page folders are made for new data files only.
    QVERIFY(!QFileInfo::exists(QString::fromStdString(folder_.File("Knowledge"))));
}

void StartupTest::settingsKeepIntegersPerTitle() {
    const QString title = QStringLiteral("穹岚 - settings");
    {
        CQtSettings settings(title);
        QCOMPARE(settings.ReadInt("Settings", "HistoryModified", 1), 1);
        QCOMPARE(settings.ReadInt("Settings", "Period", 0), 0);
        settings.WriteInt("Settings", "HistoryModified", 0);
        settings.WriteInt("Settings", "Period", 2);
        settings.WriteInt("Settings", "X", -5);
    }
    CQtSettings again(title);
    QCOMPARE(again.ReadInt("Settings", "HistoryModified", 1), 0);
    QCOMPARE(again.ReadInt("Settings", "Period", 0), 2);
    QCOMPARE(again.ReadInt("Settings", "X", -1), -5);
    QCOMPARE(again.ReadInt("Other", "Period", 7), 7);

    CQtSettings otherFile(QStringLiteral("穹岚 - other"));
    QCOMPARE(otherFile.ReadInt("Settings", "Period", 0), 0);

    // A value someone edited into text reads as its default.
    QSettings(QString::fromLatin1(kSettingsVendor), title).setValue("Settings/AutoAdjust", "yes");
    QCOMPARE(CQtSettings(title).ReadInt("Settings", "AutoAdjust", 0), 0);
}

void StartupTest::newFileNameStartsTheProgramOnANewDataFile() {
    const QString path = QString::fromStdString(folder_.File("新题库.qly"));
    const QString missingFolder = QString::fromStdString(folder_.File("无此目录"));
    // The learner types a new name into the file dialog, first in a folder
    // that is not there.
    QStringList typed{missingFolder + "/新题库.qly", path};
    bool stayedOpen = false;
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || typed.isEmpty()) {
            return;
        }
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(typed.takeFirst());
        QMetaObject::invokeMethod(dialog, "accept");
        if (!typed.isEmpty()) {
            stayedOpen = dialog->isVisible();
        }
    });
    answer.start(10);
    shown_.clear();
    QVERIFY(app_.InitInstance(QString()));
    QCOMPARE(app_.ExitCode(), 0);
    QVERIFY(stayedOpen);
    QCOMPARE(shown_.size(), 1);
    QCOMPARE(shown_[0].text, missingFolder + "\n目录未找到。\n请检查指定的目录名是否正确。");
    QCOMPARE(shown_[0].icon, QMessageBox::Warning);
    QVERIFY(!QFileInfo::exists(missingFolder));

    QVERIFY(QFileInfo(path).isFile());
    for (const char* pages : {"Knowledge", "Question", "Help"}) {
        const QString common = QString::fromStdString(folder_.File(pages)) + "/common";
        QVERIFY2(QFileInfo(common).isDir(), pages);
        QVERIFY2(!QDir(common).isEmpty(), pages);
    }
    QCOMPARE(app_.Session()->ApplicationTitle(), QStringLiteral("穹岚 - 新题库"));
    QCOMPARE(app_.Session()->DataFolder(), QString::fromStdString(folder_.Path()));
    QVERIFY(app_.Session() != nullptr);
    QVERIFY(app_.Session()->RelatedInfo());
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("穹岚 - 新题库"));

    CMainMenuDlg* menu = app_.MainMenu();
    QVERIFY(menu);
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QCOMPARE(menu->windowTitle(), QStringLiteral("穹岚 - 新题库"));
    QVERIFY(!app_.Skin().isEmpty());
    QCOMPARE(qApp->styleSheet(), app_.Skin());
    QCOMPARE(menu->Frame(Module::History)->windowTitle(),
             QStringLiteral("穹岚 - 新题库 - 历史纪录"));
    for (const ModuleEntry& entry : kModules) {
        QVERIFY(!menu->Frame(entry.module)->isVisible());
    }

    // The settings now live under the data file's title.
    app_.Session()->Settings().WriteInt("Settings", "AutoAdjust", 1);
    QCOMPARE(CQtSettings(QStringLiteral("穹岚 - 新题库")).ReadInt("Settings", "AutoAdjust", 0), 1);
}

void StartupTest::modalProgressWindowDisablesTheMainMenuUntilItCloses() {
    CMainMenuDlg* menu = app_.MainMenu();
    QVERIFY(menu);
    {
        // Over a frame, as the frames open it: the frame's owner is disabled.
        CProgressWnd progress(menu->Frame(Module::ClassicAnalysis), QStringLiteral("考点统计"),
                              false, &app_.Session()->Settings());
        progress.GoModal();
        QVERIFY(!menu->isEnabled());
        QVERIFY(progress.isEnabled());
        progress.move(70, 90);
    }
    QVERIFY(menu->isEnabled());
    // Its place is kept in the data file's settings.
    QCOMPARE(app_.Session()->Settings().ReadInt("Settings", "X", -1), 70);
    QCOMPARE(app_.Session()->Settings().ReadInt("Settings", "Y", -1), 90);
}

void StartupTest::secondStartOnTheSameDataFileRaisesTheMenu() {
    CMainMenuDlg* menu = app_.MainMenu();
    QVERIFY(menu);
    menu->showMinimized();
    QVERIFY(menu->isMinimized());

    CSingleInstance second(app_.Session()->ApplicationTitle());
    QVERIFY(!second.Claim());
    QTRY_VERIFY_WITH_TIMEOUT(!menu->isMinimized(), 10000);

    CSingleInstance otherFile(QStringLiteral("穹岚 - 另一个"));
    QVERIFY(otherFile.Claim());
}

void StartupTest::exitClosesTheDataFileAndFreesTheTitle() {
    const QString title = app_.Session()->ApplicationTitle();
    app_.ExitInstance();
    QVERIFY(app_.Session() == nullptr);
    QCOMPARE(app_.MainMenu(), nullptr);
    CSingleInstance next(title);
    QVERIFY(next.Claim());
}

QUILLORY_APP_TEST_MAIN(StartupTest)
#include "startup_test.moc"

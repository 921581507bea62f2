#include "shell/quillory_app.h"

#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "core/host/host.h"
#include "core/store/data_file.h"
#include "core/store/previous_version_import.h"
#include "shell/data_file_dialog.h"
#include "shell/demo_bank.h"
#include "shell/help.h"
#include "shell/help_wnd.h"
#include "shell/main_menu_dlg.h"
#include "widgets/program_folder.h"
#include "shell/single_instance.h"
#include "widgets/color_scheme.h"
#include "widgets/error_text.h"
#include "widgets/fonts.h"
#include "widgets/message_box.h"
#include "widgets/progress_wnd.h"
#include "widgets/qt_settings.h"
#include "widgets/skin.h"
#include "widgets/view_host.h"

// The program's images live in the library; a static library's resources
// are registered by hand (outside any namespace, as the macro needs).
static void RegisterResources() {
    Q_INIT_RESOURCE(shell);
}

CQuilloryApp::CQuilloryApp(int& argc, char** argv) : QApplication(argc, argv) {
    RegisterResources();
    programFolder_ = FindProgramFolder();
    // Ties the windows to the menu entry (Wayland's app ID, the dock's icon).
    setDesktopFileName(QStringLiteral("org.quillory.Quillory"));
    setWindowIcon(QIcon(QStringLiteral(":/shell/quillory.png")));
    colorScheme_ = DesktopColorScheme(palette());
    UseColorScheme(colorScheme_);
    InstallFontSubstitutions();
    // Qt's own dialogs and standard buttons speak the program's language.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    auto* translator = new QTranslator(this);
    if (translator->load(QStringLiteral("qtbase_zh_CN"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        installTranslator(translator);
    }
    // The program ends by "退出系统" or the menu's close box only; a module
    // frame closing never ends it.
    setQuitOnLastWindowClosed(false);
}

CQuilloryApp::~CQuilloryApp() = default;

QString CQuilloryApp::DataFileArgument(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (!arguments[i].startsWith('-')) {
            return arguments[i];
        }
    }
    return {};
}

bool CQuilloryApp::InitInstance() {
    if (!arguments().contains(QLatin1String(kDemoSwitch))) {
        return InitInstance(DataFileArgument(arguments()));
    }
    QString error;
    const QString demo = UserDemoBank(programFolder_, UserDataFolder(), &error);
    if (demo.isEmpty()) {
        ShowMessageBox(nullptr, error, QMessageBox::Critical);
        exitCode_ = 1;
        return false;
    }
    return InitInstance(demo);
}

bool CQuilloryApp::InitInstance(const QString& dataFile) {
    exitCode_ = 0;
    // Set once on the application, the skin reaches every window, dialog
    // and message box.
    skin_ = LoadSkinFile(programFolder_, colorScheme_);
    ApplySkinSheet(*this, skin_);

    if (!OpenDataFile(dataFile)) {
        ShowMessageBox(nullptr, openFailure_, QMessageBox::Critical);
        exitCode_ = 1;
        return false;
    }

    singleInstance_ = std::make_unique<CSingleInstance>(session_->ApplicationTitle());
    if (!singleInstance_->Claim()) {
        exitCode_ = 0;
        return false;
    }

    mainMenu_ = std::make_unique<CMainMenuDlg>(*session_);
    connect(mainMenu_.get(), &CMainMenuDlg::exitRequested, this, &QCoreApplication::quit,
            Qt::QueuedConnection);
    connect(singleInstance_.get(), &CSingleInstance::raiseRequested, mainMenu_.get(),
            &CMainMenuDlg::BringToFront);
    connect(mainMenu_.get(), &CMainMenuDlg::helpRequested, this, &CQuilloryApp::OpenHelp);
    mainMenu_->Initialize();
    return true;
}

void CQuilloryApp::ExitInstance() {
    // The windows go before the data file they show is closed.
    helpWnd_.reset();
    mainMenu_.reset();
    session_.reset();
    skin_.clear();
    setStyleSheet(QString());
    singleInstance_.reset();
}

QString CQuilloryApp::ChooseDataFile() const {
    CDataFileDialog dialog(programFolder_);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().first();
}

bool CQuilloryApp::OpenDataFile(const QString& fileName) {
    // Only a name chosen in the dialog may be a new one: a mistyped name on
    // the command line must not leave an empty bank behind.
    const bool chosen = fileName.isEmpty();
    const QString name = chosen ? ChooseDataFile() : fileName;
    if (name.isEmpty()) {
        openFailure_ = ErrorText({quillory::ErrorCode::FileMissing, "no data file was chosen"});
        return false;
    }
    quillory::Result<quillory::OpenedDataFile> result = quillory::OpenDataFile(
        QFile::encodeName(name).toStdString(), QFile::encodeName(programFolder_).toStdString(),
        chosen ? quillory::CreateIfMissing::Yes : quillory::CreateIfMissing::No);
    if (!result) {
        openFailure_ = ErrorText(result.error());
        return false;
    }
    quillory::OpenedDataFile& opened = *result;
    const QString title = QString::fromUtf8(opened.applicationTitle);
    const std::string dataFolder = opened.dataFolder;
    setApplicationName(title);
    SetMessageBoxCaption(title);
    session_ =
        std::make_unique<CBankSession>(std::move(opened), std::make_unique<CQtSettings>(title));
    ImportPreviousVersion(dataFolder);
    return true;
}

void CQuilloryApp::ImportPreviousVersion(const std::string& dataFolder) {
    CWindowHost host(MainMenu());
    quillory::Settings& settings = session_->Settings();
    quillory::ImportAtStart(session_->Store(), dataFolder, host, settings, [this, &settings] {
        return OpenBuildProgress(MainMenu(), settings, quillory::kImportTitle);
    });
}

void CQuilloryApp::OpenHelp(QWidget* asker) {
    const QString index = HelpIndexPath();
    if (!QFileInfo::exists(index)) {
        ShowMessageBox(asker, QStringLiteral("找不到使用帮助文件：%1").arg(index),
                       QMessageBox::Warning);
        return;
    }
    if (!helpWnd_) {
        helpWnd_ = std::make_unique<CHelpWnd>();
    }
    helpWnd_->BringToFront();
}

#include "shell/quillory_app.h"

#include <QFile>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "core/host/host.h"
#include "core/store/data_file.h"
#include "core/store/previous_version_import.h"
#include "frame/message_box.h"
#include "frame/view_host.h"
#include "shell/color_scheme.h"
#include "shell/data_file_dialog.h"
#include "shell/demo_bank.h"
#include "shell/fonts.h"
#include "shell/help_wnd.h"
#include "shell/main_menu_dlg.h"
#include "shell/program_folder.h"
#include "shell/progress_wnd.h"
#include "shell/qt_settings.h"
#include "shell/single_instance.h"
#include "shell/skin.h"

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

CQuilloryApp* CQuilloryApp::Instance() {
    return qobject_cast<CQuilloryApp*>(QCoreApplication::instance());
}

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
    skin_ = LoadSkinFile(programFolder_, colorScheme_);

    if (!OpenDataFile(dataFile)) {
        ShowMessageBox(nullptr, openFailure_, QMessageBox::Critical);
        exitCode_ = 1;
        return false;
    }

    singleInstance_ = std::make_unique<CSingleInstance>(applicationTitle_);
    if (!singleInstance_->Claim()) {
        exitCode_ = 0;
        return false;
    }

    settings_ = std::make_unique<CQtSettings>(applicationTitle_);

    mainMenu_ = std::make_unique<CMainMenuDlg>(*this);
    connect(mainMenu_.get(), &CMainMenuDlg::exitRequested, this, &QCoreApplication::quit,
            Qt::QueuedConnection);
    connect(singleInstance_.get(), &CSingleInstance::raiseRequested, mainMenu_.get(),
            &CMainMenuDlg::BringToFront);
    mainMenu_->Initialize();
    return true;
}

void CQuilloryApp::ExitInstance() {
    if (store_) {
        store_->Close();
        store_.reset();
    }
    skin_.clear();
    helpWnd_.reset();
    mainMenu_.reset();
    singleInstance_.reset();
}

QString CQuilloryApp::ChooseDataFile() const {
    CDataFileDialog dialog(programFolder_);
    ApplySkin(&dialog);
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
        openFailure_ = QString::fromStdString(quillory::OpenFailureMessage({}));
        return false;
    }
    std::string error;
    quillory::OpenedDataFile opened = quillory::OpenDataFile(
        QFile::encodeName(name).toStdString(), QFile::encodeName(programFolder_).toStdString(),
        chosen ? quillory::CreateIfMissing::Yes : quillory::CreateIfMissing::No, &error);
    if (!opened.store) {
        openFailure_ = QString::fromStdString(quillory::OpenFailureMessage(error));
        return false;
    }
    store_ = std::move(opened.store);
    dataFolder_ = QFile::decodeName(QByteArray::fromStdString(opened.dataFolder));
    applicationTitle_ = QString::fromUtf8(opened.applicationTitle);
    setApplicationName(applicationTitle_);
    settings_.reset();
    ImportPreviousVersion(opened.dataFolder);
    return true;
}

void CQuilloryApp::ImportPreviousVersion(const std::string& dataFolder) {
    CWindowHost host(MainMenu());
    quillory::ImportAtStart(*store_, dataFolder, host, Settings(),
                            [] { return OpenBuildProgress(quillory::kImportTitle); });
}

quillory::Settings& CQuilloryApp::Settings() {
    if (!settings_) {
        settings_ = std::make_unique<CQtSettings>(applicationName());
    }
    return *settings_;
}

CHelpWnd& CQuilloryApp::HelpWindow() {
    if (!helpWnd_) {
        helpWnd_ = std::make_unique<CHelpWnd>(*this);
    }
    return *helpWnd_;
}

void CQuilloryApp::ApplySkin(QWidget* window) const {
    ApplySkinSheet(window, skin_);
}

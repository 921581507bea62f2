// The application object: the state every module shares (folders, titles,
// the open data file, the related-information toggle, settings, the skin)
// and the start-up and shut-down of the program.
#pragma once

#include <QApplication>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>

#include "core/common/legacy_random.h"
#include "core/store/data_store.h"
#include "shell/color_scheme.h"

class QWidget;
class CHelpWnd;
class CMainMenuDlg;
class CSingleInstance;

namespace quillory {
class Settings;
}

class CQuilloryApp : public QApplication {
    Q_OBJECT
public:
    CQuilloryApp(int& argc, char** argv);
    ~CQuilloryApp() override;

    // Start-up in the documented order, on the data file named on the
    // command line (a file dialog asks when none is; "--demo" names the
    // learner's copy of the demo bank); false ends the process at once with
    // ExitCode().
    bool InitInstance();
    // The same on a given data file (empty: ask for one).
    bool InitInstance(const QString& dataFile);
    // Shut-down in the documented order.
    void ExitInstance();
    // 0 after a normal run or when another process already had the data
    // file; non-zero when the data file could not be opened.
    int ExitCode() const { return exitCode_; }

    // The first argument after the program's name that is not a switch, so
    // the web engine's switches ("--no-sandbox", ...) pass; empty when none.
    static QString DataFileArgument(const QStringList& arguments);

    // Opens the data file; on success the store, data folder and titles are
    // set, and the previous-version import has run. An empty name asks for
    // one with a file dialog, where a name that does not exist yet makes a
    // new data file from the template; a given name must exist.
    bool OpenDataFile(const QString& fileName);

    static CQuilloryApp* Instance();

    QString ProgramFolder() const { return programFolder_; }
    QString DataFolder() const { return dataFolder_; }
    QString ApplicationTitle() const { return applicationTitle_; }
    quillory::DataStore& Store() { return *store_; }
    bool HasStore() const { return store_ != nullptr; }
    // Kept per application title; usable before a data file is open (under
    // the program's name then).
    quillory::Settings& Settings();

    // Command 148, one state for the whole process, on at start.
    bool RelatedInfo() const { return relatedInfo_; }
    void SetRelatedInfo(bool on) { relatedInfo_ = on; }

    // The process's pseudo-random generator; each paper generation seeds it.
    quillory::LegacyRandom& Random() { return random_; }

    // Applies the skin (a style sheet) to a top-level window; nothing when
    // there is no skin.
    void ApplySkin(QWidget* window) const;
    const QString& Skin() const { return skin_; }

    CMainMenuDlg* MainMenu() const { return mainMenu_.get(); }
    // The one help window, made (hidden) on first use.
    CHelpWnd& HelpWindow();

private:
    QString ChooseDataFile() const;
    // Carries an earlier installation's history and papers over, once; a
    // failure has been told to the learner and does not stop the start.
    void ImportPreviousVersion(const std::string& dataFolder);

    QString programFolder_;
    QString dataFolder_;
    QString applicationTitle_;
    QString openFailure_;  // what start-up shows when the data file did not open
    std::unique_ptr<quillory::DataStore> store_;
    std::unique_ptr<quillory::Settings> settings_;
    QString skin_;
    ColorScheme colorScheme_ = ColorScheme::Light;
    bool relatedInfo_ = true;
    quillory::LegacyRandom random_;
    std::unique_ptr<CSingleInstance> singleInstance_;
    std::unique_ptr<CMainMenuDlg> mainMenu_;
    std::unique_ptr<CHelpWnd> helpWnd_;
    int exitCode_ = 0;
};

// The application object: the start-up and shut-down of the program, the
// skin, the bank session of the open data file, the main menu and the help
// window.
#pragma once

#include <QApplication>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>

#include "widgets/bank_session.h"
#include "widgets/color_scheme.h"

class CHelpWnd;
class QWidget;
class CMainMenuDlg;
class CSingleInstance;

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

    // Opens the data file; on success it is the bank session, and the
    // previous-version import has run. An empty name asks for
    // one with a file dialog, where a name that does not exist yet makes a
    // new data file from the template; a given name must exist.
    bool OpenDataFile(const QString& fileName);

    QString ProgramFolder() const { return programFolder_; }
    // The open data file; null before one is open and after shut-down.
    CBankSession* Session() const { return session_.get(); }

    // The style sheet set on the whole application at start; empty when
    // there is none.
    const QString& Skin() const { return skin_; }

    CMainMenuDlg* MainMenu() const { return mainMenu_.get(); }
    // Brings the one help window to the front, making it on first use; a
    // missing help folder is reported over asker.
    void OpenHelp(QWidget* asker);

private:
    QString ChooseDataFile() const;
    // Carries an earlier installation's history and papers over, once; a
    // failure has been told to the learner and does not stop the start.
    void ImportPreviousVersion(const std::string& dataFolder);

    QString programFolder_;
    QString openFailure_;  // what start-up shows when the data file did not open
    std::unique_ptr<CBankSession> session_;
    QString skin_;
    ColorScheme colorScheme_ = ColorScheme::Light;
    std::unique_ptr<CSingleInstance> singleInstance_;
    std::unique_ptr<CMainMenuDlg> mainMenu_;
    std::unique_ptr<CHelpWnd> helpWnd_;
    int exitCode_ = 0;
};

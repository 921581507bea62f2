// The application object: the state every module shares (folders, titles,
// the open data file, the related-information toggle, settings, the skin)
// and the start-up and shut-down of the program.
#pragma once

#include <QApplication>
#include <QString>
#include <memory>

#include "store/data_store.h"

class QWidget;
class CMainMenuDlg;

namespace quillory {
class Settings;
}

class CQuilloryApp : public QApplication {
    Q_OBJECT
public:
    CQuilloryApp(int& argc, char** argv);
    ~CQuilloryApp() override;

    // Start-up in the documented order; false ends the process at once.
    bool InitInstance();
    // Shut-down in the documented order.
    void ExitInstance();

    // Opens (making it from the template when it does not exist) the data
    // file; on success the store, data folder and titles are set.
    bool OpenDataFile(const QString& fileName);

    static CQuilloryApp* Instance();

    QString ProgramFolder() const { return programFolder_; }
    QString DataFolder() const { return dataFolder_; }
    QString ApplicationTitle() const { return applicationTitle_; }
    quillory::DataStore& Store() { return *store_; }
    bool HasStore() const { return store_ != nullptr; }
    quillory::Settings& Settings();

    // Command 148, one state for the whole process, on at start.
    bool RelatedInfo() const { return relatedInfo_; }
    void SetRelatedInfo(bool on) { relatedInfo_ = on; }

    // Applies the skin (a style sheet) to a top-level window; nothing when
    // there is no skin.
    void ApplySkin(QWidget* window) const;

    CMainMenuDlg* MainMenu() const { return mainMenu_.get(); }

private:
    QString programFolder_;
    QString dataFolder_;
    QString applicationTitle_;
    std::unique_ptr<quillory::DataStore> store_;
    std::unique_ptr<quillory::Settings> settings_;
    QString skin_;
    bool relatedInfo_ = true;
    std::unique_ptr<CMainMenuDlg> mainMenu_;
};

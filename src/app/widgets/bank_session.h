// What the windows share while a data file is open: the store, its folder
// and title, the settings kept under that title, the random generator that
// paper generation seeds, and the related-information toggle. Made once the
// file is open and handed to the windows that need it, so a window can be
// built (and tested) over a bank alone.
#pragma once

#include <QString>
#include <memory>

#include "core/common/legacy_random.h"
#include "core/host/host.h"
#include "core/store/data_file.h"
#include "core/store/data_store.h"

class CBankSession {
public:
    // opened holds an open store.
    CBankSession(quillory::OpenedDataFile opened, std::unique_ptr<quillory::Settings> settings);
    ~CBankSession();
    CBankSession(const CBankSession&) = delete;
    CBankSession& operator=(const CBankSession&) = delete;

    quillory::DataStore& Store() { return *store_; }
    const QString& DataFolder() const { return dataFolder_; }
    const QString& ApplicationTitle() const { return applicationTitle_; }
    quillory::Settings& Settings() { return *settings_; }

    // kCmdRelatedInfo, one state for all frames, on at start.
    bool RelatedInfo() const { return relatedInfo_; }
    void SetRelatedInfo(bool on) { relatedInfo_ = on; }

    // Each paper generation seeds it.
    quillory::LegacyRandom& Random() { return random_; }

private:
    std::unique_ptr<quillory::DataStore> store_;
    QString dataFolder_;
    QString applicationTitle_;
    std::unique_ptr<quillory::Settings> settings_;
    bool relatedInfo_ = true;
    quillory::LegacyRandom random_;
};

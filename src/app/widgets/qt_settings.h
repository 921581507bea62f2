// The program's integer settings, kept per application title (so per data
// file title) in the user's configuration folder.
#pragma once

#include <QSettings>
#include <QString>

#include "core/host/host.h"

inline constexpr char kSettingsVendor[] = "Quillory";

class CQtSettings : public quillory::Settings {
public:
    explicit CQtSettings(const QString& applicationTitle);

    int ReadInt(const std::string& section, const std::string& name, int fallback) override;
    void WriteInt(const std::string& section, const std::string& name, int value) override;

private:
    QSettings settings_;
};

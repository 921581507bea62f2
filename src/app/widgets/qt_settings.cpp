#include "widgets/qt_settings.h"

CQtSettings::CQtSettings(const QString& applicationTitle)
    : settings_(QString::fromLatin1(kSettingsVendor), applicationTitle) {}

namespace {

QString Key(const std::string& section, const std::string& name) {
    return QString::fromStdString(section) + "/" + QString::fromStdString(name);
}

}  // namespace

int CQtSettings::ReadInt(const std::string& section, const std::string& name, int fallback) {
    bool ok = false;
    const int value = settings_.value(Key(section, name)).toInt(&ok);
    return ok ? value : fallback;
}

void CQtSettings::WriteInt(const std::string& section, const std::string& name, int value) {
    settings_.setValue(Key(section, name), value);
    settings_.sync();
}

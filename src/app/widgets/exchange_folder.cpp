#include "widgets/exchange_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include "widgets/qt_settings.h"

namespace {

// Program-wide, not per data file: a teacher's files lie where they lie.
QSettings FolderSettings() {
    return QSettings(QString::fromLatin1(kSettingsVendor), QStringLiteral("Exchange"));
}

constexpr char kFolderKey[] = "Folder";

}  // namespace

QString ExchangeFolder() {
    const QString remembered = FolderSettings().value(QString::fromLatin1(kFolderKey)).toString();
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir()) {
        return remembered;
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void RememberExchangeFolder(const QString& filePath) {
    QSettings settings = FolderSettings();
    settings.setValue(QString::fromLatin1(kFolderKey), QFileInfo(filePath).absolutePath());
    settings.sync();
}

#include "widgets/skin.h"

#include <QApplication>
#include <QFile>

QString LoadSkinFile(const QString& programFolder, ColorScheme scheme) {
    const char* name = scheme == ColorScheme::Dark ? kDarkSkinFileName : kSkinFileName;
    QFile file(programFolder + "/" + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QString text = QString::fromUtf8(file.readAll());
    return text.trimmed().isEmpty() ? QString() : text;
}

void ApplySkinSheet(QApplication& application, const QString& skin) {
    if (!skin.isEmpty()) {
        application.setStyleSheet(skin);
    }
}

#include "shell/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString FindProgramFolder() {
    const QString exeFolder = QCoreApplication::applicationDirPath();
    if (QFileInfo(exeFolder + QStringLiteral("/Template")).isDir()) {
        return exeFolder;
    }
    return QDir::cleanPath(exeFolder + QStringLiteral("/../share/quillory"));
}

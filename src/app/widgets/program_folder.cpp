#include "widgets/program_folder.h"

#include <QCoreApplication>

#include "core/common/program_folder.h"

QString FindProgramFolder() {
    return QString::fromStdString(
        quillory::ProgramFolderOf(QCoreApplication::applicationDirPath().toStdString()));
}

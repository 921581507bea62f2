#include "shell/data_file_dialog.h"

#include <QDir>
#include <QFileInfo>

#include "widgets/file_dialog_columns.h"
#include "widgets/message_box.h"

CDataFileDialog::CDataFileDialog(const QString& folder)
    : QFileDialog(nullptr, QStringLiteral("打开或新建穹岚文件"), folder) {
    setObjectName(QStringLiteral("DataFileDialog"));
    setOption(QFileDialog::DontUseNativeDialog);
    UseChineseFileColumns(*this);
    setAcceptMode(QFileDialog::AcceptOpen);
    // A name that does not exist yet makes a new data file.
    setFileMode(QFileDialog::AnyFile);
    setNameFilters({QStringLiteral("穹岚文件(*.qly)"), QStringLiteral("所有文件(*)")});
    setDefaultSuffix(QStringLiteral("qly"));
    UseChineseFileLabels(*this);
}

void CDataFileDialog::accept() {
    // Qt's dialog would take the name and leave the failure to the copy of
    // the template, after the dialog is gone.
    const QStringList files = selectedFiles();
    if (files.size() == 1) {
        const QFileInfo file(files.first());
        const QString folder = QDir::toNativeSeparators(file.absolutePath());
        if (!file.exists() && !QFileInfo(file.absolutePath()).isDir()) {
            ShowMessageBox(this,
                           folder + QStringLiteral("\n目录未找到。\n请检查指定的目录名是否正确。"),
                           QMessageBox::Warning, QMessageBox::Ok, windowTitle());
            return;
        }
    }
    QFileDialog::accept();
}

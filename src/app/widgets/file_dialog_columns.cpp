#include "widgets/file_dialog_columns.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QLocale>

namespace {

constexpr int kTypeColumn = 2;
constexpr int kDateColumn = 3;

}  // namespace

QVariant CFileDialogColumns::data(const QModelIndex& index, int role) const {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || files == nullptr) {
        return QIdentityProxyModel::data(index, role);
    }
    const QModelIndex source = mapToSource(index);
    if (index.column() == kDateColumn) {
        return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
    }
    if (index.column() == kTypeColumn && files->isDir(source)) {
        return QStringLiteral("文件夹");
    }
    return QIdentityProxyModel::data(index, role);
}

void UseChineseFileColumns(QFileDialog& dialog) {
    dialog.setProxyModel(new CFileDialogColumns(&dialog));
}

void UseChineseFileLabels(QFileDialog& dialog) {
    const bool save = dialog.acceptMode() == QFileDialog::AcceptSave;
    dialog.setLabelText(QFileDialog::Accept,
                        save ? QStringLiteral("保存") : QStringLiteral("打开"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("取消"));
    dialog.setLabelText(QFileDialog::LookIn,
                        save ? QStringLiteral("保存在:") : QStringLiteral("查找范围:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("文件名:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("文件类型:"));
}

// The columns and labels of the program's file dialogs in Chinese: Qt's
// file model writes dates in the system locale (often C on Linux desktops
// started without a Chinese locale) and its Chinese catalogue lacks the
// folder type.
#pragma once

#include <QIdentityProxyModel>

class QFileDialog;

class CFileDialogColumns : public QIdentityProxyModel {
    Q_OBJECT
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override;
};

// Gives a (non-native) file dialog those columns.
void UseChineseFileColumns(QFileDialog& dialog);
// Labels its buttons and fields in Chinese for its accept mode (to open or to
// save), which is set before.
void UseChineseFileLabels(QFileDialog& dialog);

// The about box shared by the main menu and every module frame.
#pragma once

#include <QDialog>

class QLabel;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent);

    static QString VendorAddress();

private:
    QLabel* vendor_ = nullptr;
};

// Runs the about box modally.
void ShowAboutDialog(QWidget* parent);

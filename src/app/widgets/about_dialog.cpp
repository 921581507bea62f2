#include "widgets/about_dialog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("关于穹岚"));
    setObjectName(QStringLiteral("AboutDialog"));

    auto* icon = new QLabel(this);
    icon->setPixmap(QApplication::windowIcon().pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* version = new QLabel(QStringLiteral("穹岚-V3.01版"), this);
    version->setObjectName(QStringLiteral("AboutVersion"));

    // The address is a link the user can click; it opens in the browser.
    vendor_ = new QLabel(this);
    vendor_->setObjectName(QStringLiteral("AboutVendor"));
    vendor_->setText(QStringLiteral("穹岚学习软件工作室　版权所有<br>"
                                    "<a href=\"%1\">%1</a>")
                         .arg(VendorAddress()));
    vendor_->setTextFormat(Qt::RichText);
    vendor_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(vendor_, &QLabel::linkActivated, this,
            [](const QString& link) { QDesktopServices::openUrl(QUrl(link)); });

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(18, 18, 18, 12);
    layout->setHorizontalSpacing(16);
    layout->setVerticalSpacing(10);
    layout->addWidget(icon, 0, 0, 2, 1);
    layout->addWidget(version, 0, 1);
    layout->addWidget(vendor_, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString CAboutDlg::VendorAddress() {
    return QStringLiteral("https://quillory.example.org/");
}

void ShowAboutDialog(QWidget* parent) {
    CAboutDlg dialog(parent);
    dialog.exec();
}

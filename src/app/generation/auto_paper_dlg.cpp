#include "generation/auto_paper_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <optional>

#include "generation/paper_dialog_controls.h"
#include "generation/period_controls.h"
#include "widgets/control_name.h"
#include "widgets/message_box.h"

CAutoPaperDlg::CAutoPaperDlg(quillory::Settings& settings,
                             const std::vector<quillory::TemplateChoice>& templates,
                             QWidget* parent)
    : QDialog(parent), settings_(settings), templates_(templates) {
    setWindowTitle(QStringLiteral("自动生成试卷"));
    setObjectName(QStringLiteral("AutoPaperDialog"));

    titleEdit_ = new QLineEdit(this);
    titleEdit_->setObjectName(ControlName(kCtlPaperTitle));
    PeriodControls period = MakePeriodControls(this);
    adjustBox_ = period.adjustBox;
    periods_ = period.periods;
    templateList_ = new QListWidget(this);
    templateList_->setObjectName(ControlName(kCtlTemplateList));
    for (const quillory::TemplateChoice& choice : templates_) {
        auto* item = new QListWidgetItem(QString::fromStdString(choice.title), templateList_);
        item->setData(Qt::UserRole, choice.id);
    }
    if (templateList_->count() > 0) {
        templateList_->setCurrentRow(0);
    }
    auto* hint = new QLabel(
        QStringLiteral("提示：为提高针对性训练效果，请在完成已有试卷后再组织下一套试卷。"), this);
    hint->setWordWrap(true);
    QDialogButtonBox* buttons = MakeOkCancelButtons(this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("标题："), this), 0, 0);
    layout->addWidget(titleEdit_, 0, 1);
    layout->addLayout(period.layout, 1, 0, 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("采用模版："), this), 2, 0, 1, 2);
    layout->addWidget(templateList_, 3, 0, 1, 2);
    layout->addWidget(hint, 4, 0, 1, 2);
    layout->addWidget(buttons, 5, 0, 1, 2);

    // The last choices, shared with the targeted-paper dialog.
    SetPeriodControls(period, settings_);
    titleEdit_->setFocus();
}

void CAutoPaperDlg::accept() {
    const std::string title = quillory::PaperTitleFromEntry(titleEdit_->text().toStdString());
    if (title.empty()) {
        ShowMessageBox(this, QStringLiteral("请输入试卷标题！"), QMessageBox::Warning);
        titleEdit_->setFocus();
        return;
    }
    title_ = title;
    adjust_ = adjustBox_->isChecked();
    period_ = periods_->checkedId();
    const QVariant chosen = templateList_->currentIndex().data(Qt::UserRole);
    templateId_ = quillory::ChosenTemplateId(
        templates_, chosen.isValid() ? std::optional<int>(chosen.toInt()) : std::nullopt);
    WritePeriodSettings(adjust_, period_, settings_);
    QDialog::accept();
}

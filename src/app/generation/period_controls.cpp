#include "generation/period_controls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>

#include "core/host/host.h"
#include "core/host/setting_names.h"
#include "generation/paper_dialog_controls.h"
#include "widgets/control_name.h"

namespace {

struct PeriodRadio {
    int control;
    const char* text;
};

constexpr PeriodRadio kPeriodRadios[] = {
    {kCtlPeriod7Days, "7天"}, {kCtlPeriod30Days, "30天"}, {kCtlPeriodAll, "全部"}};

void EnablePeriods(const PeriodControls& controls) {
    for (QAbstractButton* radio : controls.periods->buttons()) {
        radio->setEnabled(controls.adjustBox->isChecked());
    }
}

}  // namespace

PeriodControls MakePeriodControls(QDialog* dialog) {
    PeriodControls controls;
    controls.adjustBox = new QCheckBox(QStringLiteral("根据历史纪录调整试题"), dialog);
    controls.adjustBox->setObjectName(ControlName(kCtlAdjustByHistory));
    controls.periods = new QButtonGroup(dialog);
    controls.layout = new QHBoxLayout;
    controls.layout->addWidget(controls.adjustBox);
    int index = 0;
    for (const PeriodRadio& entry : kPeriodRadios) {
        auto* radio = new QRadioButton(QString::fromUtf8(entry.text), dialog);
        radio->setObjectName(ControlName(entry.control));
        controls.periods->addButton(radio, index++);
        controls.layout->addWidget(radio);
    }
    controls.layout->addStretch();
    QObject::connect(controls.adjustBox, &QCheckBox::toggled, dialog,
                     [controls] { EnablePeriods(controls); });
    EnablePeriods(controls);
    return controls;
}

void SetPeriodControls(const PeriodControls& controls, quillory::Settings& settings) {
    namespace setting = quillory::setting;
    controls.adjustBox->setChecked(settings.ReadInt(setting::kSection, setting::kAutoAdjust, 0) !=
                                   0);
    if (QAbstractButton* radio =
            controls.periods->button(settings.ReadInt(setting::kSection, setting::kPeriod, 0))) {
        radio->setChecked(true);
    }
    EnablePeriods(controls);
}

void WritePeriodSettings(bool adjust, int period, quillory::Settings& settings) {
    namespace setting = quillory::setting;
    settings.WriteInt(setting::kSection, setting::kAutoAdjust, adjust ? 1 : 0);
    settings.WriteInt(setting::kSection, setting::kPeriod, period);
}

QDialogButtonBox* MakeOkCancelButtons(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(dialog);
    QPushButton* ok = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    ok->setObjectName(ControlName(kCtlOk));
    cancel->setObjectName(ControlName(kCtlCancel));
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

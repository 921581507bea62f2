// What the two paper dialogs share: the check box that adjusts the choice
// of questions by the learner's history with its three period radios (7
// days, 30 days, all), remembered in the settings, and the OK and Cancel
// buttons.
#pragma once

class QBoxLayout;
class QButtonGroup;
class QCheckBox;
class QDialog;
class QDialogButtonBox;

namespace quillory {
class Settings;
}

struct PeriodControls {
    QCheckBox* adjustBox = nullptr;
    QButtonGroup* periods = nullptr;  // button IDs 0, 1, 2 = the period index
    QBoxLayout* layout = nullptr;
};

// The radios are enabled only while the check box is checked.
PeriodControls MakePeriodControls(QDialog* dialog);
// Sets the controls from "AutoAdjust" and "Period" (0 when not set); a
// period outside 0..2 checks no radio.
void SetPeriodControls(const PeriodControls& controls, quillory::Settings& settings);
// The adjust flag and the checked period (-1 when none is) to the settings.
void WritePeriodSettings(bool adjust, int period, quillory::Settings& settings);

// "确定" (the default) accepts, "取消" rejects.
QDialogButtonBox* MakeOkCancelButtons(QDialog* dialog);

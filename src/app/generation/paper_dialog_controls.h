// The control IDs of the two paper dialogs, the auto-paper and the targeted
// one; the windows are named by ControlName.
#pragma once

enum PaperDialogControl : int {
    kCtlOk = 1,
    kCtlCancel = 2,
    kCtlPaperTitle = 1022,
    kCtlAdjustByHistory = 1036,
    kCtlPeriod7Days = 1037,
    kCtlPeriod30Days = 1038,
    kCtlPeriodAll = 1040,
    kCtlTemplateList = 1041,
    kCtlQuestionType = 1066,
    kCtlCountArrows = 1067,
    kCtlCount = 1068,
    kCtlTypeCount = 1069,
    kCtlScore = 1070,
    kCtlScoreArrows = 1071,
};

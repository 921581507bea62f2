// The control IDs of the answer panel's own windows; the windows are named
// by ControlName. The answer form's windows are numbered from 60000 (see
// CAnswerControls::ControlId).
#pragma once

enum PanelControl : int {
    kCtlNodeTitle = 1022,
    kCtlScoreLine = 1023,
    kCtlScoreEntry = 1024,
    kCtlAnswerArea = 1025,
    kCtlToggleAnswer = 1026,
    kCtlPrevious = 1027,
    kCtlNext = 1028,
    kCtlScoringIcon = 1029,
    kCtlCorrectIcon = 1030,
    kCtlPartlyCorrectIcon = 1031,
    kCtlWrongIcon = 1032,
    kCtlAnsweringIcon = 1033,
    kCtlTimeLeft = 1034,
    kCtlSubmit = 1035,
    kCtlAnswerCaption = 1036,
};

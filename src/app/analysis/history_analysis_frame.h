// The history module: the learner's exam records by day, the history
// summary, the page of each record; records are deleted or reviewed here.
#pragma once

#include "frame/quillory_frame.h"

class CHistoryAnalysisFrame : public CQuilloryFrame {
    Q_OBJECT
public:
    CHistoryAnalysisFrame(CQuilloryApp& app, QWidget* owner);

protected:
    void UpdateCommandStates() override;
};

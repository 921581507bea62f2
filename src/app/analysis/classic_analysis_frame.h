// The classic analysis module: the summary over the reference papers and the
// analysis page of each reference paper.
#pragma once

#include "frame/quillory_frame.h"

class CClassicAnalysisFrame : public CQuilloryFrame {
    Q_OBJECT
public:
    CClassicAnalysisFrame(CQuilloryApp& app, QWidget* owner);
};

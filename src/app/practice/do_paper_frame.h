// The mock exam: one exam at a time on a paper node, or the review of a
// stored exam record.
#pragma once

#include "practice/paper_frame.h"

class CDoPaperFrame : public CPaperFrame {
    Q_OBJECT
public:
    CDoPaperFrame(CQuilloryApp& app, QWidget* owner);
};

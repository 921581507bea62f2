// The paper module: the tree of a paper set (the classic papers, filter 1,
// or the learner's practice papers, filter 2) beside the page of the
// selected paper, section or question item.
#pragma once

#include "frame/quillory_frame.h"

class CPaperFrame : public CQuilloryFrame {
    Q_OBJECT
public:
    CPaperFrame(CQuilloryApp& app, int resourceId, int filter, QWidget* owner);

    // Which papers the tree shows: 1 classic, 2 practice, 3 reference, any
    // other value all.
    int Filter() const { return filter_; }

protected:
    void UpdateCommandStates() override;

private:
    int filter_;
};

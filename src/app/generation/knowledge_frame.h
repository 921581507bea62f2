// The knowledge module: the tree of knowledge points beside the page of the
// selected point; targeted practice papers start here.
#pragma once

#include "core/common/paper_node_list.h"
#include "frame/quillory_frame.h"

class CKnowledgeFrame : public CQuilloryFrame {
    Q_OBJECT
public:
    CKnowledgeFrame(CBankSession& bank, QWidget* owner);

    // Fills the tree with every knowledge point, each under its parent,
    // and selects the first top-level point.
    void LoadTree() override;

protected:
    void OnTreeSelect(int itemId) override;
    void UpdateCommandStates() override;

private:
    // kCmdTargeted: asks for a practice paper for the current point and every
    // point below it.
    void TargetedPractice();

    // The points as the tree shows them, in tree order.
    quillory::PaperNodeList points_;
};

// The paper module: the tree of a paper set (the classic papers or the
// learner's practice papers) beside the page of the
// selected paper, section or question item.
#pragma once

#include <string>
#include <vector>

#include "core/common/paper_node_list.h"
#include "core/generation/paper_generation.h"
#include "core/practice/paper_tree.h"
#include "frame/quillory_frame.h"

class QTreeWidgetItem;

class CPaperFrame : public CQuilloryFrame {
    Q_OBJECT
public:
    CPaperFrame(CBankSession& bank, FrameResource resource, quillory::PaperFilter filter,
                QWidget* owner);

    // Which papers the tree shows: 1 classic, 2 practice, 3 reference, any
    // other value all.
    quillory::PaperFilter Filter() const { return filter_; }

    // Fills the tree and the node list with the papers of filter (rootId -1)
    // or with one node and everything below it, then selects the first
    // top-level node. 1 when loaded; 0, changing nothing, when the rows
    // cannot be read.
    int LoadPaperTree(int rootId, quillory::PaperFilter filter);
    void LoadTree() override;

    // Generates and stores a practice paper from a template (kCmdNewPaper)
    // or of count questions of one type for a knowledge set (the knowledge
    // module's targeted practice), with the progress window over the
    // program; then the practice tree shows it expanded and selected. A
    // paper that cannot be stored is reported and leaves nothing behind.
    void CreateTemplatePaper(quillory::TemplatePaperRequest request);
    // A paper of the mistake notebook's questions (of a point's subtree; 0:
    // of every point), titled as the learner confirms; false when none was
    // made (nothing to redo, cancelled, or the learner was told why).
    bool CreateRedoPaper(int knowledgeId);
    void CreateTargetedPaper(quillory::TargetedPaperRequest request);

protected:
    // Makes the node list and the tree hold nodes, each node with the images
    // of its kind (paper, section, question item).
    void ShowPaperNodes(quillory::PaperNodeList nodes);

    // A question item shows its question page labelled with the item's
    // title; a paper or a section shows its paper page.
    void OnTreeSelect(int itemId) override;
    void UpdateCommandStates() override;

private:
    void DeletePaper();
    // kCmdNewPaper: the auto-paper dialog, then the paper it asks for.
    void NewPaper();
    void ShowNewPaper(int paperId);
    // The classic papers' import: the files, the import dialog, then the
    // questions written under the progress window and the new paper shown.
    void ImportQuestions();
    // kCmdExportQuestions: the selected paper, section or item to a file.
    void ExportQuestions();

    quillory::PaperFilter filter_;
};

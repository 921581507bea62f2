// The common frame of every module: menu and toolbar on top, the tree on the
// left, the content view on the right. Frames are made hidden by the main
// menu and live until the program ends; closing one only hides it.
#pragma once

#include <QMainWindow>
#include <map>

#include "core/common/paper_node_list.h"
#include "core/generation/paper_generation.h"
#include "frame/module_table.h"

class CTreeViewExt;
class CQuilloryView;
class CBankSession;
class QAction;

class CQuilloryFrame : public QMainWindow {
    Q_OBJECT
public:
    // resource names the frame's menu and toolbar (see FindFrameLayout);
    // owner is the main menu, told when the frame hides itself.
    CQuilloryFrame(CBankSession& bank, FrameResource resource, QWidget* owner);
    ~CQuilloryFrame() override;

    FrameResource Resource() const { return resource_; }
    bool IsLoaded() const { return loaded_; }
    int CurrentItemId() const { return currentItemId_; }

    // Fills the tree from the data file (the main menu calls it when the
    // frame is shown with its loaded flag clear).
    virtual void LoadTree() {}
    virtual void ResetTree();
    virtual void ReturnToMenu();

    CTreeViewExt* TreeView() const { return tree_; }
    CQuilloryView* ContentView() const { return view_; }
    // Whether the page stays in the renderer. A frame hidden or covered by
    // another keeps none: a big page (the history summary) holds hundreds of
    // megabytes there, given back at once as its view's renderer process
    // ends with it. It loads again when the frame shows or is activated.
    void SetPageKept(bool kept);
    quillory::PaperNodeList& Nodes() { return nodes_; }

    // The frame's action of a command (its objectName is "cmd" + the
    // number), or nullptr when the frame's menus do not carry it.
    QAction* Command(int id) const;

signals:
    // The frame has hidden itself (WM_MODULE_CLOSED).
    void moduleClosed(CQuilloryFrame* frame);
    // A paper frame asks for an exam on a paper node (WM_START_EXAM).
    void startExamRequested(CQuilloryFrame* frame, int paperId);
    // The history frame asks to review an exam record (WM_REVIEW_EXAM).
    void reviewExamRequested(CQuilloryFrame* frame, int historyId);
    // The knowledge frame asks for a targeted practice paper, which the
    // practice papers frame makes and then shows.
    void targetedPaperRequested(const quillory::TargetedPaperRequest& request);
    // The history and knowledge frames ask for a paper of the mistake
    // notebook's questions (of a point's subtree; 0: of every point).
    void redoMistakesRequested(int knowledgeId);
    // Questions were imported: the trees of points and analysis are stale.
    void questionsImported(CQuilloryFrame* frame);
    // The frame's help command: the program's help window, over asker.
    void helpRequested(QWidget* asker);
    // The frame was minimised; it stays maximised and the owner minimises
    // the whole program (by hiding its frames).
    void minimizeRequested();

protected:
    // The tree reported a new selection (WM_TREE_SELECT): remember it and
    // show its page. The base only remembers it.
    virtual void OnTreeSelect(int itemId);
    void SetLoaded(bool loaded) { loaded_ = loaded; }

    // Sets the enabled and checked states of the commands from the frame's
    // state. Derived frames add their commands and call the base.
    virtual void UpdateCommandStates();
    // Enables a command the frame carries; nothing for one it does not.
    void EnableCommand(int id, bool enabled);

    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    QMenu* createPopupMenu() override;

    CBankSession& bank_;

private:
    void BuildMenusAndToolbar();
    QAction* MakeCommand(int id, const char* ownText);
    void FlipRelatedInfo();

    FrameResource resource_;
    bool loaded_ = false;
    int currentItemId_ = -1;
    CTreeViewExt* tree_ = nullptr;
    CQuilloryView* view_ = nullptr;
    quillory::PaperNodeList nodes_;
    std::map<int, QAction*> commands_;
};

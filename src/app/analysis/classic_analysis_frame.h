// The classic analysis module: the summary over the reference papers and the
// analysis page of each reference paper.
#pragma once

#include <string>
#include <unordered_map>

#include "frame/quillory_frame.h"

class CClassicAnalysisFrame : public CQuilloryFrame {
    Q_OBJECT
public:
    CClassicAnalysisFrame(CBankSession& bank, QWidget* owner);

    // The summary item and the reference papers, the summary selected.
    void LoadTree() override;
    // The summary command: the summary over the reference papers built, its weights
    // stored, and shown (no menu or button carries it).
    void BuildClassicAnalysis();

protected:
    void OnTreeSelect(int itemId) override;

private:
    std::unordered_map<int, std::string> links_;  // item ID -> what it shows
    // A build's progress window disables the frames while it runs, and the
    // tree then reports its selection again: that must not start the build
    // once more.
    bool building_ = false;
};

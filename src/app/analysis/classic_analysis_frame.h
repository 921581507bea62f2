// The classic analysis module: the summary over the reference papers and the
// analysis page of each reference paper.
#pragma once

#include <string>
#include <unordered_map>

#include "frame/quillory_frame.h"

class CClassicAnalysisFrame : public CQuilloryFrame {
    Q_OBJECT
public:
    CClassicAnalysisFrame(CQuilloryApp& app, QWidget* owner);

    // The summary item and the reference papers, the summary selected.
    void LoadTree() override;

protected:
    void OnTreeSelect(int itemId) override;

private:
    std::unordered_map<int, std::string> links_;  // item ID -> what it shows
};

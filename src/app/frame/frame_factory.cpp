#include "frame/frame_factory.h"

#include "analysis/classic_analysis_frame.h"
#include "analysis/history_analysis_frame.h"
#include "generation/knowledge_frame.h"
#include "practice/do_paper_frame.h"
#include "practice/paper_frame.h"

namespace {

CQuilloryFrame* CreateFrame(const ModuleEntry& entry, CQuilloryApp& app, QWidget* owner) {
    switch (entry.module) {
        case Module::ClassicPapers:
            return new CPaperFrame(app, entry.resource, quillory::PaperFilter::Classic, owner);
        case Module::PracticePapers:
            return new CPaperFrame(app, entry.resource, quillory::PaperFilter::Practice, owner);
        case Module::Exam:
            return new CDoPaperFrame(app, owner);
        case Module::Knowledge:
            return new CKnowledgeFrame(app, owner);
        case Module::ClassicAnalysis:
            return new CClassicAnalysisFrame(app, owner);
        case Module::History:
            return new CHistoryAnalysisFrame(app, owner);
    }
    return nullptr;
}

}  // namespace

std::vector<CQuilloryFrame*> CreateModuleFrames(CQuilloryApp& app, QWidget* owner) {
    std::vector<CQuilloryFrame*> frames;
    for (const ModuleEntry& entry : kModules) {
        frames.push_back(CreateFrame(entry, app, owner));
    }
    return frames;
}

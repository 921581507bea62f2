#include "shell/frame_factory.h"

#include "analysis/classic_analysis_frame.h"
#include "analysis/history_analysis_frame.h"
#include "generation/knowledge_frame.h"
#include "practice/do_paper_frame.h"
#include "practice/paper_frame.h"

namespace {

CQuilloryFrame* CreateFrame(const ModuleEntry& entry, CBankSession& bank, QWidget* owner) {
    switch (entry.module) {
        case Module::ClassicPapers:
            return new CPaperFrame(bank, entry.resource, quillory::PaperFilter::Classic, owner);
        case Module::PracticePapers:
            return new CPaperFrame(bank, entry.resource, quillory::PaperFilter::Practice, owner);
        case Module::Exam:
            return new CDoPaperFrame(bank, owner);
        case Module::Knowledge:
            return new CKnowledgeFrame(bank, owner);
        case Module::ClassicAnalysis:
            return new CClassicAnalysisFrame(bank, owner);
        case Module::History:
            return new CHistoryAnalysisFrame(bank, owner);
    }
    return nullptr;
}

}  // namespace

std::vector<CQuilloryFrame*> CreateModuleFrames(CBankSession& bank, QWidget* owner) {
    std::vector<CQuilloryFrame*> frames;
    for (const ModuleEntry& entry : kModules) {
        frames.push_back(CreateFrame(entry, bank, owner));
    }
    return frames;
}

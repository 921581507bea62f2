#include "frame/frame_factory.h"

#include "analysis/classic_analysis_frame.h"
#include "analysis/history_analysis_frame.h"
#include "generation/knowledge_frame.h"
#include "practice/do_paper_frame.h"
#include "practice/paper_frame.h"

namespace {

constexpr int kClassicPapersResource = 4;
constexpr int kPracticePapersResource = 156;
constexpr int kClassicPapersFilter = 1;
constexpr int kPracticePapersFilter = 2;

}  // namespace

std::vector<CQuilloryFrame*> CreateModuleFrames(CQuilloryApp& app, QWidget* owner) {
    return {
        new CPaperFrame(app, kClassicPapersResource, kClassicPapersFilter, owner),
        new CPaperFrame(app, kPracticePapersResource, kPracticePapersFilter, owner),
        new CDoPaperFrame(app, owner),
        new CKnowledgeFrame(app, owner),
        new CClassicAnalysisFrame(app, owner),
        new CHistoryAnalysisFrame(app, owner),
    };
}

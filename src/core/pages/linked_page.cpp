#include "core/pages/linked_page.h"

#include "core/analysis/classic_analysis.h"
#include "core/analysis/history_record_page.h"
#include "core/analysis/history_summary.h"
#include "core/analysis/mistake_notebook_page.h"
#include "core/analysis/reference_paper_page.h"
#include "core/pages/knowledge_page.h"
#include "core/pages/paper_page.h"
#include "core/pages/question_page.h"

namespace quillory {

Status ShowLinkedPage(PageContext& context, const InternalLink& link, const PageOptions& options) {
    switch (link.kind) {
        case LinkKind::Paper:
            ShowPaperPage(context, link.id);
            break;
        case LinkKind::Question:
        case LinkKind::Answer:
            ShowQuestionPage(context, link.id, link.label, link.kind == LinkKind::Answer,
                             options.showRelated);
            break;
        case LinkKind::Knowledge:
            ShowKnowledgePage(context, link.id);
            break;
        case LinkKind::HistoryAnalysis:
            // Record 0 is the learner's summary.
            if (link.id == 0) {
                ShowHistorySummary(context, options.settings, options.now, options.openProgress);
            } else {
                return ShowHistoryRecord(context, link.id, link.second);
            }
            break;
        case LinkKind::Mistakes:
            ShowMistakeNotebook(context, {link.second, link.id, options.now});
            break;
        case LinkKind::ClassicAnalysis:
            // Paper 0 is the summary over all reference papers.
            if (link.id == 0) {
                BuildClassicAnalysis(context, ClassicPageVariant::View, options.openProgress);
            } else {
                ShowReferencePaperPage(context, link.id);
            }
            break;
    }
    return {};
}

}  // namespace quillory

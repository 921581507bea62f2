#include "core/pages/linked_page.h"

#include "core/analysis/history_record_page.h"
#include "core/pages/knowledge_page.h"
#include "core/pages/paper_page.h"
#include "core/pages/question_page.h"

namespace quillory {

bool ShowLinkedPage(PageContext& context, const InternalLink& link, const PageOptions& options) {
    switch (link.kind) {
        case LinkKind::Paper:
            ShowPaperPage(context, link.id);
            return true;
        case LinkKind::Question:
        case LinkKind::Answer:
            ShowQuestionPage(context, link.id, link.label, link.kind == LinkKind::Answer,
                             options.showRelated);
            return true;
        case LinkKind::Knowledge:
            ShowKnowledgePage(context, link.id);
            return true;
        case LinkKind::HistoryAnalysis:
            // Record 0 is the history summary, which has no builder yet.
            if (link.id == 0) {
                break;
            }
            ShowHistoryRecord(context, link.id, link.second);
            return true;
        case LinkKind::ClassicAnalysis:
            break;
    }
    return false;
}

}  // namespace quillory

// The page of one Paper row (a paper, a section or a question item): its
// source page with the first "[标题]" replaced by the row's title.
#pragma once

#include "core/pages/page_context.h"

namespace quillory {

void ShowPaperPage(PageContext& context, int paperId);

}  // namespace quillory

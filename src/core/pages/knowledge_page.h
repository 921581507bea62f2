// The page of one knowledge point, followed by links to the points that share
// one of its key words and to the questions that test it.
#pragma once

#include "core/pages/page_context.h"

namespace quillory {

void ShowKnowledgePage(PageContext& context, int knowledgeId);

}  // namespace quillory

// The question or answer side of one Question row, optionally followed by
// the related-information block: a link to the other side and links to the
// question's knowledge points.
#pragma once

#include <string>

#include "core/pages/page_context.h"

namespace quillory {

void ShowQuestionPage(PageContext& context, int questionId, const std::string& label,
                      bool answerSide, bool showRelated);

}  // namespace quillory

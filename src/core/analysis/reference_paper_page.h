// The page of one reference paper: its sections and question items as an
// indented table with type, points and knowledge points, linked to each.
#pragma once

#include <optional>
#include <string>

#include "core/pages/page_context.h"

namespace quillory {

// Builds and shows the page, named after the paper's title in the
// "Knowledge" folder ("QuilloryTemp.html" when no paper has that ID), and
// lists it for deletion. Returns its path; nothing when no page was shown.
std::optional<std::string> ShowReferencePaperPage(PageContext& context, int paperId);

}  // namespace quillory

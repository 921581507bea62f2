// The link dispatcher's one mapping from an internal link to the page
// operation that builds its page, shared by the content view and
// quillory-tool. A new kind of page is a builder file and one case here.
#pragma once

#include "core/common/internal_link.h"
#include "core/pages/page_context.h"

namespace quillory {

struct PageOptions {
    bool showRelated = true;  // the related-information toggle, on at start
};

// Builds and shows the page the link names; false when its kind has no page
// builder yet (the classic analysis and the history summary), so nothing is
// shown.
bool ShowLinkedPage(PageContext& context, const InternalLink& link, const PageOptions& options);

}  // namespace quillory

// The link dispatcher's one mapping from an internal link to the page
// operation that builds its page, shared by the content view and
// quillory-tool. A new kind of page is a builder file and one case here.
#pragma once

#include "core/common/internal_link.h"
#include "core/common/result.h"
#include "core/host/progress_opener.h"
#include "core/pages/page_context.h"
#include "core/store/date_time.h"

namespace quillory {

class Settings;

struct PageOptions {
    bool showRelated = true;  // the related-information toggle, on at start
    // The analysis pages: the summary's rates count back from now, it is
    // shown again while the settings say the history is unchanged (no
    // settings: always built), and long builds open their progress window.
    DateTime now;
    Settings* settings = nullptr;
    ProgressOpener openProgress;
};

// Builds and shows the page the link names. The pages tell the host what
// went wrong; a failure returned here (an exam record that cannot be read)
// is for the caller to tell.
Status ShowLinkedPage(PageContext& context, const InternalLink& link, const PageOptions& options);

}  // namespace quillory

// Stores the rows of a new paper in one transaction, with the section pages
// it copies: all of it or, on any failure, none of it.
#pragma once

#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/generation/paper_generation.h"

namespace quillory {

struct PageCopy {
    std::string source;  // full paths
    std::string target;
};

// The pages are copied beside their targets first and put in place once the
// rows are inserted, before the commit. A page that cannot be copied is left
// out, as a section without a page; a failed insert or commit removes the
// copies and the placed pages: NotSaved with the engine's reason.
Status SavePaper(DataStore& store, const std::vector<GeneratedRow>& rows,
                 const std::vector<PageCopy>& pages);

}  // namespace quillory

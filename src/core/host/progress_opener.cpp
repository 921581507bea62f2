#include "core/host/progress_opener.h"

#include "core/host/no_progress.h"

namespace quillory {

std::unique_ptr<Progress> OpenProgress(const ProgressOpener& opener, const std::string& caption) {
    std::unique_ptr<Progress> progress = opener ? opener(caption) : nullptr;
    return progress ? std::move(progress) : std::make_unique<NoProgress>();
}

}  // namespace quillory

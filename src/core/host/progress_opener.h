// Long builds open their progress window themselves, once they know they
// will run, with their own caption: a page shown again opens none.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/host/host.h"

namespace quillory {

// Gives the window of a long operation, already shown with that caption. An
// empty opener runs the operation without one.
using ProgressOpener = std::function<std::unique_ptr<Progress>(const std::string& caption)>;

// The opener's window, or one that shows nothing when there is no opener.
std::unique_ptr<Progress> OpenProgress(const ProgressOpener& opener, const std::string& caption);

}  // namespace quillory

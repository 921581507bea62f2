// The page of the mistake notebook: per knowledge point in tree order, its
// questions with their links, how often they were answered wrong and right,
// the day of the last wrong attempt and the learner's answer beside the key.
#pragma once

#include <optional>
#include <string>

#include "core/analysis/mistake_notebook.h"
#include "core/pages/page_context.h"

namespace quillory {

// "MistakeNotebook.html" in the data folder's "Knowledge" folder.
std::string MistakeNotebookPath(const std::string& dataFolder);

// Writes the page for the filter and shows it; its path, or nothing when it
// could not be read or written (the host was told).
std::optional<std::string> ShowMistakeNotebook(PageContext& context, const MistakeFilter& filter);

}  // namespace quillory

// The classic analysis: for every knowledge point, the reference questions
// that test it by question type, and its weight over the reference papers,
// stored in Knowledge.Weight for the question selection and the summary.
#pragma once

#include <optional>
#include <string>

#include "core/host/progress_opener.h"
#include "core/pages/page_context.h"

namespace quillory {

// The two pages differ only in the answer links (the view writes a blank
// before each) and in that the view lists its page for deletion.
enum class ClassicPageVariant { Command, View };

inline constexpr char kClassicProgressCaption[] = "更新经典统计数据 ";

// "ReferenceTotal.html" in the data folder's "Knowledge" folder.
std::string ReferenceTotalPath(const std::string& dataFolder);

// Builds the page and stores every weight, then shows the page. Every weight
// is computed and the page written before any weight is stored, and the
// weights are stored all together: a failure leaves the earlier page and
// every weight as they were, and the learner is told. Returns the page's
// path; nothing when it failed.
std::optional<std::string> BuildClassicAnalysis(PageContext& context, ClassicPageVariant variant,
                                                const ProgressOpener& openProgress);

}  // namespace quillory

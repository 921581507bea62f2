// The learner's summary: per knowledge point its weight, the score rates
// over all answers naming it, the last 30 and the last 7 days, and the
// questions answered wrongly; then a chart of the weekly score rates.
#pragma once

#include <optional>
#include <string>

#include "core/host/progress_opener.h"
#include "core/pages/page_context.h"
#include "core/store/date_time.h"

namespace quillory {

class Settings;

inline constexpr char kSummaryProgressCaption[] = "更新用户历史统计数据 ";

// "UserTotal.html" in the data folder's "Knowledge" folder.
std::string HistorySummaryPath(const std::string& dataFolder);

// The page built before may be shown again: the history has not changed
// since ("HistoryModified" is 0), the file is there, and it was built on
// now's day (its 7- and 30-day rates count back from the day). No settings:
// never.
bool MayReuseHistorySummary(Settings* settings, const std::string& path, const DateTime& now);

// Writes the summary to its path: a temporary file first, put in place only
// when complete, so a failure leaves no half-written page (what went wrong
// is told to the host). It needs neither settings nor the view: it may run
// on a thread of its own, over a store and a host of its own.
bool ComposeHistorySummary(PageContext& context, const DateTime& now, Progress& progress);

// After a build: the history counts as seen and now's day as the build day.
void RecordHistorySummaryBuilt(Settings& settings, const DateTime& now);

// Shows the summary, building it first unless it may be reused. A build
// writes a temporary file and puts it in place only when complete, so a
// failure shows no half-written page and keeps "HistoryModified"; after a
// build the page is listed for deletion, "HistoryModified" is 0 and the
// build day is stored (with settings). Returns the page's path; nothing when
// it failed.
std::optional<std::string> ShowHistorySummary(PageContext& context, Settings* settings,
                                              const DateTime& now,
                                              const ProgressOpener& openProgress);

}  // namespace quillory

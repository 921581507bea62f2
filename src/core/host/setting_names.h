// The integer settings the program keeps, all in one section.
#pragma once

namespace quillory::setting {

inline constexpr char kSection[] = "Settings";
// Set when exam records were added or deleted, so the history pages are
// built again.
inline constexpr char kHistoryModified[] = "HistoryModified";
// HistoryModified while the summary is built beside the program: still not
// seen; a change meanwhile sets it to 1, and the build then counts for
// nothing.
inline constexpr int kHistorySummaryBuilding = 2;
// The day the history summary was last built, as YYYYMMDD: its 7- and
// 30-day rates hold for that day only.
inline constexpr char kHistoryBuilt[] = "HistoryBuilt";
// The paper dialogs' adjustment by the learner's results, and its period.
inline constexpr char kAutoAdjust[] = "AutoAdjust";
inline constexpr char kPeriod[] = "Period";
// The earlier data file named for the import at start whose absence the
// learner was told of (a key of its path), so that he is told once.
inline constexpr char kMissingLastVerFile[] = "MissingLastVerFile";
// Where the progress window was last left.
inline constexpr char kProgressX[] = "X";
inline constexpr char kProgressY[] = "Y";

}  // namespace quillory::setting

// Puts a planned import into an open data file: the new question types and
// knowledge points, the questions (added, or updated in place with the same
// ID so that their history stays), their sources, and one classic paper per
// file, rebuilt in place when the file was imported before. All rows in one
// transaction; the pages are written under names no row uses yet, before
// the rows, and the pages they replace are removed only once the rows are
// stored, so a failure or a kill at any moment leaves the bank as it was
// (at worst with pages no row names).
#pragma once

#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/exchange/import_plan.h"

namespace quillory {

class DataStore;
class Progress;

// The IDs of the papers, in the plan's order (0 for a file whose questions
// are all updated in place by their 试题编号: it makes no paper). Fails with BadInput for a
// refused plan (nothing is written), FileAccess when a page cannot be
// written, Database when a row cannot be stored; then nothing changed.
Result<std::vector<int>> WriteImport(DataStore& store, const std::string& dataFolder,
                                     const ImportPlan& plan, Progress& progress);

}  // namespace quillory

// The figures of a reference paper's page: per section and question item
// its points (a section sums the items below it), type and knowledge points.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/analysis/paper_item_figures.h"

namespace quillory {

class DataStore;

struct ReferenceLine {
    PaperItemLine item;
    float points = 0.0f;

    bool operator==(const ReferenceLine&) const = default;
};

struct ReferencePaperFigures {
    std::optional<std::string> heading;  // the paper's title; none when no paper has the ID
    // An item's question has no row: the page cannot be made.
    bool questionMissing = false;
    std::vector<ReferenceLine> lines;  // in tree order
};

// Nothing on a database error.
std::optional<ReferencePaperFigures> ReadReferencePaperFigures(DataStore& store, int paperId);

}  // namespace quillory

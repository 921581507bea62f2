// Template items turned into the rows of a new paper: sections copied,
// every question slot filled by the question selection.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/common/legacy_random.h"

namespace quillory {

class DataStore;
class Host;
class Progress;
class UnitSelector;

struct TemplateItem {
    int id = 0;
    int superiorId = 0;
    std::string title;
    bool isQuestion = false;
    std::string questionIds;  // the slot's filter, each a list joined by ","
    std::string typeIds;
    std::string knowledgeIds;
};

// A row of the new paper: questionId 0 for a section, -1 for a slot that
// found no question. items are the template items the row stands for, as
// indices into the item list: a section's own item, the slots a question
// fills (one for each answer while its section has slots left, at least
// the one the walk stands on).
struct PaperItemRow {
    int id = 0;
    int superiorId = 0;
    std::string title;
    int questionId = 0;
    std::vector<size_t> items;

    bool operator==(const PaperItemRow&) const = default;
};

struct PaperItemOptions {
    bool adjust = false;
    int period = 0;
    bool useGroups = true;
    std::int64_t seedTime = 0;  // seconds; the generator is seeded with seedTime × 4096
};

// Appends the rows made from items (in tree order) to rows, numbered from
// firstId. Messages ("组卷错误，模版项%d。") go to host, progress gets one step
// an item. random is the process's generator, seeded here. False when a
// question cannot be read (the rows are then incomplete).
bool BuildPaperItems(const std::vector<TemplateItem>& items, std::vector<PaperItemRow>& rows,
                     int firstId, const PaperItemOptions& options, DataStore& store,
                     UnitSelector& selection, LegacyRandom& random, Host& host, Progress& progress);

}  // namespace quillory

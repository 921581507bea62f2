// What the record page and the reference paper page both show of a paper:
// the tree below a node, and for each question item its type and the
// knowledge points it names, each title read once.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/analysis/analysis_parts.h"

namespace quillory {

class DataStore;
class PaperNodeList;
struct PaperRow;

// The rows at and below root in tree order; each node's row is its
// position in rows.
PaperNodeList PaperSubtree(const std::vector<PaperRow>& rows, int root);

// A knowledge point an item names; no title when the point has no row.
struct NamedPoint {
    int id = 0;
    std::optional<std::string> title;

    bool operator==(const NamedPoint&) const = default;
};

// One row of either page: a section, or a question item with its links.
struct PaperItemLine {
    int depth = 0;
    std::string title;
    bool isQuestion = false;  // else a section
    int questionId = 0;
    bool hasPage = false;
    bool hasAnswerPage = false;
    std::optional<std::string> type;  // a section, or a type without a row: none
    std::vector<NamedPoint> knowledge;

    bool operator==(const PaperItemLine&) const = default;
};

// The titles of the types and points the question items name: Name() each
// item, Read() once, then ask.
class ItemTitles {
public:
    void Name(int typeId, const std::string& knowledgeIds);
    // False on a database error.
    bool Read(DataStore& store);

    std::optional<std::string> Type(int typeId) const;
    // The pieces of the ID list that name a point, in its order.
    std::vector<NamedPoint> Points(const std::string& knowledgeIds) const;

private:
    std::vector<int> typeIds_;
    std::vector<int> knowledgeIds_;
    std::vector<Titled> types_;
    std::vector<Titled> knowledge_;
};

// A row's start: the item's cell (indented, linked to the question and to
// its answer, the link named answerLabel and followed by afterAnswer) and
// the type's cell.
std::string ItemAndTypeCells(const PaperItemLine& item, std::string_view answerLabel,
                             std::string_view afterAnswer);
// The knowledge cell's content: a link per point that has a row, "-" for
// one that has none, "-" when none is named.
std::string KnowledgeCellText(const std::vector<NamedPoint>& points);

}  // namespace quillory

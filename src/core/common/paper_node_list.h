// The in-memory list of tree nodes that every tree of the program is built
// from (papers, knowledge points, templates, generated paper rows).
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

namespace quillory {

struct PaperNode {
    int id = 0;
    int superiorId = 0;  // the parent's ID; 0 for none
    std::string title;   // UTF-8
    // What the node stands for; each tree fills the one field it needs and
    // leaves the others 0.
    int questionId = 0;        // paper and exam trees: the question; 0 for papers and sections
    int historyId = 0;         // history tree: a record's first History row; 0 for other items
    int referencePaperId = 0;  // classic analysis tree: the paper; 0 for the summary
    std::size_t row = 0;       // trees over rows read in memory: the node's index in those rows
};

class PaperNodeList {
public:
    void Add(PaperNode node);
    void Clear();

    // Parents first, depth-first; siblings ascending by the GB2312 bytes of
    // their titles, equal titles keeping their list order. A node whose
    // parent is 0 or not in the list is top level. Nodes that no top-level
    // node reaches (a cycle of parents, a node that is its own parent) are
    // dropped. Where IDs repeat, the children follow the first of them.
    // O(n log n).
    void Order();

    // Walks up from id; true when ancestorId is met (equal IDs are true). The
    // walk ends with false at an ID not in the list, and at 0 unless
    // ancestorId is 0. A cycle of parents ends the walk with false.
    bool IsUnder(int id, int ancestorId) const;
    // The number of nodes met walking up from id: 1 for a node whose parent
    // is 0 or not in the list, 0 for an ID not in the list. A cycle of
    // parents counts each node once (a node that is its own parent has 1).
    int Depth(int id) const;

    const std::vector<PaperNode>& Nodes() const { return nodes_; }
    size_t Size() const { return nodes_.size(); }
    bool Empty() const { return nodes_.empty(); }
    const PaperNode& operator[](size_t index) const { return nodes_[index]; }
    // Index of the first node with that ID, or -1.
    int IndexOf(int id) const;

private:
    std::vector<PaperNode> nodes_;
    std::unordered_map<int, size_t> firstIndex_;  // ID -> index of its first node
};

}  // namespace quillory

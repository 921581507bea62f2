#include "core/common/paper_node_list.h"

#include <algorithm>
#include <iterator>
#include <numeric>
#include <unordered_set>

#include "core/common/gb_encoding.h"

namespace quillory {

void PaperNodeList::Add(PaperNode node) {
    firstIndex_.try_emplace(node.id, nodes_.size());
    nodes_.push_back(std::move(node));
}

void PaperNodeList::Clear() {
    nodes_.clear();
    firstIndex_.clear();
}

void PaperNodeList::Order() {
    const size_t count = nodes_.size();
    // The GB2312 keys are made once; converting inside the comparator would
    // cost two conversions per comparison.
    std::vector<std::string> keys;
    keys.reserve(count);
    for (const PaperNode& node : nodes_) {
        keys.push_back(GbSortKey(node.title));
    }
    std::vector<size_t> byTitle(count);
    std::iota(byTitle.begin(), byTitle.end(), size_t{0});
    std::stable_sort(byTitle.begin(), byTitle.end(),
                     [&keys](size_t a, size_t b) { return keys[a] < keys[b]; });

    // The children of each node as one flat array grouped by parent, each
    // group in title order; group `count` holds the top-level nodes. A
    // node's parent is the first node with its SuperiorID.
    std::vector<size_t> parentOf(count);
    std::vector<size_t> groupStart(count + 2, 0);
    for (size_t index = 0; index < count; ++index) {
        const int parent = nodes_[index].superiorId;
        const auto found = parent == 0 ? firstIndex_.end() : firstIndex_.find(parent);
        parentOf[index] = found == firstIndex_.end() ? count : found->second;
        ++groupStart[parentOf[index] + 1];
    }
    std::partial_sum(groupStart.begin(), groupStart.end(), groupStart.begin());
    std::vector<size_t> grouped(count);
    std::vector<size_t> next(groupStart.begin(), groupStart.end() - 1);
    for (size_t index : byTitle) {
        grouped[next[parentOf[index]]++] = index;
    }
    const auto pushGroup = [&](std::vector<size_t>& pending, size_t group) {
        const auto first = grouped.begin() + static_cast<std::ptrdiff_t>(groupStart[group]);
        const auto last = grouped.begin() + static_cast<std::ptrdiff_t>(groupStart[group + 1]);
        pending.insert(pending.end(), std::make_reverse_iterator(last),
                       std::make_reverse_iterator(first));
    };

    // Pre-order walk with an explicit stack, so a long chain of sections
    // cannot exhaust the call stack. Every node sits in one group and a group
    // is taken when its node is placed, so each node is placed at most once:
    // a cycle of parents (never reached from a top-level node) and repeated
    // IDs cannot make the walk loop.
    std::vector<PaperNode> ordered;
    ordered.reserve(count);
    std::vector<size_t> pending;
    pushGroup(pending, count);
    while (!pending.empty()) {
        const size_t index = pending.back();
        pending.pop_back();
        ordered.push_back(std::move(nodes_[index]));
        pushGroup(pending, index);
    }

    nodes_.clear();
    firstIndex_.clear();
    firstIndex_.reserve(count);
    for (PaperNode& node : ordered) {
        Add(std::move(node));
    }
}

bool PaperNodeList::IsUnder(int id, int ancestorId) const {
    // Brent's cycle check: `mark` moves to the current node at doubling
    // distances, so a walk caught in a cycle of parents meets it again after
    // a few rounds of the cycle, however long the list is.
    int current = id;
    int mark = id;
    size_t sinceMark = 0;
    size_t reach = 1;
    while (current != ancestorId) {
        if (current == 0) {
            return false;
        }
        const auto found = firstIndex_.find(current);
        if (found == firstIndex_.end()) {
            return false;
        }
        if (sinceMark == reach) {
            mark = current;
            reach *= 2;
            sinceMark = 0;
        }
        current = nodes_[found->second].superiorId;
        ++sinceMark;
        if (current == mark) {
            return false;
        }
    }
    return true;
}

int PaperNodeList::Depth(int id) const {
    std::unordered_set<int> met;
    for (int current = id; current != 0;) {
        const auto found = firstIndex_.find(current);
        if (found == firstIndex_.end() || !met.insert(current).second) {
            break;
        }
        current = nodes_[found->second].superiorId;
    }
    return static_cast<int>(met.size());
}

int PaperNodeList::IndexOf(int id) const {
    const auto found = firstIndex_.find(id);
    return found == firstIndex_.end() ? -1 : static_cast<int>(found->second);
}

}  // namespace quillory

#include "common/paper_node_list.h"

#include <algorithm>
#include <numeric>
#include <unordered_set>

#include "common/gb_encoding.h"

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

    // Every node lands in exactly one of these lists, each already in title
    // order.
    std::vector<size_t> topLevel;
    std::unordered_map<int, std::vector<size_t>> children;
    for (size_t index : byTitle) {
        const int parent = nodes_[index].superiorId;
        if (parent == 0 || !firstIndex_.contains(parent)) {
            topLevel.push_back(index);
        } else {
            children[parent].push_back(index);
        }
    }

    // Pre-order walk with an explicit stack, so a long chain of sections
    // cannot exhaust the call stack. Each ID's children are taken once, so
    // every node is placed at most once: a cycle of parents (never reached
    // from a top-level node) and repeated IDs cannot make the walk loop.
    std::vector<PaperNode> ordered;
    ordered.reserve(count);
    std::unordered_set<int> expanded;
    std::vector<size_t> pending(topLevel.rbegin(), topLevel.rend());
    while (!pending.empty()) {
        const size_t index = pending.back();
        pending.pop_back();
        ordered.push_back(std::move(nodes_[index]));
        const int id = ordered.back().id;
        if (!expanded.insert(id).second) {
            continue;
        }
        const auto found = children.find(id);
        if (found != children.end()) {
            pending.insert(pending.end(), found->second.rbegin(), found->second.rend());
        }
    }

    nodes_.clear();
    firstIndex_.clear();
    for (PaperNode& node : ordered) {
        Add(std::move(node));
    }
}

bool PaperNodeList::IsUnder(int id, int ancestorId) const {
    int current = id;
    // A walk of more steps than there are nodes has gone round a cycle.
    for (size_t steps = 0; current != ancestorId; ++steps) {
        if (current == 0 || steps > nodes_.size()) {
            return false;
        }
        const auto found = firstIndex_.find(current);
        if (found == firstIndex_.end()) {
            return false;
        }
        current = nodes_[found->second].superiorId;
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

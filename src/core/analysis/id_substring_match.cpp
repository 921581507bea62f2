#include "core/analysis/id_substring_match.h"

#include <algorithm>
#include <string>

namespace quillory {

IdSubstringMatch::IdSubstringMatch(const std::vector<int>& ids) {
    for (size_t i = 0; i < ids.size(); ++i) {
        positions_[ids[i]].push_back(static_cast<int>(i));
        const std::string digits = std::to_string(ids[i] < 0 ? -static_cast<long long>(ids[i])
                                                             : static_cast<long long>(ids[i]));
        longest_ = std::max(longest_, static_cast<int>(digits.size()));
        lengths_.resize(static_cast<size_t>(longest_) + 1);
        lengths_[digits.size()] = true;
    }
}

void IdSubstringMatch::Find(std::string_view text, std::vector<int>& found) const {
    found.clear();
    const auto add = [&](long long value) {
        const auto hit = positions_.find(value);
        if (hit != positions_.end()) {
            found.insert(found.end(), hit->second.begin(), hit->second.end());
        }
    };
    const auto isDigit = [&](size_t at) {
        return at < text.size() && text[at] >= '0' && text[at] <= '9';
    };
    for (size_t start = 0; start < text.size(); ++start) {
        // "%d" writes a minus sign before a negative number and no leading
        // zero, so only "0" itself begins with one.
        const bool negative = text[start] == '-';
        const size_t first = negative ? start + 1 : start;
        if (!isDigit(first)) {
            continue;
        }
        if (text[first] == '0') {
            if (!negative) {
                add(0);
            }
            continue;
        }
        long long value = 0;
        for (size_t at = first; isDigit(at) && static_cast<int>(at - first) < longest_; ++at) {
            value = value * 10 + (text[at] - '0');
            if (lengths_[at - first + 1]) {
                add(negative ? -value : value);
            }
        }
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
}

}  // namespace quillory

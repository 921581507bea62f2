// Which knowledge points an ID list text names the way a "like '*%d*'"
// query finds them: the point's ID in decimal anywhere in the text, with no
// other check (point 12 is in "000120"). One pass over the text finds them
// all, instead of one substring search per point.
#pragma once

#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillory {

class IdSubstringMatch {
public:
    explicit IdSubstringMatch(const std::vector<int>& ids);

    // The positions in ids of every ID whose decimal form occurs in text,
    // each once, ascending.
    void Find(std::string_view text, std::vector<int>& found) const;

private:
    std::unordered_map<long long, std::vector<int>> positions_;
    int longest_ = 0;  // digits of the longest ID
    // Whether some ID has that many digits: the others need no look-up.
    std::vector<bool> lengths_;
};

}  // namespace quillory

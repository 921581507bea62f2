#include "core/common/legacy_random.h"

namespace quillory {

int LegacyRandom::Next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFFu);
}

}  // namespace quillory

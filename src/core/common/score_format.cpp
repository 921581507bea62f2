#include "core/common/score_format.h"

#include "core/common/text.h"

namespace quillory {

std::string FormatScore(float score) {
    return Format("%.1f", static_cast<double>(score));
}

std::string FormatRate(float score, float fullMarks) {
    if (fullMarks == 0.0f) {
        return "-";
    }
    // Worked in single precision like the scores themselves, so a rate that
    // lies on a rounding edge prints as it always has.
    const float rate = 100.0f * score / fullMarks;
    return Format("%.1f%%", static_cast<double>(rate));
}

}  // namespace quillory

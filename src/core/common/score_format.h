// How scores and score rates are printed on every page.
#pragma once

#include <string>

namespace quillory {

std::string FormatScore(float score);  // "%.1f"
// "%.1f%%" of 100 × score ÷ fullMarks; "-" when fullMarks is 0.
std::string FormatRate(float score, float fullMarks);

}  // namespace quillory

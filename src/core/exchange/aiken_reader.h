// Questions from an Aiken file: single choice questions, each its stem
// lines, its options "A." or "A)" in letter order and a line "ANSWER: B".
// UTF-8 (with or without BOM), else GB18030; texts are plain. Places are
// each question's first line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/exchange/imported_question.h"

namespace quillory {

ImportReading ReadAiken(std::string_view bytes, const std::string& fileName);

// "A. text", "B) text" (or full width): the letter's index and the text.
struct AikenOption {
    int index = 0;
    std::string_view text;
};
std::optional<AikenOption> ReadAikenOption(std::string_view line);

// The letter of an "ANSWER: B" line, as written after the colon.
std::optional<std::string> ReadAikenAnswer(std::string_view line);

}  // namespace quillory

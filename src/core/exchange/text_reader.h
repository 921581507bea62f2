// Questions from a plain text file (.txt in UTF-8 or GB18030) marked
// as marked_paragraphs.h describes; places are line numbers.
#pragma once

#include <string>
#include <string_view>

#include "core/exchange/imported_question.h"

namespace quillory {

ImportReading ReadTextFile(std::string_view bytes, const std::string& fileName);

}  // namespace quillory

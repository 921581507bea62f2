// Questions from a GIFT file, the plain text format quiz systems export:
// questions apart by blank lines, each "::name::[format]text{answers}",
// "$CATEGORY:" lines naming the category of the questions after them, "//"
// comment lines. UTF-8 (with or without BOM), else GB18030. Places are each
// question's first line; what the model cannot hold as written is changed
// with a warning, what it cannot hold at all is a problem.
#pragma once

#include <string>
#include <string_view>

#include "core/exchange/imported_question.h"

namespace quillory {

ImportReading ReadGift(std::string_view bytes, const std::string& fileName);

}  // namespace quillory

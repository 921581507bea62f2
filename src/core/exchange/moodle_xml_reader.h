// Questions from a Moodle XML file (<quiz> of <question type="…">):
// categories give the knowledge path and the section of the questions after
// them; multichoice, truefalse, shortanswer, numerical, matching, essay and
// cloze questions are read, other types are skipped with a warning naming
// them. Embedded base64 files become media; places are line numbers.
#pragma once

#include <string>
#include <string_view>

#include "core/exchange/imported_question.h"

namespace quillory {

ImportReading ReadMoodleXml(std::string_view bytes, const std::string& fileName);

}  // namespace quillory

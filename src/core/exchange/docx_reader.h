// Questions from a Word document (.docx) marked as marked_paragraphs.h
// describes; pictures become the questions' media, places are paragraph
// numbers. libzip opens the archive, libxml2 reads its XML.
#pragma once

#include <string>
#include <string_view>

#include "core/exchange/imported_question.h"

namespace quillory {

ImportReading ReadDocx(std::string_view bytes, const std::string& fileName);

}  // namespace quillory

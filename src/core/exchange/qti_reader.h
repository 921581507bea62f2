// Questions from a QTI 2.1 content package (.zip): the items its
// imsmanifest.xml lists, in its order. Choice, text entry, inline choice and
// extended text interactions are read; items with other interactions are
// skipped with a warning naming them. Pictures of the package become media;
// places are the item's entry and line.
#pragma once

#include <string>
#include <string_view>

#include "core/exchange/imported_question.h"

namespace quillory {

ImportReading ReadQtiPackage(std::string_view bytes, const std::string& fileName);

}  // namespace quillory

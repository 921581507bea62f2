// Questions from a workbook: one row a question, one sheet a section, the
// header row found by its names (题型, 题干, 选项A…, 答案, 解析, 知识点, 分值,
// 难度, 序号). liborcus reads the .xlsx, .ods and .csv.
#pragma once

#include <string>
#include <string_view>

#include "core/exchange/imported_question.h"

namespace quillory {

enum class SheetFormat { Xlsx, Ods, Csv };

// bytes: the whole file; fileName names it in places (and a .csv's sheet).
// A .csv may be UTF-8, with or without BOM, or GB18030.
ImportReading ReadSpreadsheet(std::string_view bytes, const std::string& fileName,
                              SheetFormat format);

}  // namespace quillory

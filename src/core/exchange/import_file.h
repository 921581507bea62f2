// One file read for an import, with the classic paper it becomes: what the
// tool and the import dialog both start from.
#pragma once

#include <string>

#include "core/exchange/import_plan.h"
#include "core/exchange/question_file.h"

namespace quillory {

// The file read by the reader of its kind (or of the format given); the
// paper titled as given, or after the file's name without its extension.
ImportFile ReadImportFile(const std::string& path, const std::string& title,
                          QuestionFormat format = QuestionFormat::Auto);

// Where the template workbook for teachers lies in the program data folder.
std::string ImportTemplatePath(const std::string& programFolder);

}  // namespace quillory

// A teacher's question file read by the reader its name calls for: .xlsx,
// .ods and .csv as workbooks, .docx as a Word document, .txt as marked text,
// .xml as Moodle XML, .zip as a QTI 2.1 content package.
#pragma once

#include <string>
#include <string_view>

#include "core/exchange/imported_question.h"

namespace quillory {

// The file names of the readable kinds, for file dialogs: "*.xlsx *.ods …".
const char* QuestionFilePatterns();

// Reads the file at path; a file that cannot be read, is not what its name
// says or is damaged gives a problem, never a failure.
ImportReading ReadQuestionFile(const std::string& path);

// The same over the file's bytes; fileName (its extension picks the reader)
// names it in places.
ImportReading ReadQuestionBytes(std::string_view bytes, const std::string& fileName);

}  // namespace quillory

// A teacher's question file read by the reader its name calls for: .xlsx,
// .ods and .csv as workbooks, .docx as a Word document, .gift as GIFT, .txt
// as GIFT, Aiken or marked text by what it holds, .xml as Moodle XML, .zip as
// a QTI 2.1 content package; or by the format chosen.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/exchange/imported_question.h"

namespace quillory {

// Auto: by the file's name (and a .txt file's content). Sheet: .xlsx, .ods,
// else CSV. Text: marked paragraphs of a .docx, else of plain text.
enum class QuestionFormat { Auto, Sheet, Text, Gift, Aiken, Moodle, Qti };

// The tool's names: "auto", "sheet", "text", "gift", "aiken", "moodle",
// "qti"; nullopt for any other.
std::optional<QuestionFormat> QuestionFormatNamed(std::string_view name);

// The file names of the readable kinds, for file dialogs: "*.xlsx *.ods …".
const char* QuestionFilePatterns();

// Reads the file at path; a file that cannot be read, is not what its name
// or the format says or is damaged gives a problem, never a failure.
ImportReading ReadQuestionFile(const std::string& path,
                               QuestionFormat format = QuestionFormat::Auto);

// The same over the file's bytes; fileName names it in places and, when
// the format is Auto, picks the reader.
ImportReading ReadQuestionBytes(std::string_view bytes, const std::string& fileName,
                                QuestionFormat format = QuestionFormat::Auto);

}  // namespace quillory

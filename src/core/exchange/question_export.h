// Exporting a data file's questions to a file, in the format its extension
// names: what the program's "导出试题…" and the tool's export-questions do.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/result.h"
#include "core/exchange/bank_questions.h"

namespace quillory {

enum class ExportFormat { Xlsx, Ods, Csv, Gift, MoodleXml };

// By the extension, in any case: .xlsx .ods .csv .gift .xml; nullopt for others.
std::optional<ExportFormat> ExportFormatOf(std::string_view path);

struct ExportReport {
    std::vector<std::string> lines;       // a question a line: "ID\tkind\ttype title"
    std::vector<ImportProblem> warnings;  // place.file: the question's ID
    int selected = 0;
    int written = 0;
};

// Reads the selection and writes it to out, replacing the file whole or not
// at all. BadInput for an extension of no known format, NothingToDo when
// the selection holds no question, FileAccess when out cannot be written;
// NotFound and Database as ReadBankQuestions fails.
Result<ExportReport> ExportQuestions(DataStore& store, const std::string& dataFolder,
                                     const QuestionSelection& selection, const std::string& out);

// The warnings as the tool writes them to standard error: "ID: text".
std::vector<std::string> ExportWarningLines(const ExportReport& report);

// The summary line, in Chinese: "已导出 N 题到 FILE" and how many were left out.
std::string ExportSummary(const ExportReport& report, const std::string& out);

}  // namespace quillory

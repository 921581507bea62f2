#include "core/exchange/question_export.h"

#include <cstring>
#include <filesystem>

#include "core/common/atomic_file.h"
#include "core/common/text.h"
#include "core/exchange/question_writers.h"

namespace quillory {

std::optional<ExportFormat> ExportFormatOf(std::string_view path) {
    const std::string extension =
        ToLowerAscii(std::filesystem::path(std::string(path)).extension().string());
    static const std::pair<const char*, ExportFormat> kFormats[] = {
        {".xlsx", ExportFormat::Xlsx},
        {".ods", ExportFormat::Ods},
        {".csv", ExportFormat::Csv},
        {".gift", ExportFormat::Gift},
        {".xml", ExportFormat::MoodleXml}};
    for (const auto& [known, format] : kFormats) {
        if (extension == known) {
            return format;
        }
    }
    return std::nullopt;
}

Result<ExportReport> ExportQuestions(DataStore& store, const std::string& dataFolder,
                                     const QuestionSelection& selection, const std::string& out) {
    const std::optional<ExportFormat> format = ExportFormatOf(out);
    if (!format) {
        return Error{ErrorCode::BadInput,
                     out +
                         ": the file's extension names no export format (.xlsx .ods .csv "
                         ".gift .xml)"};
    }
    Result<ImportReading> reading = ReadBankQuestions(store, dataFolder, selection);
    if (!reading.ok()) {
        return reading.error();
    }
    if (reading->questions.empty()) {
        return Error{ErrorCode::NothingToDo, "the selection holds no question"};
    }
    ExportReport report;
    report.warnings = reading->warnings;
    report.selected = static_cast<int>(reading->questions.size());
    for (const ImportedQuestion& q : reading->questions) {
        report.lines.push_back(q.sourceKey + "\t" + KindName(q.kind) + "\t" + q.typeTitle);
    }
    Result<std::string> bytes = std::string();
    std::vector<ImportProblem> warnings;
    if (*format == ExportFormat::Gift || *format == ExportFormat::MoodleXml) {
        WrittenQuestions written = *format == ExportFormat::Gift
                                       ? GiftBytes(reading->questions)
                                       : MoodleXmlBytes(reading->questions);
        bytes = std::move(written.bytes);
        warnings = std::move(written.warnings);
        report.written = written.written;
    } else {
        QuestionSheets sheets =
            MakeQuestionSheets(reading->questions, *format == ExportFormat::Csv);
        warnings = std::move(sheets.warnings);
        report.written = sheets.written;
        bytes = *format == ExportFormat::Xlsx  ? XlsxBytes(sheets)
                : *format == ExportFormat::Ods ? OdsBytes(sheets)
                                               : Result<std::string>(CsvBytes(sheets));
    }
    if (!bytes.ok()) {
        return bytes.error();
    }
    report.warnings.insert(report.warnings.end(), warnings.begin(), warnings.end());
    if (const int error = WriteFileAtomically(out, *bytes); error != 0) {
        return Error{ErrorCode::FileAccess, out + ": " + std::strerror(error)};
    }
    return report;
}

std::vector<std::string> ExportWarningLines(const ExportReport& report) {
    std::vector<std::string> lines;
    for (const ImportProblem& warning : report.warnings) {
        lines.push_back(warning.place.file + ": " + warning.text);
    }
    return lines;
}

std::string ExportSummary(const ExportReport& report, const std::string& out) {
    std::string summary = Format("已导出 %d 题到 %s", report.written, out.c_str());
    if (report.written < report.selected) {
        summary += Format("，%d 题未导出", report.selected - report.written);
    }
    return summary;
}

}  // namespace quillory

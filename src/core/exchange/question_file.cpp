#include "core/exchange/question_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>

#include "core/exchange/aiken_reader.h"
#include "core/exchange/docx_reader.h"
#include "core/exchange/gift_reader.h"
#include "core/exchange/moodle_xml_reader.h"
#include "core/exchange/plain_text.h"
#include "core/exchange/qti_reader.h"
#include "core/exchange/spreadsheet_reader.h"
#include "core/exchange/text_format_guess.h"
#include "core/exchange/text_reader.h"
#include "core/exchange/zip_entries.h"

namespace quillory {

namespace {

// Larger files are no teacher's question file.
constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{256} << 20;

std::string Extension(const std::string& fileName) {
    std::string extension = std::filesystem::path(fileName).extension().string();
    for (char& c : extension) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return extension;
}

bool IsZip(std::string_view bytes) {
    return bytes.starts_with("PK\x03\x04") || bytes.starts_with("PK\x05\x06");
}

// Old Office files, and Office files with a password, are compound files.
bool IsCompoundFile(std::string_view bytes) {
    return bytes.starts_with("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
}

bool LooksBinary(std::string_view bytes) {
    return bytes.substr(0, 65536).find('\0') != std::string_view::npos || IsZip(bytes) ||
           IsCompoundFile(bytes);
}

// What is wrong when the content is not the kind the name says; nothing
// when it may be.
std::optional<std::string> KindProblem(std::string_view bytes, const std::string& extension) {
    const std::string kind = extension.substr(1);
    if (extension == ".xlsx" || extension == ".ods" || extension == ".docx") {
        if (IsCompoundFile(bytes)) {
            return extension == ".docx"
                       ? "文件是旧版 Word 文档（.doc）或加了密码，请在 Word 中另存为 .docx 后再导入"
                       : "文件是旧版 Excel 工作簿（.xls）或加了密码，请另存为 .xlsx 后再导入";
        }
        if (!IsZip(bytes)) {
            return "文件内容不是 " + kind + (extension == ".docx" ? " 文档" : " 工作簿");
        }
        Result<ZipEntries> zip = ZipEntries::Open(bytes);
        if (!zip) {
            return "文件已损坏，无法作为 " + kind + " 读取";
        }
        const char* part = extension == ".xlsx"  ? "xl/workbook.xml"
                           : extension == ".ods" ? "content.xml"
                                                 : "word/document.xml";
        if (!zip->Has(part)) {
            return "文件内容不是 " + kind + (extension == ".docx" ? " 文档" : " 工作簿");
        }
        return std::nullopt;
    }
    if (extension == ".zip") {
        return IsZip(bytes) ? std::nullopt
                            : std::optional<std::string>("文件内容不是 zip 压缩包（QTI 试题包）");
    }
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        return "文件是 UTF-16 编码的文本，请另存为 UTF-8 后再导入";
    }
    if (LooksBinary(bytes)) {
        return "文件内容不是文本，不能作为 " + kind + " 读取";
    }
    return std::nullopt;
}

// The format a file's name calls for; Auto for none.
QuestionFormat FormatOfExtension(const std::string& extension) {
    if (extension == ".xlsx" || extension == ".ods" || extension == ".csv") {
        return QuestionFormat::Sheet;
    }
    if (extension == ".docx" || extension == ".txt") {
        return QuestionFormat::Text;
    }
    if (extension == ".gift") {
        return QuestionFormat::Gift;
    }
    if (extension == ".xml") {
        return QuestionFormat::Moodle;
    }
    return extension == ".zip" ? QuestionFormat::Qti : QuestionFormat::Auto;
}

// The kind of file a format reads a file of this extension as: its own when
// the format reads it, else the format's plain one.
std::string ReadAs(QuestionFormat format, const std::string& extension) {
    switch (format) {
        case QuestionFormat::Sheet:
            return extension == ".xlsx" || extension == ".ods" ? extension : ".csv";
        case QuestionFormat::Text:
            return extension == ".docx" ? extension : ".txt";
        case QuestionFormat::Gift:
            return extension == ".txt" ? extension : ".gift";
        case QuestionFormat::Moodle:
            return ".xml";
        case QuestionFormat::Qti:
            return ".zip";
        default:
            return ".txt";
    }
}

}  // namespace

std::optional<QuestionFormat> QuestionFormatNamed(std::string_view name) {
    static constexpr std::pair<std::string_view, QuestionFormat> kNames[] = {
        {"auto", QuestionFormat::Auto},   {"sheet", QuestionFormat::Sheet},
        {"text", QuestionFormat::Text},   {"gift", QuestionFormat::Gift},
        {"aiken", QuestionFormat::Aiken}, {"moodle", QuestionFormat::Moodle},
        {"qti", QuestionFormat::Qti}};
    for (const auto& [known, format] : kNames) {
        if (name == known) {
            return format;
        }
    }
    return std::nullopt;
}

const char* QuestionFilePatterns() {
    return "*.xlsx *.ods *.csv *.docx *.txt *.gift *.xml *.zip";
}

ImportReading ReadQuestionBytes(std::string_view bytes, const std::string& fileName,
                                QuestionFormat format) {
    const std::string name = std::filesystem::path(fileName).filename().string();
    const std::string extension = Extension(name);
    const SourcePlace place{name, "", 0, 0};
    ImportReading reading;
    // A .txt file names no format of its own: its content tells.
    const bool guess = format == QuestionFormat::Auto && extension == ".txt";
    if (format == QuestionFormat::Auto) {
        format = FormatOfExtension(extension);
    }
    if (format == QuestionFormat::Auto) {
        reading.problems.push_back(
            {place,
             "不能导入这种文件（可导入 .xlsx、.ods、.csv、.docx、.txt、.gift、.xml、.zip）"});
        return reading;
    }
    const std::string kind = ReadAs(format, extension);
    if (const auto problem = KindProblem(bytes, kind)) {
        reading.problems.push_back({place, *problem});
        return reading;
    }
    if (guess) {
        format = GuessTextFormat(DecodeText(bytes));
    }
    if (format == QuestionFormat::Gift) {
        return ReadGift(bytes, name);
    }
    if (format == QuestionFormat::Aiken) {
        return ReadAiken(bytes, name);
    }
    if (format == QuestionFormat::Moodle) {
        return ReadMoodleXml(bytes, name);
    }
    if (format == QuestionFormat::Qti) {
        return ReadQtiPackage(bytes, name);
    }
    if (kind == ".xlsx") {
        return ReadSpreadsheet(bytes, name, SheetFormat::Xlsx);
    }
    if (kind == ".ods") {
        return ReadSpreadsheet(bytes, name, SheetFormat::Ods);
    }
    if (kind == ".csv") {
        return ReadSpreadsheet(bytes, name, SheetFormat::Csv);
    }
    if (kind == ".docx") {
        return ReadDocx(bytes, name);
    }
    return ReadTextFile(bytes, name);
}

ImportReading ReadQuestionFile(const std::string& path, QuestionFormat format) {
    const std::string name = std::filesystem::path(path).filename().string();
    ImportReading reading;
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size > kMaxFileBytes) {
        reading.problems.push_back({SourcePlace{name, "", 0, 0}, "文件过大，已拒绝"});
        return reading;
    }
    std::ifstream in(path, std::ios::binary);
    std::string bytes;
    if (in) {
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (!in && !in.eof()) {
        reading.problems.push_back(
            {SourcePlace{name, "", 0, 0},
             errno == ENOENT ? std::string("文件不存在")
                             : std::string("无法读取文件（") + std::strerror(errno) + "）"});
        return reading;
    }
    return ReadQuestionBytes(bytes, name, format);
}

}  // namespace quillory

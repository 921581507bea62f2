#include <xlsxwriter.h>

#include <unistd.h>
#include <cstdio>
#include <filesystem>

#include "core/common/whole_file.h"
#include "core/exchange/question_writers.h"

namespace quillory {

Result<std::string> XlsxBytes(const QuestionSheets& sheets) {
    // The library writes a file only: one of our own in the temporary folder.
    std::string path = (std::filesystem::temp_directory_path() / "quillory-XXXXXX").string();
    const int fd = mkstemp(path.data());
    if (fd < 0) {
        return Error{ErrorCode::FileAccess, "cannot make a temporary file for the workbook"};
    }
    close(fd);
    lxw_workbook* book = workbook_new(path.c_str());
    if (book == nullptr) {
        std::remove(path.c_str());
        return Error{ErrorCode::FileAccess, "cannot start the workbook"};
    }
    lxw_format* header = workbook_add_format(book);
    format_set_bold(header);
    lxw_format* wrapped = workbook_add_format(book);
    format_set_text_wrap(wrapped);
    format_set_align(wrapped, LXW_ALIGN_VERTICAL_TOP);
    std::string failure;
    for (const QuestionSheet& sheet : sheets.sheets) {
        lxw_worksheet* page = workbook_add_worksheet(book, sheet.name.c_str());
        if (page == nullptr) {
            failure = "cannot add the sheet " + sheet.name;
            break;
        }
        for (size_t r = 0; r < sheet.rows.size() && failure.empty(); ++r) {
            for (size_t c = 0; c < sheet.rows[r].size(); ++c) {
                const std::string& text = sheet.rows[r][c];
                if (text.empty()) {
                    continue;
                }
                const lxw_error written = worksheet_write_string(
                    page, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c), text.c_str(),
                    r == 0 ? header : wrapped);
                if (written != LXW_NO_ERROR) {
                    failure = std::string("cannot write a cell: ") + lxw_strerror(written);
                    break;
                }
            }
        }
        worksheet_freeze_panes(page, 1, 0);
    }
    const lxw_error closed = workbook_close(book);
    WholeFile file = ReadWholeFile(path);
    std::remove(path.c_str());
    if (failure.empty() && closed != LXW_NO_ERROR) {
        failure = std::string("cannot write the workbook: ") + lxw_strerror(closed);
    }
    if (failure.empty() && file.result != FileRead::Read) {
        failure = "cannot read the workbook back";
    }
    if (!failure.empty()) {
        return Error{ErrorCode::FileAccess, failure};
    }
    return std::move(file.bytes);
}

}  // namespace quillory

#include "core/exchange/spreadsheet_reader.h"

#include <orcus/csv_parser.hpp>
#include <orcus/orcus_ods.hpp>
#include <orcus/orcus_xlsx.hpp>
#include <orcus/spreadsheet/import_interface.hpp>

#include <cstdio>
#include <deque>
#include <exception>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include "core/exchange/plain_text.h"
#include "core/exchange/question_fields.h"
#include "core/exchange/zip_entries.h"

namespace quillory {

namespace {

namespace ss = orcus::spreadsheet;

// Far beyond any teacher's workbook, far below what would exhaust memory.
constexpr int kMaxRows = 100000;
constexpr size_t kMaxCellBytes = size_t{256} << 10;
constexpr size_t kMaxCells = 2000000;
constexpr size_t kMaxTextBytes = size_t{64} << 20;
constexpr size_t kMaxSheets = 256;

struct Cell {
    std::string text;
    bool formula = false;
    bool noResult = false;  // a formula the file keeps no value of
};

struct Sheet {
    std::string name;
    std::map<std::pair<int, int>, Cell> cells;  // (row, column) from 0
    std::vector<ss::range_t> merges;
};

// Thrown out of liborcus when the file passes a limit.
struct LimitReached {};

struct Workbook {
    std::deque<Sheet> sheets;  // a deque, so the imports' references stay valid
    std::vector<std::string> strings;
    // liborcus hands over each paragraph of an .ods cell as a string of its
    // own and then sets the cell to the last: the strings since the last
    // cell, joined, are the cell's text. A formula cell between the two is
    // set only at the end of its sheet, its shown paragraph among those
    // strings: Settle() takes it out.
    struct Joined {
        Sheet* sheet;
        int row;
        int col;
        int previousCol;  // the last cell set before it in its row, or -1
        std::vector<size_t> parts;
    };
    bool joinParagraphs = false;
    std::vector<size_t> sinceLastCell;
    std::vector<Joined> joined;
    std::pair<int, int> lastCell{-1, -1};
    std::optional<std::string> overLimit;  // what passed a limit
    size_t cells = 0;
    size_t textBytes = 0;

    void Limit(std::string what) {
        overLimit = std::move(what);
        throw LimitReached{};
    }
    void Put(Sheet& sheet, ss::row_t row, ss::col_t col, Cell cell) {
        if (overLimit) {
            throw LimitReached{};
        }
        sinceLastCell.clear();
        if (!cell.formula) {
            lastCell = {row, col};
        }
        if (row < 0 || col < 0) {
            return;
        }
        if (row >= kMaxRows) {
            Limit("工作表“" + sheet.name + "”超过 " + std::to_string(kMaxRows) + " 行");
        }
        if (cell.text.size() > kMaxCellBytes) {
            Limit("工作表“" + sheet.name + "”第 " + std::to_string(row + 1) +
                  " 行有一个单元格的内容过长");
        }
        textBytes += cell.text.size();
        if (++cells > kMaxCells || textBytes > kMaxTextBytes) {
            Limit("表格的内容过多");
        }
        sheet.cells[{row, col}] = std::move(cell);
    }
    std::string Join(const std::vector<size_t>& parts, size_t from) const {
        std::string text;
        for (size_t i = from; i < parts.size(); ++i) {
            text += (text.empty() ? "" : "\n") + strings[parts[i]];
        }
        return text;
    }
    void Settle() {
        for (const Joined& cell : joined) {
            size_t formulas = 0;
            for (int col = cell.previousCol + 1; col < cell.col; ++col) {
                const auto found = cell.sheet->cells.find({cell.row, col});
                formulas += found != cell.sheet->cells.end() && found->second.formula;
            }
            if (formulas > 0 && formulas < cell.parts.size()) {
                cell.sheet->cells[{cell.row, cell.col}].text = Join(cell.parts, formulas);
            }
        }
    }
    void CountString(size_t size) {
        textBytes += size;
        if (size > kMaxCellBytes || textBytes > kMaxTextBytes) {
            Limit("表格的内容过多");
        }
    }
};

std::string NumberText(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

class SharedStrings : public ss::iface::import_shared_strings {
public:
    explicit SharedStrings(Workbook& book) : book_(book) {}
    size_t append(std::string_view s) override {
        book_.CountString(s.size());
        book_.strings.emplace_back(s);
        book_.sinceLastCell.push_back(book_.strings.size() - 1);
        return book_.strings.size() - 1;
    }
    size_t add(std::string_view s) override {
        const auto found = index_.find(std::string(s));
        if (found != index_.end()) {
            book_.sinceLastCell.push_back(found->second);
            return found->second;
        }
        const size_t at = append(s);
        index_.emplace(book_.strings.back(), at);
        return at;
    }
    void set_segment_font(size_t) override {}
    void set_segment_bold(bool) override {}
    void set_segment_italic(bool) override {}
    void set_segment_font_name(std::string_view) override {}
    void set_segment_font_size(double) override {}
    void set_segment_font_color(ss::color_elem_t, ss::color_elem_t, ss::color_elem_t,
                                ss::color_elem_t) override {}
    void append_segment(std::string_view s) override {
        book_.CountString(segments_.size() + s.size());
        segments_.append(s);
    }
    size_t commit_segments() override {
        const size_t at = append(segments_);
        segments_.clear();
        return at;
    }

private:
    Workbook& book_;
    std::string segments_;
    std::unordered_map<std::string, size_t> index_;
};

class FormulaImport : public ss::iface::import_formula {
public:
    FormulaImport(Workbook& book, Sheet& sheet) : book_(book), sheet_(sheet) {}
    void set_position(ss::row_t row, ss::col_t col) override {
        row_ = row;
        col_ = col;
        result_.reset();
    }
    void set_formula(ss::formula_grammar_t, std::string_view) override {}
    void set_shared_formula_index(size_t) override {}
    void set_result_string(std::string_view value) override { result_ = std::string(value); }
    void set_result_value(double value) override { result_ = NumberText(value); }
    void set_result_bool(bool value) override { result_ = value ? "TRUE" : "FALSE"; }
    void set_result_empty() override { result_ = std::string(); }
    void commit() override {
        book_.Put(sheet_, row_, col_,
                  Cell{result_.value_or(std::string()), true, !result_.has_value()});
    }

private:
    Workbook& book_;
    Sheet& sheet_;
    ss::row_t row_ = -1;
    ss::col_t col_ = -1;
    std::optional<std::string> result_;
};

class ArrayFormulaImport : public ss::iface::import_array_formula {
public:
    ArrayFormulaImport(Workbook& book, Sheet& sheet) : book_(book), sheet_(sheet) {}
    void set_range(const ss::range_t&) override {}
    void set_formula(ss::formula_grammar_t, std::string_view) override {}
    void set_result_string(ss::row_t row, ss::col_t col, std::string_view value) override {
        book_.Put(sheet_, row, col, Cell{std::string(value), true, false});
    }
    void set_result_value(ss::row_t row, ss::col_t col, double value) override {
        book_.Put(sheet_, row, col, Cell{NumberText(value), true, false});
    }
    void set_result_bool(ss::row_t row, ss::col_t col, bool value) override {
        book_.Put(sheet_, row, col, Cell{value ? "TRUE" : "FALSE", true, false});
    }
    void set_result_empty(ss::row_t row, ss::col_t col) override {
        book_.Put(sheet_, row, col, Cell{"", true, false});
    }
    void commit() override {}

private:
    Workbook& book_;
    Sheet& sheet_;
};

class SheetProperties : public ss::iface::import_sheet_properties {
public:
    explicit SheetProperties(Sheet& sheet) : sheet_(sheet) {}
    void set_column_width(ss::col_t, double, orcus::length_unit_t) override {}
    void set_column_hidden(ss::col_t, bool) override {}
    void set_row_height(ss::row_t, double, orcus::length_unit_t) override {}
    void set_row_hidden(ss::row_t, bool) override {}
    void set_merge_cell_range(const ss::range_t& range) override {
        if (sheet_.merges.size() < kMaxCells) {
            sheet_.merges.push_back(range);
        }
    }

private:
    Sheet& sheet_;
};

class SheetImport : public ss::iface::import_sheet {
public:
    SheetImport(Workbook& book, Sheet& sheet)
        : book_(book),
          sheet_(sheet),
          formula_(book, sheet),
          array_(book, sheet),
          properties_(sheet) {}

    ss::iface::import_sheet_properties* get_sheet_properties() override { return &properties_; }
    ss::iface::import_formula* get_formula() override { return &formula_; }
    ss::iface::import_array_formula* get_array_formula() override { return &array_; }
    void set_auto(ss::row_t row, ss::col_t col, std::string_view s) override {
        book_.Put(sheet_, row, col, Cell{std::string(s)});
    }
    void set_string(ss::row_t row, ss::col_t col, ss::string_id_t index) override {
        std::vector<size_t> parts;
        parts.swap(book_.sinceLastCell);
        if (index >= book_.strings.size()) {
            return;
        }
        if (!book_.joinParagraphs || parts.size() < 2 || parts.back() != index) {
            book_.Put(sheet_, row, col, Cell{book_.strings[index]});
            return;
        }
        const int previousCol = book_.lastCell.first == row ? book_.lastCell.second : -1;
        book_.Put(sheet_, row, col, Cell{book_.Join(parts, 0)});
        book_.joined.push_back({&sheet_, row, col, previousCol, std::move(parts)});
    }
    void set_value(ss::row_t row, ss::col_t col, double value) override {
        book_.Put(sheet_, row, col, Cell{NumberText(value)});
    }
    void set_bool(ss::row_t row, ss::col_t col, bool value) override {
        book_.Put(sheet_, row, col, Cell{value ? "TRUE" : "FALSE"});
    }
    void set_date_time(ss::row_t row, ss::col_t col, int year, int month, int day, int hour,
                       int minute, double second) override {
        char text[64];
        if (hour || minute || second > 0) {
            std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", year, month, day, hour,
                          minute);
        } else {
            std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
        }
        book_.Put(sheet_, row, col, Cell{text});
    }
    void set_format(ss::row_t, ss::col_t, size_t) override {}
    void set_format(ss::row_t, ss::col_t, ss::row_t, ss::col_t, size_t) override {}
    void fill_down_cells(ss::row_t row, ss::col_t col, ss::row_t size) override {
        const auto source = sheet_.cells.find({row, col});
        if (source == sheet_.cells.end()) {
            return;
        }
        const Cell cell = source->second;
        for (ss::row_t r = 1; r <= size; ++r) {
            book_.Put(sheet_, row + r, col, cell);
        }
    }
    ss::range_size_t get_sheet_size() const override { return {kMaxRows + 1, 16384}; }

private:
    Workbook& book_;
    Sheet& sheet_;
    FormulaImport formula_;
    ArrayFormulaImport array_;
    SheetProperties properties_;
};

// Cell addresses as .xlsx writes them: "B3", "$B$3", "Sheet1!B3", "A1:F1",
// "A:A" (a whole column) or "1:1" (a whole row).
class References : public ss::iface::import_reference_resolver {
public:
    ss::src_address_t resolve_address(std::string_view address) override {
        const size_t sheetEnd = address.find_last_of('!');
        if (sheetEnd != std::string_view::npos) {
            address.remove_prefix(sheetEnd + 1);
        }
        ss::src_address_t at{0, -1, -1};
        long column = 0;
        long row = 0;
        bool letters = false;
        bool digits = false;
        for (char c : address) {
            if (c == '$') {
                continue;
            }
            if (c >= 'a' && c <= 'z') {
                c = static_cast<char>(c - 'a' + 'A');
            }
            if (c >= 'A' && c <= 'Z' && !digits && column < 1 << 20) {
                column = column * 26 + (c - 'A' + 1);
                letters = true;
            } else if (c >= '0' && c <= '9' && row < 1 << 24) {
                row = row * 10 + (c - '0');
                digits = true;
            } else {
                throw std::invalid_argument("bad cell address");
            }
        }
        if ((!letters && !digits) || (digits && row == 0)) {
            throw std::invalid_argument("bad cell address");
        }
        at.column = letters ? static_cast<ss::col_t>(column - 1) : -1;
        at.row = digits ? static_cast<ss::row_t>(row - 1) : -1;
        return at;
    }
    ss::src_range_t resolve_range(std::string_view range) override {
        const size_t colon = range.find(':');
        ss::src_range_t resolved{resolve_address(range.substr(0, colon)), {}};
        resolved.last = colon == std::string_view::npos ? resolved.first
                                                        : resolve_address(range.substr(colon + 1));
        for (ss::src_address_t* end : {&resolved.first, &resolved.last}) {
            if (end->row < 0) {
                end->row = end == &resolved.first ? 0 : kMaxRows;
            }
            if (end->column < 0) {
                end->column = end == &resolved.first ? 0 : 16383;
            }
        }
        return resolved;
    }
};

class Factory : public ss::iface::import_factory {
public:
    explicit Factory(Workbook& book) : book_(book), strings_(book) {}
    ss::iface::import_shared_strings* get_shared_strings() override { return &strings_; }
    ss::iface::import_reference_resolver* get_reference_resolver(
        ss::formula_ref_context_t) override {
        return &references_;
    }
    ss::iface::import_sheet* append_sheet(ss::sheet_t, std::string_view name) override {
        if (book_.sheets.size() >= kMaxSheets) {
            book_.Limit("工作表过多");
        }
        book_.sheets.push_back(Sheet{std::string(name), {}, {}});
        imports_.push_back(std::make_unique<SheetImport>(book_, book_.sheets.back()));
        return imports_.back().get();
    }
    ss::iface::import_sheet* get_sheet(std::string_view name) override {
        for (size_t i = 0; i < book_.sheets.size(); ++i) {
            if (book_.sheets[i].name == name) {
                return imports_[i].get();
            }
        }
        return nullptr;
    }
    ss::iface::import_sheet* get_sheet(ss::sheet_t index) override {
        return index >= 0 && static_cast<size_t>(index) < imports_.size() ? imports_[index].get()
                                                                          : nullptr;
    }
    void finalize() override {}

private:
    Workbook& book_;
    SharedStrings strings_;
    References references_;
    std::vector<std::unique_ptr<SheetImport>> imports_;
};

// The rows of a .csv, through liborcus's parser, which (unlike its .csv
// filter) reports a malformed file rather than stopping quietly half way.
class CsvRows {
public:
    CsvRows(Workbook& book, Sheet& sheet) : book_(book), sheet_(sheet) {}
    void begin_parse() {}
    void end_parse() {}
    void begin_row() { col_ = 0; }
    void end_row() { ++row_; }
    void cell(const char* p, size_t n, bool) {
        if (n > 0) {
            book_.Put(sheet_, row_, col_, Cell{std::string(p, n)});
        }
        ++col_;
    }
    int row() const { return row_; }

private:
    Workbook& book_;
    Sheet& sheet_;
    int row_ = 0;
    int col_ = 0;
};

void ReadCsv(std::string_view bytes, const std::string& fileName, Workbook& book,
             ImportReading& reading) {
    // Line ends as Windows or old Macs write them: a quoted cell before
    // "\r\n" would otherwise read as a malformed one.
    const std::string decoded = DecodeText(bytes);
    std::string text;
    text.reserve(decoded.size());
    for (size_t i = 0; i < decoded.size(); ++i) {
        if (decoded[i] != '\r') {
            text += decoded[i];
        } else if (i + 1 >= decoded.size() || decoded[i + 1] != '\n') {
            text += '\n';
        }
    }
    book.sheets.push_back(Sheet{std::filesystem::path(fileName).stem().string(), {}, {}});
    CsvRows rows(book, book.sheets.back());
    orcus::csv::parser_config config;
    config.delimiters = ",";
    config.text_qualifier = '"';
    config.trim_cell_value = false;
    orcus::csv_parser<CsvRows> parser(text.data(), text.size(), rows, config);
    try {
        parser.parse();
    } catch (const orcus::csv::parse_error&) {
        reading.problems.push_back(
            {SourcePlace{fileName, book.sheets.back().name, rows.row() + 1, 0},
             "这一行的格式有误（引号不成对？），无法作为 CSV 读取"});
    }
}

enum class Column {
    Type,
    Stem,
    Option,
    Key,
    Analysis,
    Knowledge,
    Score,
    Difficulty,
    Id,
    QuestionId
};

struct HeaderColumn {
    Column column;
    int option = 0;  // Option: 0 for A
};

std::optional<HeaderColumn> ReadHeader(std::string_view text) {
    std::string name;
    for (char c : WithoutNotes(text)) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
        if (c != ' ' && c != '*' && c != ':') {
            name += c;
        }
    }
    if (name.ends_with("：")) {
        name.erase(name.size() - std::string_view("：").size());
    }
    const auto is = [&](std::initializer_list<std::string_view> names) {
        for (std::string_view n : names) {
            if (name == n) {
                return true;
            }
        }
        return false;
    };
    for (std::string_view prefix : {"选项", ""}) {
        if (name.size() == prefix.size() + 1 && name.starts_with(prefix)) {
            const char letter = name.back();
            if (letter >= 'A' && letter <= 'H') {
                return HeaderColumn{Column::Option, letter - 'A'};
            }
        }
    }
    if (name.size() == 1 + std::string_view("选项").size() && name.ends_with("选项") &&
        name[0] >= 'A' && name[0] <= 'H') {
        return HeaderColumn{Column::Option, name[0] - 'A'};
    }
    if (is({"题型", "类型", "题目类型", "试题类型", "TYPE"})) {
        return HeaderColumn{Column::Type};
    }
    if (is({"题干", "题目", "试题", "题目内容", "试题内容", "题面", "问题", "STEM", "QUESTION"})) {
        return HeaderColumn{Column::Stem};
    }
    if (is({"答案", "正确答案", "参考答案", "标准答案", "ANSWER", "KEY"})) {
        return HeaderColumn{Column::Key};
    }
    if (is({"解析", "答案解析", "题目解析", "试题解析", "详解", "ANALYSIS"})) {
        return HeaderColumn{Column::Analysis};
    }
    if (is({"知识点", "考点", "KNOWLEDGE"})) {
        return HeaderColumn{Column::Knowledge};
    }
    if (is({"分值", "分数", "SCORE"})) {
        return HeaderColumn{Column::Score};
    }
    if (is({"难度", "难易度", "难易程度", "DIFFICULTY"})) {
        return HeaderColumn{Column::Difficulty};
    }
    if (is({"序号", "ID", "编号", "题号"})) {
        return HeaderColumn{Column::Id};
    }
    if (is({"试题编号"})) {
        return HeaderColumn{Column::QuestionId};
    }
    return std::nullopt;
}

std::string ColumnName(int col) {
    std::string name;
    for (++col; col > 0; col = (col - 1) / 26) {
        name.insert(name.begin(), static_cast<char>('A' + (col - 1) % 26));
    }
    return name;
}

std::string CellName(int row, int col) {
    return ColumnName(col) + std::to_string(row + 1);
}

// How many rows from the top are searched for the header row.
constexpr int kHeaderSearchRows = 30;

void ReadSheet(const Sheet& sheet, const std::string& fileName, ImportReading& reading,
               std::set<std::string>& warnedColumns, bool& foundHeader) {
    const auto place = [&](int row) { return SourcePlace{fileName, sheet.name, row + 1, 0}; };
    // The header row: the first near the top that names the stem column.
    std::optional<int> headerRow;
    std::map<int, HeaderColumn> columns;
    int rowsSeen = 0;
    for (auto it = sheet.cells.begin(); it != sheet.cells.end() && !headerRow;) {
        const int row = it->first.first;
        if (++rowsSeen > kHeaderSearchRows) {
            break;
        }
        std::map<int, HeaderColumn> found;
        bool stem = false;
        for (; it != sheet.cells.end() && it->first.first == row; ++it) {
            if (const auto header = ReadHeader(it->second.text)) {
                found.emplace(it->first.second, *header);
                stem = stem || header->column == Column::Stem;
            }
        }
        if (stem) {
            headerRow = row;
            columns = std::move(found);
        }
    }
    if (!headerRow) {
        if (!sheet.cells.empty()) {
            reading.warnings.push_back({SourcePlace{fileName, sheet.name, 0, 0},
                                        "工作表没有找到表头（题干一列），未导入"});
        }
        return;
    }
    foundHeader = true;
    // A column named twice: the first one counts.
    std::set<std::pair<Column, int>> named;
    for (auto it = columns.begin(); it != columns.end();) {
        if (!named.insert({it->second.column, it->second.option}).second) {
            reading.warnings.push_back(
                {place(*headerRow), "列 " + ColumnName(it->first) + "“" +
                                        sheet.cells.at({*headerRow, it->first}).text +
                                        "”与前面的列重名，未导入"});
            it = columns.erase(it);
        } else {
            ++it;
        }
    }
    for (auto it = sheet.cells.lower_bound({*headerRow, 0});
         it != sheet.cells.end() && it->first.first == *headerRow; ++it) {
        const std::string name(Trim(it->second.text));
        if (!columns.contains(it->first.second) && !name.empty() &&
            warnedColumns.insert(name).second) {
            reading.warnings.push_back({place(*headerRow), "不认识的列“" + name + "”，未导入"});
        }
    }
    // Merged cells over several question rows leave all but the first row
    // without the value the teacher sees in them.
    for (const ss::range_t& merge : sheet.merges) {
        if (merge.last.row <= merge.first.row || merge.last.row <= *headerRow) {
            continue;
        }
        const auto mapped = columns.lower_bound(merge.first.column);
        if (mapped != columns.end() && mapped->first <= merge.last.column) {
            reading.problems.push_back(
                {place(merge.first.row), "合并单元格 " +
                                             CellName(merge.first.row, merge.first.column) + ":" +
                                             CellName(merge.last.row, merge.last.column) +
                                             " 跨了几行，每道题要各自填写，请取消合并后再导入"});
        }
    }
    std::set<int> formulaColumnsWarned;
    std::map<std::string, int> keysSeen;
    auto it = sheet.cells.upper_bound({*headerRow, 1 << 30});
    while (it != sheet.cells.end()) {
        const int row = it->first.first;
        QuestionFields fields;
        fields.place = place(row);
        fields.section = sheet.name;
        bool any = false;
        for (; it != sheet.cells.end() && it->first.first == row; ++it) {
            const auto column = columns.find(it->first.second);
            if (column == columns.end()) {
                continue;
            }
            const Cell& cell = it->second;
            if (cell.formula && cell.noResult) {
                reading.problems.push_back(
                    {fields.place,
                     "单元格 " + CellName(row, it->first.second) +
                         " 的公式没有保存计算结果，请在表格程序中打开并保存后再导入"});
            } else if (cell.formula && formulaColumnsWarned.insert(it->first.second).second) {
                reading.warnings.push_back(
                    {fields.place, "单元格 " + CellName(row, it->first.second) +
                                       " 是公式，按显示的值“" + cell.text + "”导入（此列以下同）"});
            }
            // Cells hold no pictures: the mark character is only a character.
            std::string text = cell.text;
            RemoveMarkCharacters(text);
            if (Trim(text).empty()) {
                continue;
            }
            any = true;
            switch (column->second.column) {
                case Column::Type:
                    fields.typeWords = text;
                    break;
                case Column::Stem:
                    fields.stem = text;
                    break;
                case Column::Option:
                    if (fields.options.size() <= static_cast<size_t>(column->second.option)) {
                        fields.options.resize(column->second.option + 1);
                    }
                    fields.options[column->second.option] = text;
                    break;
                case Column::Key:
                    fields.key = text;
                    break;
                case Column::Analysis:
                    fields.analysis = text;
                    break;
                case Column::Knowledge:
                    fields.knowledge = text;
                    break;
                case Column::Score:
                    fields.score = text;
                    break;
                case Column::Difficulty:
                    fields.difficulty = text;
                    break;
                case Column::Id:
                    fields.sourceKey = std::string(Trim(text));
                    break;
                case Column::QuestionId:
                    fields.questionId = text;
                    break;
            }
        }
        if (!any) {
            continue;
        }
        if (!fields.sourceKey.empty()) {
            const auto [seen, added] = keysSeen.emplace(fields.sourceKey, row + 1);
            if (!added) {
                reading.problems.push_back({fields.place, "序号“" + fields.sourceKey + "”与第 " +
                                                              std::to_string(seen->second) +
                                                              " 行重复"});
                continue;
            }
        }
        AddQuestion(fields, reading);
    }
}

std::string DamagedText(SheetFormat format) {
    return format == SheetFormat::Ods ? "文件已损坏，无法作为 ods 工作簿读取"
                                      : "文件已损坏，无法作为 xlsx 工作簿读取";
}

}  // namespace

ImportReading ReadSpreadsheet(std::string_view bytes, const std::string& fileName,
                              SheetFormat format) {
    ImportReading reading;
    const SourcePlace filePlace{fileName, "", 0, 0};
    if (format != SheetFormat::Csv) {
        Result<ZipEntries> zip = ZipEntries::Open(bytes);
        if (!zip) {
            reading.problems.push_back({filePlace, DamagedText(format)});
            return reading;
        }
        if (const Status checked = zip->CheckAll(); !checked) {
            reading.problems.push_back({filePlace, checked.error().code == ErrorCode::BadInput
                                                       ? "文件解压后过大，已拒绝（可能是恶意文件）"
                                                       : DamagedText(format)});
            return reading;
        }
        // liborcus skips the cells of a sheet that keeps its text in the
        // cells rather than in the shared table, as some programs other than
        // the spreadsheet programs write them.
        for (const std::string& name : zip->Names()) {
            if (format == SheetFormat::Xlsx && name.starts_with("xl/worksheets/")) {
                const Result<std::string> sheet = zip->Read(name);
                if (sheet && sheet->find("\"inlineStr\"") != std::string::npos) {
                    reading.problems.push_back(
                        {filePlace,
                         "工作簿的文字以本程序读不了的方式保存，请用 Excel、WPS 或 LibreOffice "
                         "打开后另存为 .xlsx 再导入"});
                    return reading;
                }
            }
        }
    }
    Workbook book;
    book.joinParagraphs = format == SheetFormat::Ods;
    Factory factory(book);
    try {
        switch (format) {
            case SheetFormat::Xlsx: {
                orcus::orcus_xlsx filter(&factory);
                filter.read_stream(bytes);
                break;
            }
            case SheetFormat::Ods: {
                orcus::orcus_ods filter(&factory);
                filter.read_stream(bytes);
                break;
            }
            case SheetFormat::Csv:
                ReadCsv(bytes, fileName, book, reading);
                break;
        }
    } catch (const LimitReached&) {
    } catch (const std::exception&) {
        if (!book.overLimit) {
            reading.problems.push_back({filePlace, DamagedText(format)});
            return reading;
        }
    }
    if (book.overLimit) {
        reading.problems.push_back({filePlace, *book.overLimit + "，已拒绝"});
        return reading;
    }
    if (!reading.problems.empty()) {
        return reading;
    }
    book.Settle();
    std::set<std::string> warnedColumns;
    bool foundHeader = false;
    for (const Sheet& sheet : book.sheets) {
        ReadSheet(sheet, fileName, reading, warnedColumns, foundHeader);
    }
    if (!foundHeader) {
        reading.problems.push_back(
            {filePlace, "没有找到表头：需要一行写着“题干”（或“题目”）等列名"});
    }
    return reading;
}

}  // namespace quillory

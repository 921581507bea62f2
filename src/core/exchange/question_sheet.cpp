#include "core/exchange/question_sheet.h"

#include <algorithm>
#include <set>

#include "core/common/text.h"
#include "core/exchange/import_answer_form.h"
#include "core/exchange/import_plan.h"
#include "core/exchange/question_fields.h"

namespace quillory {

namespace {

constexpr size_t kOptionColumns = 8;  // 选项A … 选项H, as the import reads them
constexpr size_t kFirstOption = 2;    // in QuestionCells: 题型, 题干, then the options
constexpr size_t kMaxSheetName = 31;  // code points, as spreadsheet programs allow

std::string Letter(size_t index) {
    return std::string(1, static_cast<char>('A' + index));
}

std::vector<std::string> Header() {
    std::vector<std::string> header{"题型", "题干"};
    for (size_t o = 0; o < kOptionColumns; ++o) {
        header.push_back("选项" + Letter(o));
    }
    for (const char* name : {"答案", "解析", "知识点", "分值", "难度"}) {
        header.emplace_back(name);
    }
    return header;
}

// Whether the fragment is plain text: no tag but line breaks and the
// paragraphs that wrap lines.
bool IsPlain(const std::string& fragment) {
    std::string rest = ToLowerAscii(fragment);
    for (const char* tag : {"<br>", "<br/>", "<br />", "<p>", "</p>", "<div>", "</div>"}) {
        ReplaceAll(rest, tag, "");
    }
    return rest.find('<') == std::string::npos;
}

std::string WithoutImageTags(const std::string& fragment, bool& dropped) {
    std::string text = fragment;
    for (size_t at = ToLowerAscii(text).find("<img"); at != std::string::npos;
         at = ToLowerAscii(text).find("<img", at)) {
        const size_t end = text.find('>', at);
        text.erase(at, end == std::string::npos ? std::string::npos : end - at + 1);
        dropped = true;
    }
    return text;
}

std::string CellText(const std::string& fragment, bool& droppedImages) {
    const std::string text = WithoutImageTags(fragment, droppedImages);
    if (IsPlain(text)) {
        return Trim(PlainTextOfFragment(text));
    }
    return MarkAsHtml(Trim(text));
}

// Whether the import reads a question of this type title as this kind.
bool TypeSaysKind(const std::string& title, QuestionKind kind) {
    switch (ReadTypeWords(title)) {
        case TypeWords::Single:
            return kind == QuestionKind::SingleChoice;
        case TypeWords::Multiple:
            return kind == QuestionKind::MultipleChoice;
        case TypeWords::TrueFalse:
            return kind == QuestionKind::TrueFalse;
        case TypeWords::FillBlank:
            return kind == QuestionKind::FillBlank;
        case TypeWords::Manual:
            return kind == QuestionKind::Manual;
        case TypeWords::Choice:
            return kind == QuestionKind::SingleChoice;
        case TypeWords::Unknown:
            return false;
    }
    return false;
}

std::string ScoreText(double score) {
    return Format("%g", score);
}

std::string LevelText(int level) {
    static const char* const kLevels[] = {"易", "较易", "中", "较难", "难"};
    return level >= 1 && level <= 5 ? kLevels[level - 1] : "";
}

// A distinct sheet name without the characters spreadsheet programs refuse.
std::string SheetName(const std::string& section, std::set<std::string>& taken) {
    std::string base;
    size_t points = 0;
    for (char c : section) {
        const bool lead = (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        if (lead && ++points > kMaxSheetName - 4) {
            break;
        }
        base += std::string_view("[]:*?/\\").find(c) != std::string_view::npos ? '_' : c;
    }
    base = Trim(base);
    if (base.empty()) {
        base = "试题";
    }
    std::string name = base;
    for (int n = 2; !taken.insert(name).second; ++n) {
        name = Format("%s(%d)", base.c_str(), n);
    }
    return name;
}

}  // namespace

std::vector<std::string> QuestionCells(const ImportedQuestion& q,
                                       std::vector<std::string>* warnings) {
    const auto warn = [&](std::string text) {
        if (warnings != nullptr) {
            warnings->push_back(std::move(text));
        }
    };
    if (q.kind == QuestionKind::Matching || q.kind == QuestionKind::Cloze) {
        warn(std::string(UsualTypeTitle(q.kind)) + "无法写入表格，未导出");
        return {};
    }
    if (q.options.size() > kOptionColumns) {
        warn("选项多于 8 个，表格写不下，未导出");
        return {};
    }
    bool droppedImages = false;
    std::vector<std::string> cells(Header().size());
    cells[0] = Trim(q.typeTitle);
    if (!TypeSaysKind(cells[0], q.kind)) {
        if (!cells[0].empty()) {
            warn("题型“" + cells[0] + "”与作答方式不符，写作“" + UsualTypeTitle(q.kind) + "”");
        }
        cells[0] = UsualTypeTitle(q.kind);
    }
    cells[1] = CellText(q.stem, droppedImages);
    if (q.kind == QuestionKind::SingleChoice || q.kind == QuestionKind::MultipleChoice) {
        for (size_t o = 0; o < q.options.size(); ++o) {
            cells[kFirstOption + o] = CellText(q.options[o], droppedImages);
        }
    }
    std::string& key = cells[kFirstOption + kOptionColumns];
    switch (q.kind) {
        case QuestionKind::SingleChoice:
        case QuestionKind::MultipleChoice:
            for (int index : q.rightOptions) {
                key += Letter(static_cast<size_t>(index));
            }
            break;
        case QuestionKind::TrueFalse:
            key = q.trueFalseKey ? "对" : "错";
            break;
        case QuestionKind::FillBlank:
            for (const std::vector<std::string>& blank : q.blanks) {
                key += (key.empty() ? "" : "|") + (blank.empty() ? "" : blank.front());
            }
            break;
        case QuestionKind::Manual:
            key = CellText(q.referenceAnswer, droppedImages);
            break;
        case QuestionKind::Matching:
        case QuestionKind::Cloze:
            break;
    }
    cells[kFirstOption + kOptionColumns + 1] = CellText(q.analysis, droppedImages);
    std::string knowledge;
    for (const std::string& path : q.knowledgePaths) {
        knowledge += (knowledge.empty() ? "" : "；") + path;
    }
    cells[kFirstOption + kOptionColumns + 2] = knowledge;
    cells[kFirstOption + kOptionColumns + 3] = q.score ? ScoreText(*q.score) : "";
    cells[kFirstOption + kOptionColumns + 4] = LevelText(q.level.value_or(0));
    if (droppedImages) {
        warn("表格中不能放图片，图片未导出");
    }
    return cells;
}

QuestionSheets MakeQuestionSheets(const std::vector<ImportedQuestion>& questions, bool oneSheet) {
    QuestionSheets made;
    struct Rows {
        std::string section;
        std::vector<std::vector<std::string>> rows;
    };
    std::vector<Rows> sections;
    size_t options = 0;
    for (const ImportedQuestion& q : questions) {
        std::vector<std::string> warnings;
        std::vector<std::string> cells = QuestionCells(q, &warnings);
        for (std::string& text : warnings) {
            made.warnings.push_back({q.place, std::move(text)});
        }
        if (cells.empty()) {
            continue;
        }
        ++made.written;
        if (q.kind == QuestionKind::SingleChoice || q.kind == QuestionKind::MultipleChoice) {
            options = std::max(options, q.options.size());
        }
        const std::string section = oneSheet ? "" : Trim(q.section);
        auto found = std::find_if(sections.begin(), sections.end(),
                                  [&](const Rows& rows) { return rows.section == section; });
        if (found == sections.end()) {
            sections.push_back({section, {}});
            found = sections.end() - 1;
        }
        cells.insert(cells.begin(), q.existingId != 0 ? std::to_string(q.existingId) : "");
        found->rows.push_back(std::move(cells));
    }
    // The option columns no question uses are left out.
    const auto unused = [&](std::vector<std::string>& row) {
        const auto first = row.begin() + static_cast<long>(1 + kFirstOption + options);
        row.erase(first, first + static_cast<long>(kOptionColumns - options));
    };
    std::vector<std::string> header = Header();
    header.insert(header.begin(), "试题编号");
    unused(header);
    std::set<std::string> taken;
    for (Rows& section : sections) {
        QuestionSheet sheet{SheetName(section.section, taken), {header}};
        for (std::vector<std::string>& row : section.rows) {
            unused(row);
            sheet.rows.push_back(std::move(row));
        }
        made.sheets.push_back(std::move(sheet));
    }
    if (made.sheets.empty()) {
        made.sheets.push_back({"试题", {header}});
    }
    return made;
}

std::string MarkAsHtml(std::string_view fragment) {
    return "<html>" + std::string(fragment) + "</html>";
}

std::optional<std::string> MarkedHtml(std::string_view text) {
    const std::string trimmed = Trim(text);
    constexpr std::string_view kOpen = "<html>";
    constexpr std::string_view kClose = "</html>";
    if (trimmed.size() < kOpen.size() + kClose.size() || !StartsWith(trimmed, kOpen) ||
        !EndsWith(trimmed, kClose)) {
        return std::nullopt;
    }
    return Trim(std::string_view(trimmed).substr(kOpen.size(),
                                                 trimmed.size() - kOpen.size() - kClose.size()));
}

}  // namespace quillory

#include "core/analysis/analysis_parts.h"

#include <algorithm>

#include "core/common/internal_link.h"
#include "core/common/paper_node_list.h"
#include "core/common/text.h"
#include "core/pages/html_writer.h"
#include "core/store/data_store.h"
#include "core/store/tables.h"

namespace quillory {

PaperNodeList KnowledgeTree(const std::vector<KnowledgeRow>& rows) {
    PaperNodeList tree;
    for (size_t i = 0; i < rows.size(); ++i) {
        tree.Add(
            {.id = rows[i].ID, .superiorId = rows[i].SuperiorID, .title = rows[i].Title, .row = i});
    }
    tree.Order();
    return tree;
}

std::optional<int> KnowledgeIdOf(const std::string& piece) {
    if (piece.size() < 6 || AtoI(piece) == 0) {
        return std::nullopt;
    }
    return AtoI(piece);
}

std::string IdList(const std::vector<int>& ids) {
    std::string list;
    for (const int id : ids) {
        list += (list.empty() ? "" : ",") + std::to_string(id);
    }
    return list;
}

std::string QuestionAndAnswerLinks(int questionId, bool hasPage, bool hasAnswerPage,
                                   const std::string& label) {
    std::string text = hasPage ? HtmlLink(MakeLink(LinkKind::Question, questionId, label), label)
                               : HtmlText(label);
    text += hasAnswerPage ? HtmlLink(MakeLink(LinkKind::Answer, questionId, label + "答案"), "答案")
                          : "(答案)";
    return text;
}

const Titled* FindTitled(const std::vector<Titled>& table, int id) {
    const auto found = std::find_if(table.begin(), table.end(),
                                    [id](const Titled& entry) { return entry.id == id; });
    return found == table.end() ? nullptr : &*found;
}

std::optional<std::vector<Titled>> WithTitles(DataStore& store, const char* table,
                                              const std::vector<int>& ids) {
    std::vector<Titled> titled;
    if (ids.empty()) {
        return titled;
    }
    auto rows =
        store.Query(Format("select * from %s where ID in (%s)", table, IdList(ids).c_str()));
    if (!rows) {
        return std::nullopt;
    }
    std::vector<Titled> found;
    for (; !rows->AtEnd(); rows->Next()) {
        found.push_back({rows->Int("ID"), rows->Text("Title")});
    }
    if (rows->Failed()) {
        return std::nullopt;
    }
    // In the order asked, the first row of an ID that repeats.
    for (const int id : ids) {
        if (const Titled* entry = FindTitled(found, id)) {
            titled.push_back(*entry);
        }
    }
    return titled;
}

std::string PageHeading(std::string_view text) {
    return "<p align=\"center\"><font size=\"5\" color=\"#FF0000\"><b>" + std::string(text) +
           "</b></font></p>\n";
}

std::string TableStart(std::string_view width) {
    return "<table border=\"2\" cellpadding=\"0\" cellspacing=\"1\" width=\"" + std::string(width) +
           "\" id=\"AutoNumber1\" align=\"center\">\n";
}

std::string HeaderCell(const char* start, std::string_view caption) {
    return std::string(start) + "<p align=\"center\"><b>" + std::string(caption) +
           "</b></p>\n</td>\n";
}

std::string ItemCellStart(std::string_view width, int depth) {
    std::string text = "<tr>\n<td width=\"" + std::string(width) +
                       "\" align=\"left\" valign=\"top\">\n"
                       "<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" "
                       "style=\"border-collapse: collapse\">\n<tr>\n";
    for (int level = 1; level < depth; ++level) {
        text += "<td>&nbsp;&nbsp;&nbsp;</td>\n";
    }
    return text + "<td>\n";
}

}  // namespace quillory

#include "core/analysis/paper_item_figures.h"

#include <algorithm>

#include "core/common/internal_link.h"
#include "core/common/paper_node_list.h"
#include "core/common/text.h"
#include "core/pages/html_writer.h"
#include "core/store/tables.h"

namespace quillory {

namespace {

void AddOnce(std::vector<int>& list, int value) {
    if (std::find(list.begin(), list.end(), value) == list.end()) {
        list.push_back(value);
    }
}

}  // namespace

PaperNodeList PaperSubtree(const std::vector<PaperRow>& rows, int root) {
    PaperNodeList all;
    for (size_t i = 0; i < rows.size(); ++i) {
        all.Add(
            {.id = rows[i].ID, .superiorId = rows[i].SuperiorID, .title = rows[i].Title, .row = i});
    }
    PaperNodeList nodes;
    for (const PaperNode& node : all.Nodes()) {
        if (all.IsUnder(node.id, root)) {
            nodes.Add(node);
        }
    }
    nodes.Order();
    return nodes;
}

void ItemTitles::Name(int typeId, const std::string& knowledgeIds) {
    AddOnce(typeIds_, typeId);
    for (const std::string& piece : SplitString(knowledgeIds, ",")) {
        if (const std::optional<int> id = KnowledgeIdOf(piece)) {
            AddOnce(knowledgeIds_, *id);
        }
    }
}

bool ItemTitles::Read(DataStore& store) {
    auto types = WithTitles(store, "QuestionType", typeIds_);
    auto knowledge = types ? WithTitles(store, "Knowledge", knowledgeIds_) : std::nullopt;
    if (!knowledge) {
        return false;
    }
    types_ = std::move(*types);
    knowledge_ = std::move(*knowledge);
    return true;
}

std::optional<std::string> ItemTitles::Type(int typeId) const {
    const Titled* type = FindTitled(types_, typeId);
    return type ? std::optional<std::string>(type->title) : std::nullopt;
}

std::vector<NamedPoint> ItemTitles::Points(const std::string& knowledgeIds) const {
    std::vector<NamedPoint> points;
    for (const std::string& piece : SplitString(knowledgeIds, ",")) {
        if (const std::optional<int> id = KnowledgeIdOf(piece)) {
            const Titled* point = FindTitled(knowledge_, *id);
            points.push_back(
                {*id, point ? std::optional<std::string>(point->title) : std::nullopt});
        }
    }
    return points;
}

std::string ItemAndTypeCells(const PaperItemLine& item, std::string_view answerLabel,
                             std::string_view afterAnswer) {
    std::string cells = ItemCellStart("20%", item.depth);
    if (!item.isQuestion) {
        cells += HtmlText(item.title) + "\n";
    } else {
        cells += item.hasPage ? HtmlLink(MakeLink(LinkKind::Question, item.questionId, item.title),
                                         item.title)
                              : HtmlText(item.title);
        cells += item.hasAnswerPage
                     ? " " +
                           HtmlLink(MakeLink(LinkKind::Answer, item.questionId, item.title),
                                    answerLabel) +
                           std::string(afterAnswer)
                     : "(答案)<br>";
    }
    return cells + kItemCellEnd + "<td width=\"20%\" align=\"center\" valign=\"top\">\n<p>" +
           (item.type ? HtmlText(*item.type) : std::string("-")) + "</p>\n</td>\n";
}

std::string KnowledgeCellText(const std::vector<NamedPoint>& points) {
    if (points.empty()) {
        return "-";
    }
    std::string text;
    for (const NamedPoint& point : points) {
        text += point.title
                    ? HtmlLink(MakeLink(LinkKind::Knowledge, point.id), *point.title) + "<br>\n"
                    : "-";
    }
    return text;
}

}  // namespace quillory

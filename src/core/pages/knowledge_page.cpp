#include "core/pages/knowledge_page.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/common/internal_link.h"
#include "core/common/text.h"
#include "core/host/host.h"
#include "core/pages/html_writer.h"
#include "core/pages/page_text.h"
#include "core/pages/related_block.h"
#include "core/pages/source_page.h"
#include "core/store/data_store.h"
#include "core/store/jet_dialect.h"

namespace quillory {

namespace {

bool SharesAPiece(const std::vector<std::string>& own, const std::vector<std::string>& other) {
    return std::any_of(own.begin(), own.end(), [&](const std::string& a) {
        return std::any_of(other.begin(), other.end(),
                           [&](const std::string& b) { return EqualsNoCase(a, b); });
    });
}

// Points sharing a key word with this one, in title order; the like query
// only narrows the rows, the whole-word comparison decides.
std::optional<std::vector<RelatedLink>> RelatedKnowledge(PageContext& context, int knowledgeId,
                                                         const std::string& keyWord) {
    const std::vector<std::string> own = SplitString(keyWord, ",");
    std::string sql;
    for (const std::string& piece : own) {
        if (!piece.empty()) {
            sql += (sql.empty() ? "select * from Knowledge where KeyWord like '*"
                                : " or KeyWord like '*") +
                   SqlQuote(piece) + "*'";
        }
    }
    std::vector<RelatedLink> links;
    if (sql.empty()) {
        return links;
    }
    auto rows = context.store.Query(sql + " order by Title");
    if (!rows) {
        return std::nullopt;
    }
    for (; !rows->AtEnd(); rows->Next()) {
        if (rows->Int("ID") != knowledgeId &&
            SharesAPiece(own, SplitString(rows->Text("KeyWord"), ",")) &&
            !Trim(rows->Text("Url")).empty()) {
            links.push_back({MakeLink(LinkKind::Knowledge, rows->Int("ID")), rows->Text("Title")});
        }
    }
    if (rows->Failed()) {
        return std::nullopt;
    }
    return links;
}

// Questions whose knowledge list names the point, by type; each line links
// both sides with the labels 试题 and 答案.
std::optional<std::string> RelatedQuestionLines(PageContext& context, int knowledgeId) {
    auto rows = context.store.Query(Format(
        "select Q.ID as ID, Q.TypeID as TypeID, T.Title as Type, Q.Url as Url, Q.AnswerUrl as "
        "AnswerUrl from Question Q left join QuestionType T on Q.TypeID=T.ID where Q.Knowledge "
        "like '*%06d*' order by Q.TypeID",
        knowledgeId));
    if (!rows) {
        return std::nullopt;
    }
    std::string lines;
    for (; !rows->AtEnd(); rows->Next()) {
        if (Trim(rows->Text("Url")).empty() || Trim(rows->Text("AnswerUrl")).empty()) {
            continue;
        }
        const int id = rows->Int("ID");
        lines += HtmlText(rows->Text("Type")) + ": &nbsp" +
                 HtmlLink(MakeLink(LinkKind::Question, id, "试题"), "试题") + " " +
                 HtmlLink(MakeLink(LinkKind::Answer, id, "答案"), "答案") + "<br>\n";
    }
    if (rows->Failed()) {
        return std::nullopt;
    }
    return lines;
}

}  // namespace

void ShowKnowledgePage(PageContext& context, int knowledgeId) {
    std::string url;
    std::string keyWord;
    {
        auto rows = context.store.Query(Format("select * from Knowledge where ID=%d", knowledgeId));
        if (!rows) {
            return;
        }
        if (rows->AtEnd()) {
            context.host.Message("知识点ID没有找到！", MessageIcon::Error);
            return;
        }
        url = rows->Text("Url");
        keyWord = rows->Text("KeyWord");
    }
    ShowSourcePage(context, url, [&](std::string& page, PageEncoding encoding) {
        const auto knowledge = RelatedKnowledge(context, knowledgeId, keyWord);
        const auto questions =
            knowledge ? RelatedQuestionLines(context, knowledgeId) : std::nullopt;
        if (!questions) {
            return false;
        }
        std::string block = RelatedBlockBegin("[相关知识点]");
        for (const RelatedLink& link : *knowledge) {
            block += RelatedLinkLine(link.href, link.text);
        }
        block += RelatedBlockNextRow("[相关试题]") + *questions + RelatedBlockEnd();
        InsertBeforeBodyEnd(page, InPageEncoding(block, encoding));
        return true;
    });
}

}  // namespace quillory

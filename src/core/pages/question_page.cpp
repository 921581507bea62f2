#include "core/pages/question_page.h"

#include <vector>

#include "core/common/internal_link.h"
#include "core/common/text.h"
#include "core/host/host.h"
#include "core/pages/page_text.h"
#include "core/pages/related_block.h"
#include "core/pages/source_page.h"
#include "core/store/data_store.h"

namespace quillory {

namespace {

struct QuestionRow {
    std::string url;
    std::string answerUrl;
    std::string knowledge;
};

// A piece of the knowledge list goes into the statement as it stands (blanks
// included); one that is no number would break or widen the statement, so it
// is left out.
bool IsIdPiece(std::string_view piece) {
    const std::string trimmed = Trim(piece);
    if (trimmed.empty()) {
        return false;
    }
    for (size_t i = 0; i < trimmed.size(); ++i) {
        const char c = trimmed[i];
        if (!(c >= '0' && c <= '9') && !(i == 0 && (c == '-' || c == '+'))) {
            return false;
        }
    }
    return trimmed.size() > 1 || (trimmed[0] != '-' && trimmed[0] != '+');
}

// The question's knowledge points in title order, those with an empty title
// or page left out. Nothing on a database error.
std::optional<std::vector<RelatedLink>> RelatedKnowledge(PageContext& context,
                                                         const std::string& knowledge) {
    std::string sql;
    for (const std::string& piece : SplitString(knowledge, ",")) {
        if (piece.empty() || !IsIdPiece(piece)) {
            continue;
        }
        sql += (sql.empty() ? "select * from Knowledge where ID=" : " or ID=") + piece;
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
        const std::string title = Trim(rows->Text("Title"));
        if (!title.empty() && !Trim(rows->Text("Url")).empty()) {
            links.push_back({MakeLink(LinkKind::Knowledge, rows->Int("ID")), title});
        }
    }
    if (rows->Failed()) {
        return std::nullopt;
    }
    return links;
}

std::string RelatedBlock(int questionId, const std::string& label, bool answerSide,
                         const std::vector<RelatedLink>& knowledge) {
    std::string block = RelatedBlockBegin(answerSide ? "[试题]" : "[答案]");
    block += answerSide ? RelatedLinkLine(MakeLink(LinkKind::Question, questionId, label), "试题")
                        : RelatedLinkLine(MakeLink(LinkKind::Answer, questionId, label), "答案");
    block += RelatedBlockNextRow("[相关知识点]");
    for (const RelatedLink& link : knowledge) {
        block += RelatedLinkLine(link.href, link.text);
    }
    return block + RelatedBlockEnd();
}

}  // namespace

void ShowQuestionPage(PageContext& context, int questionId, const std::string& label,
                      bool answerSide, bool showRelated) {
    QuestionRow question;
    {
        auto rows = context.store.Query(Format("select * from Question where ID=%d", questionId));
        if (!rows) {
            return;
        }
        if (rows->AtEnd()) {
            context.host.Message("试题ID没有找到！", MessageIcon::Error);
            return;
        }
        question = {Trim(rows->Text("Url")), Trim(rows->Text("AnswerUrl")),
                    rows->Text("Knowledge")};
    }
    const auto knowledge = RelatedKnowledge(context, question.knowledge);
    if (!knowledge || question.url.empty() || question.answerUrl.empty()) {
        return;
    }
    const std::string& location = answerSide ? question.answerUrl : question.url;
    ShowSourcePage(context, location, [&](std::string& page, PageEncoding encoding) {
        if (!label.empty()) {
            ReplaceFirstPlaceholder(page, encoding, "[试题]", label);
        }
        if (showRelated) {
            InsertBeforeBodyEnd(
                page,
                InPageEncoding(RelatedBlock(questionId, label, answerSide, *knowledge), encoding));
        }
        return true;
    });
}

}  // namespace quillory

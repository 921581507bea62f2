#include "core/exchange/import_pages.h"

#include "core/common/internal_link.h"
#include "core/common/score_format.h"
#include "core/common/text.h"
#include "core/pages/html_writer.h"

namespace quillory {

namespace {

std::string Page(const char* title, const char* bodyClass, const std::string& body) {
    return std::string(
               "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n<html>\n<head>\n"
               "<meta http-equiv=\"Content-Type\" content=\"text/html; "
               "charset=gb2312\">\n<title>") +
           title +
           "</title>\n<link rel=\"stylesheet\" type=\"text/css\" href=\"common/style.css\">\n"
           "</head>\n<body class=\"" +
           bodyClass + "\">\n" + body + "</body>\n</html>\n";
}

// The fragment with its images pointed into the question's media folder.
std::string WithMedia(std::string html, const ImportedQuestion& question,
                      const std::string& mediaFolder) {
    for (const MediaFile& media : question.media) {
        ReplaceAll(html, "src=\"" + media.name + "\"",
                   "src=\"" + mediaFolder + "/" + HtmlAttribute(media.name) + "\"");
    }
    return html;
}

std::string OptionLetter(size_t index) {
    return std::string(1, static_cast<char>('A' + index));
}

std::string KeyText(const ImportedQuestion& question, const std::string& mediaFolder) {
    switch (question.kind) {
        case QuestionKind::SingleChoice:
        case QuestionKind::MultipleChoice: {
            std::string key;
            for (int index : question.rightOptions) {
                key += OptionLetter(static_cast<size_t>(index));
            }
            return key;
        }
        case QuestionKind::TrueFalse:
            return question.trueFalseKey ? "对" : "错";
        case QuestionKind::FillBlank: {
            std::string key;
            for (size_t b = 0; b < question.blanks.size(); ++b) {
                std::string accepted;
                for (const std::string& answer : question.blanks[b]) {
                    accepted += (accepted.empty() ? "" : " 或 ") + HtmlText(answer);
                }
                key += question.blanks.size() == 1
                           ? accepted
                           : Format("%s（%zu）%s", b == 0 ? "" : "；", b + 1, accepted.c_str());
            }
            return key;
        }
        case QuestionKind::Manual:
            return WithMedia(question.referenceAnswer, question, mediaFolder);
        case QuestionKind::Matching:
        case QuestionKind::Cloze: {
            std::string key;
            for (size_t n = 0; n < question.answerSlots.size(); ++n) {
                const AnswerSlot& slot = question.answerSlots[n];
                std::string answer;
                if (slot.rightChoice >= 0) {
                    answer = OptionLetter(static_cast<size_t>(slot.rightChoice));
                }
                for (const std::string& accepted : slot.accepted) {
                    answer += (answer.empty() ? "" : " 或 ") + HtmlText(accepted);
                }
                key += Format("%s（%zu）%s", n == 0 ? "" : "；", n + 1, answer.c_str());
            }
            return key;
        }
    }
    return {};
}

// Matching lists its left-hand texts before the options; Cloze lists the
// options of each choice slot under its number.
std::string SlotLines(const ImportedQuestion& question, const std::string& mediaFolder) {
    std::string lines;
    for (size_t n = 0; n < question.answerSlots.size(); ++n) {
        const AnswerSlot& slot = question.answerSlots[n];
        std::string line = question.kind == QuestionKind::Matching
                               ? WithMedia(slot.prompt, question, mediaFolder)
                               : std::string();
        for (size_t c = 0; c < slot.choices.size(); ++c) {
            line += (c == 0 ? "" : "　") + OptionLetter(c) + "．" +
                    WithMedia(slot.choices[c], question, mediaFolder);
        }
        if (!line.empty()) {
            lines += Format("<p class=\"opt\">（%zu）", n + 1) + line + "</p>\n";
        }
    }
    return lines;
}

}  // namespace

std::string ImportedQuestionPage(const ImportedQuestion& question, const std::string& typeTitle,
                                 const std::string& mediaFolder) {
    std::string body = "<h3 class=\"item\">[试题]</h3><span class=\"qtype\">" +
                       HtmlText(typeTitle) + "</span>\n<div class=\"stem\">\n<div>" +
                       WithMedia(question.stem, question, mediaFolder) + "</div>\n" +
                       SlotLines(question, mediaFolder);
    for (size_t o = 0; o < question.options.size(); ++o) {
        body += "<p class=\"opt\">" + OptionLetter(o) + "．" +
                WithMedia(question.options[o], question, mediaFolder) + "</p>\n";
    }
    if (question.kind == QuestionKind::TrueFalse) {
        body += "<p class=\"opt\">（对 / 错）</p>\n";
    }
    return Page("试题", "question", body + "</div>\n");
}

std::string ImportedAnswerPage(const ImportedQuestion& question, const std::string& mediaFolder) {
    std::string body =
        "<div class=\"answer-head\">答案与分析</div>\n<div class=\"key\"><b>答案：</b>" +
        KeyText(question, mediaFolder) + "</div>\n";
    if (!Trim(question.analysis).empty()) {
        body += "<div class=\"analysis\"><b>解析：</b>" +
                WithMedia(question.analysis, question, mediaFolder) + "</div>\n";
    }
    return Page("[试题] 答案与分析", "answer", body);
}

std::string ImportedKnowledgePage(const std::string& title,
                                  const std::vector<KnowledgeTrail>& parents) {
    std::string body;
    if (!parents.empty()) {
        body += "<p class=\"hint\">所在位置：";
        for (size_t p = 0; p < parents.size(); ++p) {
            body += (p == 0 ? "" : " &gt; ") +
                    HtmlLink(MakeLink(LinkKind::Knowledge, parents[p].id), parents[p].title);
        }
        body += "</p>\n";
    }
    body += "<h2 class=\"point\">" + HtmlText(title) + "</h2>\n";
    return Page(("考点 - " + HtmlText(title)).c_str(), "knowledge", body);
}

std::string ImportedPaperPage(const std::string& fileName,
                              const std::vector<SectionFacts>& sections) {
    int questions = 0;
    double score = 0;
    std::string rows;
    for (const SectionFacts& section : sections) {
        questions += section.questions;
        score += section.score;
        rows += "<tr><td>" + HtmlText(section.title) + "</td><td>" +
                Format("%d题", section.questions) + "</td><td>" +
                FormatScore(static_cast<float>(section.score)) + "分</td></tr>\n";
    }
    std::string body = "<h2 class=\"paper-title\">[标题]</h2>\n<table class=\"facts\"><tr><td>" +
                       Format("满分：%s分", FormatScore(static_cast<float>(score)).c_str()) +
                       "</td><td>" + Format("题量：%d题", questions) + "</td></tr></table>\n";
    body += "<p class=\"hint\">由文件“" + HtmlText(fileName) +
            "”导入。选择试卷或其中一部分后点“开始练习”进入模拟考场。</p>\n";
    body +=
        "<h4>试卷结构</h4>\n<table "
        "class=\"note\">\n<tr><th>部分</th><th>题数</th><th>分值</th></tr>\n" +
        rows + "</table>\n";
    return Page("试卷", "paper", body);
}

std::string ImportedSectionPage(const std::string& paperTitle, const SectionFacts& section) {
    const std::string body =
        "<h2 class=\"paper-title\">[标题]</h2>\n<table class=\"facts\"><tr><td>" +
        Format("题数：%d题", section.questions) + "</td><td>" +
        Format("分值：%s分", FormatScore(static_cast<float>(section.score)).c_str()) +
        "</td></tr></table>\n<p class=\"hint\">所属试卷：" + HtmlText(paperTitle) + "</p>\n";
    return Page("试卷部分", "paper", body);
}

}  // namespace quillory

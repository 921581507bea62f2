// The pages an import writes, in UTF-8 (they are stored as GB18030 declaring
// gb2312, as a bank's pages are): the question page with its "[试题]"
// heading, the answer page (答案, then 解析), a new knowledge point's page,
// and the imported paper's and its sections' pages with their "[标题]".
// Texts of the question are HTML fragments and go in as they are, so TeX
// stays for the view's KaTeX.
#pragma once

#include <string>
#include <vector>

#include "core/exchange/imported_question.h"

namespace quillory {

// mediaFolder: where the question's images lie, relative to its page; each
// <img src="NAME"> of a media file is pointed there.
std::string ImportedQuestionPage(const ImportedQuestion& question, const std::string& typeTitle,
                                 const std::string& mediaFolder);
std::string ImportedAnswerPage(const ImportedQuestion& question, const std::string& mediaFolder);

struct KnowledgeTrail {
    int id = 0;
    std::string title;
};
// parents: from the top, the points above this one.
std::string ImportedKnowledgePage(const std::string& title,
                                  const std::vector<KnowledgeTrail>& parents);

struct SectionFacts {
    std::string title;
    int questions = 0;
    double score = 0;
};
std::string ImportedPaperPage(const std::string& fileName,
                              const std::vector<SectionFacts>& sections);
std::string ImportedSectionPage(const std::string& paperTitle, const SectionFacts& section);

}  // namespace quillory

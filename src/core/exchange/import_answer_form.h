// The answer form of an imported question, laid out for the answer panel:
// a caption label, then one radio button or check box per option, one edit
// box per blank or one group per matched item or embedded answer (each its
// own judged group, so a part right earns its share), or one multi-line box
// scored by hand.
#pragma once

#include <string>

#include "core/exchange/imported_question.h"

namespace quillory {

// The description for Question.Answer: one control a line, CR LF apart.
// A comma, which would end a field, becomes "，" in captions and keys.
std::string ImportedAnswerForm(const ImportedQuestion& question);

// Why the question's form cannot be made or does not fit the panel's answer
// area (Chinese, for the teacher); empty when it can.
std::string AnswerFormProblem(const ImportedQuestion& question);

// What a key loses on its way into the form (a comma, a line break): the
// warning to give, or empty.
std::string AnswerFormChange(const ImportedQuestion& question);

// The text of an HTML fragment as the form holds a reference answer: tags
// dropped, <br> and the ends of paragraphs as line breaks, the usual
// entities read.
std::string PlainTextOfFragment(std::string_view html);

}  // namespace quillory

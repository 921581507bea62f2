// The parts of a bank question's pages as the import model holds them: the
// stem, the option lines and the slot lines of the question page, the key
// and the analysis of the answer page, each an HTML fragment. Pages our own
// import wrote (and the demo bank's) mark their parts with classes; of other
// pages the body is the stem and option lines are looked for in it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillory {

struct QuestionPageParts {
    std::string stem;
    std::vector<std::string> options;   // "A．…" lines in order, without their letters
    bool optionsFound = false;          // every one of the wanted options was found
    std::vector<std::string> numbered;  // "（1）…" lines in order, without their numbers
};

// page: the whole page, in its own encoding. wantedOptions: how many
// option lines the answer form has captions for (A, B, …); 0 takes none.
QuestionPageParts ReadQuestionPage(std::string_view page, size_t wantedOptions);

struct AnswerPageParts {
    std::string key;       // the class="key" part without its "答案：" label
    std::string analysis;  // the class="analysis" part without its label; else the whole body
};

AnswerPageParts ReadAnswerPage(std::string_view page);

// The src of every <img> in a fragment, as written there (URL escapes read).
std::vector<std::string> ImageSources(std::string_view fragment);

// The fragment with every src="from" of an image as src="to".
std::string WithImageSource(std::string fragment, std::string_view from, std::string_view to);

}  // namespace quillory

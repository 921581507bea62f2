#include "terminal_host.h"

#include <cstdio>

namespace quillory::tool {

void TerminalHost::Message(const std::string& text, MessageIcon icon) {
    std::fprintf(stderr, "quillory-tool: %s\n", text.c_str());
    if (icon == MessageIcon::Error) {
        failed_ = true;
    }
}

Answer TerminalHost::Ask(const std::string& text, Buttons buttons, MessageIcon) {
    Answer answer = Answer::Cancel;
    const char* word = "cancel";
    switch (buttons) {
        case Buttons::Ok:
            answer = Answer::Ok;
            word = "ok";
            break;
        case Buttons::YesNo:
            answer = Answer::No;
            word = "no";
            break;
        case Buttons::OkCancel:
        case Buttons::YesNoCancel:
            break;
    }
    std::fprintf(stderr, "quillory-tool: %s (answered: %s)\n", text.c_str(), word);
    return answer;
}

void TerminalHost::Navigate(const std::string& pathOrUrl) {
    navigations_.push_back(pathOrUrl);
}

}  // namespace quillory::tool

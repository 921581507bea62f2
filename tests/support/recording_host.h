// A Host that records what the core asked of it, for tests.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/host/host.h"

namespace quillory::testing {

class RecordingHost : public Host {
public:
    void Message(const std::string& text, MessageIcon icon) override {
        messages.emplace_back(text, icon);
    }
    Answer Ask(const std::string& text, Buttons, MessageIcon) override {
        questions.push_back(text);
        return answer;
    }
    void Navigate(const std::string& pathOrUrl) override { navigations.push_back(pathOrUrl); }
    void AddGeneratedFile(const std::string& path) override { generatedFiles.push_back(path); }

    std::vector<std::pair<std::string, MessageIcon>> messages;
    std::vector<std::string> questions;
    std::vector<std::string> navigations;
    std::vector<std::string> generatedFiles;
    Answer answer = Answer::Yes;
};

}  // namespace quillory::testing

// A host whose messages are kept to be told later, by whoever can show them:
// the tool prints them after its rows, the program tells them once a build
// on a thread of its own has ended. Questions are answered Cancel; there is
// no view to show a page in.
#pragma once

#include <string>
#include <vector>

#include "core/host/host.h"

namespace quillory {

struct KeptMessage {
    std::string text;
    MessageIcon icon = MessageIcon::None;
};

class KeptMessages final : public Host {
public:
    void Message(const std::string& text, MessageIcon icon) override {
        messages.push_back({text, icon});
    }
    Answer Ask(const std::string&, Buttons, MessageIcon) override { return Answer::Cancel; }
    void Navigate(const std::string&) override {}
    void AddGeneratedFile(const std::string&) override {}

    std::vector<KeptMessage> messages;
};

}  // namespace quillory

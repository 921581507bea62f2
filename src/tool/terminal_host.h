// The core's Host and Progress on a terminal: messages go to standard error,
// questions are answered "no", and the pages the view would show are kept
// for the command to print.
#pragma once

#include <string>
#include <vector>

#include "core/host/host.h"
#include "core/host/no_progress.h"

namespace quillory::tool {

class TerminalHost final : public Host {
public:
    void Message(const std::string& text, MessageIcon icon) override;
    // Nobody is there to answer: the careful answer (No, Cancel).
    Answer Ask(const std::string& text, Buttons buttons, MessageIcon icon) override;
    void Navigate(const std::string& pathOrUrl) override;
    // Generated pages are the command's output and stay.
    void AddGeneratedFile(const std::string&) override {}

    // An error (stop icon) was reported.
    bool Failed() const { return failed_; }
    const std::vector<std::string>& Navigations() const { return navigations_; }

private:
    bool failed_ = false;
    std::vector<std::string> navigations_;
};

}  // namespace quillory::tool

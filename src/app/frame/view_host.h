// The core's Host over a content view: messages and questions as message
// boxes over the view, navigation and generated files of the view.
#pragma once

#include "core/host/host.h"

class CQuilloryView;

class CViewHost final : public quillory::Host {
public:
    explicit CViewHost(CQuilloryView& view) : view_(view) {}

    void Message(const std::string& text, quillory::MessageIcon icon) override;
    quillory::Answer Ask(const std::string& text, quillory::Buttons buttons,
                         quillory::MessageIcon icon) override;
    void Navigate(const std::string& pathOrUrl) override;
    void AddGeneratedFile(const std::string& path) override;

private:
    CQuilloryView& view_;
};

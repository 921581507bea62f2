// The core's Host over a content view: messages and questions as message
// boxes over the view, navigation and generated files of the view. Before
// any view exists (start-up), CWindowHost puts them over a window.
#pragma once

#include "core/host/host.h"

class CQuilloryView;
class QWidget;

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

class CWindowHost final : public quillory::Host {
public:
    // parent may be null: the boxes then stand alone.
    explicit CWindowHost(QWidget* parent) : parent_(parent) {}

    void Message(const std::string& text, quillory::MessageIcon icon) override;
    quillory::Answer Ask(const std::string& text, quillory::Buttons buttons,
                         quillory::MessageIcon icon) override;
    // There is no view to show a page in, nor one to own its file.
    void Navigate(const std::string&) override {}
    void AddGeneratedFile(const std::string&) override {}

private:
    QWidget* parent_;
};

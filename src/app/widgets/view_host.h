// The core's Host over a content view: messages and questions as message
// boxes over the view, navigation and generated files of the view. Before
// any view exists (start-up), CWindowHost puts them over a window.
#pragma once

#include <QString>
#include <functional>
#include <utility>

#include "core/host/host.h"

class QWidget;

class CViewHost final : public quillory::Host {
public:
    using PageAction = std::function<void(const QString& path)>;

    // The boxes stand over view; navigate and addGeneratedFile are the view's.
    CViewHost(QWidget& view, PageAction navigate, PageAction addGeneratedFile)
        : view_(view),
          navigate_(std::move(navigate)),
          addGeneratedFile_(std::move(addGeneratedFile)) {}

    void Message(const std::string& text, quillory::MessageIcon icon) override;
    quillory::Answer Ask(const std::string& text, quillory::Buttons buttons,
                         quillory::MessageIcon icon) override;
    void Navigate(const std::string& pathOrUrl) override;
    void AddGeneratedFile(const std::string& path) override;

private:
    QWidget& view_;
    PageAction navigate_;
    PageAction addGeneratedFile_;
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

#include "widgets/view_host.h"

#include "widgets/message_box.h"
#include "widgets/utf8_text.h"

namespace {

QMessageBox::Icon ToQt(quillory::MessageIcon icon) {
    switch (icon) {
        case quillory::MessageIcon::None:
            return QMessageBox::NoIcon;
        case quillory::MessageIcon::Error:
            return QMessageBox::Critical;
        case quillory::MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case quillory::MessageIcon::Information:
            return QMessageBox::Information;
        case quillory::MessageIcon::Question:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQt(quillory::Buttons buttons) {
    switch (buttons) {
        case quillory::Buttons::Ok:
            return QMessageBox::Ok;
        case quillory::Buttons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case quillory::Buttons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case quillory::Buttons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

quillory::Answer FromQt(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Ok:
            return quillory::Answer::Ok;
        case QMessageBox::Yes:
            return quillory::Answer::Yes;
        case QMessageBox::No:
            return quillory::Answer::No;
        default:
            // Escape or the close box.
            return quillory::Answer::Cancel;
    }
}

void ShowHostMessage(QWidget* parent, const std::string& text, quillory::MessageIcon icon) {
    ShowMessageBox(parent, FromUtf8(text), ToQt(icon));
}

quillory::Answer AskHostQuestion(QWidget* parent, const std::string& text,
                                 quillory::Buttons buttons, quillory::MessageIcon icon) {
    return FromQt(ShowMessageBox(parent, FromUtf8(text), ToQt(icon), ToQt(buttons)));
}

}  // namespace

void CViewHost::Message(const std::string& text, quillory::MessageIcon icon) {
    ShowHostMessage(&view_, text, icon);
}

quillory::Answer CViewHost::Ask(const std::string& text, quillory::Buttons buttons,
                                quillory::MessageIcon icon) {
    return AskHostQuestion(&view_, text, buttons, icon);
}

void CViewHost::Navigate(const std::string& pathOrUrl) {
    navigate_(FromUtf8(pathOrUrl));
}

void CViewHost::AddGeneratedFile(const std::string& path) {
    addGeneratedFile_(FromUtf8(path));
}

void CWindowHost::Message(const std::string& text, quillory::MessageIcon icon) {
    ShowHostMessage(parent_, text, icon);
}

quillory::Answer CWindowHost::Ask(const std::string& text, quillory::Buttons buttons,
                                  quillory::MessageIcon icon) {
    return AskHostQuestion(parent_, text, buttons, icon);
}

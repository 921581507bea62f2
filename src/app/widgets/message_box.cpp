#include "widgets/message_box.h"

#include "core/store/data_file.h"

namespace {

MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}

// Before a data file is open: the product's name. (Not the application's
// display name, which the window system would append to every title.)
QString& Caption() {
    static QString caption = QString::fromUtf8(quillory::kProductName);
    return caption;
}

}  // namespace

QMessageBox::StandardButton ShowMessageBox(QWidget* parent, const QString& text,
                                           QMessageBox::Icon icon,
                                           QMessageBox::StandardButtons buttons,
                                           const QString& caption) {
    if (Handler()) {
        return Handler()(parent, text, icon, buttons);
    }
    QMessageBox box(icon, caption.isEmpty() ? Caption() : caption, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    MessageBoxHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

void SetMessageBoxCaption(const QString& caption) {
    Caption() = caption;
}

#include "frame/message_box.h"

#include "core/store/data_file.h"
#include "shell/quillory_app.h"

namespace {

MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}

QString Caption() {
    if (const CQuilloryApp* app = CQuilloryApp::Instance();
        app != nullptr && !app->ApplicationTitle().isEmpty()) {
        return app->ApplicationTitle();
    }
    // Before a data file is open: the product's name. (Not the application's
    // display name, which the window system would append to every title.)
    return QString::fromUtf8(quillory::kProductName);
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
    if (CQuilloryApp* app = CQuilloryApp::Instance()) {
        app->ApplySkin(&box);
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    MessageBoxHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

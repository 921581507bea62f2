// Shared by the GUI tests of the module frames, the content view and the
// tree: the application object, a bank session over a new data file,
// recorded message boxes, page helpers.
#pragma once

#include <QPoint>
#include <QSignalSpy>
#include <QString>
#include <QWebEngineView>
#include <QtTest>
#include <memory>
#include <string>
#include <vector>

#include "core/store/data_file.h"
#include "program_app.h"
#include "support/memory_settings.h"
#include "support/temp_dir.h"
#include "widgets/bank_session.h"
#include "widgets/message_box.h"
#include "widgets/quillory_view.h"

// A test program over a CQuilloryApp that was not initialised (no data file,
// no main menu).
#define QUILLORY_APP_TEST_MAIN(TestClass)                           \
    int main(int argc, char** argv) {                               \
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); \
        CQuilloryApp app(argc, argv);                               \
        TestClass test;                                             \
        return QTest::qExec(&test, argc, argv);                     \
    }

namespace quillory::testing {

// A bank session over a new data file (the template's empty tables) in dir,
// for windows that need a bank but none of its content; settings in memory.
inline std::unique_ptr<CBankSession> NewBankSession(const TempDir& dir) {
    Result<OpenedDataFile> opened =
        OpenDataFile(dir.File("new.qly"), ProgramFolder(), CreateIfMissing::Yes);
    if (!opened) {
        qWarning("no data file could be made: %s", opened.error().detail.c_str());
        return nullptr;
    }
    return std::make_unique<CBankSession>(std::move(*opened), std::make_unique<MemorySettings>());
}

struct ShownMessage {
    QString text;
    QMessageBox::Icon icon;
};

// Answers every message box with its first button and keeps what it showed.
class MessageRecorder {
public:
    MessageRecorder() {
        previous_ =
            SetMessageBoxHandler([this](QWidget*, const QString& text, QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons) {
                shown_.push_back({text, icon});
                return buttons.testFlag(QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::Yes;
            });
    }
    ~MessageRecorder() { SetMessageBoxHandler(previous_); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    const std::vector<ShownMessage>& Shown() const { return shown_; }
    void Clear() { shown_.clear(); }

private:
    MessageBoxHandler previous_;
    std::vector<ShownMessage> shown_;
};

// Runs script in the page and returns its result, waiting for it.
inline QVariant RunScript(QWebEngineView& view, const QString& script) {
    QVariant result;
    bool done = false;
    view.page()->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 30000)) {
        qWarning("the page did not answer the script");
    }
    return result;
}

// The centre of the element with that id, in the view's coordinates.
inline QPoint ElementCentre(QWebEngineView& view, const QString& id) {
    const QVariantList box =
        RunScript(view, QStringLiteral("(function () {"
                                       "  var r = document.getElementById('%1')"
                                       "              .getBoundingClientRect();"
                                       "  return [r.left + r.width / 2, r.top + r.height / 2];"
                                       "})()")
                            .arg(id))
            .toList();
    if (box.size() != 2) {
        return {};
    }
    return QPoint(qRound(box[0].toDouble()), qRound(box[1].toDouble()));
}

// Navigates the view to a page file and waits until the page is there.
inline bool NavigateAndWait(CQuilloryView& view, const QString& path) {
    QSignalSpy finished(&view, &QWebEngineView::loadFinished);
    view.Navigate(path);
    return finished.wait(30000) && finished.first().first().toBool();
}

}  // namespace quillory::testing

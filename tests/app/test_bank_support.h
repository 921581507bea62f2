// Shared by the GUI tests that browse a bank: one of the test banks built
// into a temporary folder, a bank session over it, and page helpers for what
// the content view shows.
#pragma once

#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>
#include <algorithm>
#include <string>

#include "core/bank/bank_builder.h"
#include "frame_test_support.h"
#include "support/temp_dir.h"
#include "support/test_banks.h"
#include "widgets/fonts.h"
#include "widgets/qt_settings.h"
#include "widgets/quillory_view.h"

// Settings go to a fresh configuration folder, removed afterwards; fonts as
// in the program.
#define QUILLORY_BANK_TEST_MAIN(TestClass)                             \
    int main(int argc, char** argv) {                                  \
        QTemporaryDir configFolder;                                    \
        qputenv("XDG_CONFIG_HOME", configFolder.path().toLocal8Bit()); \
        PrepareFontConfig();                                           \
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);    \
        CQuilloryApp app(argc, argv);                                  \
        TestClass test;                                                \
        return QTest::qExec(&test, argc, argv);                        \
    }

namespace quillory::testing {

inline constexpr int kPageWait = 30000;

// Builds the test bank name (a folder of tests/banks) as name.qly in dir and
// opens it with its settings, as the program does; null (with a warning) when
// either fails.
inline std::unique_ptr<CBankSession> OpenTestBank(const TempDir& dir, const std::string& name) {
    const std::string bank = dir.File(name + ".qly");
    if (const Status built = BuildBank(TestBankSource(name), bank, ProgramFolder()); !built) {
        qWarning("the test bank %s could not be built: %s", name.c_str(),
                 built.error().detail.c_str());
        return nullptr;
    }
    Result<OpenedDataFile> opened = OpenDataFile(bank, ProgramFolder(), CreateIfMissing::No);
    if (!opened) {
        qWarning("the test bank %s could not be opened: %s", name.c_str(),
                 opened.error().detail.c_str());
        return nullptr;
    }
    const QString title = QString::fromUtf8(opened->applicationTitle);
    return std::make_unique<CBankSession>(std::move(*opened), std::make_unique<CQtSettings>(title));
}

// The local file the view shows.
inline QString ShownFile(const QWebEngineView& view) {
    return view.url().toLocalFile();
}

// Runs action and waits until the view has loaded the page it leads to (a
// load that a later one replaced does not count). The wait runs a real event
// loop: the browser's work arrives as a stream of small events.
template <typename Action>
bool WaitForPage(QWebEngineView& view, Action action) {
    QSignalSpy finished(&view, &QWebEngineView::loadFinished);
    action();
    QDeadlineTimer deadline(kPageWait);
    for (qsizetype seen = 0;; ++seen) {
        if (seen == finished.size() &&
            !finished.wait(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1)))) {
            return false;
        }
        if (finished.at(seen).first().toBool()) {
            return true;
        }
    }
}

// The text of the first element matching selector, or a null string.
inline QString ElementText(QWebEngineView& view, const QString& selector) {
    return RunScript(view, QStringLiteral("(function () {"
                                          "  var e = document.querySelector('%1');"
                                          "  return e ? e.textContent : null;"
                                          "})()")
                               .arg(selector))
        .toString();
}

// Clicks the link whose text is text, as the learner does.
inline bool ClickLink(QWebEngineView& view, const QString& text) {
    const QVariantList box =
        RunScript(view, QStringLiteral("(function () {"
                                       "  var links = document.querySelectorAll('a');"
                                       "  for (var i = 0; i < links.length; ++i) {"
                                       "    if (links[i].textContent === '%1') {"
                                       "      links[i].scrollIntoView();"
                                       "      var r = links[i].getBoundingClientRect();"
                                       "      return [r.left + r.width / 2, r.top + r.height / 2];"
                                       "    }"
                                       "  }"
                                       "  return [];"
                                       "})()")
                            .arg(text))
            .toList();
    if (box.size() != 2) {
        return false;
    }
    QTest::mouseClick(view.focusProxy(), Qt::LeftButton, {},
                      QPoint(qRound(box[0].toDouble()), qRound(box[1].toDouble())));
    return true;
}

}  // namespace quillory::testing

// The help opens in the program's own window, on the shipped index, and its
// links and history work there.
#include <QAction>
#include <QApplication>

#include "shell/help.h"
#include "shell/help_wnd.h"
#include "test_bank_support.h"

using quillory::testing::ClickLink;
using quillory::testing::MessageRecorder;
using quillory::testing::ShownFile;
using quillory::testing::WaitForPage;

namespace {

QList<CHelpWnd*> HelpWindows() {
    QList<CHelpWnd*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<CHelpWnd*>(widget)) {
            windows << window;
        }
    }
    return windows;
}

}  // namespace

class HelpWndTest : public QObject {
    Q_OBJECT

private slots:
    void helpOpensInItsOwnWindowAndFollowsItsLinks();
};

void HelpWndTest::helpOpensInItsOwnWindowAndFollowsItsLinks() {
    CQuilloryApp& app = quillory::testing::ProgramApp();
    MessageRecorder messages;
    const QString index = QFileInfo(HelpIndexPath()).absoluteFilePath();

    app.OpenHelp(nullptr);
    QCOMPARE(HelpWindows().size(), 1);
    CHelpWnd* help = HelpWindows().first();
    QVERIFY(help->isVisible());
    // The index started loading when the window was made.
    QVERIFY(WaitForPage(help->View(), [] {}));
    QCOMPARE(ShownFile(help->View()), index);

    QVERIFY(WaitForPage(help->View(),
                        [&] { QVERIFY(ClickLink(help->View(), QStringLiteral("开始使用"))); }));
    QCOMPARE(QFileInfo(ShownFile(help->View())).fileName(), QStringLiteral("start.html"));
    QVERIFY(WaitForPage(help->View(),
                        [&] { help->findChild<QAction*>(QStringLiteral("HelpBack"))->trigger(); }));
    QCOMPARE(ShownFile(help->View()), index);

    help->close();
    app.OpenHelp(nullptr);
    QCOMPARE(HelpWindows(), QList<CHelpWnd*>{help});
    QVERIFY(help->isVisible());
    QVERIFY(messages.Shown().empty());
}

QUILLORY_APP_TEST_MAIN(HelpWndTest)
#include "help_wnd_test.moc"

// The progress window: its caption, its remembered place and cancelling by
// Escape while the operation pumps.
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

#include "app_test_main.h"
#include "widgets/progress_wnd.h"
#include "widgets/qt_settings.h"

class ProgressWndTest : public QObject {
    Q_OBJECT

private slots:
    void captionShowsWholePercentages();
    void captionIsRewrittenOnlyWhenThePercentageChanges();
    void lowerBoundIsNotTakenOffThePosition();
    void stepItAddsTheStep();
    void windowReturnsToItsRememberedPlace();
    void savedPlaceOffTheScreenCentresOnTheOwner();
    void escapeDuringAPumpCancels();
    void escapeIsIgnoredWhenNotAsked();
    void cancelWhileModalClosesTheWindow();
    void oneLineLayoutKeepsTextAndBarInside();

private:
    // A settings store of its own for each case, so no case sees another's
    // saved position.
    CQtSettings NewSettings() { return CQtSettings(QStringLiteral("progress-%1").arg(++runs_)); }
    int runs_ = 0;
};

void ProgressWndTest::captionShowsWholePercentages() {
    CQtSettings settings = NewSettings();
    CProgressWnd progress(nullptr, QStringLiteral("生成试卷"), false, &settings);
    progress.SetRange(0, 10000, 1);
    QStringList captions;
    for (int position : {0, 99, 100, 101, 10000}) {
        progress.SetPos(position);
        captions << progress.windowTitle();
    }
    QCOMPARE(captions, QStringList({"生成试卷 [0%]", "生成试卷 [0%]", "生成试卷 [1%]",
                                    "生成试卷 [1%]", "生成试卷 [100%]"}));
}

void ProgressWndTest::captionIsRewrittenOnlyWhenThePercentageChanges() {
    CQtSettings settings = NewSettings();
    CProgressWnd progress(nullptr, QStringLiteral("Progress"), false, &settings);
    progress.SetRange(0, 1000, 1);
    int titleChanges = 0;
    connect(&progress, &QWidget::windowTitleChanged, this, [&] { ++titleChanges; });
    for (int position = 0; position <= 1000; ++position) {
        progress.SetPos(position);
    }
    QCOMPARE(titleChanges, 101);
    QCOMPARE(progress.findChild<QProgressBar*>()->value(), 1000);
}

void ProgressWndTest::lowerBoundIsNotTakenOffThePosition() {
    CQtSettings settings = NewSettings();
    CProgressWnd progress(nullptr, QStringLiteral("Progress"), false, &settings);
    progress.SetRange(50, 150, 1);
    progress.SetPos(100);
    QCOMPARE(progress.windowTitle(), QStringLiteral("Progress [100%]"));
    // An empty range shows 0%, never a division by zero.
    progress.SetRange(10, 10, 1);
    progress.SetPos(5);
    QCOMPARE(progress.windowTitle(), QStringLiteral("Progress [0%]"));
}

void ProgressWndTest::stepItAddsTheStep() {
    CQtSettings settings = NewSettings();
    CProgressWnd progress(nullptr, QStringLiteral("Progress"), true, &settings);
    progress.SetRange(0, 20, 5);
    progress.StepIt();
    progress.StepIt();
    QCOMPARE(progress.windowTitle(), QStringLiteral("Progress [50%]"));
    QCOMPARE(progress.findChild<QProgressBar*>()->value(), 10);
    // Steps beyond the range: the bar stays full and the caption at 100 %,
    // while the steps go on being counted.
    for (int i = 0; i < 3; ++i) {
        progress.StepIt();
    }
    QCOMPARE(progress.windowTitle(), QStringLiteral("Progress [100%]"));
    QCOMPARE(progress.findChild<QProgressBar*>()->value(), 20);
    progress.SetRange(0, 40, 5);
    progress.StepIt();
    QCOMPARE(progress.windowTitle(), QStringLiteral("Progress [75%]"));
    QCOMPARE(progress.findChild<QProgressBar*>()->value(), 30);
}

void ProgressWndTest::windowReturnsToItsRememberedPlace() {
    CQtSettings settings = NewSettings();
    settings.WriteInt("Settings", "X", 120);
    settings.WriteInt("Settings", "Y", 80);
    {
        CProgressWnd progress(nullptr, QStringLiteral("Progress"), false, &settings);
        QCOMPARE(progress.pos(), QPoint(120, 80));
        progress.move(200, 150);
    }
    // Closing it wrote where it was.
    QCOMPARE(settings.ReadInt("Settings", "X", -1), 200);
    QCOMPARE(settings.ReadInt("Settings", "Y", -1), 150);
    CProgressWnd again(nullptr, QStringLiteral("Progress"), false, &settings);
    QCOMPARE(again.pos(), QPoint(200, 150));
}

void ProgressWndTest::savedPlaceOffTheScreenCentresOnTheOwner() {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QWidget owner;
    owner.setGeometry(40, 60, 500, 400);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));

    for (const QPoint& saved :
         {QPoint(screen.width() + 300, 10), QPoint(10, screen.height()), QPoint(-1, -1)}) {
        CQtSettings settings = NewSettings();
        settings.WriteInt("Settings", "X", saved.x());
        settings.WriteInt("Settings", "Y", saved.y());
        CProgressWnd progress(&owner, QStringLiteral("Progress"), false, &settings);
        // Within the window frame, which only exists once the window is shown.
        const QPoint offset = progress.frameGeometry().center() - owner.frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 6,
                 qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
    }
}

void ProgressWndTest::escapeDuringAPumpCancels() {
    CQtSettings settings = NewSettings();
    CProgressWnd progress(nullptr, QStringLiteral("Progress"), false, &settings);
    QVERIFY(progress.PeekAndPump(true));
    QCoreApplication::postEvent(&progress,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    QVERIFY(!progress.PeekAndPump(true));
    QVERIFY(progress.Cancelled());
    QVERIFY(progress.isHidden());
    // Once cancelled, every later pump says so at once.
    QVERIFY(!progress.PeekAndPump(false));
}

void ProgressWndTest::escapeIsIgnoredWhenNotAsked() {
    CQtSettings settings = NewSettings();
    CProgressWnd progress(nullptr, QStringLiteral("Progress"), false, &settings);
    QCoreApplication::postEvent(&progress,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    QVERIFY(progress.PeekAndPump(false));
    QVERIFY(!progress.Cancelled());
    QVERIFY(progress.isVisible());
}

void ProgressWndTest::cancelWhileModalClosesTheWindow() {
    CQtSettings settings = NewSettings();
    CProgressWnd progress(nullptr, QStringLiteral("Progress"), false, &settings);
    progress.GoModal();
    progress.SetRange(0, 10, 1);
    progress.SetPos(3);
    progress.move(33, 44);
    QCoreApplication::postEvent(&progress,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    QVERIFY(!progress.PeekAndPump(true));
    QVERIFY(!progress.HasWindow());
    QCOMPARE(settings.ReadInt("Settings", "X", -1), 33);
    // The closed window takes no more positions.
    progress.SetPos(9);
    QVERIFY(progress.isHidden());
    QCOMPARE(progress.findChild<QProgressBar*>()->value(), 3);
}

void ProgressWndTest::oneLineLayoutKeepsTextAndBarInside() {
    CQtSettings settings = NewSettings();
    CProgressWnd progress(nullptr, QStringLiteral("Progress"), false, &settings);
    progress.SetWindowSize(1, 390);
    progress.SetText(std::string("正在分析历史纪录……"));
    const QLabel* text = progress.findChild<QLabel*>();
    const QProgressBar* bar = progress.findChild<QProgressBar*>();
    QCOMPARE(text->geometry().topLeft(), QPoint(10, 10));
    QCOMPARE(text->width(), 390);
    QCOMPARE(progress.width(), 410);
    QVERIFY(progress.rect().contains(bar->geometry()));
    QVERIFY(bar->geometry().top() > text->geometry().bottom());
    QVERIFY(bar->height() > 0);
    QCOMPARE(text->text(), QStringLiteral("正在分析历史纪录……"));
}

QUILLORY_APP_TEST_MAIN(ProgressWndTest)
#include "progress_wnd_test.moc"

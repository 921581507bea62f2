// The main menu: which frames are on screen and in what order, how they come
// back after the program was minimised, and what the menu ignores.
#include <QPushButton>
#include <QSignalSpy>
#include <QWebEnginePage>

#include "app_test_main.h"
#include "core/store/data_file.h"
#include "frame/quillory_frame.h"
#include "shell/main_menu_dlg.h"
#include "support/temp_dir.h"
#include "widgets/quillory_view.h"

namespace {

// A module frame that counts how often its tree is filled.
class CountingFrame : public CQuilloryFrame {
public:
    using CQuilloryFrame::CQuilloryFrame;
    void LoadTree() override {
        ++loads;
        SetLoaded(true);
    }
    int loads = 0;
};

// Records the windows that were brought to the top, in order.
class RaiseLog : public QObject {
public:
    void Watch(QWidget* window) { window->installEventFilter(this); }
    QList<QObject*> raised;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ZOrderChange) {
            raised << watched;
        }
        return false;
    }
};

}  // namespace

class MainMenuTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void framesAreMadeHiddenWithTheirTitles();
    void moduleButtonFillsTheTreeOnce();
    void restoreBringsBackTheShownFramesInOrder();
    void secondStartRestoresAMinimisedMenu();
    void closedModuleLeavesTheListAndRaisesTheMenu();
    void examRequestsOpenTheExamFrame();
    void examRequestWhileBusyIsIgnored();
    void escapeAndEnterDoNotCloseTheMenu();
    void closeBoxEndsTheProgram();

private:
    CountingFrame* Frame(Module module) const {
        return static_cast<CountingFrame*>(menu_->Frame(module));
    }
    QPushButton* Button(const QString& text) const {
        for (QPushButton* button : menu_->findChildren<QPushButton*>()) {
            if (button->text() == text) {
                return button;
            }
        }
        return nullptr;
    }

    quillory::testing::TempDir folder_;
    CQuilloryApp& app_ = quillory::testing::ProgramApp();
    std::unique_ptr<CMainMenuDlg> menu_;
    RaiseLog log_;
};

void MainMenuTest::initTestCase() {
    const std::string file = folder_.File("menu.qly");
    QVERIFY(quillory::CreateFromTemplate(quillory::testing::ProgramFolder(), file));
    QVERIFY(app_.OpenDataFile(QString::fromStdString(file)));
}

void MainMenuTest::init() {
    menu_ = std::make_unique<CMainMenuDlg>(*app_.Session(), [](CBankSession& bank, QWidget* owner) {
        std::vector<CQuilloryFrame*> frames;
        for (const ModuleEntry& entry : kModules) {
            frames.push_back(new CountingFrame(bank, entry.resource, owner));
        }
        return frames;
    });
    menu_->Initialize();
    QVERIFY(QTest::qWaitForWindowExposed(menu_.get()));
    log_.raised.clear();
    log_.Watch(menu_.get());
    for (const ModuleEntry& entry : kModules) {
        log_.Watch(menu_->Frame(entry.module));
    }
}

void MainMenuTest::cleanup() {
    menu_.reset();
}

void MainMenuTest::framesAreMadeHiddenWithTheirTitles() {
    const QStringList suffixes = {" - 经典试卷", " - 组卷练习", " - 模拟考场",
                                  " - 权威笔记", " - 考点统计", " - 历史纪录"};
    QCOMPARE(menu_->windowTitle(), QStringLiteral("穹岚 - menu"));
    QVERIFY(!menu_->IsBusy());
    for (const ModuleEntry& entry : kModules) {
        CountingFrame* frame = Frame(entry.module);
        QCOMPARE(frame->windowTitle(),
                 QStringLiteral("穹岚 - menu") + suffixes[IndexOf(entry.module)]);
        QVERIFY(frame->isHidden());
        QCOMPARE(frame->loads, 0);
    }
    QVERIFY(menu_->ShownFrames().isEmpty());
}

void MainMenuTest::moduleButtonFillsTheTreeOnce() {
    CountingFrame* papers = Frame(Module::ClassicPapers);
    CountingFrame* knowledge = Frame(Module::Knowledge);
    for (CountingFrame* frame : {papers, knowledge}) {
        QSignalSpy loaded(frame->ContentView(), &QWebEngineView::loadFinished);
        frame->ContentView()->setHtml(QStringLiteral("<p>页</p>"));
        QVERIFY(loaded.wait(30000));
    }
    Button(QStringLiteral("经典试卷"))->click();
    Button(QStringLiteral("权威笔记"))->click();
    Button(QStringLiteral("经典试卷"))->click();
    QCOMPARE(papers->loads, 1);
    QCOMPARE(knowledge->loads, 1);
    QVERIFY(papers->isVisible());
    QVERIFY(papers->isMaximized());
    QCOMPARE(menu_->ShownFrames(), (QList<CQuilloryFrame*>{knowledge, papers}));
    QCOMPARE(log_.raised.last(), papers);
    // Only the frame on top keeps its page in the renderer, and one put
    // away keeps none.
    const auto state = [](CQuilloryFrame* frame) {
        return frame->ContentView()->page()->lifecycleState();
    };
    QCOMPARE(state(knowledge), QWebEnginePage::LifecycleState::Discarded);
    QCOMPARE(state(papers), QWebEnginePage::LifecycleState::Active);
    papers->close();
    QCOMPARE(state(papers), QWebEnginePage::LifecycleState::Discarded);
}

void MainMenuTest::restoreBringsBackTheShownFramesInOrder() {
    CountingFrame* papers = Frame(Module::ClassicPapers);
    CountingFrame* knowledge = Frame(Module::Knowledge);
    menu_->ShowModule(Module::Knowledge);
    menu_->ShowModule(Module::ClassicPapers);

    // Minimising a module minimises the whole program.
    emit papers->minimizeRequested();
    QVERIFY(menu_->isMinimized());
    QVERIFY(papers->isHidden());
    QVERIFY(knowledge->isHidden());
    QCOMPARE(menu_->ShownFrames(), (QList<CQuilloryFrame*>{knowledge, papers}));

    log_.raised.clear();
    menu_->showNormal();
    QVERIFY(papers->isVisible() && papers->isMaximized());
    QVERIFY(knowledge->isVisible() && knowledge->isMaximized());
    QCOMPARE(log_.raised, (QList<QObject*>{menu_.get(), knowledge, papers}));
    QVERIFY(!Frame(Module::History)->isVisible());
}

void MainMenuTest::secondStartRestoresAMinimisedMenu() {
    CountingFrame* history = Frame(Module::History);
    menu_->ShowModule(Module::History);
    menu_->showMinimized();
    QVERIFY(history->isHidden());
    menu_->BringToFront();
    QVERIFY(!menu_->isMinimized());
    QVERIFY(history->isVisible());
}

void MainMenuTest::closedModuleLeavesTheListAndRaisesTheMenu() {
    CountingFrame* papers = Frame(Module::ClassicPapers);
    CountingFrame* knowledge = Frame(Module::Knowledge);
    menu_->ShowModule(Module::Knowledge);
    menu_->ShowModule(Module::ClassicPapers);

    papers->close();  // the close box only hides a module
    QVERIFY(papers->isHidden());
    QCOMPARE(menu_->ShownFrames(), QList<CQuilloryFrame*>{knowledge});
    QCOMPARE(log_.raised.last(), menu_.get());

    // A frame that is not on the list only brings the menu forward.
    log_.raised.clear();
    emit papers->moduleClosed(papers);
    QCOMPARE(menu_->ShownFrames(), QList<CQuilloryFrame*>{knowledge});
    QCOMPARE(log_.raised, QList<QObject*>{menu_.get()});

    // Shown again, it keeps its tree.
    menu_->ShowModule(Module::ClassicPapers);
    QCOMPARE(papers->loads, 1);
    QCOMPARE(menu_->ShownFrames(), (QList<CQuilloryFrame*>{knowledge, papers}));
}

void MainMenuTest::examRequestsOpenTheExamFrame() {
    CountingFrame* papers = Frame(Module::ClassicPapers);
    CountingFrame* history = Frame(Module::History);
    CountingFrame* exam = Frame(Module::Exam);
    menu_->ShowModule(Module::ClassicPapers);
    emit papers->startExamRequested(papers, 100001);
    QVERIFY(exam->isVisible() && exam->isMaximized());
    QCOMPARE(menu_->ShownFrames(), (QList<CQuilloryFrame*>{papers, exam}));

    menu_->ShowModule(Module::History);
    emit history->reviewExamRequested(history, 700001);
    QCOMPARE(menu_->ShownFrames(), (QList<CQuilloryFrame*>{papers, history, exam}));
    QCOMPARE(log_.raised.last(), exam);
}

void MainMenuTest::examRequestWhileBusyIsIgnored() {
    menu_.reset();
    CMainMenuDlg menu(*app_.Session(), [](CBankSession& bank, QWidget* owner) {
        std::vector<CQuilloryFrame*> frames;
        for (const ModuleEntry& entry : kModules) {
            frames.push_back(new CountingFrame(bank, entry.resource, owner));
        }
        return frames;
    });
    // Arrives while the menu makes its frames.
    bool arrivedWhileBusy = false;
    QMetaObject::invokeMethod(
        &menu,
        [&] {
            arrivedWhileBusy = menu.IsBusy();
            menu.OnStartExam(nullptr, 100001);
            menu.OnReviewExam(nullptr, 700001);
        },
        Qt::QueuedConnection);
    menu.Initialize();
    QVERIFY(arrivedWhileBusy);
    QVERIFY(menu.Frame(Module::Exam)->isHidden());
    QVERIFY(menu.ShownFrames().isEmpty());
}

void MainMenuTest::escapeAndEnterDoNotCloseTheMenu() {
    QSignalSpy exits(menu_.get(), &CMainMenuDlg::exitRequested);
    QPushButton* papers = Button(QStringLiteral("经典试卷"));
    papers->setFocus();
    QTest::keyClick(papers, Qt::Key_Escape);
    QTest::keyClick(papers, Qt::Key_Return);
    QTest::keyClick(papers, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(menu_.get(), Qt::Key_Escape);
    QVERIFY(menu_->isVisible());
    QCOMPARE(exits.count(), 0);
    QVERIFY(menu_->ShownFrames().isEmpty());
}

void MainMenuTest::closeBoxEndsTheProgram() {
    QSignalSpy exits(menu_.get(), &CMainMenuDlg::exitRequested);
    menu_->ShowModule(Module::Knowledge);
    QVERIFY(menu_->close());
    QCOMPARE(exits.count(), 1);
    QVERIFY(menu_->isHidden());
    // The frames went with the menu.
    QCOMPARE(menu_->Frame(Module::Knowledge), nullptr);
    QVERIFY(menu_->ShownFrames().isEmpty());
}

QUILLORY_APP_TEST_MAIN(MainMenuTest)
#include "main_menu_test.moc"

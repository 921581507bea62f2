// The whole program on a copy of the demo bank, used as a learner uses it:
// start on the data file, open every module from the main menu, go back,
// practise a knowledge point, leave.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>

#include "app_test_main.h"
#include "core/bank/bank_builder.h"
#include "find_control.h"
#include "frame/frame_commands.h"
#include "frame/quillory_frame.h"
#include "generation/knowledge_create_paper_dlg.h"
#include "generation/paper_dialog_controls.h"
#include "shell/main_menu_dlg.h"
#include "support/temp_dir.h"
#include "widgets/message_box.h"
#include "widgets/tree_view_ext.h"

class EndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void theMainMenuOpensOnTheDemoBank();
    void everyModuleOpensWithItsMenusAndReturns();
    void aClosedModuleComesBackAsItWas();
    void targetedPracticeShowsTheNewPaperInFront();
    void leavingEndsTheProgram();

private:
    QPushButton* Button(const QString& text) const;
    CQuilloryFrame* OpenModule(const QString& button);

    CQuilloryApp& app_ = quillory::testing::ProgramApp();
    quillory::testing::TempDir folder_;
    QStringList messages_;
    MessageBoxHandler previous_;
};

void EndToEndTest::initTestCase() {
    previous_ = SetMessageBoxHandler(
        [this](QWidget*, const QString& text, QMessageBox::Icon, QMessageBox::StandardButtons) {
            messages_ << text;
            return QMessageBox::Ok;
        });
    // A name of its own: a program the developer runs on demo.qly would hold
    // that title's single-instance lock.
    const std::string bank = folder_.File("端到端.qly");
    const quillory::Status built =
        quillory::BuildBank(quillory::testing::SourceFolder() + "/resources/demo", bank,
                            quillory::testing::ProgramFolder());
    QVERIFY2(built.ok(), built.error().detail.c_str());
    QVERIFY(app_.InitInstance(QString::fromStdString(bank)));
}

void EndToEndTest::cleanupTestCase() {
    app_.ExitInstance();
    SetMessageBoxHandler(previous_);
}

QPushButton* EndToEndTest::Button(const QString& text) const {
    for (QPushButton* button : app_.MainMenu()->findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

CQuilloryFrame* EndToEndTest::OpenModule(const QString& text) {
    QPushButton* button = Button(text);
    if (button == nullptr) {
        return nullptr;
    }
    QTest::mouseClick(button, Qt::LeftButton);
    CQuilloryFrame* shown = nullptr;
    for (const ModuleEntry& entry : kModules) {
        CQuilloryFrame* frame = app_.MainMenu()->Frame(entry.module);
        if (frame->isVisible()) {
            shown = frame;
        }
    }
    return shown;
}

void EndToEndTest::theMainMenuOpensOnTheDemoBank() {
    CMainMenuDlg* menu = app_.MainMenu();
    QVERIFY(menu != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(menu, 20000));
    QCOMPARE(menu->windowTitle(), QStringLiteral("穹岚 - 端到端"));
    for (const char* text : {"考点分析", "权威笔记", "经典试卷", "组卷练习", "历史纪录", "使用帮助",
                             "关于我们", "退出系统"}) {
        QVERIFY2(Button(QString::fromUtf8(text)) != nullptr, text);
    }
    QVERIFY(messages_.isEmpty());
}

void EndToEndTest::everyModuleOpensWithItsMenusAndReturns() {
    const struct {
        const char* button;
        const char* suffix;
    } modules[] = {{"考点分析", " - 考点统计"},
                   {"权威笔记", " - 权威笔记"},
                   {"经典试卷", " - 经典试卷"},
                   {"组卷练习", " - 组卷练习"},
                   {"历史纪录", " - 历史纪录"}};
    for (const auto& module : modules) {
        CQuilloryFrame* frame = OpenModule(QString::fromUtf8(module.button));
        QVERIFY2(frame != nullptr, module.button);
        QVERIFY(QTest::qWaitForWindowExposed(frame, 20000));
        QCOMPARE(frame->windowTitle(),
                 app_.Session()->ApplicationTitle() + QString::fromUtf8(module.suffix));
        QVERIFY(frame->IsLoaded() || frame->Resource() == FrameResource::ClassicAnalysis ||
                frame->Resource() == FrameResource::History);
        QVERIFY(!frame->menuBar()->actions().isEmpty());
        QVERIFY(!frame->findChildren<QToolBar*>().isEmpty());
        QVERIFY(frame->Command(kCmdReturn) != nullptr);
        frame->Command(kCmdReturn)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!frame->isVisible(), 10000);
        QVERIFY(app_.MainMenu()->ShownFrames().isEmpty());
    }
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
}

void EndToEndTest::aClosedModuleComesBackAsItWas() {
    CQuilloryFrame* papers = OpenModule(QStringLiteral("经典试卷"));
    QVERIFY(papers != nullptr);
    const int items = papers->TreeView()->topLevelItemCount();
    QVERIFY(items > 0);
    papers->close();
    QTRY_VERIFY_WITH_TIMEOUT(!papers->isVisible(), 10000);
    QCOMPARE(OpenModule(QStringLiteral("经典试卷")), papers);
    QCOMPARE(papers->TreeView()->topLevelItemCount(), items);
    papers->Command(kCmdReturn)->trigger();
}

void EndToEndTest::targetedPracticeShowsTheNewPaperInFront() {
    CQuilloryFrame* knowledge = OpenModule(QStringLiteral("权威笔记"));
    QVERIFY(knowledge != nullptr);
    const QTreeWidgetItem* point = knowledge->TreeView()->FindItemById(knowledge->CurrentItemId());
    QVERIFY(point != nullptr);
    // Three questions of the first type, from the dialog the command shows.
    bool answered = false;
    QTimer::singleShot(0, knowledge, [&] {
        auto* dialog = qobject_cast<CKnowledgeCreatePaperDlg*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        FindControl<QComboBox>(*dialog, kCtlQuestionType)->setCurrentIndex(0);
        FindControl<QLineEdit>(*dialog, kCtlCount)->setText(QStringLiteral("3"));
        answered = true;
        FindControl<QPushButton>(*dialog, kCtlOk)->click();
    });
    knowledge->Command(kCmdTargeted)->trigger();
    QVERIFY(answered);

    CQuilloryFrame* practice = app_.MainMenu()->Frame(Module::PracticePapers);
    QVERIFY(practice->isVisible());
    QCOMPARE(app_.MainMenu()->ShownFrames().last(), practice);
    const QTreeWidgetItem* paper = practice->TreeView()->FindItemById(practice->CurrentItemId());
    QVERIFY(paper != nullptr && paper->parent() == nullptr);
    QVERIFY(paper->text(0).startsWith(point->text(0) + QLatin1Char(' ')));
    QCOMPARE(paper->childCount(), 3);
    QVERIFY(paper->isExpanded());
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
    practice->Command(kCmdReturn)->trigger();
    knowledge->Command(kCmdReturn)->trigger();
}

void EndToEndTest::leavingEndsTheProgram() {
    QSignalSpy ending(app_.MainMenu(), &CMainMenuDlg::exitRequested);
    QTest::mouseClick(Button(QStringLiteral("退出系统")), Qt::LeftButton);
    QCOMPARE(ending.count(), 1);
}

QUILLORY_APP_TEST_MAIN(EndToEndTest)
#include "end_to_end_test.moc"

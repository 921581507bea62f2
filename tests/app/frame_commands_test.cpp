// The six module frames: their commands as menu items and toolbar buttons,
// the commands the base frame handles, and the enabling that follows the
// frame's state.

#include <QMenuBar>
#include <QToolBar>

#include "analysis/classic_analysis_frame.h"
#include "analysis/history_analysis_frame.h"
#include "frame/frame_commands.h"
#include "frame_test_support.h"
#include "generation/knowledge_frame.h"
#include "practice/do_paper_frame.h"
#include "practice/paper_frame.h"
#include "shell/frame_factory.h"
#include "support/temp_dir.h"
#include "widgets/quillory_view.h"
#include "widgets/tree_view_ext.h"

using quillory::testing::NavigateAndWait;

namespace {

constexpr int kWait = 30000;

// Every item of the frame's menus.
QList<QAction*> MenuItems(const CQuilloryFrame& frame) {
    QList<QAction*> items;
    for (const QAction* popup : frame.menuBar()->actions()) {
        items += popup->menu()->actions();
    }
    return items;
}

QAction* Cmd(const CQuilloryFrame& frame, int id) {
    return frame.findChild<QAction*>(QStringLiteral("cmd%1").arg(id));
}

// A frame the tests may add nodes to, as a derived frame's tree load does.
void AddNode(CQuilloryFrame& frame, int id, int parentId, const QString& title, int historyId = 0) {
    frame.Nodes().Add(
        {.id = id, .superiorId = parentId, .title = title.toStdString(), .historyId = historyId});
    frame.TreeView()->InsertItemById(id, parentId, title, 0, 1);
}

}  // namespace

class FrameCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void factoryMakesTheSixFramesHiddenInOrder();
    void commandsHaveTipsAndOneActionEach();
    void closingHidesTheFrameAndTellsTheMenu();
    void relatedInformationIsOneToggleForAllFrames();
    void relatedInformationSelectsTheCurrentItemAgain();
    void minimisingIsPassedOnAndRestoringRefused();
    void backAndForwardFollowTheViewHistory();
    void paperCommandsFollowTheCurrentNode();
    void historyCommandsFollowTheCurrentNode();

private:
    quillory::testing::TempDir dir_;
    std::unique_ptr<CBankSession> bank_;
    // The new bank has none of the papers the tests add to the trees.
    quillory::testing::MessageRecorder messages_;
    CQuilloryFrame* Frame(Module module) const { return frames_[IndexOf(module)]; }

    std::vector<CQuilloryFrame*> frames_;
};

void FrameCommandsTest::init() {
    bank_ = quillory::testing::NewBankSession(dir_);
    QVERIFY(bank_);
    frames_ = CreateModuleFrames(*bank_, nullptr);
}

void FrameCommandsTest::cleanup() {
    qDeleteAll(frames_);
    frames_.clear();
    bank_.reset();
}

void FrameCommandsTest::factoryMakesTheSixFramesHiddenInOrder() {
    QCOMPARE(frames_.size(), size_t{6});
    for (size_t i = 0; i < frames_.size(); ++i) {
        QVERIFY(frames_[i]->Resource() == kModules[i].resource);
        QVERIFY(!frames_[i]->isVisible());
        QVERIFY(!frames_[i]->IsLoaded());
        QCOMPARE(frames_[i]->CurrentItemId(), -1);
        QVERIFY(frames_[i]->windowState() & Qt::WindowMaximized);
    }
    QVERIFY(qobject_cast<CPaperFrame*>(Frame(Module::ClassicPapers))->Filter() ==
            quillory::PaperFilter::Classic);
    QVERIFY(qobject_cast<CPaperFrame*>(Frame(Module::PracticePapers))->Filter() ==
            quillory::PaperFilter::Practice);
    QVERIFY(qobject_cast<CDoPaperFrame*>(Frame(Module::ClassicPapers)) == nullptr);
    QVERIFY(qobject_cast<CDoPaperFrame*>(Frame(Module::Exam)) != nullptr);
    QVERIFY(qobject_cast<CKnowledgeFrame*>(Frame(Module::Knowledge)) != nullptr);
    QVERIFY(qobject_cast<CClassicAnalysisFrame*>(Frame(Module::ClassicAnalysis)) != nullptr);
    QVERIFY(qobject_cast<CHistoryAnalysisFrame*>(Frame(Module::History)) != nullptr);
}

void FrameCommandsTest::commandsHaveTipsAndOneActionEach() {
    for (const CQuilloryFrame* frame : frames_) {
        const auto toolbar = frame->findChild<QToolBar*>(QStringLiteral("toolbar"));
        QCOMPARE(toolbar->iconSize(), QSize(32, 32));
        const QList<QAction*> menuItems = MenuItems(*frame);
        for (QAction* button : toolbar->actions()) {
            if (button->isSeparator()) {
                continue;
            }
            // The same action as the menu item, so both enable together.
            QVERIFY2(menuItems.contains(button), qPrintable(button->objectName()));
            QCOMPARE(frame->findChildren<QAction*>(button->objectName()).size(), 1);
            QCOMPARE(frame->Command(button->objectName().mid(3).toInt()), button);
            QVERIFY2(!button->icon().pixmap(32, 32).isNull(), qPrintable(button->objectName()));
            QVERIFY(!button->toolTip().isEmpty());
            QCOMPARE(button->statusTip(), button->toolTip());
        }
    }
}

void FrameCommandsTest::closingHidesTheFrameAndTellsTheMenu() {
    CQuilloryFrame& frame = *Frame(Module::Knowledge);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QSignalSpy closed(&frame, &CQuilloryFrame::moduleClosed);

    QVERIFY(!frame.close());
    QVERIFY(!frame.isVisible());
    QCOMPARE(closed.count(), 1);
    QCOMPARE(closed.first().first().value<CQuilloryFrame*>(), &frame);

    frame.show();
    Cmd(frame, kCmdReturn)->trigger();
    QVERIFY(!frame.isVisible());
    QCOMPARE(closed.count(), 2);
}

void FrameCommandsTest::relatedInformationIsOneToggleForAllFrames() {
    CQuilloryFrame& classic = *Frame(Module::ClassicPapers);
    CQuilloryFrame& exam = *Frame(Module::Exam);
    QVERIFY(Cmd(classic, kCmdRelatedInfo)->isChecked());
    QVERIFY(Cmd(exam, kCmdRelatedInfo)->isChecked());

    Cmd(classic, kCmdRelatedInfo)->trigger();
    QVERIFY(!bank_->RelatedInfo());
    QVERIFY(!Cmd(classic, kCmdRelatedInfo)->isChecked());
    // The other frame shows the new state when it comes up.
    exam.show();
    QVERIFY(!Cmd(exam, kCmdRelatedInfo)->isChecked());

    Cmd(exam, kCmdRelatedInfo)->trigger();
    QVERIFY(bank_->RelatedInfo());
    QVERIFY(Cmd(exam, kCmdRelatedInfo)->isChecked());
}

void FrameCommandsTest::relatedInformationSelectsTheCurrentItemAgain() {
    CQuilloryFrame& classic = *Frame(Module::ClassicPapers);
    AddNode(classic, 550001, 0, QStringLiteral("模拟试卷一"));
    AddNode(classic, 550002, 0, QStringLiteral("模拟试卷二"));
    classic.TreeView()->SelectItemById(550002);
    QCOMPARE(classic.CurrentItemId(), 550002);

    classic.TreeView()->SelectItemById(404);
    QVERIFY(classic.TreeView()->selectedItems().isEmpty());
    Cmd(classic, kCmdRelatedInfo)->trigger();
    QCOMPARE(classic.TreeView()->selectedItems().value(0),
             classic.TreeView()->FindItemById(550002));
}

void FrameCommandsTest::minimisingIsPassedOnAndRestoringRefused() {
    CQuilloryFrame& frame = *Frame(Module::ClassicAnalysis);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QSignalSpy minimize(&frame, &CQuilloryFrame::minimizeRequested);

    frame.setWindowState(Qt::WindowMinimized);
    QCOMPARE(minimize.count(), 1);
    QCOMPARE(frame.windowState(), Qt::WindowMaximized);

    frame.showNormal();
    QCOMPARE(frame.windowState(), Qt::WindowMaximized);
    QCOMPARE(minimize.count(), 1);
}

void FrameCommandsTest::backAndForwardFollowTheViewHistory() {
    quillory::testing::TempDir dir;
    const QString first = QString::fromStdString(dir.File("first.html"));
    const QString second = QString::fromStdString(dir.File("second.html"));
    quillory::testing::WriteFileBytes(first.toStdString(), "<html><body>1</body></html>");
    quillory::testing::WriteFileBytes(second.toStdString(), "<html><body>2</body></html>");

    CQuilloryFrame& frame = *Frame(Module::Knowledge);
    CQuilloryView& view = *frame.ContentView();
    QVERIFY(!Cmd(frame, kCmdBack)->isEnabled());
    QVERIFY(!Cmd(frame, kCmdForward)->isEnabled());

    QVERIFY(NavigateAndWait(view, first));
    QVERIFY(NavigateAndWait(view, second));
    QTRY_VERIFY_WITH_TIMEOUT(Cmd(frame, kCmdBack)->isEnabled(), kWait);
    QVERIFY(!Cmd(frame, kCmdForward)->isEnabled());

    Cmd(frame, kCmdBack)->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(Cmd(frame, kCmdForward)->isEnabled(), kWait);
    QTRY_VERIFY_WITH_TIMEOUT(!Cmd(frame, kCmdBack)->isEnabled(), kWait);
    QTRY_COMPARE_WITH_TIMEOUT(view.url(), QUrl::fromLocalFile(first), kWait);

    Cmd(frame, kCmdForward)->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!Cmd(frame, kCmdForward)->isEnabled(), kWait);
    QTRY_COMPARE_WITH_TIMEOUT(view.url(), QUrl::fromLocalFile(second), kWait);
}

void FrameCommandsTest::paperCommandsFollowTheCurrentNode() {
    CQuilloryFrame& practice = *Frame(Module::PracticePapers);
    QVERIFY(!Cmd(practice, kCmdStartExam)->isEnabled());
    QVERIFY(!Cmd(practice, kCmdPrint)->isEnabled());
    QVERIFY(!Cmd(practice, kCmdDelete)->isEnabled());
    QVERIFY(!Cmd(practice, kCmdExportQuestions)->isEnabled());
    QVERIFY(Cmd(practice, kCmdNewPaper)->isEnabled());

    AddNode(practice, 550001, 0, QStringLiteral("组卷一"));
    AddNode(practice, 550002, 550001, QStringLiteral("第一部分"));
    practice.TreeView()->InsertItemById(550009, 0, QStringLiteral("不在列表中"), 0, 1);

    practice.TreeView()->SelectItemById(550002);
    QVERIFY(Cmd(practice, kCmdStartExam)->isEnabled());
    QVERIFY(Cmd(practice, kCmdPrint)->isEnabled());
    QVERIFY(Cmd(practice, kCmdExportQuestions)->isEnabled());
    // A section is not deleted on its own.
    QVERIFY(!Cmd(practice, kCmdDelete)->isEnabled());

    practice.TreeView()->SelectItemById(550001);
    QVERIFY(Cmd(practice, kCmdDelete)->isEnabled());

    practice.TreeView()->SelectItemById(550009);
    QVERIFY(Cmd(practice, kCmdStartExam)->isEnabled());
    QVERIFY(!Cmd(practice, kCmdPrint)->isEnabled());
    QVERIFY(!Cmd(practice, kCmdExportQuestions)->isEnabled());
    QVERIFY(!Cmd(practice, kCmdDelete)->isEnabled());

    practice.ResetTree();
    QCOMPARE(practice.CurrentItemId(), -1);
    QVERIFY(!Cmd(practice, kCmdStartExam)->isEnabled());
}

void FrameCommandsTest::historyCommandsFollowTheCurrentNode() {
    CQuilloryFrame& history = *Frame(Module::History);
    QVERIFY(!Cmd(history, kCmdDelete)->isEnabled());
    QVERIFY(!Cmd(history, kCmdReview)->isEnabled());

    AddNode(history, 810000, 0, QStringLiteral("用户历史分析"));
    AddNode(history, 810001, 810000, QStringLiteral("2024-03-01(得分率:80.0%)"));
    AddNode(history, 810002, 810001, QStringLiteral("(09:30:00)组卷一(得分率:80.0%)"), 700001);

    history.TreeView()->SelectItemById(810001);
    QVERIFY(Cmd(history, kCmdDelete)->isEnabled());
    QVERIFY(!Cmd(history, kCmdReview)->isEnabled());
    history.TreeView()->SelectItemById(810002);
    QVERIFY(Cmd(history, kCmdReview)->isEnabled());
}

QUILLORY_APP_TEST_MAIN(FrameCommandsTest)
#include "frame_commands_test.moc"

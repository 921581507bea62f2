// The six module frames: their menus and toolbars, the commands the base
// frame handles, and the enabling that follows the frame's state.

#include <QMenuBar>
#include <QToolBar>

#include "analysis/classic_analysis_frame.h"
#include "analysis/history_analysis_frame.h"
#include "frame/frame_factory.h"
#include "frame/quillory_view.h"
#include "frame/tree_view_ext.h"
#include "frame_test_support.h"
#include "generation/knowledge_frame.h"
#include "practice/do_paper_frame.h"
#include "practice/paper_frame.h"
#include "support/temp_dir.h"

using quillory::testing::NavigateAndWait;

namespace {

constexpr int kWait = 30000;

QString Describe(const QAction* action) {
    return action->isSeparator() ? QStringLiteral("-")
                                 : action->objectName() + u'=' + action->text();
}

// One line per popup: its title, then its items.
QStringList MenuLines(const CQuilloryFrame& frame) {
    QStringList lines;
    for (const QAction* popup : frame.menuBar()->actions()) {
        QString line = popup->text() + u':';
        for (const QAction* item : popup->menu()->actions()) {
            line += u' ' + Describe(item);
        }
        lines << line;
    }
    return lines;
}

QString ToolbarLine(const CQuilloryFrame& frame) {
    QStringList buttons;
    for (const QAction* action : frame.findChild<QToolBar*>(QStringLiteral("toolbar"))->actions()) {
        buttons << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
    }
    return buttons.join(u' ');
}

QAction* Cmd(const CQuilloryFrame& frame, int id) {
    return frame.findChild<QAction*>(QStringLiteral("cmd%1").arg(id));
}

// A frame the tests may add nodes to, as a derived frame's tree load does.
void AddNode(CQuilloryFrame& frame, int id, int parentId, const QString& title, int tag = 0) {
    frame.Nodes().Add({id, parentId, title.toStdString(), tag});
    frame.TreeView()->InsertItemById(id, parentId, title, 0, 1);
}

const QString kShow =
    QStringLiteral("显　示(&S): cmd146=后  退(&B) cmd188=前  进(&O) - cmd148=相关信息(&K)");
const QString kShowWithoutInfo = QStringLiteral("显　示(&S): cmd146=后  退(&B) cmd188=前  进(&O)");
const QString kHelp = QStringLiteral("帮　助(&H): cmd57670=帮　助(&H) - cmd150=关　于(&A)");

}  // namespace

class FrameCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void factoryMakesTheSixFramesHiddenInOrder();
    void menusAndToolbarsOfEachFrame_data();
    void menusAndToolbarsOfEachFrame();
    void commandsHaveTipsAndOneActionEach();
    void closingHidesTheFrameAndTellsTheMenu();
    void relatedInformationIsOneToggleForAllFrames();
    void relatedInformationSelectsTheCurrentItemAgain();
    void minimisingIsPassedOnAndRestoringRefused();
    void backAndForwardFollowTheViewHistory();
    void paperCommandsFollowTheCurrentNode();
    void historyCommandsFollowTheCurrentNode();

private:
    std::vector<CQuilloryFrame*> frames_;
};

void FrameCommandsTest::init() {
    CQuilloryApp::Instance()->SetRelatedInfo(true);
    frames_ = CreateModuleFrames(*CQuilloryApp::Instance(), nullptr);
}

void FrameCommandsTest::cleanup() {
    qDeleteAll(frames_);
    frames_.clear();
}

void FrameCommandsTest::factoryMakesTheSixFramesHiddenInOrder() {
    QCOMPARE(frames_.size(), size_t{6});
    const int resources[] = {4, 156, 166, 152, 172, 173};
    for (size_t i = 0; i < frames_.size(); ++i) {
        QCOMPARE(frames_[i]->ResourceId(), resources[i]);
        QVERIFY(!frames_[i]->isVisible());
        QVERIFY(!frames_[i]->IsLoaded());
        QCOMPARE(frames_[i]->CurrentItemId(), -1);
        QVERIFY(frames_[i]->windowState() & Qt::WindowMaximized);
    }
    QCOMPARE(qobject_cast<CPaperFrame*>(frames_[0])->Filter(), 1);
    QCOMPARE(qobject_cast<CPaperFrame*>(frames_[1])->Filter(), 2);
    QVERIFY(qobject_cast<CDoPaperFrame*>(frames_[0]) == nullptr);
    QVERIFY(qobject_cast<CDoPaperFrame*>(frames_[2]) != nullptr);
    QVERIFY(qobject_cast<CKnowledgeFrame*>(frames_[3]) != nullptr);
    QVERIFY(qobject_cast<CClassicAnalysisFrame*>(frames_[4]) != nullptr);
    QVERIFY(qobject_cast<CHistoryAnalysisFrame*>(frames_[5]) != nullptr);
}

void FrameCommandsTest::menusAndToolbarsOfEachFrame_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("menus");
    QTest::addColumn<QString>("toolbar");

    QTest::newRow("classic papers")
        << 0
        << QStringList{QStringLiteral("试　卷(&P): cmd133=开始练习(&E) - cmd1339=打印试卷(&P) - "
                                      "cmd130=返    回(&B)"),
                       kShow, kHelp}
        << QStringLiteral("cmd133 - cmd1339 - cmd146 cmd188 - cmd148 - cmd130 - cmd57670 - cmd150");
    QTest::newRow("practice papers")
        << 1
        << QStringList{QStringLiteral("试　卷(&P): cmd133=开始练习(&E) - cmd183=生成试卷(&N) "
                                      "cmd149=删除试卷(&D) - cmd1339=打印试卷(&P) - "
                                      "cmd130=返    回(&B)"),
                       kShow, kHelp}
        << QStringLiteral(
               "cmd133 - cmd1339 - cmd183 cmd149 - cmd146 cmd188 - cmd148 - cmd130 - cmd57670 - "
               "cmd150");
    QTest::newRow("exam")
        << 2
        << QStringList{QStringLiteral("试　卷(&P): cmd185=提交试卷(&S) - cmd130=返    回(&B)"),
                       kShow, kHelp}
        << QStringLiteral("cmd185 - cmd146 cmd188 - cmd148 - cmd130 - cmd57670 - cmd150");
    QTest::newRow("knowledge")
        << 3
        << QStringList{QStringLiteral("知  识(&P): cmd189=针对性练习(&E) - cmd130=返    回(&B)"),
                       kShowWithoutInfo, kHelp}
        << QStringLiteral("cmd189 - cmd146 cmd188 - cmd130 - cmd57670 - cmd150");
    QTest::newRow("classic analysis")
        << 4
        << QStringList{QStringLiteral("分  析(&P): cmd130=返    回(&B)"), kShowWithoutInfo, kHelp}
        << QStringLiteral("cmd146 cmd188 - cmd130 - cmd57670 - cmd150");
    QTest::newRow("history")
        << 5
        << QStringList{QStringLiteral("分  析(&P): cmd186=历史回顾(&R) - cmd149=删除纪录(&D) - "
                                      "cmd130=返    回(&B)"),
                       kShowWithoutInfo, kHelp}
        << QStringLiteral("cmd186 - cmd149 - cmd146 cmd188 - cmd130 - cmd57670 - cmd150");
}

void FrameCommandsTest::menusAndToolbarsOfEachFrame() {
    QFETCH(int, index);
    QFETCH(QStringList, menus);
    QFETCH(QString, toolbar);
    const CQuilloryFrame& frame = *frames_[static_cast<size_t>(index)];
    QCOMPARE(MenuLines(frame), menus);
    QCOMPARE(ToolbarLine(frame), toolbar);
}

void FrameCommandsTest::commandsHaveTipsAndOneActionEach() {
    const CQuilloryFrame& practice = *frames_[1];
    QCOMPARE(Cmd(practice, 133)->toolTip(), QStringLiteral("开始练习选定的试卷项"));
    QCOMPARE(Cmd(practice, 148)->toolTip(), QStringLiteral("是否显示答案与知识点信息"));
    QCOMPARE(Cmd(practice, 1339)->toolTip(), QStringLiteral("打印试卷"));
    QCOMPARE(Cmd(practice, 183)->toolTip(), QStringLiteral("创建新试卷"));
    QCOMPARE(Cmd(*frames_[3], 189)->toolTip(), QStringLiteral("针对考点专项组卷训练"));

    for (const CQuilloryFrame* frame : frames_) {
        const auto toolbar = frame->findChild<QToolBar*>(QStringLiteral("toolbar"));
        QCOMPARE(toolbar->iconSize(), QSize(32, 32));
        for (const QAction* button : toolbar->actions()) {
            if (button->isSeparator()) {
                continue;
            }
            // The same action as the menu item, so both enable together.
            QCOMPARE(frame->findChildren<QAction*>(button->objectName()).size(), 1);
            QCOMPARE(frame->Command(button->objectName().mid(3).toInt()), button);
            QVERIFY2(!button->icon().pixmap(32, 32).isNull(), qPrintable(button->objectName()));
            QVERIFY(!button->toolTip().isEmpty());
            QCOMPARE(button->statusTip(), button->toolTip());
        }
    }
}

void FrameCommandsTest::closingHidesTheFrameAndTellsTheMenu() {
    CQuilloryFrame& frame = *frames_[3];
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QSignalSpy closed(&frame, &CQuilloryFrame::moduleClosed);

    QVERIFY(!frame.close());
    QVERIFY(!frame.isVisible());
    QCOMPARE(closed.count(), 1);
    QCOMPARE(closed.first().first().value<CQuilloryFrame*>(), &frame);

    frame.show();
    Cmd(frame, 130)->trigger();
    QVERIFY(!frame.isVisible());
    QCOMPARE(closed.count(), 2);
}

void FrameCommandsTest::relatedInformationIsOneToggleForAllFrames() {
    CQuilloryApp& app = *CQuilloryApp::Instance();
    CQuilloryFrame& classic = *frames_[0];
    CQuilloryFrame& exam = *frames_[2];
    QVERIFY(Cmd(classic, 148)->isChecked());
    QVERIFY(Cmd(exam, 148)->isChecked());

    Cmd(classic, 148)->trigger();
    QVERIFY(!app.RelatedInfo());
    QVERIFY(!Cmd(classic, 148)->isChecked());
    // The other frame shows the new state when it comes up.
    exam.show();
    QVERIFY(!Cmd(exam, 148)->isChecked());

    Cmd(exam, 148)->trigger();
    QVERIFY(app.RelatedInfo());
    QVERIFY(Cmd(exam, 148)->isChecked());
}

void FrameCommandsTest::relatedInformationSelectsTheCurrentItemAgain() {
    CQuilloryFrame& classic = *frames_[0];
    AddNode(classic, 550001, 0, QStringLiteral("模拟试卷一"));
    AddNode(classic, 550002, 0, QStringLiteral("模拟试卷二"));
    classic.TreeView()->SelectItemById(550002);
    QCOMPARE(classic.CurrentItemId(), 550002);

    classic.TreeView()->SelectItemById(404);
    QVERIFY(classic.TreeView()->selectedItems().isEmpty());
    Cmd(classic, 148)->trigger();
    QCOMPARE(classic.TreeView()->selectedItems().value(0),
             classic.TreeView()->FindItemById(550002));
}

void FrameCommandsTest::minimisingIsPassedOnAndRestoringRefused() {
    CQuilloryFrame& frame = *frames_[4];
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

    CQuilloryFrame& frame = *frames_[3];
    CQuilloryView& view = *frame.ContentView();
    QVERIFY(!Cmd(frame, 146)->isEnabled());
    QVERIFY(!Cmd(frame, 188)->isEnabled());

    QVERIFY(NavigateAndWait(view, first));
    QVERIFY(NavigateAndWait(view, second));
    QTRY_VERIFY_WITH_TIMEOUT(Cmd(frame, 146)->isEnabled(), kWait);
    QVERIFY(!Cmd(frame, 188)->isEnabled());

    Cmd(frame, 146)->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(Cmd(frame, 188)->isEnabled(), kWait);
    QTRY_VERIFY_WITH_TIMEOUT(!Cmd(frame, 146)->isEnabled(), kWait);
    QCOMPARE(view.url(), QUrl::fromLocalFile(first));

    Cmd(frame, 188)->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!Cmd(frame, 188)->isEnabled(), kWait);
    QCOMPARE(view.url(), QUrl::fromLocalFile(second));
}

void FrameCommandsTest::paperCommandsFollowTheCurrentNode() {
    CQuilloryFrame& practice = *frames_[1];
    QVERIFY(!Cmd(practice, 133)->isEnabled());
    QVERIFY(!Cmd(practice, 1339)->isEnabled());
    QVERIFY(!Cmd(practice, 149)->isEnabled());
    QVERIFY(Cmd(practice, 183)->isEnabled());

    AddNode(practice, 550001, 0, QStringLiteral("组卷一"));
    AddNode(practice, 550002, 550001, QStringLiteral("第一部分"));
    practice.TreeView()->InsertItemById(550009, 0, QStringLiteral("不在列表中"), 0, 1);

    practice.TreeView()->SelectItemById(550002);
    QVERIFY(Cmd(practice, 133)->isEnabled());
    QVERIFY(Cmd(practice, 1339)->isEnabled());
    // A section is not deleted on its own.
    QVERIFY(!Cmd(practice, 149)->isEnabled());

    practice.TreeView()->SelectItemById(550001);
    QVERIFY(Cmd(practice, 149)->isEnabled());

    practice.TreeView()->SelectItemById(550009);
    QVERIFY(Cmd(practice, 133)->isEnabled());
    QVERIFY(!Cmd(practice, 1339)->isEnabled());
    QVERIFY(!Cmd(practice, 149)->isEnabled());

    practice.ResetTree();
    QCOMPARE(practice.CurrentItemId(), -1);
    QVERIFY(!Cmd(practice, 133)->isEnabled());
}

void FrameCommandsTest::historyCommandsFollowTheCurrentNode() {
    CQuilloryFrame& history = *frames_[5];
    QVERIFY(!Cmd(history, 149)->isEnabled());
    QVERIFY(!Cmd(history, 186)->isEnabled());

    AddNode(history, 810000, 0, QStringLiteral("用户历史分析"));
    AddNode(history, 810001, 810000, QStringLiteral("2024-03-01(得分率:80.0%)"));
    AddNode(history, 810002, 810001, QStringLiteral("(09:30:00)组卷一(得分率:80.0%)"), 700001);

    history.TreeView()->SelectItemById(810001);
    QVERIFY(Cmd(history, 149)->isEnabled());
    QVERIFY(!Cmd(history, 186)->isEnabled());
    history.TreeView()->SelectItemById(810002);
    QVERIFY(Cmd(history, 186)->isEnabled());
}

QUILLORY_APP_TEST_MAIN(FrameCommandsTest)
#include "frame_commands_test.moc"

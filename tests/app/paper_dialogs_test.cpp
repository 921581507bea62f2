// The two paper dialogs on the templates test bank: what each refuses (and
// stays open for), what it remembers only on OK, the period radios, the
// type count lowering the number of questions; and kCmdNewPaper adding the
// generated paper to the practice tree, expanded and selected.
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "core/host/setting_names.h"
#include "find_control.h"
#include "frame/frame_commands.h"
#include "generation/auto_paper_dlg.h"
#include "generation/knowledge_create_paper_dlg.h"
#include "generation/paper_dialog_controls.h"
#include "practice/paper_frame.h"
#include "support/memory_settings.h"
#include "test_bank_support.h"
#include "widgets/tree_view_ext.h"

using quillory::testing::MemorySettings;
using quillory::testing::MessageRecorder;
using quillory::testing::WaitForPage;

namespace {

// The templates bank (tests/banks/templates).
constexpr int kUnitTemplate = 401000;    // "单元练习": a section of two choice slots
constexpr int kReviewTemplate = 402000;  // "复习练习"
constexpr int kChoiceType = 900001;      // three questions below the chapter
constexpr int kBlankType = 900002;       // one
const std::vector<std::string> kChapterSet = {"301000", "301200", "301100"};

const std::string kAdjust =
    std::string(quillory::setting::kSection) + "/" + quillory::setting::kAutoAdjust;
const std::string kPeriod =
    std::string(quillory::setting::kSection) + "/" + quillory::setting::kPeriod;

void Click(QWidget& dialog, int button) {
    FindControl<QPushButton>(dialog, button)->click();
}

QStringList RadiosEnabled(QWidget& dialog) {
    QStringList enabled;
    for (const int id : {kCtlPeriod7Days, kCtlPeriod30Days, kCtlPeriodAll}) {
        if (FindControl<QRadioButton>(dialog, id)->isEnabled()) {
            enabled << FindControl<QRadioButton>(dialog, id)->text();
        }
    }
    return enabled;
}

}  // namespace

class PaperDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void autoPaperDialogListsTheTemplatesAndRemembersOnlyOnOk();
    void autoPaperDialogRefusesAnEmptyTitle();
    void targetedDialogRefusesInTheOrderOfItsChecks();
    void targetedDialogLowersTheCountToTheChosenType();
    void targetedDialogCancelRemembersNothing();
    void newPaperCommandShowsThePaperExpandedAndSelected();

private:
    quillory::testing::TempDir dir_;
    std::unique_ptr<CBankSession> bank_;
    MessageRecorder messages_;
};

void PaperDialogsTest::initTestCase() {
    bank_ = quillory::testing::OpenTestBank(dir_, "templates");
    QVERIFY(bank_);
}

void PaperDialogsTest::init() {
    messages_.Clear();
}

void PaperDialogsTest::autoPaperDialogListsTheTemplatesAndRemembersOnlyOnOk() {
    MemorySettings settings;
    settings.values = {{kAdjust, 0}, {kPeriod, 2}};
    const std::vector<quillory::TemplateChoice> templates = {{kUnitTemplate, "单元练习"},
                                                             {kReviewTemplate, "复习练习"}};
    {
        CAutoPaperDlg dialog(settings, templates, nullptr);
        dialog.show();
        QListWidget* list = FindControl<QListWidget>(dialog, kCtlTemplateList);
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(1)->text(), QStringLiteral("复习练习"));
        QCOMPARE(list->currentRow(), 0);
        QVERIFY(FindControl<QRadioButton>(dialog, kCtlPeriodAll)->isChecked());
        // The radios follow the check box.
        QCOMPARE(RadiosEnabled(dialog), QStringList());
        FindControl<QCheckBox>(dialog, kCtlAdjustByHistory)->click();
        QCOMPARE(RadiosEnabled(dialog), QStringList({"7天", "30天", "全部"}));
        FindControl<QRadioButton>(dialog, kCtlPeriod30Days)->click();
        Click(dialog, kCtlCancel);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(settings.values, (std::map<std::string, int>{{kAdjust, 0}, {kPeriod, 2}}));
    }
    CAutoPaperDlg dialog(settings, templates, nullptr);
    dialog.show();
    FindControl<QLineEdit>(dialog, kCtlPaperTitle)->setText(QStringLiteral("  第1套 "));
    FindControl<QCheckBox>(dialog, kCtlAdjustByHistory)->click();
    FindControl<QRadioButton>(dialog, kCtlPeriod30Days)->click();
    FindControl<QListWidget>(dialog, kCtlTemplateList)->setCurrentRow(1);
    Click(dialog, kCtlOk);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.Title(), std::string("第1套"));
    QCOMPARE(dialog.TemplateId(), kReviewTemplate);
    QCOMPARE(settings.values, (std::map<std::string, int>{{kAdjust, 1}, {kPeriod, 1}}));
    QVERIFY(messages_.Shown().empty());
}

void PaperDialogsTest::autoPaperDialogRefusesAnEmptyTitle() {
    MemorySettings settings;
    CAutoPaperDlg dialog(settings, {}, nullptr);
    dialog.show();
    FindControl<QLineEdit>(dialog, kCtlPaperTitle)->setText(QStringLiteral(" \t"));
    Click(dialog, kCtlOk);
    QVERIFY(dialog.isVisible());
    QCOMPARE(messages_.Shown().size(), size_t{1});
    QCOMPARE(messages_.Shown()[0].text, QStringLiteral("请输入试卷标题！"));
    QCOMPARE(messages_.Shown()[0].icon, QMessageBox::Warning);
    QCOMPARE(dialog.focusWidget(), FindControl<QLineEdit>(dialog, kCtlPaperTitle));
    QVERIFY(settings.values.empty());

    // Without templates the dialog closes with template 0, which the command refuses.
    FindControl<QLineEdit>(dialog, kCtlPaperTitle)->setText(QStringLiteral("第1套"));
    Click(dialog, kCtlOk);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.TemplateId(), 0);
}

void PaperDialogsTest::targetedDialogRefusesInTheOrderOfItsChecks() {
    struct Case {
        const char* title;
        int typeIndex;  // -1: none chosen
        const char* count;
        const char* score;
        QString message;
        int focus;
    };
    const Case cases[] = {
        {"", -1, "0", "150", "请输入一个介于 1 和 100 之间的整数。", kCtlCount},
        {"", -1, "0", "abc", "请输入一个介于 1 和 100 之间的整数。", kCtlCount},
        {"", -1, "101", "1", "请输入一个介于 1 和 100 之间的整数。", kCtlCount},
        {"", -1, "x", "abc", "请输入一个整数。", kCtlCount},
        {"", -1, "1", "101.5", "请输入一个介于 0 和 100 之间的整数。", kCtlScore},
        {"", -1, "1", "", "请输入一个数字。", kCtlScore},
        {" ", -1, "1", "2.5", "请输入试卷标题！", kCtlPaperTitle},
        {"练习", -1, "1", "2.5", "请选择试题类型！", kCtlQuestionType},
        {"练习", 1, "2", "2.5", "试题数量超出总题数！", kCtlCount},
    };
    for (const Case& c : cases) {
        const QString trace = QStringLiteral("%1 %2 %3").arg(c.count, c.score, c.message);
        MemorySettings settings;
        CKnowledgeCreatePaperDlg dialog(bank_->Store(), settings, QStringLiteral("第1章 河流"),
                                        kChapterSet, nullptr);
        QVERIFY(dialog.InitDialog());
        dialog.show();
        FindControl<QLineEdit>(dialog, kCtlPaperTitle)->setText(QString::fromUtf8(c.title));
        FindControl<QComboBox>(dialog, kCtlQuestionType)->setCurrentIndex(c.typeIndex);
        FindControl<QLineEdit>(dialog, kCtlCount)->setText(QString::fromUtf8(c.count));
        FindControl<QLineEdit>(dialog, kCtlScore)->setText(QString::fromUtf8(c.score));
        messages_.Clear();
        Click(dialog, kCtlOk);
        QVERIFY2(dialog.isVisible(), qPrintable(trace));
        QCOMPARE(messages_.Shown().size(), size_t{1});
        QCOMPARE(messages_.Shown()[0].text, c.message);
        QCOMPARE(messages_.Shown()[0].icon, QMessageBox::Warning);
        QVERIFY2(dialog.focusWidget() == FindControl<QWidget>(dialog, c.focus), qPrintable(trace));
        QVERIFY(settings.values.empty());
    }
}

void PaperDialogsTest::targetedDialogLowersTheCountToTheChosenType() {
    MemorySettings settings;
    settings.values = {{kAdjust, 1}, {kPeriod, 0}};
    CKnowledgeCreatePaperDlg dialog(bank_->Store(), settings, QStringLiteral("第1章 河流"),
                                    kChapterSet, nullptr);
    QVERIFY(dialog.InitDialog());
    dialog.show();
    QComboBox* types = FindControl<QComboBox>(dialog, kCtlQuestionType);
    QCOMPARE(types->count(), 2);
    QCOMPARE(types->currentIndex(), -1);
    QCOMPARE(types->itemText(0), QStringLiteral("单项选择题"));
    QCOMPARE(types->itemData(1).toInt(), kBlankType);
    QCOMPARE(RadiosEnabled(dialog), QStringList({"7天", "30天", "全部"}));
    QVERIFY(FindControl<QRadioButton>(dialog, kCtlPeriod7Days)->isChecked());
    QCOMPARE(FindControl<QLineEdit>(dialog, kCtlScore)->text(), QStringLiteral("1"));

    QLineEdit* count = FindControl<QLineEdit>(dialog, kCtlCount);
    count->setText(QStringLiteral("10"));
    types->setCurrentIndex(0);
    QCOMPARE(count->text(), QStringLiteral("3"));
    QCOMPARE(FindControl<QLabel>(dialog, kCtlTypeCount)->text(), QStringLiteral("本类题数:3"));
    types->setCurrentIndex(1);
    QCOMPARE(count->text(), QStringLiteral("1"));
    QCOMPARE(FindControl<QLabel>(dialog, kCtlTypeCount)->text(), QStringLiteral("本类题数:1"));
    // A smaller count stays; the arrows keep within the type's count.
    types->setCurrentIndex(0);
    QCOMPARE(count->text(), QStringLiteral("1"));
    for (int i = 0; i < 5; ++i) {
        FindControl<QWidget>(dialog, kCtlCountArrows)
            ->findChild<QAbstractButton*>(QStringLiteral("up"))
            ->click();
    }
    QCOMPARE(count->text(), QStringLiteral("3"));

    // A count equal to the type's count is taken.
    FindControl<QLineEdit>(dialog, kCtlScore)->setText(QStringLiteral("2.5"));
    FindControl<QRadioButton>(dialog, kCtlPeriodAll)->click();
    Click(dialog, kCtlOk);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.TypeId(), kChoiceType);
    QCOMPARE(dialog.Count(), 3);
    QCOMPARE(dialog.Score(), 2.5);
    QCOMPARE(dialog.Title(), std::string("第1章 河流"));
    QCOMPARE(settings.values, (std::map<std::string, int>{{kAdjust, 1}, {kPeriod, 2}}));
    QVERIFY(messages_.Shown().empty());
}

void PaperDialogsTest::targetedDialogCancelRemembersNothing() {
    MemorySettings settings;
    CKnowledgeCreatePaperDlg dialog(bank_->Store(), settings, QStringLiteral("1.2 黄河"),
                                    {"301200"}, nullptr);
    QVERIFY(dialog.InitDialog());
    dialog.show();
    // Below 1.2 黄河 there is one choice question and no blank.
    FindControl<QComboBox>(dialog, kCtlQuestionType)->setCurrentIndex(1);
    QCOMPARE(FindControl<QLabel>(dialog, kCtlTypeCount)->text(), QStringLiteral("本类题数:0"));
    FindControl<QCheckBox>(dialog, kCtlAdjustByHistory)->click();
    QCOMPARE(RadiosEnabled(dialog), QStringList({"7天", "30天", "全部"}));
    FindControl<QRadioButton>(dialog, kCtlPeriod30Days)->click();
    Click(dialog, kCtlCancel);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(settings.values.empty());
}

void PaperDialogsTest::newPaperCommandShowsThePaperExpandedAndSelected() {
    CPaperFrame frame(*bank_, FrameResource::PracticePapers, quillory::PaperFilter::Practice,
                      nullptr);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    frame.LoadTree();
    QCOMPARE(frame.TreeView()->topLevelItemCount(), 0);

    // The learner names the paper and takes the first template, 单元练习.
    bool answered = false;
    QTimer::singleShot(0, &frame, [&] {
        auto* dialog = qobject_cast<CAutoPaperDlg*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        FindControl<QLineEdit>(*dialog, kCtlPaperTitle)->setText(QStringLiteral("我的练习"));
        answered = true;
        Click(*dialog, kCtlOk);
    });
    QVERIFY(WaitForPage(*frame.ContentView(), [&] { frame.Command(kCmdNewPaper)->trigger(); }));
    QVERIFY(answered);
    QVERIFY(messages_.Shown().empty());

    const CTreeViewExt& tree = *frame.TreeView();
    QCOMPARE(tree.topLevelItemCount(), 1);
    QTreeWidgetItem* paper = tree.topLevelItem(0);
    QCOMPARE(paper->text(0), QStringLiteral("我的练习"));
    QCOMPARE(frame.CurrentItemId(), CTreeViewExt::ItemId(paper));
    QVERIFY(paper->isSelected());
    QCOMPARE(paper->childCount(), 1);
    QTreeWidgetItem* section = paper->child(0);
    QCOMPARE(section->text(0), QStringLiteral("第1部分 选择题"));
    QCOMPARE(section->childCount(), 2);
    QVERIFY(paper->isExpanded());
    QVERIFY(section->isExpanded());
}

QUILLORY_BANK_TEST_MAIN(PaperDialogsTest)
#include "paper_dialogs_test.moc"

// The answer panel and the windows of an answer form: control IDs, radio
// groups, the answer text read back from every kind of control, the panel's
// captions and icons per exam state, the score entry and the answer toggle.
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

#include "find_control.h"
#include "frame_test_support.h"
#include "practice/answer_controls.h"
#include "practice/do_paper_frame.h"
#include "practice/input_form.h"
#include "practice/panel_controls.h"

namespace {

int Answer(size_t group, size_t index) {
    return CAnswerControls::ControlId(group, index);
}

QString AnswerName(size_t group, size_t index) {
    return ControlName(Answer(group, index));
}

// Text as an input method commits it, the way Chinese reaches an entry.
// On the left edge: radio buttons and check boxes take clicks on their
// indicator and text only.
void Click(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

void Commit(QWidget* entry, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(entry, &event);
}

quillory::ExamItem Question(const std::string& description, float fullMarks) {
    quillory::ExamItem item;
    item.questionId = 200001;
    item.paperItemId = 101101;
    item.description = description;
    item.fullMarks = fullMarks;
    return item;
}

const std::string kRadioDescription =
    "10,8,520,20,label,请选择：\r\n"
    "10,36,120,22,radio,A,1,group,auto\r\n"
    "140,36,120,22,radio,B,0\r\n";

}  // namespace

class InputFormTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void controlsAreNamedByGroupAndIndexAndPlacedFromTheOrigin();
    void radioButtonsExcludeEachOtherOnlyWithinTheirGroup();
    void answerTextIsReadBackFromEveryKindAndRestored();

    void captionsAndIconsFollowTheExamState();
    void nodesThatAreNoQuestionsShowNoControls();
    void resultIconFollowsTheScoreWithinATenth();
    void scoreEntryIsBoundedByTheFullMarks();
    void toggleAlternatesBetweenQuestionAndAnswer();

private:
    template <typename Window>
    Window* Find(int id) const {
        return FindControl<Window>(*frame_->Panel(), id);
    }
    QString Caption(int id) const { return Find<QPushButton>(id)->text(); }
    bool Shown(int id) const { return !Find<QWidget>(id)->isHidden(); }

    quillory::testing::TempDir dir_;
    std::unique_ptr<CBankSession> bank_;
    // The new bank has none of the questions the panel asks pages for.
    quillory::testing::MessageRecorder messages_;
    std::unique_ptr<QWidget> parent_;
    std::unique_ptr<CDoPaperFrame> frame_;
};

void InputFormTest::init() {
    parent_ = std::make_unique<QWidget>();
    parent_->resize(600, 300);
    parent_->show();
    bank_ = quillory::testing::NewBankSession(dir_);
    QVERIFY(bank_);
    frame_ = std::make_unique<CDoPaperFrame>(*bank_, nullptr);
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
}

void InputFormTest::cleanup() {
    frame_.reset();
    parent_.reset();
    bank_.reset();
}

void InputFormTest::controlsAreNamedByGroupAndIndexAndPlacedFromTheOrigin() {
    CAnswerControls controls;
    controls.BuildAnswerForm(parent_.get(), QPoint(7, 43),
                             "0,0,100,20,label,选择\r\n"
                             "0,30,60,20,radio,A,1,group,auto\r\n"
                             "70,30,60,20,radio,B,0\r\n"
                             "0,60,60,20,check,C,1,group,auto\r\n"
                             "70,60,60,20,chekc,D,1\r\n"
                             "140,60,60,20,check,E,0\r\n",
                             "\r\n0\r\n1\r\n1\r\n1\r\n0\r\n");
    QStringList names;
    for (const QWidget* window : parent_->findChildren<QWidget*>()) {
        names << window->objectName();
    }
    names.sort();
    // The misspelt kind (group 2, index 1) gets no window but keeps its place.
    QCOMPARE(names, (QStringList{AnswerName(0, 0), AnswerName(1, 0), AnswerName(1, 1),
                                 AnswerName(2, 0), AnswerName(2, 2)}));
    QCOMPARE(FindControl<QWidget>(*parent_, Answer(2, 2))->geometry(), QRect(147, 103, 60, 20));
    QVERIFY(FindControl<QLabel>(*parent_, Answer(0, 0)) != nullptr);
    // Check states come from the learner's answer text, never from the
    // correct values.
    QVERIFY(!FindControl<QRadioButton>(*parent_, Answer(1, 0))->isChecked());
    QVERIFY(FindControl<QRadioButton>(*parent_, Answer(1, 1))->isChecked());
    QVERIFY(FindControl<QCheckBox>(*parent_, Answer(2, 0))->isChecked());
    QVERIFY(!FindControl<QCheckBox>(*parent_, Answer(2, 2))->isChecked());

    controls.DestroyAnswerControls();
    QVERIFY(parent_->findChildren<QWidget*>().isEmpty());
}

void InputFormTest::radioButtonsExcludeEachOtherOnlyWithinTheirGroup() {
    CAnswerControls controls;
    controls.BuildAnswerForm(parent_.get(), QPoint(),
                             "0,0,60,20,radio,A,1,group,auto\r\n"
                             "70,0,60,20,radio,B,0\r\n"
                             "0,30,60,20,radio,C,1,group,auto\r\n"
                             "70,30,60,20,radio,D,0\r\n",
                             {});
    auto* a = FindControl<QRadioButton>(*parent_, Answer(0, 0));
    auto* b = FindControl<QRadioButton>(*parent_, Answer(0, 1));
    auto* c = FindControl<QRadioButton>(*parent_, Answer(1, 0));
    Click(a);
    Click(c);
    Click(b);
    QVERIFY(!a->isChecked());
    QVERIFY(b->isChecked());
    QVERIFY(c->isChecked());
    QCOMPARE(controls.ReadAnswerText(), std::string("0\r\n1\r\n1\r\n0\r\n"));
}

void InputFormTest::answerTextIsReadBackFromEveryKindAndRestored() {
    const std::string description =
        "0,0,100,20,label,说明\r\n"
        "0,30,60,20,radio,A,1,group,auto\r\n"
        "70,30,60,20,check,B,1\r\n"
        "0,60,200,24,edit,,北京,group,auto\r\n"
        "0,90,300,80,editmutiline,,x,group\r\n"
        "0,180,60,20,chekc,C,1\r\n";
    CAnswerControls controls;
    controls.BuildAnswerForm(parent_.get(), QPoint(), description, {});
    Click(FindControl<QCheckBox>(*parent_, Answer(1, 1)));
    Commit(FindControl<QLineEdit>(*parent_, Answer(2, 0)), QStringLiteral(" 北京 "));
    auto* lines = FindControl<QPlainTextEdit>(*parent_, Answer(3, 0));
    Commit(lines, QStringLiteral("第一行"));
    QTest::keyClick(lines, Qt::Key_Return);
    Commit(lines, QStringLiteral("第二行"));

    const std::string text = controls.ReadAnswerText();
    QCOMPARE(text, std::string("\r\n0\r\n1\r\n北京\r\n第一行<\\r\\n>第二行\r\n\r\n"));

    // Shown again from that text: every entry comes back, the line break too.
    controls.BuildAnswerForm(parent_.get(), QPoint(), description, text);
    QVERIFY(!FindControl<QRadioButton>(*parent_, Answer(1, 0))->isChecked());
    QVERIFY(FindControl<QCheckBox>(*parent_, Answer(1, 1))->isChecked());
    QCOMPARE(FindControl<QLineEdit>(*parent_, Answer(2, 0))->text(), QStringLiteral("北京"));
    QCOMPARE(FindControl<QPlainTextEdit>(*parent_, Answer(3, 0))->toPlainText(),
             QStringLiteral("第一行\n第二行"));
    QCOMPARE(controls.ReadAnswerText(), text);
}

void InputFormTest::captionsAndIconsFollowTheExamState() {
    // The texts are the exam session's; the panel puts them in their windows.
    CInputForm* panel = frame_->Panel();
    quillory::ExamItem item = Question(kRadioDescription, 3.0f);
    item.learnerScore = 1.5f;

    panel->ShowItem(101101, QStringLiteral("第01题"), quillory::ExamState::Answering, 0, item);
    QCOMPARE(Find<QLabel>(kCtlNodeTitle)->text(), QStringLiteral("第01题"));
    QCOMPARE(Caption(kCtlSubmit), QStringLiteral("交  卷(&S)"));
    QCOMPARE(Find<QLabel>(kCtlScoreLine)->text(), QStringLiteral("本题分数: 3.0"));
    QVERIFY(Shown(kCtlAnsweringIcon) && !Shown(kCtlScoringIcon) && !Shown(kCtlScoreEntry));
    QVERIFY(!Shown(kCtlTimeLeft));  // no time limit, no countdown
    QCOMPARE(Find<QWidget>(kCtlAnsweringIcon)->geometry(), QRect(80, 38, 32, 32));
    QVERIFY(Find<QRadioButton>(Answer(1, 0)) != nullptr);

    panel->ShowItem(101101, QStringLiteral("第01题"), quillory::ExamState::Scoring, 0, item);
    QCOMPARE(Caption(kCtlToggleAnswer), QStringLiteral("试  题(&A)"));
    QVERIFY(Shown(kCtlScoringIcon) && !Shown(kCtlAnsweringIcon) && Shown(kCtlScoreEntry));
    QCOMPARE(Find<QLineEdit>(kCtlScoreEntry)->text(), QStringLiteral("1.5"));

    panel->ShowItem(101101, QStringLiteral("第01题"), quillory::ExamState::Review, 0, item);
    QCOMPARE(Find<QLabel>(kCtlScoreLine)->text(), QStringLiteral("本题分数: 3.0  您的得分: 1.5"));
    QVERIFY(!Shown(kCtlScoringIcon) && !Shown(kCtlAnsweringIcon) && !Shown(kCtlScoreEntry) &&
            Shown(kCtlPartlyCorrectIcon));
}

void InputFormTest::nodesThatAreNoQuestionsShowNoControls() {
    CInputForm* panel = frame_->Panel();
    const quillory::ExamItem placeholder;
    panel->ShowItem(101100, QStringLiteral("第1部分"), quillory::ExamState::Answering, 0,
                    placeholder);
    QVERIFY(!Shown(kCtlToggleAnswer) && !Shown(kCtlScoreLine) && !Shown(kCtlAnsweringIcon));
    QCOMPARE(Caption(kCtlSubmit), QStringLiteral("交  卷(&S)"));
    QVERIFY(Find<QWidget>(Answer(0, 0)) == nullptr);

    panel->ShowItem(101100, QStringLiteral("第1部分"), quillory::ExamState::Scoring, 0,
                    placeholder);
    QCOMPARE(Caption(kCtlSubmit), QStringLiteral("继　续(&C)"));
    panel->ShowItem(101100, QStringLiteral("第1部分"), quillory::ExamState::Result, 0, placeholder);
    QCOMPARE(Caption(kCtlSubmit), QStringLiteral("结  束(&E)"));
    QVERIFY(!Shown(kCtlToggleAnswer));

    // A question shown before leaves no controls behind.
    panel->ShowItem(101101, QStringLiteral("第01题"), quillory::ExamState::Answering, 0,
                    Question(kRadioDescription, 3.0f));
    panel->ShowItem(101100, QStringLiteral("第1部分"), quillory::ExamState::Answering, 0,
                    placeholder);
    QVERIFY(Find<QWidget>(Answer(1, 0)) == nullptr);
}

void InputFormTest::resultIconFollowsTheScoreWithinATenth() {
    const struct {
        float score;
        int icon;
    } cases[] = {{1.9f, kCtlCorrectIcon},
                 {2.0f, kCtlCorrectIcon},
                 {1.0f, kCtlPartlyCorrectIcon},
                 {0.05f, kCtlWrongIcon}};
    for (const auto& entry : cases) {
        quillory::ExamItem item = Question(kRadioDescription, 2.0f);
        item.learnerScore = entry.score;
        frame_->Panel()->ShowItem(101101, QStringLiteral("第01题"), quillory::ExamState::Result, 0,
                                  item);
        for (const int icon : {kCtlCorrectIcon, kCtlPartlyCorrectIcon, kCtlWrongIcon}) {
            QCOMPARE(Shown(icon), icon == entry.icon);
        }
    }
}

void InputFormTest::scoreEntryIsBoundedByTheFullMarks() {
    CInputForm* panel = frame_->Panel();
    quillory::ExamItem item = Question(kRadioDescription, 10.0f);
    item.learnerScore = 20.0f / 3.0f;
    panel->ShowItem(101101, QStringLiteral("第01题"), quillory::ExamState::Scoring, 0, item);
    auto* entry = Find<QLineEdit>(kCtlScoreEntry);
    QCOMPARE(entry->text(), QStringLiteral("6.7"));
    // Showing the score is not entering one: it keeps its precision.
    QCOMPARE(panel->TakeItem().item.learnerScore, 20.0f / 3.0f);

    entry->selectAll();
    QTest::keyClicks(entry, "15");
    QCOMPARE(entry->text(), QStringLiteral("15"));
    QCOMPARE(panel->TakeItem().item.learnerScore, 10.0f);

    entry->selectAll();
    QTest::keyClick(entry, Qt::Key_Backspace);
    QCOMPARE(panel->TakeItem().item.learnerScore, 0.0f);

    QTest::keyClicks(entry, "-7.5");  // no sign can be typed
    QCOMPARE(entry->text(), QStringLiteral("7.5"));
    QCOMPARE(panel->TakeItem().item.learnerScore, 7.5f);
}

void InputFormTest::toggleAlternatesBetweenQuestionAndAnswer() {
    QSignalSpy pages(frame_->ContentView(), &CQuilloryView::pageRequested);
    frame_->Panel()->ShowItem(101101, QStringLiteral("第01题"), quillory::ExamState::Answering, 0,
                              Question(kRadioDescription, 3.0f));
    auto* toggle = Find<QPushButton>(kCtlToggleAnswer);
    toggle->click();
    QCOMPARE(toggle->text(), QStringLiteral("试  题(&A)"));
    toggle->click();
    QCOMPARE(toggle->text(), QStringLiteral("答  案(&A)"));

    QCOMPARE(pages.size(), 2);
    const auto first = pages[0][0].value<quillory::InternalLink>();
    const auto second = pages[1][0].value<quillory::InternalLink>();
    QVERIFY(first.kind == quillory::LinkKind::Answer);
    QVERIFY(second.kind == quillory::LinkKind::Question);
    QCOMPARE(first.id, 200001);
    QCOMPARE(QString::fromStdString(first.label), QStringLiteral("第01题"));
}

QUILLORY_APP_TEST_MAIN(InputFormTest)
#include "input_form_test.moc"

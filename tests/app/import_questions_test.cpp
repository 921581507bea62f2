// What only the windows show of an import: the answer forms of imported
// questions with every caption whole inside the panel's answer area, and the
// import dialog showing the plan the tool prints, importing only what is not
// refused.
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/exchange/import_answer_form.h"
#include "core/exchange/import_file.h"
#include "practice/answer_controls.h"
#include "practice/import_questions_dlg.h"
#include "test_bank_support.h"

namespace {

quillory::ImportedQuestion Imported(quillory::QuestionKind kind) {
    quillory::ImportedQuestion question;
    question.kind = kind;
    question.stem = "题干";
    return question;
}

}  // namespace

class ImportQuestionsTest : public QObject {
    Q_OBJECT

private slots:
    void answerFormsShowEveryCaptionWholeInTheAnswerArea();
    void theDialogShowsTheToolsLinesAndImportsOnlyWhatIsNotRefused();

private:
    quillory::testing::TempDir dir_;
};

void ImportQuestionsTest::answerFormsShowEveryCaptionWholeInTheAnswerArea() {
    using quillory::QuestionKind;
    std::vector<quillory::ImportedQuestion> questions;
    auto& eight = questions.emplace_back(Imported(QuestionKind::SingleChoice));
    eight.options.assign(8, "x");
    eight.rightOptions = {7};
    auto& multiple = questions.emplace_back(Imported(QuestionKind::MultipleChoice));
    multiple.options.assign(4, "x");
    multiple.rightOptions = {0, 2};
    questions.emplace_back(Imported(QuestionKind::TrueFalse));
    auto& one = questions.emplace_back(Imported(QuestionKind::FillBlank));
    one.blanks = {{"北京"}};
    auto& fifteen = questions.emplace_back(Imported(QuestionKind::FillBlank));
    fifteen.blanks.assign(15, {"第十五个空的答案"});
    auto& essay = questions.emplace_back(Imported(QuestionKind::Manual));
    essay.referenceAnswer = "要点一<br>要点二";
    auto& matching = questions.emplace_back(Imported(QuestionKind::Matching));
    matching.options.assign(5, "x");
    matching.answerSlots.assign(10, {"左", {}, 4, {}});
    auto& cloze = questions.emplace_back(Imported(QuestionKind::Cloze));
    cloze.answerSlots.assign(10, {"", {"x", "y", "z"}, 2, {}});
    cloze.answerSlots.push_back({"", {}, -1, {"一个较长的答案"}});

    // The answer area of the panel, in pixels.
    QWidget area;
    area.setFixedSize(553, 206);
    for (const quillory::ImportedQuestion& question : questions) {
        QVERIFY(quillory::AnswerFormProblem(question).empty());
        CAnswerControls controls;
        controls.BuildAnswerForm(&area, QPoint(0, 0), quillory::ImportedAnswerForm(question), "");
        const QList<QWidget*> windows =
            area.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        QVERIFY(!windows.isEmpty());
        for (QWidget* window : windows) {
            const QString name = window->objectName() + " of kind " +
                                 QString::fromLatin1(quillory::KindName(question.kind));
            QVERIFY2(area.rect().contains(window->geometry()), qPrintable(name));
            if (qobject_cast<QLabel*>(window) || qobject_cast<QAbstractButton*>(window)) {
                QVERIFY2(window->sizeHint().width() <= window->width(), qPrintable(name));
                QVERIFY2(window->sizeHint().height() <= window->height() + 2, qPrintable(name));
            }
        }
        controls.DestroyAnswerControls();
    }
}

void ImportQuestionsTest::theDialogShowsTheToolsLinesAndImportsOnlyWhatIsNotRefused() {
    std::unique_ptr<CBankSession> bank = quillory::testing::OpenTestBank(dir_, "exam");
    QVERIFY(bank);
    const std::string path = dir_.File("测验.txt");
    quillory::testing::WriteFileBytes(path,
                                      "::甲::地球是圆的。{T}\n\n::乙::水的化学式是 {=H2O} 。\n\n"
                                      "::丙::这道题的答案没有结束 {=a ~b\n");

    CImportQuestionsDlg dialog(*bank, {QString::fromStdString(path)}, {}, nullptr);
    auto* importButton = dialog.findChild<QPushButton*>(QStringLiteral("import"));
    auto* lines = dialog.findChild<QPlainTextEdit*>(QStringLiteral("lines"));
    auto* problems = dialog.findChild<QPlainTextEdit*>(QStringLiteral("problems"));
    auto* title = dialog.findChild<QLineEdit*>(QStringLiteral("paperTitle"));
    QCOMPARE(title->text(), QStringLiteral("测验"));
    QCOMPARE(problems->toPlainText(), QStringLiteral("测验.txt:5: 答案的“{”没有对应的“}”"));
    QVERIFY(!importButton->isEnabled());

    dialog.findChild<QCheckBox*>(QStringLiteral("skipBad"))->setChecked(true);
    QVERIFY(importButton->isEnabled());
    std::vector<quillory::ImportFile> files{quillory::ReadImportFile(path, {})};
    auto plan = quillory::PlanImport(bank->Store(), files, {0, true});
    QVERIFY(plan.ok());
    QStringList expected;
    for (const std::string& line : quillory::ImportLines(*plan)) {
        expected << QString::fromStdString(line);
    }
    QCOMPARE(lines->toPlainText(), expected.join(QLatin1Char('\n')));
    QVERIFY(
        lines->toPlainText().contains(QStringLiteral("WARN\t5\t已跳过：答案的“{”没有对应的“}”")));

    // Another format reads the file again: as marked text it holds no
    // numbered question.
    auto* format = dialog.findChild<QComboBox*>(QStringLiteral("format"));
    format->setCurrentIndex(format->findText(QStringLiteral("文本（标记）")));
    QVERIFY(problems->toPlainText().contains(QStringLiteral("没有找到题目")));
    QVERIFY(!importButton->isEnabled());
    format->setCurrentIndex(format->findText(QStringLiteral("自动识别")));
    QCOMPARE(lines->toPlainText(), expected.join(QLatin1Char('\n')));

    // The title is the paper's: one named like a paper of the bank refuses.
    title->setText(QStringLiteral("   "));
    QVERIFY(problems->toPlainText().contains(QStringLiteral("试卷标题为空")));
    title->setText(QStringLiteral("新卷"));
    QVERIFY(dialog.Plan().ok());
    QCOMPARE(QString::fromStdString(dialog.Plan()->papers.front().title), QStringLiteral("新卷"));
}

QUILLORY_APP_TEST_MAIN(ImportQuestionsTest)
#include "import_questions_test.moc"

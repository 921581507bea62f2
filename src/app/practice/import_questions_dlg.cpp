#include "practice/import_questions_dlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/exchange/import_file.h"
#include "core/generation/paper_choices.h"
#include "widgets/bank_session.h"
#include "widgets/file_dialog_columns.h"
#include "widgets/message_box.h"

namespace {

QString Joined(const std::vector<std::string>& lines) {
    QStringList joined;
    for (const std::string& line : lines) {
        joined << QString::fromStdString(line);
    }
    return joined.join(QLatin1Char('\n'));
}

}  // namespace

CImportQuestionsDlg::CImportQuestionsDlg(CBankSession& bank, QStringList paths,
                                         QString templateWorkbook, QWidget* parent)
    : QDialog(parent),
      bank_(bank),
      paths_(std::move(paths)),
      templateWorkbook_(std::move(templateWorkbook)),
      plan_(quillory::ErrorCode::NothingToDo, "not planned yet") {
    setWindowTitle(QStringLiteral("导入试题"));
    setObjectName(QStringLiteral("ImportQuestionsDialog"));
    resize(720, 560);

    using quillory::QuestionFormat;
    formatBox_ = new QComboBox(this);
    formatBox_->setObjectName(QStringLiteral("format"));
    for (const auto& [format, label] :
         {std::pair{QuestionFormat::Auto, "自动识别"}, std::pair{QuestionFormat::Sheet, "电子表格"},
          std::pair{QuestionFormat::Text, "文本（标记）"}, std::pair{QuestionFormat::Gift, "GIFT"},
          std::pair{QuestionFormat::Aiken, "Aiken"},
          std::pair{QuestionFormat::Moodle, "Moodle XML"},
          std::pair{QuestionFormat::Qti, "QTI 2.1"}}) {
        formatBox_->addItem(QString::fromUtf8(label), static_cast<int>(format));
    }
    ReadFiles();

    titleEdit_ = new QLineEdit(this);
    titleEdit_->setObjectName(QStringLiteral("paperTitle"));
    // Several files make a paper each, titled after its file.
    if (paths_.size() == 1) {
        titleEdit_->setText(QString::fromStdString(files_.front().paperTitle));
    } else {
        titleEdit_->setText(QStringLiteral("（每个文件一份试卷，以文件名为标题）"));
        titleEdit_->setEnabled(false);
    }
    skipBox_ = new QCheckBox(QStringLiteral("跳过有问题的行，导入其余的试题"), this);
    skipBox_->setObjectName(QStringLiteral("skipBad"));
    overview_ = new QLabel(this);
    overview_->setObjectName(QStringLiteral("overview"));
    overview_->setWordWrap(true);
    problems_ = new QPlainTextEdit(this);
    problems_->setObjectName(QStringLiteral("problems"));
    problems_->setReadOnly(true);
    lines_ = new QPlainTextEdit(this);
    lines_->setObjectName(QStringLiteral("lines"));
    lines_->setReadOnly(true);
    lines_->setLineWrapMode(QPlainTextEdit::NoWrap);

    buttons_ = new QDialogButtonBox(this);
    importButton_ = buttons_->addButton(QStringLiteral("导入"), QDialogButtonBox::AcceptRole);
    importButton_->setObjectName(QStringLiteral("import"));
    buttons_->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    QPushButton* saveTemplate =
        buttons_->addButton(QStringLiteral("保存模板…"), QDialogButtonBox::ActionRole);
    saveTemplate->setObjectName(QStringLiteral("saveTemplate"));
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(saveTemplate, &QPushButton::clicked, this, &CImportQuestionsDlg::SaveTemplate);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("格式："), this), 0, 0);
    layout->addWidget(formatBox_, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("试卷标题："), this), 1, 0);
    layout->addWidget(titleEdit_, 1, 1);
    layout->addWidget(skipBox_, 2, 0, 1, 2);
    layout->addWidget(overview_, 3, 0, 1, 2);
    layout->addWidget(
        new QLabel(QStringLiteral("问题（有问题时不导入，除非跳过有问题的行）："), this), 4, 0, 1,
        2);
    layout->addWidget(problems_, 5, 0, 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("将导入的试题："), this), 6, 0, 1, 2);
    layout->addWidget(lines_, 7, 0, 1, 2);
    layout->addWidget(buttons_, 8, 0, 1, 2);
    layout->setRowStretch(5, 1);
    layout->setRowStretch(7, 2);

    connect(formatBox_, &QComboBox::currentIndexChanged, this, [this] {
        ReadFiles();
        Replan();
    });
    connect(titleEdit_, &QLineEdit::textChanged, this, &CImportQuestionsDlg::Replan);
    connect(skipBox_, &QCheckBox::toggled, this, &CImportQuestionsDlg::Replan);
    Replan();
}

void CImportQuestionsDlg::ReadFiles() {
    const auto format = static_cast<quillory::QuestionFormat>(formatBox_->currentData().toInt());
    QApplication::setOverrideCursor(Qt::WaitCursor);
    files_.clear();
    for (const QString& path : paths_) {
        files_.push_back(quillory::ReadImportFile(path.toStdString(), {}, format));
    }
    QApplication::restoreOverrideCursor();
}

void CImportQuestionsDlg::Replan() {
    std::vector<quillory::ImportFile> files = files_;
    if (files.size() == 1) {
        files.front().paperTitle = quillory::PaperTitleFromEntry(titleEdit_->text().toStdString());
    }
    plan_ = quillory::PlanImport(bank_.Store(), std::move(files), {0, skipBox_->isChecked()});
    if (!plan_.ok()) {
        overview_->setText(QStringLiteral("无法读取题库，不能导入。"));
        problems_->clear();
        lines_->clear();
        importButton_->setEnabled(false);
        return;
    }
    overview_->setText(Joined(quillory::ImportOverview(*plan_)));
    problems_->setPlainText(Joined(quillory::ProblemLines(*plan_)));
    lines_->setPlainText(Joined(quillory::ImportLines(*plan_)));
    importButton_->setEnabled(!plan_->Refused() && !plan_->papers.empty());
}

void CImportQuestionsDlg::SaveTemplate() {
    QFileDialog dialog(this, QStringLiteral("保存模板"), QFileInfo(templateWorkbook_).fileName());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    UseChineseFileColumns(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({QStringLiteral("Excel 工作簿(*.xlsx)")});
    dialog.setDefaultSuffix(QStringLiteral("xlsx"));
    UseChineseFileLabels(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    // Copied beside the target first, so a failed copy leaves a file of
    // the same name as it was.
    const QString target = dialog.selectedFiles().first();
    const QString part = target + QStringLiteral(".part");
    QFile::remove(part);
    const bool saved = QFile::copy(templateWorkbook_, part) &&
                       (!QFile::exists(target) || QFile::remove(target)) &&
                       QFile::rename(part, target);
    if (!saved) {
        QFile::remove(part);
        ShowMessageBox(this, QStringLiteral("无法保存模板：") + target, QMessageBox::Critical);
    }
}

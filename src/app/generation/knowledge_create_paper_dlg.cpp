#include "generation/knowledge_create_paper_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <optional>

#include "core/common/text.h"
#include "core/generation/paper_choices.h"
#include "generation/paper_dialog_controls.h"
#include "generation/period_controls.h"
#include "generation/up_down_buttons.h"
#include "widgets/control_name.h"
#include "widgets/message_box.h"

namespace {

constexpr int kScoreSpinUpper = 100;

// An edit box with its arrows on the right.
QHBoxLayout* WithArrows(QLineEdit* edit, CUpDownButtons* arrows) {
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    row->addWidget(edit);
    row->addWidget(arrows);
    return row;
}

}  // namespace

CKnowledgeCreatePaperDlg::CKnowledgeCreatePaperDlg(quillory::DataStore& store,
                                                   quillory::Settings& settings,
                                                   const QString& title,
                                                   std::vector<std::string> knowledgeSet,
                                                   QWidget* parent)
    : QDialog(parent),
      store_(store),
      settings_(settings),
      knowledgeSet_(std::move(knowledgeSet)),
      periodControls_(std::make_unique<PeriodControls>(MakePeriodControls(this))) {
    setWindowTitle(QStringLiteral("针对性组卷练习"));
    setObjectName(QStringLiteral("KnowledgeCreatePaperDialog"));

    titleEdit_ = new QLineEdit(title, this);
    titleEdit_->setObjectName(ControlName(kCtlPaperTitle));
    typeCombo_ = new QComboBox(this);
    typeCombo_->setObjectName(ControlName(kCtlQuestionType));
    typeCount_ = new QLabel(QStringLiteral("本类题数："), this);
    typeCount_->setObjectName(ControlName(kCtlTypeCount));
    countEdit_ = new QLineEdit(QString::number(count_), this);
    countEdit_->setObjectName(ControlName(kCtlCount));
    countSpin_ = new CUpDownButtons(countEdit_, this);
    countSpin_->setObjectName(ControlName(kCtlCountArrows));
    scoreEdit_ = new QLineEdit(QString::number(score_), this);
    scoreEdit_->setObjectName(ControlName(kCtlScore));
    scoreSpin_ = new CUpDownButtons(scoreEdit_, this);
    scoreSpin_->setObjectName(ControlName(kCtlScoreArrows));
    auto* hint = new QLabel(
        QStringLiteral("提示：为提高针对性训练效果，请在完成已有试卷后再组织下一套试卷。"), this);
    hint->setWordWrap(true);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("标题："), this), 0, 0);
    layout->addWidget(titleEdit_, 0, 1, 1, 3);
    layout->addLayout(periodControls_->layout, 1, 0, 1, 4);
    layout->addWidget(new QLabel(QStringLiteral("试题类型："), this), 2, 0);
    layout->addWidget(typeCombo_, 2, 1);
    layout->addWidget(typeCount_, 2, 2, 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("练习题数："), this), 3, 0);
    layout->addLayout(WithArrows(countEdit_, countSpin_), 3, 1);
    layout->addWidget(new QLabel(QStringLiteral("每题分值："), this), 3, 2);
    layout->addLayout(WithArrows(scoreEdit_, scoreSpin_), 3, 3);
    layout->addWidget(hint, 4, 0, 1, 4);
    layout->addWidget(MakeOkCancelButtons(this), 5, 0, 1, 4);

    connect(typeCombo_, &QComboBox::currentIndexChanged, this,
            &CKnowledgeCreatePaperDlg::OnTypeChanged);
}

CKnowledgeCreatePaperDlg::~CKnowledgeCreatePaperDlg() = default;

bool CKnowledgeCreatePaperDlg::InitDialog() {
    SetPeriodControls(*periodControls_, settings_);
    std::vector<quillory::TypeCount> counts;
    switch (quillory::CountTargetedQuestions(store_, knowledgeSet_, counts)) {
        case quillory::TypeCountStatus::Ok:
            break;
        case quillory::TypeCountStatus::TypesUnreadable:
            return false;
        case quillory::TypeCountStatus::SetTooLarge:
            ShowMessageBox(this, QString::fromUtf8(quillory::kSetTooLargeMessage),
                           QMessageBox::NoIcon, QMessageBox::Ok, QStringLiteral("提示"));
            return false;
    }
    counts_ = std::move(counts);
    {
        const QSignalBlocker quiet(typeCombo_);
        typeCombo_->clear();
        for (const quillory::TypeCount& type : counts_) {
            typeCombo_->addItem(QString::fromStdString(type.title), type.typeId);
        }
        typeCombo_->setCurrentIndex(-1);
    }
    countSpin_->SetRange(0, 0);
    scoreSpin_->SetRange(0, kScoreSpinUpper);
    return true;
}

int CKnowledgeCreatePaperDlg::exec() {
    if (!InitDialog()) {
        setResult(QDialog::Rejected);
        return QDialog::Rejected;
    }
    return QDialog::exec();
}

void CKnowledgeCreatePaperDlg::OnTypeChanged(int index) {
    if (index < 0 || index >= static_cast<int>(counts_.size())) {
        return;
    }
    const int typeCount = counts_[static_cast<size_t>(index)].count;
    countSpin_->SetRange(0, typeCount);
    typeCount_->setText(QString::fromStdString(quillory::Format("本类题数:%d", typeCount)));
    bool ok = false;
    const int count = countEdit_->text().trimmed().toInt(&ok);
    if (ok && count > typeCount) {
        countEdit_->setText(QString::number(typeCount));
    }
}

void CKnowledgeCreatePaperDlg::accept() {
    const quillory::TargetedNumbers numbers = quillory::ReadTargetedNumbers(
        countEdit_->text().toStdString(), scoreEdit_->text().toStdString());
    const std::string title = quillory::PaperTitleFromEntry(titleEdit_->text().toStdString());
    const QVariant chosen = typeCombo_->currentData();
    const int typeCount = quillory::ChosenTypeCount(
        counts_, chosen.isValid() ? std::optional<int>(chosen.toInt()) : std::nullopt);
    const quillory::TargetedCheck check =
        numbers.check.message.empty()
            ? quillory::CheckTargetedChoice(title, typeCount, numbers.count, numbers.score)
            : numbers.check;
    if (!check.message.empty()) {
        QWidget* focus = nullptr;
        switch (check.field) {
            case quillory::TargetedField::Title:
                focus = titleEdit_;
                break;
            case quillory::TargetedField::Type:
                focus = typeCombo_;
                break;
            case quillory::TargetedField::Count:
                focus = countEdit_;
                break;
            case quillory::TargetedField::Score:
                focus = scoreEdit_;
                break;
            case quillory::TargetedField::None:
                break;
        }
        Refuse(QString::fromStdString(check.message), focus);
        return;
    }
    typeId_ = typeCombo_->currentData().toInt();
    title_ = title;
    count_ = numbers.count;
    score_ = numbers.score;
    adjust_ = periodControls_->adjustBox->isChecked();
    period_ = periodControls_->periods->checkedId();
    WritePeriodSettings(adjust_, period_, settings_);
    QDialog::accept();
}

void CKnowledgeCreatePaperDlg::Refuse(const QString& message, QWidget* focus) {
    ShowMessageBox(this, message, QMessageBox::Warning);
    if (focus != nullptr) {
        focus->setFocus();
    }
}

// The targeted-paper dialog of the knowledge module: a title, the question
// type with the number of its questions that carry the chosen knowledge
// points, how many questions to take and the score of each, and the
// adjustment by the learner's history with its period (remembered only when
// the learner confirms).
#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "core/generation/targeted_choices.h"

class CUpDownButtons;
class QComboBox;
class QLabel;
class QLineEdit;
struct PeriodControls;

namespace quillory {
class DataStore;
class Settings;
}  // namespace quillory

class CKnowledgeCreatePaperDlg : public QDialog {
    Q_OBJECT
public:
    CKnowledgeCreatePaperDlg(quillory::DataStore& store, quillory::Settings& settings,
                             const QString& title, std::vector<std::string> knowledgeSet,
                             QWidget* parent);
    ~CKnowledgeCreatePaperDlg() override;

    // Sets the controls from the settings and counts each type's questions
    // over the knowledge set. False when the dialog is to close as if
    // cancelled: the types cannot be read, or the set is too large for the
    // count (after telling the learner).
    bool InitDialog();
    // InitDialog, then the dialog unless it is to close.
    int exec() override;
    void accept() override;

    // What the learner chose, after OK; the title trimmed, the period -1
    // when no period is set.
    int TypeId() const { return typeId_; }
    const std::string& Title() const { return title_; }
    int Count() const { return count_; }
    double Score() const { return score_; }
    bool Adjust() const { return adjust_; }
    int Period() const { return period_; }
    const std::vector<std::string>& KnowledgeSet() const { return knowledgeSet_; }

private:
    void OnTypeChanged(int index);
    void Refuse(const QString& message, QWidget* focus);

    quillory::DataStore& store_;
    quillory::Settings& settings_;
    std::vector<std::string> knowledgeSet_;
    std::vector<quillory::TypeCount> counts_;
    int typeId_ = 0;
    std::string title_;
    int count_ = 0;
    double score_ = 1.0;
    bool adjust_ = false;
    int period_ = 0;

    QLineEdit* titleEdit_ = nullptr;
    std::unique_ptr<PeriodControls> periodControls_;
    QComboBox* typeCombo_ = nullptr;
    QLabel* typeCount_ = nullptr;
    QLineEdit* countEdit_ = nullptr;
    CUpDownButtons* countSpin_ = nullptr;
    QLineEdit* scoreEdit_ = nullptr;
    CUpDownButtons* scoreSpin_ = nullptr;
};

// The auto-paper dialog of the practice papers: the new paper's title, the
// adjustment by the learner's history with its period, and the template to
// generate from. The adjustment and the period are remembered only when the
// learner confirms.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "core/generation/paper_choices.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QListWidget;

namespace quillory {
class Settings;
}

class CAutoPaperDlg : public QDialog {
    Q_OBJECT
public:
    // templates fill the list in their order, the first one selected.
    CAutoPaperDlg(quillory::Settings& settings,
                  const std::vector<quillory::TemplateChoice>& templates, QWidget* parent);

    // What the learner chose, after OK: the title trimmed, the period index
    // (-1 when no period is set), the template ID (0 when none is selected).
    const std::string& Title() const { return title_; }
    bool Adjust() const { return adjust_; }
    int Period() const { return period_; }
    int TemplateId() const { return templateId_; }

    void accept() override;

private:
    quillory::Settings& settings_;
    std::vector<quillory::TemplateChoice> templates_;
    std::string title_;
    bool adjust_ = false;
    int period_ = 0;
    int templateId_ = 0;

    QLineEdit* titleEdit_ = nullptr;
    QCheckBox* adjustBox_ = nullptr;
    QButtonGroup* periods_ = nullptr;
    QListWidget* templateList_ = nullptr;
};

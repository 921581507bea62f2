// The import dialog of the classic papers: what the chosen files will bring
// into the bank (questions counted by kind and by sheet, the problems, the
// tool's lines), the format to read them in, the paper title to use and
// whether to skip bad rows, and the template workbook to save for the
// teacher. Every figure and rule comes
// from the core's plan, the one quillory-tool import-questions prints.
#pragma once

#include <QDialog>
#include <QStringList>
#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/exchange/import_plan.h"

class CBankSession;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class CImportQuestionsDlg : public QDialog {
    Q_OBJECT
public:
    // paths: the files to import, read at once and again when another
    // format is chosen; templateWorkbook is the file "保存模板…" copies.
    CImportQuestionsDlg(CBankSession& bank, QStringList paths, QString templateWorkbook,
                        QWidget* parent);

    // The plan of the choices shown; after OK, one that is not refused.
    const quillory::Result<quillory::ImportPlan>& Plan() const { return plan_; }

private:
    void ReadFiles();
    void Replan();
    void SaveTemplate();

    CBankSession& bank_;
    QStringList paths_;
    std::vector<quillory::ImportFile> files_;
    QString templateWorkbook_;
    quillory::Result<quillory::ImportPlan> plan_;

    QComboBox* formatBox_ = nullptr;
    QLineEdit* titleEdit_ = nullptr;
    QCheckBox* skipBox_ = nullptr;
    QLabel* overview_ = nullptr;
    QPlainTextEdit* problems_ = nullptr;
    QPlainTextEdit* lines_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
    QPushButton* importButton_ = nullptr;
};

// "导出试题…" of the paper and knowledge frames: a save dialog for the file
// and its format, the export, then the count and what was left out.
#pragma once

#include <QString>

#include "core/exchange/bank_questions.h"

class CBankSession;
class QWidget;

// name: the file name the dialog suggests, without its extension.
void ExportQuestionsOf(QWidget* parent, CBankSession& bank,
                       const quillory::QuestionSelection& selection, const QString& name);

// Printing a node of a paper tree with everything below it: the print file
// is composed under a progress window, laid out by the browser, and then
// sent to a printer or saved as a PDF file, as the learner chooses.
#pragma once

#include <QString>

class CBankSession;
class QWidget;

namespace quillory {
class Host;
class PaperNodeList;
}  // namespace quillory

// Asks whether the answers are printed too and writes the print file of
// the node itemId; its path, or empty when itemId is not in nodes or the
// file could not be made (the host has said why).
QString MakePrintFile(QWidget* parent, CBankSession& bank, quillory::Host& host,
                      const quillory::PaperNodeList& nodes, int itemId);

// Where a PDF of the node titled title goes unless the learner says
// otherwise: beside the data file, named after the node.
QString DefaultPdfFile(const CBankSession& bank, const QString& title);

// The print command: MakePrintFile, then the choice between the system's
// print dialog and a PDF file.
void PrintPaperNode(QWidget* parent, CBankSession& bank, quillory::Host& host,
                    const quillory::PaperNodeList& nodes, int itemId);

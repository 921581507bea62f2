// The file dialog that chooses the learner's data file at start-up: an
// existing file, or a new name in a folder that exists.
#pragma once

#include <QFileDialog>

class CDataFileDialog : public QFileDialog {
    Q_OBJECT
public:
    explicit CDataFileDialog(const QString& folder);

    // A new name in a folder that does not exist is refused with a message,
    // and the dialog stays open for another.
    void accept() override;
};

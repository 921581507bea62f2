// A pair of arrow buttons beside an edit box that step the whole number in
// it within a range. Unlike a spin box it leaves the typed text alone, so a
// dialog can refuse a number outside the range with its own message.
#pragma once

#include <QWidget>

class QLineEdit;

class CUpDownButtons : public QWidget {
    Q_OBJECT
public:
    CUpDownButtons(QLineEdit* buddy, QWidget* parent);

    void SetRange(int lower, int upper);
    int Lower() const { return lower_; }
    int Upper() const { return upper_; }

    // What the arrows do: the buddy's number (truncated) moved by delta and
    // kept within the range.
    void Step(int delta);

private:
    QLineEdit* buddy_;
    int lower_ = 0;
    int upper_ = 0;
};

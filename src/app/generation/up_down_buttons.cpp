#include "generation/up_down_buttons.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

CUpDownButtons::CUpDownButtons(QLineEdit* buddy, QWidget* parent) : QWidget(parent), buddy_(buddy) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const auto& [arrow, delta] : {std::pair{Qt::UpArrow, 1}, std::pair{Qt::DownArrow, -1}}) {
        auto* button = new QToolButton(this);
        button->setObjectName(delta > 0 ? QStringLiteral("up") : QStringLiteral("down"));
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(16, buddy->sizeHint().height() / 2);
        connect(button, &QToolButton::clicked, this, [this, delta = delta] { Step(delta); });
        layout->addWidget(button);
    }
    // Without a fixed width the row's layout squeezes the arrows to a sliver.
    setFixedWidth(16);
}

void CUpDownButtons::SetRange(int lower, int upper) {
    lower_ = lower;
    upper_ = upper;
}

void CUpDownButtons::Step(int delta) {
    bool ok = false;
    const double typed = buddy_->text().trimmed().toDouble(&ok);
    const int value = ok && std::isfinite(typed) && std::fabs(typed) < 1e9
                          ? static_cast<int>(typed) + delta
                          : lower_;
    buddy_->setText(QString::number(std::clamp(value, lower_, std::max(lower_, upper_))));
}

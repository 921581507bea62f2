#include "practice/answer_controls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "core/common/text.h"
#include "widgets/control_name.h"
#include "widgets/utf8_text.h"

namespace {

constexpr int kFirstControlId = 60000;

QWidget* MakeWindow(const quillory::AnswerControl& control, QWidget* parent) {
    switch (quillory::KindOf(control)) {
        case quillory::ControlKind::Label: {
            auto* label = new QLabel(FromUtf8(control.caption), parent);
            // A caption is text, never markup.
            label->setTextFormat(Qt::PlainText);
            return label;
        }
        case quillory::ControlKind::Radio: {
            auto* radio = new QRadioButton(FromUtf8(control.caption), parent);
            radio->setChecked(quillory::AtoI(control.learnerValue) != 0);
            return radio;
        }
        case quillory::ControlKind::Check: {
            auto* check = new QCheckBox(FromUtf8(control.caption), parent);
            check->setChecked(quillory::AtoI(control.learnerValue) != 0);
            return check;
        }
        case quillory::ControlKind::Edit:
            return new QLineEdit(FromUtf8(control.learnerValue), parent);
        case quillory::ControlKind::EditMultiline: {
            std::string text = control.learnerValue;
            quillory::ReplaceAll(text, "\r\n", "\n");
            auto* edit = new QPlainTextEdit(FromUtf8(text), parent);
            edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            // Enter starts a new line; Tab moves on as in the other boxes.
            edit->setTabChangesFocus(true);
            return edit;
        }
        case quillory::ControlKind::Other:
            break;
    }
    return nullptr;
}

// The learner's own changes: a value set when the window is made is none.
void WatchEdits(QWidget* window, const std::function<void()>& edited) {
    const auto notify = [edited] { edited(); };
    if (auto* button = qobject_cast<QAbstractButton*>(window)) {
        QObject::connect(button, &QAbstractButton::toggled, window, notify);
    } else if (auto* line = qobject_cast<QLineEdit*>(window)) {
        QObject::connect(line, &QLineEdit::textEdited, window, notify);
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(window)) {
        QObject::connect(text, &QPlainTextEdit::textChanged, window, notify);
    }
}

std::string ReadValue(const quillory::AnswerControl& control, const QWidget& window) {
    switch (quillory::KindOf(control)) {
        case quillory::ControlKind::Radio:
        case quillory::ControlKind::Check:
            return static_cast<const QAbstractButton&>(window).isChecked() ? "1" : "0";
        case quillory::ControlKind::Edit:
            return static_cast<const QLineEdit&>(window).text().toStdString();
        case quillory::ControlKind::EditMultiline: {
            std::string text =
                static_cast<const QPlainTextEdit&>(window).toPlainText().toStdString();
            quillory::ReplaceAll(text, "\n", "\r\n");
            return text;
        }
        case quillory::ControlKind::Label:
        case quillory::ControlKind::Other:
            break;
    }
    return {};
}

}  // namespace

CAnswerControls::CAnswerControls() = default;

CAnswerControls::~CAnswerControls() {
    DestroyAnswerControls();
}

int CAnswerControls::ControlId(size_t group, size_t index) {
    return kFirstControlId + 100 * static_cast<int>(group) + static_cast<int>(index);
}

void CAnswerControls::BuildAnswerForm(QWidget* parent, QPoint origin, std::string_view description,
                                      std::string_view learnerAnswer) {
    DestroyAnswerControls();
    form_ = quillory::ParseAnswerForm(description, learnerAnswer);

    windows_.resize(form_.groups.size());
    for (size_t k = 0; k < form_.groups.size(); ++k) {
        const std::vector<quillory::AnswerControl>& controls = form_.groups[k].controls;
        auto radios = std::make_unique<QButtonGroup>();
        radios->setExclusive(true);
        windows_[k].resize(controls.size());
        // Made from the last to the first and each raised, so that where
        // controls overlap the earlier one lies on top.
        for (size_t i = controls.size(); i-- > 0;) {
            const quillory::AnswerControl& control = controls[i];
            QWidget* window = MakeWindow(control, parent);
            if (window == nullptr) {
                continue;
            }
            window->setObjectName(ControlName(ControlId(k, i)));
            window->setGeometry(origin.x() + control.left, origin.y() + control.top,
                                control.right - control.left, control.bottom - control.top);
            if (quillory::KindOf(control) == quillory::ControlKind::Radio) {
                radios->addButton(static_cast<QRadioButton*>(window));
            }
            if (edited_) {
                WatchEdits(window, edited_);
            }
            window->raise();
            window->show();
            windows_[k][i] = window;
        }
        radioGroups_.push_back(std::move(radios));
    }

    // Tab goes through the controls in the order of the description.
    QWidget* previous = nullptr;
    for (const auto& group : windows_) {
        for (const QPointer<QWidget>& window : group) {
            if (window == nullptr || window->focusPolicy() == Qt::NoFocus) {
                continue;
            }
            if (previous != nullptr) {
                QWidget::setTabOrder(previous, window);
            }
            previous = window;
        }
    }
}

void CAnswerControls::DestroyAnswerControls() {
    radioGroups_.clear();
    for (auto& group : windows_) {
        for (QPointer<QWidget>& window : group) {
            delete window.data();
        }
    }
    windows_.clear();
}

std::string CAnswerControls::ReadAnswerText() {
    // Without its window (destroyed, or an unknown kind) a control keeps its value.
    for (size_t k = 0; k < windows_.size(); ++k) {
        std::vector<quillory::AnswerControl>& controls = form_.groups[k].controls;
        for (size_t i = 0; i < windows_[k].size(); ++i) {
            if (const QWidget* window = windows_[k][i].data()) {
                controls[i].learnerValue = ReadValue(controls[i], *window);
            }
        }
    }
    return quillory::ComposeAnswerText(form_);
}

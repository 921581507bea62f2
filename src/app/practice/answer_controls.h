// The windows of one answer form: a label, radio button, check box or edit
// box for every control of the description, placed in the answer area of
// the panel, and read back into the learner's answer text.
#pragma once

#include <QPoint>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/practice/answer_form.h"

class QButtonGroup;
class QWidget;

class CAnswerControls {
public:
    CAnswerControls();
    ~CAnswerControls();
    CAnswerControls(const CAnswerControls&) = delete;
    CAnswerControls& operator=(const CAnswerControls&) = delete;

    // Destroys the windows, parses the description with the learner's answer
    // text, and makes the windows as children of parent, every position
    // counted from origin. A control of an unknown kind gets no window.
    void BuildAnswerForm(QWidget* parent, QPoint origin, std::string_view description,
                         std::string_view learnerAnswer);
    // The parsed form stays.
    void DestroyAnswerControls();
    // Called whenever the learner changes an entry of the windows made from
    // now on.
    void OnEdited(std::function<void()> edited) { edited_ = std::move(edited); }
    // Reads every window into its control's learner value and returns the
    // form's answer text.
    std::string ReadAnswerText();

    const quillory::AnswerForm& Form() const { return form_; }

    // The control ID of a control's window, which ControlName names:
    // 60000 + 100 × group + index in the group.
    static int ControlId(size_t group, size_t index);

private:
    quillory::AnswerForm form_;
    std::function<void()> edited_;
    // Per group and control; null where a control has no window.
    std::vector<std::vector<QPointer<QWidget>>> windows_;
    // One per group, so that only the radio buttons of a group exclude each other.
    std::vector<std::unique_ptr<QButtonGroup>> radioGroups_;
};

// Finds a dialog's or panel's window by its control ID.
#pragma once

#include <QObject>

#include "widgets/control_name.h"

template <typename Window>
Window* FindControl(const QObject& parent, int id) {
    return parent.findChild<Window*>(ControlName(id));
}

// The object name of a dialog's or panel's window: "ctl" and its control
// ID, so that the window can be found by the ID alone.
#pragma once

#include <QString>

inline QString ControlName(int id) {
    return QStringLiteral("ctl%1").arg(id);
}

// Text from the core, which holds UTF-8 in std::string, for the widgets.
#pragma once

#include <QString>
#include <string>

inline QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

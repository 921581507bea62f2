// The program's look: an optional Qt style sheet, "Quillory.skn" in the
// program data folder ("Quillory-dark.skn" when the desktop prefers dark
// colours), set once on the application, so it reaches every window.
#pragma once

#include <QString>

#include "widgets/color_scheme.h"

class QApplication;

inline constexpr char kSkinFileName[] = "Quillory.skn";
inline constexpr char kDarkSkinFileName[] = "Quillory-dark.skn";

// The style sheet text of the scheme's file; empty when the file is absent,
// unreadable or empty, and the program then keeps the system's look.
QString LoadSkinFile(const QString& programFolder, ColorScheme scheme);

// Sets the skin on the application; nothing when the skin is empty.
void ApplySkinSheet(QApplication& application, const QString& skin);

// The program's look: an optional Qt style sheet, "Quillory.skn" in the
// program data folder ("Quillory-dark.skn" when the desktop prefers dark
// colours), set on every top-level window the program makes.
#pragma once

#include <QString>

#include "shell/color_scheme.h"

class QWidget;

inline constexpr char kSkinFileName[] = "Quillory.skn";
inline constexpr char kDarkSkinFileName[] = "Quillory-dark.skn";

// The style sheet text of the scheme's file; empty when the file is absent,
// unreadable or empty, and the program then keeps the system's look.
QString LoadSkinFile(const QString& programFolder, ColorScheme scheme);

// Sets the skin on a top-level window; nothing when the skin is empty.
void ApplySkinSheet(QWidget* window, const QString& skin);

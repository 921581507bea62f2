// The program's look: an optional Qt style sheet, "Quillory.skn" in the
// program data folder, set on every top-level window the program makes.
#pragma once

#include <QString>

class QWidget;

inline constexpr char kSkinFileName[] = "Quillory.skn";

// The style sheet text; empty when the file is absent, unreadable or empty,
// and the program then keeps the system's look.
QString LoadSkinFile(const QString& programFolder);

// Sets the skin on a top-level window; nothing when the skin is empty.
void ApplySkinSheet(QWidget* window, const QString& skin);

// Light or dark: the program's own windows follow what the desktop prefers.
// Qt 6.4 reads no such preference on Linux, so the program asks the desktop
// portal itself; composed pages keep their own colours either way.
#pragma once

class QPalette;

enum class ColorScheme { Light, Dark };

// QUILLORY_COLOR_SCHEME ("light" or "dark") when set, for desktops without
// the portal; else the portal's appearance setting (GNOME, KDE); else what
// the platform theme's palette already is (qt6ct, KDE's own theme).
ColorScheme DesktopColorScheme(const QPalette& themePalette);

// Gives the application the palette of the scheme where the platform theme's
// palette is of the other one; a theme's own palette of the same scheme stays.
void UseColorScheme(ColorScheme scheme);

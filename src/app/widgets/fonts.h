// Chinese fonts on a machine without the faces the pages and dialogs name
// ("楷体_GB2312", "宋体"): each is mapped to an installed face of its kind,
// for the widgets (Qt substitutions) and for the web pages (fontconfig).
#pragma once

#include <QString>

// Before the application object exists: points FONTCONFIG_FILE at a small
// configuration that includes the system one and adds the aliases, so the
// web engine's processes resolve the names too. Does nothing when the system
// configuration cannot be found or the file cannot be written.
void PrepareFontConfig();

// The fontconfig text: the aliases, then the given main configuration.
QString FontConfigText(const QString& mainConfig);

// After the application object exists: Qt substitutions for the same names
// and a sans CJK application font.
void InstallFontSubstitutions();

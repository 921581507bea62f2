// The help pages shipped in the program data folder.
#pragma once

#include <QString>

class CQuilloryApp;
class QWidget;

// The first help page, <program data folder>/help/index.html.
QString HelpIndexPath();

// Brings the program's help window to the front, making it on first use; a
// missing help folder is reported over parent.
void OpenHelp(CQuilloryApp& app, QWidget* parent);

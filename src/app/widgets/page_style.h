// The content view's own style over the pages it shows, the files on disk
// untouched. A composed analysis page may hold tens of megabytes (the
// history summary lists every wrong answer of every point): the style lets
// the browser lay out and draw only the rows on screen.
#pragma once

class QWebEnginePage;

// Adds the style to every page that page loads from now on.
void InstallPageStyle(QWebEnginePage& page);

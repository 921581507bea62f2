// TeX formulas in pages ($…$, $$…$$, \(…\), \[…\]) typeset by the system's
// KaTeX (Debian's libjs-katex), loaded from the local file system into a
// page once it is there, so the page files on disk stay as they are. Without
// KaTeX installed, formulas stay as their source text.
#pragma once

#include <functional>

class QObject;
class QWebEnginePage;

// Typesets the formulas of every local page that page loads from now on
// (nothing without KaTeX).
void InstallFormulaRendering(QWebEnginePage& page);

// Calls done once the formulas of the page loaded in page are typeset, their
// fonts included (at once for a page without formulas); a rendering that does
// not end in time is given up, so that done is always called. Nothing is
// called after context is gone.
void AfterFormulasRendered(QWebEnginePage& page, QObject* context, std::function<void()> done);

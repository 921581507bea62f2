// The six module frames the main menu owns.
#pragma once

#include <vector>

class CQuilloryApp;
class CQuilloryFrame;
class QWidget;

// Made hidden, each with owner as its owner, in this order: classic papers
// (4), practice papers (156), exam (166), knowledge (152), classic analysis
// (172), history (173). None has loaded its tree.
std::vector<CQuilloryFrame*> CreateModuleFrames(CQuilloryApp& app, QWidget* owner);

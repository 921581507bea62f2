// The six module frames the main menu owns.
#pragma once

#include <vector>

#include "frame/module_table.h"

class CBankSession;
class CQuilloryFrame;
class QWidget;

// Made hidden, each with owner as its owner, in the order of the module
// table. None has loaded its tree.
std::vector<CQuilloryFrame*> CreateModuleFrames(CBankSession& bank, QWidget* owner);

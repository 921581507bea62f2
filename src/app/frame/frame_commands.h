// The commands of the module frames, and the menus and toolbars of the six
// frame resources that carry them.
#pragma once

#include <vector>

#include "frame/module_table.h"

enum FrameCommand {
    kCmdReturn = 130,
    kCmdStartExam = 133,
    kCmdBack = 146,
    kCmdRelatedInfo = 148,
    kCmdDelete = 149,
    kCmdAbout = 150,
    kCmdNewPaper = 183,
    kCmdSubmit = 185,
    kCmdReview = 186,
    kCmdForward = 188,
    kCmdTargeted = 189,
    kCmdRedoMistakes = 190,
    kCmdMistakes = 191,
    kCmdImportQuestions = 192,
    kCmdExportQuestions = 193,
    kCmdPrint = 1339,
    kCmdHelp = 57670,
};

// Menu items and toolbar buttons use 0 for a separator.
inline constexpr int kSeparator = 0;

struct CommandText {
    int id;
    const char* text;  // menu text, UTF-8
    const char* tip;   // tool tip and status text
    const char* icon;  // resource path of the toolbar image
};

struct MenuItem {
    int command = kSeparator;
    const char* text = nullptr;  // a frame's own text for the command; null: the usual one
};

struct PopupMenu {
    const char* title;
    std::vector<MenuItem> items;
};

struct FrameLayout {
    FrameResource resource;
    std::vector<PopupMenu> menus;
    std::vector<int> toolbar;
};

// The texts of a command, or nullptr for a number no frame knows.
const CommandText* FindCommandText(int id);

// The menus and toolbar of a frame resource.
const FrameLayout* FindFrameLayout(FrameResource resource);

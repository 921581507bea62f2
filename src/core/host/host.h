// What the core needs of whoever runs it: the desktop program answers with
// windows, quillory-tool with the terminal, tests with recording fakes.
#pragma once

#include <string>

#include "core/store/date_time.h"

namespace quillory {

// None: a plain box, without an icon.
enum class MessageIcon { None, Error, Exclamation, Information, Question };

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

class Host {
public:
    virtual ~Host() = default;
    virtual void Message(const std::string& text, MessageIcon icon) = 0;
    virtual Answer Ask(const std::string& text, Buttons buttons, MessageIcon icon) = 0;
    // Shows a page file (full path) or an address in the content view.
    virtual void Navigate(const std::string& pathOrUrl) = 0;
    // A page file written for the view, deleted when the view goes away.
    virtual void AddGeneratedFile(const std::string& path) = 0;
};

class Progress {
public:
    virtual ~Progress() = default;
    virtual void SetRange(int lower, int upper, int step) = 0;
    virtual void SetText(const std::string& text) = 0;
    virtual void StepIt() = 0;
    virtual void SetPos(int position) = 0;
    // Lets the screen paint; returns false when the user cancelled (Escape),
    // which only counts when cancelOnEscape is true.
    virtual bool PeekAndPump(bool cancelOnEscape) = 0;
};

// Integer settings in a named section (the program uses "Settings").
class Settings {
public:
    virtual ~Settings() = default;
    virtual int ReadInt(const std::string& section, const std::string& name, int fallback) = 0;
    virtual void WriteInt(const std::string& section, const std::string& name, int value) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime Now() = 0;  // local date and time
};

}  // namespace quillory

// The learner's own copy of the demo bank. Installed, the program data
// folder is read-only, and a data file needs a folder of its own it can
// write (records go into it, pages are composed beside it); so
// "quillory --demo" opens a copy made in the learner's data folder on first
// use and kept from then on.
#pragma once

#include <QString>

inline constexpr char kDemoSwitch[] = "--demo";

// <userFolder>/demo/demo.qly, copied with its pages from
// <programFolder>/demo when not there yet; empty, with the reason in
// *error, when the program data folder holds no demo bank or the copy failed.
QString UserDemoBank(const QString& programFolder, const QString& userFolder, QString* error);

// The folder the copy goes into: quillory under the XDG data folder.
QString UserDataFolder();

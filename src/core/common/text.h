// Small text helpers shared by the whole core. Strings are UTF-8 unless a
// function says otherwise; "case" means ASCII letters only.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillory {

// printf-style formatting into a std::string, so formats such as "%.1f" or
// "第%03d题" stand as written.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// ASCII white space removed at both ends.
std::string Trim(std::string_view text);

// Splits at every occurrence of separator; empty pieces are kept, so "a,"
// gives {"a", ""} and "" gives {""}.
std::vector<std::string> SplitString(std::string_view text, std::string_view separator);

// Reads a number as the C library's atoi does: leading white space, an
// optional sign, digits up to the first non-digit; anything else gives 0.
int AtoI(std::string_view text);

std::string ToLowerAscii(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
bool StartsWith(std::string_view text, std::string_view prefix);
bool EndsWith(std::string_view text, std::string_view suffix);

// Replaces the first occurrence; returns whether there was one.
bool ReplaceFirst(std::string& text, std::string_view from, std::string_view to);
// Replaces every occurrence, left to right, never rescanning replaced text.
void ReplaceAll(std::string& text, std::string_view from, std::string_view to);

}  // namespace quillory

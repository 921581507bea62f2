// Conversion between the core's UTF-8 and the GB2312 family used by page
// files (written as GB18030, its superset), and the GB2312 byte order that
// sorts Chinese titles the way their readers expect.
#pragma once

#include <string>
#include <string_view>

namespace quillory {

// UTF-8 to GB18030. Every Unicode character has a GB18030 form, so only
// malformed UTF-8 is lost (each bad byte becomes "?").
std::string Utf8ToGb(std::string_view utf8);

// GB18030 (and so GB2312 and GBK) to UTF-8; bytes that are not valid GB18030
// become U+FFFD.
std::string GbToUtf8(std::string_view gb);

// Byte-wise comparison of the GB18030 forms of two UTF-8 texts: <0, 0, >0.
int CompareGb(std::string_view utf8A, std::string_view utf8B);

// The key CompareGb compares; cache it when sorting many titles.
std::string GbSortKey(std::string_view utf8);

}  // namespace quillory

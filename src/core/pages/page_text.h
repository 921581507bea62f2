// Pages are composed in their own encoding: GB2312 (read and written as
// GB18030) unless the page declares charset=utf-8. Text from the database
// (UTF-8) is converted before it is spliced in, and placeholders are looked
// for in the page's encoding.
#pragma once

#include <string>
#include <string_view>

namespace quillory {

enum class PageEncoding { Gb, Utf8 };

PageEncoding DetectPageEncoding(std::string_view page);

// utf8 in the page's encoding.
std::string InPageEncoding(std::string_view utf8, PageEncoding encoding);

// Replaces the first occurrence of placeholder (UTF-8) by value (UTF-8),
// both taken into the page's encoding; false when it is not there.
bool ReplaceFirstPlaceholder(std::string& page, PageEncoding encoding, std::string_view placeholder,
                             std::string_view value);

// Inserts block before the first "</body>" or, when there is none, the first
// "</BODY>"; false (and nothing inserted) when neither is there.
bool InsertBeforeBodyEnd(std::string& page, std::string_view block);

}  // namespace quillory

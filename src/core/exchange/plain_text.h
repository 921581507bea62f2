// Small text rules the question readers share: decoding a text file whose
// encoding nobody declared, the width forms Chinese input methods produce,
// bracketed notes, and plain text turned into the model's HTML fragments.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/exchange/imported_question.h"

namespace quillory {

// Stands for a picture inside a reader's plain text: kImageMark, the
// picture's index in the reader's list, kImageMark. Readers remove the
// character from what they read, so it never comes from a file.
inline constexpr std::string_view kImageMark = "\xEF\xBF\xBC";  // U+FFFC

// UTF-8 (with or without BOM), else GB18030 (which covers GBK and GB2312),
// to UTF-8.
std::string DecodeText(std::string_view bytes);

// The lines of a text, split at CR LF, LF or CR; line n is element n - 1.
std::vector<std::string> TextLines(std::string_view text);

// The next code point of UTF-8 text at pos (advancing pos); a bad byte
// counts as one code point U+FFFD.
char32_t NextCodePoint(std::string_view text, size_t& pos);
void AppendUtf8(std::string& out, char32_t c);

// Full-width ASCII forms (Ａ, １, （, ：…) as ASCII and the ideographic
// space as a space.
std::string FoldWidth(std::string_view text);

// Without leading and trailing white space, full-width and no-break spaces
// included.
std::string_view Trim(std::string_view text);
bool IsSpaceAt(std::string_view text, size_t pos, size_t* length);

// Without notes in brackets of either width ("答案（多选用逗号分隔）" →
// "答案"), trimmed.
std::string WithoutNotes(std::string_view text);

// Plain text as an HTML fragment: escaped, line breaks as <br>, image marks
// as <img src="NAME"> of images (each one used is added to used once).
std::string PlainToHtml(std::string_view text, const std::vector<MediaFile>* images,
                        std::vector<MediaFile>& used);

// Text with the pictures its image marks stand for removed.
std::string WithoutImages(std::string_view text);

// Removes every U+FFFC of text read from a file, so it cannot pose as a
// picture.
void RemoveMarkCharacters(std::string& text);

}  // namespace quillory

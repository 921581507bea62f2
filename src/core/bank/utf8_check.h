// Whether bytes are well-formed UTF-8: bank sources must be, since they are
// converted to GB18030 and a bad byte would silently become "?".
#pragma once

#include <string_view>

namespace quillory {

// Rejects stray continuation bytes, cut-off sequences, overlong forms,
// surrogates and code points above U+10FFFF.
bool IsValidUtf8(std::string_view text);

}  // namespace quillory

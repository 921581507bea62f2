// Pictures carried inside a text file: base64 and the media type a name's
// extension says, for GIFT's data: addresses and Moodle XML's <file>.
#pragma once

#include <string>
#include <string_view>

namespace quillory {

std::string Base64(std::string_view bytes);

// "image/png" for "a.png"…; "application/octet-stream" for a name it does not know.
std::string ImageMediaType(std::string_view name);

}  // namespace quillory

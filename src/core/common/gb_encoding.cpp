#include "core/common/gb_encoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace quillory {

namespace {

bool IsAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// One conversion through iconv; an invalid input byte is replaced and skipped
// so a damaged text still converts as far as it can.
std::string Convert(const char* to, const char* from, std::string_view input,
                    std::string_view replacement) {
    if (IsAscii(input)) {
        return std::string(input);
    }
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::string(input);
    }
    std::string output;
    output.reserve(input.size() * 2);
    char buffer[1024];
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    while (inLeft > 0) {
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        const size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
        output.append(buffer, sizeof buffer - outLeft);
        if (rc == static_cast<size_t>(-1)) {
            if (errno == E2BIG) {
                continue;
            }
            // EILSEQ or EINVAL (truncated sequence at the end): skip one byte.
            output.append(replacement);
            ++in;
            --inLeft;
        }
    }
    char* out = buffer;
    size_t outLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &out, &outLeft);
    output.append(buffer, sizeof buffer - outLeft);
    iconv_close(cd);
    return output;
}

}  // namespace

std::string Utf8ToGb(std::string_view utf8) {
    return Convert("GB18030", "UTF-8", utf8, "?");
}

std::string GbToUtf8(std::string_view gb) {
    return Convert("UTF-8", "GB18030", gb, "\xEF\xBF\xBD");
}

std::string GbSortKey(std::string_view utf8) {
    return Utf8ToGb(utf8);
}

int CompareGb(std::string_view utf8A, std::string_view utf8B) {
    if (IsAscii(utf8A) && IsAscii(utf8B)) {
        return utf8A.compare(utf8B);
    }
    return GbSortKey(utf8A).compare(GbSortKey(utf8B));
}

}  // namespace quillory

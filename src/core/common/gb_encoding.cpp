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

// Appends input converted through cd; an invalid input byte is replaced and
// skipped so a damaged text still converts as far as it can.
void ConvertInto(iconv_t cd, std::string_view input, std::string_view replacement,
                 std::string& output) {
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
}

// Opening a converter reads its tables: each thread opens one per
// direction once, and every conversion leaves it in its initial state.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (Valid()) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t Descriptor() const { return cd_; }

private:
    iconv_t cd_;
};

const Converter& Utf8ToGbConverter() {
    thread_local const Converter converter("GB18030", "UTF-8");
    return converter;
}

const Converter& GbToUtf8Converter() {
    thread_local const Converter converter("UTF-8", "GB18030");
    return converter;
}

std::string Convert(const Converter& converter, std::string_view input,
                    std::string_view replacement) {
    if (IsAscii(input) || !converter.Valid()) {
        return std::string(input);
    }
    std::string output;
    output.reserve(input.size() * 2);
    ConvertInto(converter.Descriptor(), input, replacement, output);
    return output;
}

bool IsAsciiByte(char c) {
    return static_cast<unsigned char>(c) < 0x80;
}

}  // namespace

// Pages are mostly ASCII markup, which GB18030 keeps as it is, and no UTF-8
// sequence holds an ASCII byte: only the runs between ASCII go through iconv.
std::string Utf8ToGb(std::string_view utf8) {
    if (IsAscii(utf8)) {
        return std::string(utf8);
    }
    const Converter& converter = Utf8ToGbConverter();
    if (!converter.Valid()) {
        return std::string(utf8);
    }
    std::string output;
    output.reserve(utf8.size() + utf8.size() / 2);
    size_t at = 0;
    while (at < utf8.size()) {
        size_t end = at;
        const bool ascii = IsAsciiByte(utf8[at]);
        while (end < utf8.size() && IsAsciiByte(utf8[end]) == ascii) {
            ++end;
        }
        if (ascii) {
            output.append(utf8.substr(at, end - at));
        } else {
            ConvertInto(converter.Descriptor(), utf8.substr(at, end - at), "?", output);
        }
        at = end;
    }
    return output;
}

std::string GbToUtf8(std::string_view gb) {
    return Convert(GbToUtf8Converter(), gb, "\xEF\xBF\xBD");
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

#include "core/exchange/media_data.h"

#include "core/common/text.h"

namespace quillory {

std::string Base64(std::string_view bytes) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t left = bytes.size() - i;
        unsigned value = static_cast<unsigned char>(bytes[i]) << 16;
        if (left > 1) {
            value |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        }
        if (left > 2) {
            value |= static_cast<unsigned char>(bytes[i + 2]);
        }
        text += kDigits[(value >> 18) & 63];
        text += kDigits[(value >> 12) & 63];
        text += left > 1 ? kDigits[(value >> 6) & 63] : '=';
        text += left > 2 ? kDigits[value & 63] : '=';
    }
    return text;
}

std::string ImageMediaType(std::string_view name) {
    const std::string lower = ToLowerAscii(name);
    static const struct {
        const char* extension;
        const char* type;
    } kTypes[] = {{".png", "image/png"},   {".jpg", "image/jpeg"},  {".jpeg", "image/jpeg"},
                  {".gif", "image/gif"},   {".bmp", "image/bmp"},   {".svg", "image/svg+xml"},
                  {".webp", "image/webp"}, {".wmf", "image/x-wmf"}, {".emf", "image/x-emf"}};
    for (const auto& known : kTypes) {
        if (EndsWith(lower, known.extension)) {
            return known.type;
        }
    }
    return "application/octet-stream";
}

}  // namespace quillory

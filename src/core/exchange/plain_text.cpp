#include "core/exchange/plain_text.h"

#include <algorithm>

#include "core/bank/utf8_check.h"
#include "core/common/gb_encoding.h"

namespace quillory {

std::string DecodeText(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
        return std::string(bytes);
    }
    if (IsValidUtf8(bytes)) {
        return std::string(bytes);
    }
    return GbToUtf8(bytes);
}

std::vector<std::string> TextLines(std::string_view text) {
    std::vector<std::string> lines;
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        lines.emplace_back(text.substr(start, end - start));
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') {
            ++end;
        }
        start = end + 1;
    }
    return lines;
}

char32_t NextCodePoint(std::string_view text, size_t& pos) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char first = byte(pos);
    int length = 1;
    char32_t c = first;
    if (first >= 0xF0 && first < 0xF8) {
        length = 4;
        c = first & 0x07;
    } else if (first >= 0xE0) {
        length = first < 0xF0 ? 3 : 1;
        c = first & 0x0F;
    } else if (first >= 0xC0) {
        length = 2;
        c = first & 0x1F;
    } else if (first >= 0x80) {
        ++pos;
        return 0xFFFD;
    }
    if (length == 1) {
        ++pos;
        return first >= 0x80 ? 0xFFFD : c;
    }
    if (pos + length > text.size()) {
        ++pos;
        return 0xFFFD;
    }
    for (int i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) {
            ++pos;
            return 0xFFFD;
        }
        c = (c << 6) | (byte(pos + i) & 0x3F);
    }
    pos += length;
    return c;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string FoldWidth(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        const size_t start = pos;
        const char32_t c = NextCodePoint(text, pos);
        if (c >= 0xFF01 && c <= 0xFF5E) {
            out += static_cast<char>(c - 0xFEE0);
        } else if (c == 0x3000) {
            out += ' ';
        } else {
            out.append(text.substr(start, pos - start));
        }
    }
    return out;
}

bool IsSpaceAt(std::string_view text, size_t pos, size_t* length) {
    const char c = text[pos];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f') {
        *length = 1;
        return true;
    }
    for (std::string_view space : {"\xE3\x80\x80", "\xC2\xA0"}) {  // U+3000, U+00A0
        if (text.substr(pos).starts_with(space)) {
            *length = space.size();
            return true;
        }
    }
    return false;
}

std::string_view Trim(std::string_view text) {
    size_t length = 0;
    while (!text.empty() && IsSpaceAt(text, 0, &length)) {
        text.remove_prefix(length);
    }
    while (!text.empty()) {
        size_t end = text.size() - 1;
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
            --end;
        }
        if (!IsSpaceAt(text, end, &length) || end + length != text.size()) {
            break;
        }
        text.remove_suffix(length);
    }
    return text;
}

std::string WithoutNotes(std::string_view text) {
    const std::string folded = FoldWidth(text);
    std::string out;
    int depth = 0;
    for (char c : folded) {
        if (c == '(' || c == '[') {
            ++depth;
        } else if ((c == ')' || c == ']') && depth > 0) {
            --depth;
        } else if (depth == 0) {
            out += c;
        }
    }
    // 【】 and 〔〕 notes: the brackets are three bytes each.
    for (auto [open, close] : {std::pair{"【", "】"}, std::pair{"〔", "〕"}}) {
        for (size_t at = out.find(open); at != std::string::npos; at = out.find(open, at)) {
            const size_t end = out.find(close, at);
            if (end == std::string::npos) {
                break;
            }
            out.erase(at, end + std::string_view(close).size() - at);
        }
    }
    return std::string(Trim(out));
}

std::string PlainToHtml(std::string_view text, const std::vector<MediaFile>* images,
                        std::vector<MediaFile>& used) {
    text = Trim(text);
    std::string html;
    html.reserve(text.size() + 16);
    for (size_t pos = 0; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (text.substr(pos).starts_with(kImageMark)) {
            const size_t end = text.find(kImageMark, pos + kImageMark.size());
            if (end == std::string_view::npos) {
                break;
            }
            const std::string_view digits =
                text.substr(pos + kImageMark.size(), end - pos - kImageMark.size());
            size_t index = 0;
            for (char d : digits) {
                index = index * 10 + static_cast<size_t>(d - '0');
            }
            if (images && index < images->size()) {
                const MediaFile& image = (*images)[index];
                html += "<img src=\"" + image.name + "\">";
                if (std::none_of(used.begin(), used.end(),
                                 [&](const MediaFile& m) { return m.name == image.name; })) {
                    used.push_back(image);
                }
            }
            pos = end + kImageMark.size() - 1;
            continue;
        }
        switch (c) {
            case '&':
                html += "&amp;";
                break;
            case '<':
                html += "&lt;";
                break;
            case '>':
                html += "&gt;";
                break;
            case '"':
                html += "&quot;";
                break;
            case '\r':
                if (pos + 1 < text.size() && text[pos + 1] == '\n') {
                    ++pos;
                }
                html += "<br>";
                break;
            case '\n':
                html += "<br>";
                break;
            default:
                html += c;
        }
    }
    return html;
}

std::string WithoutImages(std::string_view text) {
    std::string out;
    for (size_t pos = 0; pos < text.size();) {
        const size_t at = text.find(kImageMark, pos);
        if (at == std::string_view::npos) {
            out.append(text.substr(pos));
            break;
        }
        out.append(text.substr(pos, at - pos));
        const size_t end = text.find(kImageMark, at + kImageMark.size());
        pos = end == std::string_view::npos ? text.size() : end + kImageMark.size();
    }
    return out;
}

void RemoveMarkCharacters(std::string& text) {
    for (size_t at = text.find(kImageMark); at != std::string::npos;
         at = text.find(kImageMark, at)) {
        text.erase(at, kImageMark.size());
    }
}

}  // namespace quillory

#include "core/exchange/text_reader.h"

#include "core/exchange/marked_paragraphs.h"
#include "core/exchange/plain_text.h"

namespace quillory {

ImportReading ReadTextFile(std::string_view bytes, const std::string& fileName) {
    // The image mark means a picture to the paragraph reader; a text file
    // has none.
    std::string text = DecodeText(bytes);
    RemoveMarkCharacters(text);
    std::vector<MarkedParagraph> lines;
    int number = 0;
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            end = text.size();
        }
        lines.push_back({text.substr(start, end - start), ++number, false});
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') {
            ++end;
        }
        start = end + 1;
    }
    return ReadMarkedParagraphs(lines, {}, fileName);
}

}  // namespace quillory

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
    for (std::string& line : TextLines(text)) {
        lines.push_back({std::move(line), ++number, false});
    }
    return ReadMarkedParagraphs(lines, {}, fileName);
}

}  // namespace quillory

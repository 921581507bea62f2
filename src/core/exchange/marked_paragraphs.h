// Questions from paragraphs as teachers type them in Word or a text editor:
// numbered questions ("1." "1、" "（1）"), options ("A." "A、" "(A)", several
// on one line too), markers (【答案】 or 答案：, 【解析】/【详解】/【点睛】 or
// 解析：, 【知识点】, 【分值】, 【难度】, 【题型】) and section headings
// ("一、单项选择题（每题2分）") naming the kind of the questions below.
#pragma once

#include <string>
#include <vector>

#include "core/exchange/imported_question.h"

namespace quillory {

struct MarkedParagraph {
    std::string text;  // plain, pictures as image marks (plain_text.h)
    int line = 0;      // paragraph or line number, from 1
    // A Word list item numbered 1, 2, 3…: its number is not in the text.
    bool numberedItem = false;
};

// images: what the image marks of the paragraphs index.
ImportReading ReadMarkedParagraphs(const std::vector<MarkedParagraph>& paragraphs,
                                   const std::vector<MediaFile>& images,
                                   const std::string& fileName);

}  // namespace quillory

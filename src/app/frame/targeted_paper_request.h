// What the knowledge module's targeted practice asks of the practice papers:
// a paper of count questions of one type over a set of knowledge points.
#pragma once

#include <string>
#include <vector>

struct TargetedPaperRequest {
    int typeId = 0;
    std::vector<std::string> knowledgeSet;
    std::string title;
    int count = 0;
    int score = 0;  // of each question, a whole number
    bool adjust = false;
    int period = 0;
};

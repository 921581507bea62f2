#include "core/practice/exam_item.h"

namespace quillory {

ItemResult ResultOf(const ExamItem& item) {
    if (item.fullMarks <= item.learnerScore + 0.1f && item.fullMarks >= 0.1f) {
        return ItemResult::Correct;
    }
    return item.learnerScore <= 0.1f ? ItemResult::Wrong : ItemResult::PartlyCorrect;
}

}  // namespace quillory

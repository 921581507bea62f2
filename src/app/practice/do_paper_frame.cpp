#include "practice/do_paper_frame.h"

namespace {

constexpr int kExamResource = 166;
// The exam tree holds whatever node the exam was started on.
constexpr int kAllPapers = 0;

}  // namespace

CDoPaperFrame::CDoPaperFrame(CQuilloryApp& app, QWidget* owner)
    : CPaperFrame(app, kExamResource, kAllPapers, owner) {}

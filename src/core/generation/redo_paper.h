// A practice paper that asks the mistake notebook's questions again.
#pragma once

#include <span>
#include <string>

#include "core/analysis/mistake_notebook.h"
#include "core/generation/paper_generation.h"

namespace quillory {

// At most this many questions go into one redo paper.
inline constexpr size_t kRedoPaperLimit = 100;

// "错题重做 YYYY-MM-DD": the title the paper is offered with.
std::string RedoPaperTitle(const DateTime& today);

struct RedoPaperRequest {
    std::span<const Mistake> mistakes;
    std::string title;
    bool save = false;  // store it; else only make the rows
};

// The first kRedoPaperLimit mistakes as a paper titled title: one section per
// question type (in type order, titled by the type), each question scored
// with the full marks of its last attempt and titled as generated questions
// are ("第%03d题", "第%03d-%03d题" for several answers). With save the rows
// are stored all together. NothingToDo when there is no mistake to ask,
// Database when the tables cannot be read, NotSaved when the rows cannot be
// stored.
Result<GeneratedPaper> CreateRedoPaper(GenerationContext& context, const RedoPaperRequest& request);

}  // namespace quillory

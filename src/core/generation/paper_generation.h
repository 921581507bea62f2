// A new practice paper, from a paper template or for a set of knowledge
// points, stored in Paper with all its rows or not at all.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/common/legacy_random.h"
#include "core/common/result.h"
#include "core/store/date_time.h"

namespace quillory {

class DataStore;
class Host;
class Progress;

struct GenerationSettings {
    bool adjust = false;        // "AutoAdjust"
    int period = 0;             // "Period": 0 seven days, 1 thirty days, else all
    std::int64_t seedTime = 0;  // seconds the generator is seeded from
    DateTime now;               // local time of the adjustment's cut-off
};

// One Paper row as it is (or would be) inserted.
struct GeneratedRow {
    int id = 0;
    int superiorId = 0;
    int questionId = 0;
    double score = 0.0;
    int timeLimit = 0;
    std::string title;
    std::string url;
    bool isQuestion = false;
    bool isSystem = false;

    bool operator==(const GeneratedRow&) const = default;
};

struct GeneratedPaper {
    int paperId = 0;  // the first row's ID
    std::vector<GeneratedRow> rows;
};

struct GenerationContext {
    DataStore& store;
    std::string dataFolder;  // section pages are copied within it
    Host& host;
    Progress& progress;
    LegacyRandom& random;  // the process's generator
};

// A paper from the paper template templateId.
struct TemplatePaperRequest {
    int templateId = 0;
    std::string title;
    GenerationSettings settings;
    bool save = false;  // store it; else only make the rows
};

// A paper of count questions of type typeId that carry one of the knowledge
// points, each scored score.
struct TargetedPaperRequest {
    int typeId = 0;
    std::vector<std::string> knowledgeSet;
    std::string title;
    int count = 0;
    int score = 0;  // of each question, a whole number
    GenerationSettings settings;
    bool save = false;
};

// Generates the paper. With save the rows are inserted in one transaction
// and the section pages copied to Question/P%06d.html; without, nothing is
// written. Database (with the engine's reason) when the tables cannot be
// read, NotSaved when the paper cannot be stored; then nothing is left
// behind.
Result<GeneratedPaper> CreateTemplatePaper(GenerationContext& context,
                                           const TemplatePaperRequest& request);
// As CreateTemplatePaper; no section pages.
Result<GeneratedPaper> CreateTargetedPaper(GenerationContext& context,
                                           const TargetedPaperRequest& request);

}  // namespace quillory

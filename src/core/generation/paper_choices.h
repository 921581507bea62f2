// What the auto-paper dialog and quillory-tool generate share: the
// templates offered and the checks made on the learner's choice.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

class DataStore;

struct TemplateChoice {
    int id = 0;
    std::string title;

    bool operator==(const TemplateChoice&) const = default;
};

// The templates (PaperTemplate rows with SuperiorID 0) by title; nothing on
// a database error.
std::optional<std::vector<TemplateChoice>> ReadTemplateChoices(DataStore& store);

// The template a choice stands for: its ID when one offered has chosenId, 0
// (refused below) when none has or nothing is chosen.
int ChosenTemplateId(const std::vector<TemplateChoice>& offered, std::optional<int> chosenId);

// The title a paper gets from the text entered for it: without the white
// space at its ends.
std::string PaperTitleFromEntry(std::string_view entry);

// The message refusing the choice (stop icon), or "" when it stands:
// "模版错误！" for template ID 0, "无效的试卷标题！" for a blank title.
std::string CheckTemplatePaperChoice(int templateId, const std::string& title);

}  // namespace quillory

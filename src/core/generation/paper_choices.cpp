#include "core/generation/paper_choices.h"

#include "core/common/text.h"
#include "core/store/data_store.h"

namespace quillory {

std::optional<std::vector<TemplateChoice>> ReadTemplateChoices(DataStore& store) {
    auto rows = store.Query("select * from PaperTemplate where SuperiorID=0 order by Title");
    if (!rows) {
        return std::nullopt;
    }
    std::vector<TemplateChoice> choices;
    for (; !rows->AtEnd(); rows->Next()) {
        choices.push_back({rows->Int("ID"), rows->Text("Title")});
    }
    if (rows->Failed()) {
        return std::nullopt;
    }
    return choices;
}

int ChosenTemplateId(const std::vector<TemplateChoice>& offered, std::optional<int> chosenId) {
    for (const TemplateChoice& choice : offered) {
        if (chosenId == choice.id) {
            return choice.id;
        }
    }
    return 0;
}

std::string PaperTitleFromEntry(std::string_view entry) {
    return Trim(entry);
}

std::string CheckTemplatePaperChoice(int templateId, const std::string& title) {
    if (templateId == 0) {
        return "模版错误！";
    }
    if (PaperTitleFromEntry(title).empty()) {
        return "无效的试卷标题！";
    }
    return {};
}

}  // namespace quillory

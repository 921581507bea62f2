#include "core/exchange/import_file.h"

#include <filesystem>

#include "core/generation/paper_choices.h"
#include "core/store/data_file.h"

namespace quillory {

ImportFile ReadImportFile(const std::string& path, const std::string& title,
                          QuestionFormat format) {
    ImportFile file;
    file.fileName = std::filesystem::path(path).filename().string();
    file.paperTitle = PaperTitleFromEntry(title.empty() ? DataFileTitle(file.fileName) : title);
    file.reading = ReadQuestionFile(path, format);
    return file;
}

std::string ImportTemplatePath(const std::string& programFolder) {
    return programFolder + "/import/试题导入模板.xlsx";
}

}  // namespace quillory

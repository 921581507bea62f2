// The redo paper: the notebook's questions by type (sections in title
// order, as the tree shows them), scored as last asked.
#include "core/generation/redo_paper.h"

#include <gtest/gtest.h>

#include "core/common/text.h"
#include "core/store/data_store.h"
#include "core/store/tables.h"
#include "support/recording_host.h"
#include "support/recording_progress.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

TEST(RedoPaper, OneSectionATypeEachQuestionItsLastFullMarks) {
    testing::TempDir dir;
    auto store = testing::MakeDataFile(dir.File("bank.qly"));
    ASSERT_TRUE(store->Execute(
        "insert into QuestionType(ID, Title) values(900001, '单项选择题'), (900002, '填空题')"));
    ASSERT_TRUE(store->Execute("insert into Paper(ID, Title) values(560000, '旧卷')"));
    const char* twoBlanks = "0,0,9,9,edit,,a,group,auto\r\n0,0,9,9,edit,,b,group,auto";
    std::vector<Mistake> mistakes;
    for (const auto& [id, type, marks, form] : {std::tuple{200003, 900002, 4.0f, twoBlanks},
                                                {200001, 900001, 2.5f, ""},
                                                {200002, 900009, 1.0f, ""},
                                                {200004, 900002, 3.0f, "0,0,9,9,edit,,c"}}) {
        Mistake mistake;
        mistake.questionId = id;
        mistake.typeId = type;
        mistake.fullMarks = marks;
        mistake.answerForm = form;
        mistakes.push_back(mistake);
    }
    testing::RecordingHost host;
    testing::RecordingProgress progress;
    LegacyRandom random;
    GenerationContext context{*store, dir.Path(), host, progress, random};
    const Result<GeneratedPaper> paper =
        CreateRedoPaper(context, {mistakes, "错题重做 2026-03-14", true});
    ASSERT_TRUE(paper) << paper.error().detail;
    const std::vector<GeneratedRow> expected{
        {560001, 0, 0, 10.5, 0, "错题重做 2026-03-14", "", false, true},
        {560002, 560001, 0, 2.5, 0, "单项选择题", "", false, false},
        {560003, 560002, 200001, 2.5, 0, "第001题", "", true, false},
        {560004, 560001, 0, 1, 0, "其他", "", false, false},
        {560005, 560004, 200002, 1, 0, "第002题", "", true, false},
        {560006, 560001, 0, 7, 0, "填空题", "", false, false},
        {560007, 560006, 200003, 4, 0, "第003-004题", "", true, false},
        {560008, 560006, 200004, 3, 0, "第005题", "", true, false},
    };
    EXPECT_EQ(paper->rows, expected);
    EXPECT_EQ(ReadPaperRows(*store)->size(), 9u);
    EXPECT_EQ(RedoPaperTitle({2026, 3, 14, 9, 0, 0}), "错题重做 2026-03-14");

    const Result<GeneratedPaper> none = CreateRedoPaper(context, {{}, "卷", true});
    ASSERT_FALSE(none);
    EXPECT_EQ(none.error().code, ErrorCode::NothingToDo);
}

}  // namespace
}  // namespace quillory

#include "core/pages/linked_page.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/common/gb_encoding.h"
#include "core/store/data_store.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

using testing::ReadFileBytes;
using testing::RecordingHost;
using testing::TempDir;
using testing::WriteFileBytes;

// Every link kind goes to its own builder: each row's page names it.
TEST(ShowLinkedPage, EachKindBuildsItsOwnPage) {
    TempDir dir;
    auto store = testing::MakeDataFile(dir.File("bank.qly"));
    std::filesystem::create_directories(dir.File("Question"));
    std::filesystem::create_directories(dir.File("Knowledge"));
    for (const char* sql : {
             "insert into Paper(ID, Title, Url) values(100001, '第一套', 'Question/p.html')",
             "insert into Question(ID, Url, AnswerUrl) values(200001, 'Question/q.html', "
             "'Question/a.html')",
             "insert into Knowledge(ID, Title, Url) values(300001, '黄河', 'Knowledge/k.html')",
             "insert into History(ID, RecordDate, RecordTime, PaperID, PaperItemID) "
             "values(700001, '2026-03-14', '09:26:53', 100001, 100001)",
         }) {
        ASSERT_TRUE(store->Execute(sql)) << store->LastError();
    }
    WriteFileBytes(dir.File("Question/p.html"), Utf8ToGb("试卷[标题]</body>"));
    WriteFileBytes(dir.File("Question/q.html"), Utf8ToGb("试题[试题]</body>"));
    WriteFileBytes(dir.File("Question/a.html"), Utf8ToGb("答案[试题]</body>"));
    WriteFileBytes(dir.File("Knowledge/k.html"), Utf8ToGb("知识点</body>"));

    struct Case {
        const char* link;
        bool showRelated;
        const char* page;   // the file shown
        const char* start;  // how it begins
        bool withBlock;     // a related block before </body>
        const char* query = "";
    };
    const Case cases[] = {
        {"Quillory://Paper:100001", true, "Question/p.htm", "试卷第一套</body>", false},
        {"Quillory://Question:200001第1题", true, "Question/q.htm", "试题第1题<font", true},
        {"Quillory://Question:200001第1题", false, "Question/q.htm", "试题第1题</body>", false},
        {"Quillory://Answer:200001第2题", true, "Question/a.htm", "答案第2题<font", true},
        {"Quillory://Answer:200001第2题", false, "Question/a.htm", "答案第2题</body>", false},
        {"Quillory://Knowledge:300001", false, "Knowledge/k.htm", "知识点<font", true},
        {"Quillory://ClassicAnalysis:000000", true, "Knowledge/ReferenceTotal.html",
         "<html>\n<head>\n", false},
        {"Quillory://ClassicAnalysis:100001", true, "Knowledge/第一套.htm", "<html>\n<head>\n",
         false},
        {"Quillory://HistoryAnalysis:700001:100001", true,
         "Knowledge/第一套-2026-03-14-09-26-53.htm", "<html>\n<head>\n", false, "?700001"},
        {"Quillory://HistoryAnalysis:000000", true, "Knowledge/UserTotal.html", "<html>\n<head>\n",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        RecordingHost host;
        PageContext context{*store, dir.Path(), host};
        const auto link = ParseInternalLink(c.link);
        ASSERT_TRUE(link);
        PageOptions options;
        options.showRelated = c.showRelated;
        EXPECT_TRUE(ShowLinkedPage(context, *link, options));
        EXPECT_TRUE(host.messages.empty());
        ASSERT_EQ(host.navigations, std::vector<std::string>{dir.File(c.page) + c.query});
        const std::string page = GbToUtf8(ReadFileBytes(dir.File(c.page)));
        EXPECT_EQ(page.rfind(c.start, 0), 0u) << page;
        EXPECT_EQ(page.find("[相关知识点]") != std::string::npos, c.withBlock);
    }
}

}  // namespace
}  // namespace quillory

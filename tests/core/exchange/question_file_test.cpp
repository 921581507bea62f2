#include <gtest/gtest.h>

#include "core/exchange/question_file.h"
#include "core/exchange/zip_entries.h"
#include "exchange_files.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

TEST(ReadQuestionFile, SaysWhenAFileIsNotWhatItsNameSays) {
    const std::string xlsx = testing::ReadFileBytes(testing::ExchangeFile("题库.xlsx"));
    const std::string docx = testing::ReadFileBytes(testing::ExchangeFile("试卷.docx"));
    const std::pair<ImportReading, const char*> cases[] = {
        {ReadQuestionBytes(docx, "题库.xlsx"), "题库.xlsx 文件内容不是 xlsx 工作簿"},
        {ReadQuestionBytes("题干,答案\n", "题库.xlsx"), "题库.xlsx 文件内容不是 xlsx 工作簿"},
        {ReadQuestionBytes(xlsx, "题库.ods"), "题库.ods 文件内容不是 ods 工作簿"},
        {ReadQuestionBytes(xlsx, "试卷.docx"), "试卷.docx 文件内容不是 docx 文档"},
        {ReadQuestionBytes(xlsx, "题库.csv"), "题库.csv 文件内容不是文本，不能作为 csv 读取"},
        {ReadQuestionBytes(docx, "试卷.txt"), "试卷.txt 文件内容不是文本，不能作为 txt 读取"},
        {ReadQuestionBytes("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", "题库.xlsx"),
         "题库.xlsx 文件是旧版 Excel 工作簿（.xls）或加了密码，请另存为 .xlsx 后再导入"},
        {ReadQuestionBytes(xlsx.substr(0, xlsx.size() / 2), "题库.xlsx"),
         "题库.xlsx 文件已损坏，无法作为 xlsx 读取"},
        {ReadQuestionBytes(docx.substr(0, docx.size() - 100), "试卷.docx"),
         "试卷.docx 文件已损坏，无法作为 docx 读取"},
        {ReadQuestionBytes("", "题库.xls"),
         "题库.xls 不能导入这种文件（可导入 .xlsx、.ods、.csv、.docx、.txt、.gift、.xml、.zip）"},
        {ReadQuestionFile(testing::ExchangeFile("没有这个文件.xlsx")),
         "没有这个文件.xlsx 文件不存在"},
    };
    for (const auto& [reading, text] : cases) {
        EXPECT_TRUE(reading.questions.empty()) << text;
        EXPECT_EQ(testing::Texts(reading.problems), std::vector<std::string>{text});
    }
}

TEST(ReadQuestionFile, RefusesAnArchiveThatUnpacksPastTheLimits) {
    const std::string zeros(kMaxZipEntryBytes + 1, '\0');
    const std::string bomb =
        testing::ZipBytes({{"xl/workbook.xml", "<workbook/>"}, {"xl/big.xml", zeros}});
    ASSERT_LT(bomb.size(), 1u << 20);
    EXPECT_EQ(testing::Texts(ReadQuestionBytes(bomb, "题库.xlsx").problems),
              std::vector<std::string>{"题库.xlsx 文件解压后过大，已拒绝（可能是恶意文件）"});
    const std::string word = testing::ZipBytes({{"word/document.xml", zeros}});
    EXPECT_EQ(testing::Texts(ReadQuestionBytes(word, "试卷.docx").problems),
              std::vector<std::string>{"试卷.docx 文件解压后过大，已拒绝（可能是恶意文件）"});
}

TEST(ReadQuestionFile, RefusesADocumentNestedTooDeep) {
    std::string xml;
    for (int i = 0; i < 10000; ++i) {
        xml += "<a>";
    }
    const std::string docx = testing::ZipBytes({{"word/document.xml", xml}});
    EXPECT_EQ(testing::Texts(ReadQuestionBytes(docx, "试卷.docx").problems),
              std::vector<std::string>{"试卷.docx 文件已损坏（文档的 XML 无法读取）"});
}

}  // namespace
}  // namespace quillory

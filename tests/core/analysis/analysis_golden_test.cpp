// Whole pages compared with stored copies under golden/: a change of any
// byte of the record page, the reference paper page or the trend chart shows
// here.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/analysis/analysis_parts.h"
#include "core/analysis/history_record_page.h"
#include "core/analysis/history_trend_chart.h"
#include "core/analysis/reference_paper_page.h"
#include "core/common/gb_encoding.h"
#include "core/common/paper_node_list.h"
#include "core/store/data_store.h"
#include "core/store/tables.h"
#include "paper_bank.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

using testing::ReadFileBytes;
using testing::RecordingHost;
using testing::TempDir;

std::string Golden(const char* name) {
    return ReadFileBytes(testing::SourceFolder() + "/tests/core/analysis/golden/" + name);
}

class AnalysisGolden : public ::testing::Test {
protected:
    void SetUp() override {
        store_ = testing::MakeDataFile(dir_.File("bank.qly"));
        std::filesystem::create_directories(dir_.File("Knowledge"));
        testing::FillPaperBank(*store_);
    }

    TempDir dir_;
    std::unique_ptr<DataStore> store_;
    RecordingHost host_;
};

TEST_F(AnalysisGolden, TheRecordPage) {
    PageContext context{*store_, dir_.Path(), host_};
    ASSERT_TRUE(ShowHistoryRecord(context, 700002, 0));
    ASSERT_EQ(host_.generatedFiles.size(), 1u);
    EXPECT_EQ(GbToUtf8(ReadFileBytes(host_.generatedFiles[0])), Golden("history_record_page.htm"));
}

TEST_F(AnalysisGolden, TheReferencePaperPage) {
    PageContext context{*store_, dir_.Path(), host_};
    const auto path = ShowReferencePaperPage(context, 100001);
    ASSERT_TRUE(path);
    EXPECT_EQ(GbToUtf8(ReadFileBytes(*path)), Golden("reference_paper_page.htm"));
}

TEST_F(AnalysisGolden, TheTrendChart) {
    const auto history = ReadHistoryRows(*store_);
    const auto knowledge = ReadKnowledgeRows(*store_);
    ASSERT_TRUE(history && knowledge);
    EXPECT_EQ(HistoryTrendChart(*history, KnowledgeTree(*knowledge)),
              Golden("history_trend_chart.svg"));
}

}  // namespace
}  // namespace quillory

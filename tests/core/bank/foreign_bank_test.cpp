// Banks written by other tools (see support/foreign_bank.h) open, check
// clean and work in every part of the program: pages, the classic analysis,
// generation, exams and their records.
#include <gtest/gtest.h>

#include "core/analysis/classic_analysis.h"
#include "core/analysis/classic_analysis_tree.h"
#include "core/analysis/history_tree.h"
#include "core/bank/bank_check.h"
#include "core/common/gb_encoding.h"
#include "core/common/internal_link.h"
#include "core/common/text.h"
#include "core/generation/paper_generation.h"
#include "core/pages/linked_page.h"
#include "core/practice/answer_form.h"
#include "core/practice/exam_record.h"
#include "core/practice/exam_session.h"
#include "core/practice/paper_tree.h"
#include "core/store/data_store.h"
#include "support/foreign_bank.h"
#include "support/memory_settings.h"
#include "support/pinned_clock.h"
#include "support/recording_host.h"
#include "support/recording_progress.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

using testing::ForeignBankStyle;
using testing::PinnedClock;
using testing::ReadFileBytes;
using testing::RecordingHost;

class ForeignBank : public ::testing::TestWithParam<ForeignBankStyle> {
protected:
    void SetUp() override {
        const std::string path = testing::MakeForeignBank(dir_.Path(), GetParam());
        ASSERT_FALSE(path.empty());
        store_ = testing::OpenDataStore(path);
        ASSERT_TRUE(store_);
    }

    // The page a link shows, as text; empty (with a failure) when none is.
    std::string Show(const std::string& text) {
        RecordingHost host;
        PageContext context{*store_, dir_.Path(), host};
        const auto link = ParseInternalLink(text);
        EXPECT_TRUE(link) << text;
        PageOptions options;
        options.now = {2026, 3, 14, 9, 0, 0};
        EXPECT_TRUE(ShowLinkedPage(context, *link, options)) << text;
        EXPECT_TRUE(host.messages.empty()) << text << ": " << host.messages.front().first;
        if (host.navigations.size() != 1) {
            ADD_FAILURE() << text << " showed no page";
            return {};
        }
        const std::string file = host.navigations[0].substr(0, host.navigations[0].find('?'));
        return GbToUtf8(ReadFileBytes(file));
    }

    std::vector<float> RecordScores(int historyId) {
        const auto record = FindRecord(*store_, historyId);
        EXPECT_TRUE(record) << historyId;
        std::vector<float> scores;
        for (auto rows = store_->Query(RecordRowsQuery(*record)); rows && !rows->AtEnd();
             rows->Next()) {
            scores.push_back(rows->Single("UserScore"));
        }
        return scores;
    }

    testing::TempDir dir_;
    std::unique_ptr<DataStore> store_;
    testing::MemorySettings settings_;
};

TEST_P(ForeignBank, ChecksCleanAndShowsItsPages) {
    EXPECT_EQ(CheckBank(*store_, dir_.Path()), std::vector<std::string>{});
    EXPECT_NE(Show("Quillory://Paper:100000").find("真题一"), std::string::npos);
    EXPECT_NE(Show("Quillory://Question:200001第1题").find("[相关知识点]"), std::string::npos);
    EXPECT_NE(Show("Quillory://Knowledge:301100").find("1.2 黄河"), std::string::npos);
    // The exam record, found by its date and time as the bank wrote them.
    const std::string record = Show("Quillory://HistoryAnalysis:700001:100000");
    EXPECT_NE(record.find("第1题"), std::string::npos);
    EXPECT_NE(record.find("第2题"), std::string::npos);
    EXPECT_EQ(RecordScores(testing::kForeignRecordId), (std::vector<float>{2, 0}));
    EXPECT_NE(Show("Quillory://HistoryAnalysis:000000").find("1.1 长江"), std::string::npos);
}

TEST_P(ForeignBank, ItsReferencePaperIsAnalysed) {
    const auto tree = LoadClassicAnalysisTree(*store_);
    ASSERT_TRUE(tree);
    ASSERT_EQ(tree->size(), 2u);
    EXPECT_EQ((*tree)[1].node.referencePaperId, testing::kForeignReferencePaper);
    RecordingHost host;
    PageContext context{*store_, dir_.Path(), host};
    ASSERT_TRUE(BuildClassicAnalysis(context, ClassicPageVariant::Command, {}));
    for (auto rows = store_->Query("select * from Knowledge where SuperiorID<>0");
         rows && !rows->AtEnd(); rows->Next()) {
        EXPECT_GT(rows->Int("Weight"), 0) << rows->Int("ID");
    }
    const auto reference = LoadPaperTreeRows(*store_, -1, PaperFilter::Reference);
    ASSERT_TRUE(reference);
    EXPECT_EQ(reference->Size(), 6u);
    const auto classic = LoadPaperTreeRows(*store_, -1, PaperFilter::Classic);
    ASSERT_TRUE(classic);
    EXPECT_EQ(classic->Size(), 6u);
}

TEST_P(ForeignBank, GeneratesAPaperFromItsTemplate) {
    RecordingHost host;
    testing::RecordingProgress progress;
    LegacyRandom random;
    GenerationContext context{*store_, dir_.Path(), host, progress, random};
    const Result<GeneratedPaper> made =
        CreateTemplatePaper(context, {testing::kForeignTemplate,
                                      "练习一",
                                      {false, 0, 1700000000, {2026, 3, 14, 9, 0, 0}},
                                      true});
    ASSERT_TRUE(made) << made.error().detail;
    const GeneratedPaper& paper = *made;
    ASSERT_EQ(paper.rows.size(), 4u);
    EXPECT_EQ(paper.paperId, 550001);
    std::vector<std::pair<double, int>> values;
    for (const GeneratedRow& row : paper.rows) {
        values.emplace_back(row.score, row.timeLimit);
    }
    EXPECT_EQ(values, (std::vector<std::pair<double, int>>{{10, 900}, {8, 0}, {4, 30}, {4, 30}}));
    EXPECT_TRUE(host.messages.empty());
    const auto practice = LoadPaperTreeRows(*store_, -1, PaperFilter::Practice);
    ASSERT_TRUE(practice);
    EXPECT_EQ(practice->Size(), 4u);
    EXPECT_EQ(CheckBank(*store_, dir_.Path()), std::vector<std::string>{});
}

TEST_P(ForeignBank, StoresAnExamAndDeletesTheRecordsItHad) {
    RecordingHost host;
    PinnedClock clock;
    ExamSession session(host, clock);
    ASSERT_TRUE(
        session.Start(ExamState::Answering, *store_, testing::kForeignReferencePaper).selectRoot);
    ASSERT_EQ(session.Items().size(), 4u);
    ExamItem first = session.Items()[0];
    AnswerForm form = ParseAnswerForm(first.description, {});
    const char* values[] = {"", "1", "0", "0", "0"};
    size_t next = 0;
    for (AnswerGroup& group : form.groups) {
        for (AnswerControl& control : group.controls) {
            control.learnerValue = values[next++];
        }
    }
    first.learnerAnswer = ComposeAnswerText(form);
    const ExamStep step =
        session.Submit(*store_, settings_, {first.paperItemId, first, ExamState::Answering});
    EXPECT_EQ(step.kind, ExamStep::Kind::Result);
    EXPECT_EQ(session.HistoryId(), 700003);
    EXPECT_EQ(RecordScores(700003), (std::vector<float>{2, 0, 0, 0}));

    const auto items = LoadHistoryTree(*store_);
    ASSERT_TRUE(items);
    PaperNodeList nodes;
    for (const HistoryTreeItem& item : *items) {
        nodes.Add(item.node);
    }
    ASSERT_TRUE(DeleteHistoryItems(*store_, settings_, nodes, kHistoryRootId).ok());
    auto left = store_->Query("select count(*) as n from History");
    ASSERT_TRUE(left);
    EXPECT_EQ(left->Int("n"), 0);
}

INSTANTIATE_TEST_SUITE_P(Styles, ForeignBank, ::testing::ValuesIn(testing::kForeignBankStyles),
                         [](const auto& style) { return std::string(style.param.name); });

}  // namespace
}  // namespace quillory

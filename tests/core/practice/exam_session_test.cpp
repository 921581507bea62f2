// The rules of a running exam on the exam test bank (tests/banks/exam): what
// the learner is asked, judging with partial credit, hand scoring, storing
// the record, the nodes' pages, moving, the countdowns and leaving.
#include "core/practice/exam_session.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/bank/bank_builder.h"
#include "core/host/setting_names.h"
#include "core/practice/answer_form.h"
#include "core/practice/exam_countdown.h"
#include "core/practice/exam_progress.h"
#include "core/store/data_store.h"
#include "support/memory_settings.h"
#include "support/pinned_clock.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"
#include "support/test_banks.h"

namespace quillory {
namespace {

using testing::PinnedClock;
using testing::RecordingHost;

// The learner's answer text for an item: one value a control, in order.
PanelItem Answered(const ExamItem& item, const std::vector<std::string>& values) {
    AnswerForm form = ParseAnswerForm(item.description, {});
    size_t next = 0;
    for (AnswerGroup& group : form.groups) {
        for (AnswerControl& control : group.controls) {
            control.learnerValue = next < values.size() ? values[next++] : "";
        }
    }
    PanelItem panel{item.paperItemId, item, ExamState::Answering};
    panel.item.learnerAnswer = ComposeAnswerText(form);
    return panel;
}

class ExamSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string file = dir_.File("exam.qly");
        const Status built =
            BuildBank(testing::TestBankSource("exam"), file, testing::ProgramFolder());
        ASSERT_TRUE(built) << built.error().detail;
        store_ = testing::OpenDataStore(file);
        ASSERT_TRUE(store_);
    }

    // Starts answering an exam on a node.
    ExamLoad Start(int nodeId) { return session_.Start(ExamState::Answering, *store_, nodeId); }
    const ExamItem& Item(int paperItemId) {
        for (const ExamItem& item : session_.Items()) {
            if (item.paperItemId == paperItemId) {
                return item;
            }
        }
        ADD_FAILURE() << "no item " << paperItemId;
        return session_.Placeholder();
    }
    // The learner selects a node after answering the one shown.
    NodeView Answer(int paperItemId, const std::vector<std::string>& values, int nextNode) {
        return session_.Select(nextNode, Answered(Item(paperItemId), values));
    }
    ExamStep Submit(const PanelItem& panel = {}) {
        return session_.Submit(*store_, settings_, panel);
    }
    std::vector<float> StoredScores() {
        std::vector<float> scores;
        auto rows = store_->Query("select * from History order by ID");
        for (; rows && !rows->AtEnd(); rows->Next()) {
            scores.push_back(rows->Single("UserScore"));
        }
        return scores;
    }

    // Every column of every History row, in ID order.
    std::vector<std::vector<std::string>> StoredRows() {
        std::vector<std::vector<std::string>> rows;
        auto set = store_->Query("select * from History order by ID");
        for (; set && !set->AtEnd(); set->Next()) {
            std::vector<std::string>& row = rows.emplace_back();
            for (int i = 0; i < set->ColumnCount(); ++i) {
                row.push_back(set->TextAt(i));
            }
        }
        return rows;
    }
    std::string ProgressFile() const { return ExamProgressPath(store_->Path()); }
    bool HasProgressFile() const {
        return ReadExamProgress(ProgressFile()).result != ProgressRead::None;
    }
    // The answers of the exam on 101000 before its hand-scored question, and
    // the last one given with the submit.
    void AnswerTheFirstExam(ExamSession& session) {
        const auto item = [&session](int id) {
            for (const ExamItem& each : session.Items()) {
                if (each.paperItemId == id) {
                    return each;
                }
            }
            return ExamItem{};
        };
        session.Select(101102, Answered(item(101101), {"", "1", "0", "0", "0"}));
        session.Select(101103, Answered(item(101102), {"", "1", "1", "0", "1"}));
        session.Select(101104, Answered(item(101103), {"", "", "长江", "", "黄河"}));
        session.Select(101105, Answered(item(101104), {"", "黄土高原\r\n泥沙"}));
    }

    testing::TempDir dir_;
    std::unique_ptr<DataStore> store_;
    testing::MemorySettings settings_;
    RecordingHost host_;
    PinnedClock clock_;
    ExamSession session_{host_, clock_};
};

TEST_F(ExamSessionTest, AnExamOfAutoJudgedQuestionsGoesFromTheConfirmationToTheResult) {
    ASSERT_TRUE(Start(102000).selectRoot);
    Answer(102101, {"", "1", "0", "0", "0"}, 102102);
    // One blank right and one wrong: half the marks.
    const PanelItem blanks = Answered(Item(102102), {"", "", "长江", "", "广州"});

    const ExamStep step = Submit(blanks);
    EXPECT_EQ(host_.questions, std::vector<std::string>{"真的提交吗？"});
    EXPECT_TRUE(host_.messages.empty());
    EXPECT_EQ(step.kind, ExamStep::Kind::Result);
    EXPECT_EQ(step.nodeId, 102000);
    EXPECT_EQ(session_.State(), ExamState::Result);
    EXPECT_EQ(session_.HistoryId(), 700001);
    EXPECT_EQ(StoredScores(), (std::vector<float>{3, 2}));
    EXPECT_EQ(settings_.ReadInt(setting::kSection, setting::kHistoryModified, 0), 1);
}

TEST_F(ExamSessionTest, AnUnansweredQuestionIsAskedAboutAndCountsAsWrong) {
    Start(101000);
    host_.answer = Answer::No;
    const ExamStep declined = Submit();
    EXPECT_EQ(host_.questions, std::vector<std::string>{"题目还没有答完，真的提交吗？"});
    EXPECT_EQ(declined.kind, ExamStep::Kind::Select);
    EXPECT_EQ(declined.nodeId, 101101);
    EXPECT_EQ(session_.State(), ExamState::Answering);

    host_.answer = Answer::Yes;
    Answer(101101, {"", "1", "0", "0", "0"}, 101102);
    Answer(101102, {"", "1", "1", "0", "1"}, 101103);
    Answer(101103, {"", "", "长江", "", "黄河"}, 101104);
    Answer(101104, {"", "黄土高原"}, 101105);
    // The fifth stays unanswered; the multi-line answer is scored by hand.
    const ExamStep scoring = Submit({101105, Item(101105), ExamState::Answering});
    EXPECT_EQ(scoring.kind, ExamStep::Kind::Reselect);
    EXPECT_EQ(scoring.nodeId, 101104);
    EXPECT_EQ(session_.State(), ExamState::Scoring);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].first,
              "某些题目无法自动判断对错，请根据答案进行判断并输入相应得分。");
    EXPECT_EQ(host_.messages[0].second, MessageIcon::None);
    EXPECT_TRUE(StoredScores().empty());

    // Scoring: the answer page beside the score entry.
    const NodeView shown = session_.Select(101104, {});
    EXPECT_EQ(shown.link, "Quillory://Answer:200005第04题");
    PanelItem scored{101104, Item(101104), ExamState::Scoring};
    scored.item.learnerScore = 7.5f;
    EXPECT_EQ(Submit(scored).kind, ExamStep::Kind::Result);
    EXPECT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(StoredScores(), (std::vector<float>{3, 5, 4, 7.5f, 0}));
}

TEST_F(ExamSessionTest, NoQuestionIsStoredBeforeItsScoreWasGivenByHand) {
    // Two questions scored by hand: the learner moves past the first one
    // and gives the second its score first.
    ASSERT_TRUE(store_->Execute("update Paper set QuestionID=200005 where ID=101105"));
    Start(101000);
    Answer(101101, {"", "1", "0", "0", "0"}, 101102);
    Answer(101102, {"", "1", "1", "0", "1"}, 101103);
    Answer(101103, {"", "", "长江", "", "黄河"}, 101104);
    Answer(101104, {"", "黄土高原"}, 101105);
    ASSERT_EQ(Submit(Answered(Item(101105), {"", "泥沙"})).nodeId, 101104);

    PanelItem second{101105, Item(101105), ExamState::Scoring};
    second.item.learnerScore = 3.0f;
    const ExamStep back = Submit(second);
    EXPECT_EQ(back.kind, ExamStep::Kind::Reselect);
    EXPECT_EQ(back.nodeId, 101104);
    EXPECT_TRUE(StoredScores().empty());

    // Moving keeps what was typed; going on from the first one stores both.
    PanelItem first{101104, Item(101104), ExamState::Scoring};
    first.item.learnerScore = 6.0f;
    session_.Select(101101, first);
    EXPECT_EQ(Item(101104).learnerScore, 6.0f);
    EXPECT_EQ(Submit({101104, Item(101104), ExamState::Scoring}).kind, ExamStep::Kind::Result);
    EXPECT_EQ(StoredScores(), (std::vector<float>{3, 5, 4, 6, 3}));
    EXPECT_EQ(host_.messages.size(), 1u);
}

TEST_F(ExamSessionTest, AFailedStoreIsReportedKeepsEverythingAndGoingOnStoresAgain) {
    ASSERT_TRUE(
        store_->Execute("create trigger NoHistory before insert on History "
                        "begin select raise(abort, 'History is closed'); end"));
    Start(102000);
    Answer(102101, {"", "0", "1", "0", "0"}, 102102);
    const ExamStep failed = Submit(Answered(Item(102102), {"", "", "长江", "", "黄河"}));
    EXPECT_EQ(failed.kind, ExamStep::Kind::Reselect);
    EXPECT_EQ(failed.nodeId, 102000);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].first.rfind("无法保存考试纪录！\n", 0), 0u);
    EXPECT_NE(host_.messages[0].first.find("History is closed"), std::string::npos);
    EXPECT_EQ(host_.messages[0].second, MessageIcon::Error);
    EXPECT_EQ(session_.State(), ExamState::Scoring);
    EXPECT_EQ(settings_.ReadInt(setting::kSection, setting::kHistoryModified, 0), 0);
    EXPECT_EQ(Item(102102).learnerScore, 4.0f);

    ASSERT_TRUE(store_->Execute("drop trigger NoHistory"));
    EXPECT_EQ(Submit({102000, session_.Placeholder(), ExamState::Scoring}).kind,
              ExamStep::Kind::Result);
    EXPECT_EQ(StoredScores(), (std::vector<float>{0, 4}));
}

TEST_F(ExamSessionTest, EachNodeShowsItsPageForTheState) {
    Start(101000);
    NodeView paper = session_.Select(101000, {});
    EXPECT_EQ(paper.link, "Quillory://Paper:101000");
    EXPECT_EQ(paper.title, "模拟考试一");
    EXPECT_EQ(paper.item->questionId, -1);
    const NodeView question = session_.Select(101101, {});
    EXPECT_EQ(question.link, "Quillory://Question:200001第01题");
    EXPECT_EQ(question.item->paperItemId, 101101);

    Answer(101101, {"", "1", "0", "0", "0"}, 101102);
    Answer(101102, {"", "1", "1", "0", "1"}, 101103);
    Answer(101103, {"", "", "长江", "", "黄河"}, 101105);
    Submit(Answered(Item(101105), {"", "0", "1", "0", "0"}));
    PanelItem scored{101104, Item(101104), ExamState::Scoring};
    Submit(scored);
    ASSERT_EQ(session_.State(), ExamState::Result);
    EXPECT_EQ(session_.Select(101100, {}).link, "Quillory://HistoryAnalysis:700001:101100");
    EXPECT_EQ(session_.Select(101101, {}).link, "Quillory://Question:200001第01题");
    // Once submitted, what the panel holds no longer changes the exam.
    EXPECT_EQ(Answer(101101, {"", "0", "1"}, 101102).item->learnerAnswer,
              Item(101102).learnerAnswer);
    EXPECT_EQ(Item(101101).learnerScore, 3.0f);
}

TEST_F(ExamSessionTest, MovingStopsAtTheEndsAndFlagsThem) {
    Start(102101);
    ASSERT_EQ(session_.Nodes().Size(), 1u);
    EXPECT_EQ(session_.Select(102101, {}).flags, kFirstNode | kLastNode);
    EXPECT_FALSE(session_.Step(102101, 1).target);
    EXPECT_FALSE(session_.Step(102101, -1).target);

    Start(102000);
    const auto next = session_.Step(102101, 1);
    EXPECT_EQ(next.target, 102102);
    EXPECT_EQ(next.flags, kLastNode);
    const auto beyond = session_.Step(102102, 1);
    EXPECT_FALSE(beyond.target);
    EXPECT_EQ(beyond.flags, kLastNode);
    EXPECT_EQ(session_.Step(102101, -1).flags, kFirstNode);
    EXPECT_EQ(session_.Step(999999, 1).flags, kFirstNode);
}

TEST_F(ExamSessionTest, TheExamCountdownShowsEachSecondAndStopsAtNought) {
    EXPECT_FALSE(Start(102000).countdown);

    EXPECT_TRUE(Start(103000).countdown);
    for (const char* text : {"剩余时间 0:00:02", "剩余时间 0:00:01", "剩余时间 0:00:00"}) {
        EXPECT_EQ(session_.TickCountdown(), std::optional<std::string>(text));
    }
    EXPECT_FALSE(session_.TickCountdown());
    EXPECT_EQ(session_.State(), ExamState::Answering);

    EXPECT_FALSE(session_.Start(ExamState::Review, *store_, 103000).countdown);
}

TEST_F(ExamSessionTest, AMissingQuestionIsReportedAndStopsTheLoad) {
    for (const char* sql :
         {"insert into Paper(ID, SuperiorID, Title) values(104000, 0, '缺题卷')",
          "insert into Paper(ID, SuperiorID, QuestionID, Title) values(104101, 104000, 200001, "
          "'第01题')",
          "insert into Paper(ID, SuperiorID, QuestionID, Title) values(104102, 104000, 299999, "
          "'第02题')"}) {
        ASSERT_TRUE(store_->Execute(sql)) << store_->LastError();
    }
    const ExamLoad load = Start(104000);
    EXPECT_FALSE(load.selectRoot);
    EXPECT_FALSE(load.countdown);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].first, "试题ID没有找到！");
    // The nodes so far stay, the one whose question is missing last.
    EXPECT_EQ(session_.Nodes().Size(), 3u);
}

TEST_F(ExamSessionTest, AReviewAppliesTheStoredAnswersAndScores) {
    Start(102101);
    Submit(Answered(Item(102101), {"", "1", "0", "0", "0"}));
    ASSERT_EQ(session_.State(), ExamState::Result);
    const std::string answer = Item(102101).learnerAnswer;

    ExamSession review(host_, clock_);
    EXPECT_EQ(review.Review(*store_, 0).outcome, ExamSession::ReviewOutcome::NotLoaded);
    EXPECT_EQ(review.Review(*store_, 799999).outcome, ExamSession::ReviewOutcome::NotLoaded);
    const ExamSession::ReviewLoad loaded = review.Review(*store_, 700001);
    EXPECT_EQ(loaded.outcome, ExamSession::ReviewOutcome::Loaded);
    EXPECT_EQ(review.HistoryId(), 700001);
    ASSERT_EQ(review.Items().size(), 1u);
    EXPECT_EQ(review.Items()[0].learnerScore, 3.0f);
    EXPECT_EQ(review.Items()[0].learnerAnswer, answer);
    EXPECT_EQ(review.Select(102101, {}).link, "Quillory://Question:200001第01题");
}

TEST_F(ExamSessionTest, LeavingAsksByStateAndResetsToIdle) {
    const struct {
        ExamState state;
        const char* question;
    } cases[] = {
        {ExamState::Answering, "模拟考试尚未完成，要结束吗？"},
        {ExamState::Scoring, "模拟考试尚未完成，要结束吗？"},
        {ExamState::Result, "确信要退出考试结果显示吗？"},
        {ExamState::Review, "确信要退出考试结果显示吗？"},
    };
    constexpr int kNoPaper = 999999;
    for (const auto& entry : cases) {
        // The state alone decides: no exam is loaded.
        session_.Start(entry.state, *store_, kNoPaper);
        ASSERT_TRUE(session_.Nodes().Empty());
        host_.questions.clear();
        host_.answer = Answer::Cancel;
        EXPECT_FALSE(session_.MayLeave());
        host_.answer = Answer::Ok;
        EXPECT_TRUE(session_.MayLeave());
        EXPECT_EQ(host_.questions, (std::vector<std::string>{entry.question, entry.question}));
    }
    Start(102000);
    session_.Reset();
    EXPECT_EQ(session_.State(), ExamState::Idle);
    EXPECT_TRUE(session_.Items().empty());
    host_.questions.clear();
    EXPECT_TRUE(session_.MayLeave());
    EXPECT_TRUE(host_.questions.empty());
}

TEST_F(ExamSessionTest, AnExamResumedAfterACrashStoresWhatAnUninterruptedOneWould) {
    // Uninterrupted: answer, submit, score the fourth question by hand.
    Start(101000);
    AnswerTheFirstExam(session_);
    Submit(Answered(Item(101105), {"", "0", "1", "0", "0"}));
    PanelItem scored{101104, Item(101104), ExamState::Scoring};
    scored.item.learnerScore = 7.5f;
    ASSERT_EQ(Submit(scored).kind, ExamStep::Kind::Result);
    const auto uninterrupted = StoredRows();
    ASSERT_EQ(uninterrupted.size(), 5u);
    EXPECT_FALSE(HasProgressFile());

    enum class CrashWhile { Answering, Scoring };
    for (const CrashWhile crash : {CrashWhile::Answering, CrashWhile::Scoring}) {
        ASSERT_TRUE(store_->Execute("delete from History"));
        {
            ExamSession before(host_, clock_);
            ASSERT_TRUE(before.Start(ExamState::Answering, *store_, 101000).countdown);
            before.TickCountdown();
            AnswerTheFirstExam(before);
            if (crash == CrashWhile::Scoring) {
                PanelItem last{101105, before.Items().back(), ExamState::Answering};
                last = Answered(last.item, {"", "0", "1", "0", "0"});
                ASSERT_EQ(before.Submit(*store_, settings_, last).nodeId, 101104);
            }
            // The session ends here without leaving, as in a crash.
        }
        EXPECT_TRUE(StoredRows().empty());

        RecordingHost host;
        ExamSession after(host, clock_);
        const ExamSession::ResumeLoad resumed = after.Resume(*store_);
        ASSERT_TRUE(resumed.resumed);
        EXPECT_EQ(host.questions,
                  std::vector<std::string>{"上次的模拟考试“模拟考试一”还没有完成，要继续吗？\n"
                                           "选择“否”将放弃这次考试。"});
        if (crash == CrashWhile::Answering) {
            EXPECT_EQ(after.State(), ExamState::Answering);
            EXPECT_EQ(resumed.step.kind, ExamStep::Kind::Select);
            EXPECT_EQ(resumed.step.nodeId, 101105);
            // The countdown goes on from the time left.
            EXPECT_TRUE(resumed.countdown);
            EXPECT_EQ(after.TickCountdown(), std::optional<std::string>("剩余时间 0:00:59"));
            PanelItem last{101105, after.Items().back(), ExamState::Answering};
            after.Submit(*store_, settings_, Answered(last.item, {"", "0", "1", "0", "0"}));
        } else {
            EXPECT_EQ(after.State(), ExamState::Scoring);
            EXPECT_EQ(resumed.step.kind, ExamStep::Kind::Reselect);
            EXPECT_EQ(resumed.step.nodeId, 101104);
            EXPECT_FALSE(resumed.countdown);
        }
        after.Select(101104, {});
        PanelItem handScored{101104, after.Items()[3], ExamState::Scoring};
        handScored.item.learnerScore = 7.5f;
        ASSERT_EQ(after.Submit(*store_, settings_, handScored).kind, ExamStep::Kind::Result);
        EXPECT_EQ(StoredRows(), uninterrupted);
        EXPECT_FALSE(HasProgressFile());
    }
}

TEST_F(ExamSessionTest, AnExamThatCannotOrNeedNotGoOnIsGivenUp) {
    const auto leaveAnExam = [this] {
        ExamSession before(host_, clock_);
        before.Start(ExamState::Answering, *store_, 102000);
        before.Select(102102, Answered(before.Items()[0], {"", "1", "0", "0", "0"}));
    };
    const struct {
        const char* name;
        std::function<void()> damage;
        quillory::Answer answer;
        const char* message;  // nullptr: none
    } cases[] = {
        {"declined", [] {}, Answer::No, nullptr},
        {"damaged", [this] { testing::WriteFileBytes(ProgressFile(), "Quillory exam"); },
         Answer::Yes, "上次未完成的模拟考试无法继续：考试进度文件已损坏，已放弃。\n"},
        {"paper deleted",
         [this] { ASSERT_TRUE(store_->Execute("delete from Paper where ID=102102")); }, Answer::Yes,
         "上次未完成的模拟考试无法继续：它的试卷已不存在或已改变，已放弃。"},
        {"question changed",
         [this] {
             ASSERT_TRUE(store_->Execute("update Paper set QuestionID=200002 where ID=102101"));
         },
         Answer::Yes, "上次未完成的模拟考试无法继续：它的试卷已不存在或已改变，已放弃。"},
    };
    for (const auto& entry : cases) {
        leaveAnExam();
        ASSERT_TRUE(HasProgressFile()) << entry.name;
        entry.damage();
        RecordingHost host;
        host.answer = entry.answer;
        ExamSession after(host, clock_);
        EXPECT_FALSE(after.Resume(*store_).resumed) << entry.name;
        EXPECT_EQ(after.State(), ExamState::Idle) << entry.name;
        EXPECT_FALSE(HasProgressFile()) << entry.name;
        if (entry.message != nullptr) {
            ASSERT_EQ(host.messages.size(), 1u) << entry.name;
            EXPECT_EQ(host.messages[0].first.rfind(entry.message, 0), 0u) << entry.name;
            EXPECT_TRUE(host.questions.empty()) << entry.name;
        } else {
            EXPECT_TRUE(host.messages.empty()) << entry.name;
        }
        // With no file, nothing is offered.
        EXPECT_FALSE(after.Resume(*store_).resumed) << entry.name;
    }
    // Leaving the exam gives its progress up too.
    Start(102000);
    EXPECT_TRUE(HasProgressFile());
    session_.Reset();
    EXPECT_FALSE(HasProgressFile());
}

TEST(ExamCountdown, QuestionTimeIsUpAtNoughtAndStaysUp) {
    int seconds = 2;
    const std::pair<const char*, bool> expected[] = {
        {"剩余时间: 0:00:02", false},
        {"剩余时间: 0:00:01", false},
        {"剩余时间: 0:00:00", true},
        {"剩余时间: 0:00:00", true},
    };
    for (const auto& [text, timeUp] : expected) {
        const QuestionTick tick = TickQuestionCountdown(seconds);
        EXPECT_EQ(tick.text, text);
        EXPECT_EQ(tick.timeUp, timeUp);
    }
    EXPECT_EQ(ExamTimeLeftText(3 * 3600 + 62), "剩余时间 3:01:02");
}

}  // namespace
}  // namespace quillory

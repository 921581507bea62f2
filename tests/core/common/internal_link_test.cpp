#include <gtest/gtest.h>

#include "core/common/internal_link.h"

namespace quillory {
namespace {

InternalLink Dispatched(std::string_view url) {
    const NavigationDecision decision = DecideNavigation(url);
    EXPECT_EQ(decision.action, NavigationAction::Dispatch) << url;
    return decision.link;
}

NavigationAction ActionFor(std::string_view url, std::string_view targetFrame = {}) {
    return DecideNavigation(url, targetFrame).action;
}

TEST(DecideNavigation, MatchesThePrefixWithoutRegardToCase) {
    for (const char* url :
         {"Quillory://Paper:550001", "QUILLORY://Paper:550001", "quillory://Paper:550001"}) {
        const InternalLink link = Dispatched(url);
        EXPECT_EQ(link.kind, LinkKind::Paper) << url;
        EXPECT_EQ(link.id, 550001) << url;
    }
}

TEST(DecideNavigation, LetsInternalLinksOfUnknownKindsReachTheBrowser) {
    // The keyword is matched with its case; the browser then fails and the
    // view shows its error.
    EXPECT_EQ(ActionFor("Quillory://paper:550001"), NavigationAction::Proceed);
    EXPECT_EQ(ActionFor("Quillory://PAPER:550001"), NavigationAction::Proceed);
    EXPECT_EQ(ActionFor("Quillory://Exam:550001"), NavigationAction::Proceed);
    EXPECT_EQ(ActionFor("Quillory://"), NavigationAction::Proceed);
    EXPECT_EQ(ActionFor("Quillory://Paper"), NavigationAction::Proceed);
}

TEST(DecideNavigation, LetsOrdinaryAddressesProceed) {
    EXPECT_EQ(ActionFor("/home/u/bank/Question/1.htm"), NavigationAction::Proceed);
    EXPECT_EQ(ActionFor("http://example.org/"), NavigationAction::Proceed);
    EXPECT_EQ(ActionFor("file:///home/u/bank/Knowledge/k.htm?700001"), NavigationAction::Proceed);
    EXPECT_EQ(ActionFor("Quillory:/Paper:550001"), NavigationAction::Proceed);
}

TEST(DecideNavigation, NeverInterceptsANavigationIntoANamedFrame) {
    EXPECT_EQ(ActionFor("Quillory://Paper:550001", "main"), NavigationAction::Proceed);
    EXPECT_EQ(ActionFor("", "main"), NavigationAction::Proceed);
}

TEST(DecideNavigation, CancelsAnEmptyAddress) {
    EXPECT_EQ(ActionFor(""), NavigationAction::Cancel);
}

TEST(DecideNavigation, DropsOneTrailingSlash) {
    EXPECT_EQ(Dispatched("Quillory://Paper:550001/").id, 550001);
    const InternalLink question = Dispatched("Quillory://Question:550002第1题/");
    EXPECT_EQ(question.id, 550002);
    EXPECT_EQ(question.label, "第1题");
    EXPECT_EQ(Dispatched("Quillory://Answer:550002a//").label, "a/");
    EXPECT_EQ(ActionFor("/"), NavigationAction::Proceed);
}

TEST(ParseInternalLink, ReadsTheSixCharacterFieldAsAtoiDoes) {
    EXPECT_EQ(ParseInternalLink("Quillory://Paper:12")->id, 12);
    EXPECT_EQ(ParseInternalLink("Quillory://Paper:1234567")->id, 123456);
    EXPECT_EQ(ParseInternalLink("Quillory://Paper:")->id, 0);
    EXPECT_EQ(ParseInternalLink("Quillory://Paper:abcdef")->id, 0);
    EXPECT_EQ(ParseInternalLink("Quillory://Paper: 42")->id, 42);
    EXPECT_EQ(ParseInternalLink("Quillory://Paper:-00012")->id, -12);
    EXPECT_EQ(ParseInternalLink("Quillory://Paper:550001.htm")->id, 550001);
}

TEST(ParseInternalLink, KnowsEveryKindByItsKeyword) {
    const struct {
        const char* url;
        LinkKind kind;
        int id;
    } cases[] = {
        {"Quillory://Paper:550001", LinkKind::Paper, 550001},
        {"Quillory://Question:550002", LinkKind::Question, 550002},
        {"Quillory://Answer:550003", LinkKind::Answer, 550003},
        {"Quillory://Knowledge:100001", LinkKind::Knowledge, 100001},
        {"Quillory://ClassicAnalysis:000000", LinkKind::ClassicAnalysis, 0},
        {"Quillory://ClassicAnalysis:550004", LinkKind::ClassicAnalysis, 550004},
        {"Quillory://HistoryAnalysis:000000", LinkKind::HistoryAnalysis, 0},
    };
    for (const auto& c : cases) {
        const auto link = ParseInternalLink(c.url);
        ASSERT_TRUE(link) << c.url;
        EXPECT_EQ(link->kind, c.kind) << c.url;
        EXPECT_EQ(link->id, c.id) << c.url;
        EXPECT_EQ(link->label, "") << c.url;
        EXPECT_EQ(link->second, 0) << c.url;
    }
}

TEST(ParseInternalLink, TakesTheLabelAfterTheFieldOfQuestionsAndAnswers) {
    const auto question = ParseInternalLink("Quillory://Question:550002第1题");
    EXPECT_EQ(question->kind, LinkKind::Question);
    EXPECT_EQ(question->id, 550002);
    EXPECT_EQ(question->label, "第1题");
    const auto answer = ParseInternalLink("Quillory://Answer:550002一、选择题 (1)");
    EXPECT_EQ(answer->kind, LinkKind::Answer);
    EXPECT_EQ(answer->label, "一、选择题 (1)");
    // Other kinds ignore what follows the field.
    EXPECT_EQ(ParseInternalLink("Quillory://Paper:550001第1题")->label, "");
}

TEST(ParseInternalLink, CountsCharactersSoAShortIdNeverSplitsAChineseCharacter) {
    // The field "12第1题" is five characters long: the text ends first.
    const auto shortField = ParseInternalLink("Quillory://Question:12第1题");
    EXPECT_EQ(shortField->id, 12);
    EXPECT_EQ(shortField->label, "");
    // Six characters "55000第", then the label.
    const auto fiveDigits = ParseInternalLink("Quillory://Answer:55000第1题");
    EXPECT_EQ(fiveDigits->id, 55000);
    EXPECT_EQ(fiveDigits->label, "1题");
    // The separator between the two numbers is one character, whatever its size.
    const auto history = ParseInternalLink("Quillory://HistoryAnalysis:700001第550003");
    EXPECT_EQ(history->id, 700001);
    EXPECT_EQ(history->second, 550003);
}

TEST(ParseInternalLink, WalksBrokenUtf8ToItsEndWithoutFailing) {
    const auto cut = ParseInternalLink("Quillory://Question:1\xE7\xAC");
    EXPECT_EQ(cut->id, 1);
    EXPECT_EQ(cut->label, "");
    const auto stray = ParseInternalLink("Quillory://Question:\x80\x80\x80\x80\x80\x80label");
    EXPECT_EQ(stray->id, 0);
    EXPECT_EQ(stray->label, "label");
}

TEST(ParseInternalLink, ReadsOneOrTwoNumbersOfAHistoryLink) {
    const auto both = ParseInternalLink("Quillory://HistoryAnalysis:700001:550003");
    EXPECT_EQ(both->kind, LinkKind::HistoryAnalysis);
    EXPECT_EQ(both->id, 700001);
    EXPECT_EQ(both->second, 550003);
    const auto one = ParseInternalLink("Quillory://HistoryAnalysis:700001");
    EXPECT_EQ(one->id, 700001);
    EXPECT_EQ(one->second, 0);
    EXPECT_EQ(ParseInternalLink("Quillory://HistoryAnalysis:700001:")->second, 0);
    const auto mistakes = ParseInternalLink(MakeMistakesLink(300002, 7));
    EXPECT_EQ(mistakes->kind, LinkKind::Mistakes);
    EXPECT_EQ(mistakes->id, 300002);
    EXPECT_EQ(mistakes->second, 7);
}

TEST(MakeLink, WritesTheFormsThePagesUse) {
    EXPECT_EQ(MakeLink(LinkKind::Paper, 550001), "Quillory://Paper:550001");
    EXPECT_EQ(MakeLink(LinkKind::Question, 550002, "第1题"), "Quillory://Question:550002第1题");
    EXPECT_EQ(MakeLink(LinkKind::Answer, 550002, "第1题"), "Quillory://Answer:550002第1题");
    EXPECT_EQ(MakeLink(LinkKind::Knowledge, 100001), "Quillory://Knowledge:100001");
    EXPECT_EQ(MakeLink(LinkKind::ClassicAnalysis, 550004), "Quillory://ClassicAnalysis:550004");
    EXPECT_EQ(MakeLink(LinkKind::HistoryAnalysis, 700001), "Quillory://HistoryAnalysis:700001");
    EXPECT_EQ(MakeHistoryLink(700001, 550003), "Quillory://HistoryAnalysis:700001:550003");
    EXPECT_EQ(MakeMistakesLink(0, 30), "Quillory://Mistakes:000000:000030");
}

TEST(MakeLink, WritesLinksTheDispatcherReadsBack) {
    for (LinkKind kind : {LinkKind::Paper, LinkKind::Question, LinkKind::Answer,
                          LinkKind::Knowledge, LinkKind::ClassicAnalysis}) {
        const bool labelled = kind == LinkKind::Question || kind == LinkKind::Answer;
        const std::string url = MakeLink(kind, 550123, labelled ? "第12题（选做）" : "");
        const InternalLink link = Dispatched(url);
        EXPECT_EQ(link.kind, kind) << url;
        EXPECT_EQ(link.id, 550123) << url;
        EXPECT_EQ(link.label, labelled ? "第12题（选做）" : "") << url;
    }
    const InternalLink history = Dispatched(MakeHistoryLink(700001, 550003));
    EXPECT_EQ(history.id, 700001);
    EXPECT_EQ(history.second, 550003);
}

}  // namespace
}  // namespace quillory

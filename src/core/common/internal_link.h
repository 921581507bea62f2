// The internal links of pages, "Quillory://" + keyword + a six-character
// number field (+ a label for questions and answers), and the decision the
// content view takes before every navigation.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillory {

inline constexpr char kLinkPrefix[] = "Quillory://";

enum class LinkKind {
    Paper,
    Question,
    Answer,
    Knowledge,
    ClassicAnalysis,
    HistoryAnalysis,
    Mistakes,  // the mistake notebook: id a knowledge point (0: all), second the days (0: all)
};

struct InternalLink {
    LinkKind kind = LinkKind::Paper;
    int id = 0;         // the six-character field, read as atoi does
    int second = 0;     // HistoryAnalysis and Mistakes only: the second field
    std::string label;  // Question and Answer only: everything after the field
};

enum class NavigationAction {
    Proceed,   // let the browser go there (ordinary files, pages, unknown kinds)
    Cancel,    // an empty address
    Dispatch,  // an internal link: cancel, and call the page operation
};

struct NavigationDecision {
    NavigationAction action = NavigationAction::Proceed;
    InternalLink link;  // set for Dispatch
};

// The link dispatcher's rules: a navigation into a named frame proceeds; an
// empty address is cancelled; one trailing "/" is dropped; the prefix is
// matched without regard to case, the keyword with it.
NavigationDecision DecideNavigation(std::string_view url, std::string_view targetFrame = {});

// The parsed link, or nothing when url is not an internal link of a known
// kind (no trailing-slash handling: DecideNavigation does that).
//
// The fields sit at fixed positions after the keyword: six characters for
// the number, then the label (Question, Answer) or, after one separator
// character, six more for the second number (HistoryAnalysis). Positions
// count characters, not bytes, so a field never ends inside a Chinese
// character: "Quillory://Question:12第1题" holds the five-character field
// "12第1题" (id 12) and an empty label. The prefix and keywords are ASCII,
// so for the links the program writes (six-digit IDs) characters and bytes
// agree. A field cut short by the end of the text is read as far as it goes.
std::optional<InternalLink> ParseInternalLink(std::string_view url);

// Links as the program writes them into pages: "Quillory://Paper:%d",
// "Quillory://Question:%d" + label, "Quillory://HistoryAnalysis:%d:%d", ...
std::string MakeLink(LinkKind kind, int id, std::string_view label = {});
std::string MakeHistoryLink(int recordId, int paperId);
// "Quillory://Mistakes:%06d:%06d": the notebook of a point's subtree (0: of
// every point) over the last days (0: all).
std::string MakeMistakesLink(int knowledgeId, int days);

}  // namespace quillory

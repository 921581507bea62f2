#include <algorithm>

#include "core/common/text.h"
#include "core/exchange/import_plan.h"
#include "core/exchange/page_parts.h"
#include "core/exchange/question_writers.h"
#include "core/exchange/xml_out.h"

namespace quillory {

namespace {

// Moodle XML's <quiz> with the HTML texts of its questions.
class QuizWriter : public XmlOut {
public:
    QuizWriter() : XmlOut(true) { Start("quiz"); }

    // <NAME format="html"><text>…</text><file…/></NAME>: the pictures the
    // text shows go inside, the text naming them under @@PLUGINFILE@@.
    void Html(const char* name, const ImportedQuestion& q, std::string fragment,
              const std::string& fraction = "") {
        OpenHtml(name, q, std::move(fragment), fraction);
        End();
    }

    // The same, left open for more.
    void OpenHtml(const char* name, const ImportedQuestion& q, std::string fragment,
                  const std::string& fraction = "") {
        Start(name);
        if (!fraction.empty()) {
            Attribute("fraction", fraction);
        }
        Attribute("format", "html");
        std::vector<const MediaFile*> files;
        for (const MediaFile& media : q.media) {
            const std::string named =
                WithImageSource(fragment, media.name, "@@PLUGINFILE@@/" + media.name);
            if (named != fragment) {
                fragment = named;
                files.push_back(&media);
            }
        }
        Element("text", fragment);
        for (const MediaFile* media : files) {
            Start("file");
            Attribute("name", media->name);
            Attribute("path", "/");
            Attribute("encoding", "base64");
            Base64(media->bytes);
            End();
        }
    }
};

// The characters an embedded answer gives a meaning, behind a backslash.
std::string ClozeText(std::string_view text) {
    std::string escaped;
    for (char c : text) {
        if (std::string_view("}#~/\"\\").find(c) != std::string_view::npos) {
            escaped += '\\';
        }
        escaped += c;
    }
    return escaped;
}

// The embedded answers of a cloze question: each slot in the stem in place of
// its number, "（1）", or after the stem when the number is not there.
std::string ClozeStem(const ImportedQuestion& q) {
    std::string stem = q.stem;
    for (size_t n = 0; n < q.answerSlots.size(); ++n) {
        const AnswerSlot& slot = q.answerSlots[n];
        std::string embedded = "{1:";
        if (slot.choices.empty()) {
            embedded += "SHORTANSWER:";
            for (size_t a = 0; a < slot.accepted.size(); ++a) {
                embedded += (a == 0 ? "=" : "~=") + ClozeText(slot.accepted[a]);
            }
        } else {
            embedded += "MULTICHOICE:";
            const std::vector<std::string>& choices = slot.choices;
            for (size_t c = 0; c < choices.size(); ++c) {
                embedded += std::string(c == 0 ? "" : "~") +
                            (static_cast<int>(c) == slot.rightChoice ? "=" : "") +
                            ClozeText(choices[c]);
            }
        }
        embedded += "}";
        // A reader numbers each embedded answer itself.
        if (!ReplaceFirst(stem, Format("（%zu）", n + 1), embedded)) {
            stem += "<br>" + embedded;
        }
    }
    return stem;
}

const char* MoodleType(const ImportedQuestion& q) {
    switch (q.kind) {
        case QuestionKind::SingleChoice:
        case QuestionKind::MultipleChoice:
            return "multichoice";
        case QuestionKind::TrueFalse:
            return "truefalse";
        case QuestionKind::FillBlank:
            return q.blanks.size() == 1 ? "shortanswer" : "cloze";
        case QuestionKind::Manual:
            return "essay";
        case QuestionKind::Matching:
            return "matching";
        case QuestionKind::Cloze:
            return "cloze";
    }
    return "essay";
}

// A fill-in question of several blanks as embedded answers.
ImportedQuestion AsCloze(const ImportedQuestion& q) {
    ImportedQuestion cloze = q;
    cloze.kind = QuestionKind::Cloze;
    for (const std::vector<std::string>& blank : q.blanks) {
        AnswerSlot slot;
        slot.accepted = blank;
        cloze.answerSlots.push_back(slot);
    }
    return cloze;
}

void Answers(QuizWriter& xml, const ImportedQuestion& q) {
    switch (q.kind) {
        case QuestionKind::SingleChoice:
        case QuestionKind::MultipleChoice: {
            const bool single = q.kind == QuestionKind::SingleChoice;
            xml.Element("single", single ? "true" : "false");
            xml.Element("shuffleanswers", "false");
            xml.Element("answernumbering", "ABCD");
            const double right = static_cast<double>(q.rightOptions.size());
            const double wrong = static_cast<double>(q.options.size()) - right;
            for (size_t o = 0; o < q.options.size(); ++o) {
                const bool isRight = std::find(q.rightOptions.begin(), q.rightOptions.end(),
                                               static_cast<int>(o)) != q.rightOptions.end();
                const std::string fraction = single ? (isRight ? "100" : "0")
                                                    : (isRight ? AnswerWeight(100 / right)
                                                               : "-" + AnswerWeight(100 / wrong));
                xml.Html("answer", q, q.options[o], fraction);
            }
            break;
        }
        case QuestionKind::TrueFalse:
            for (const bool value : {true, false}) {
                xml.Start("answer");
                xml.Attribute("fraction", value == q.trueFalseKey ? "100" : "0");
                xml.Element("text", value ? "true" : "false");
                xml.End();
            }
            break;
        case QuestionKind::FillBlank:
            xml.Element("usecase", "0");
            for (const std::string& accepted : q.blanks.front()) {
                xml.Start("answer");
                xml.Attribute("fraction", "100");
                xml.Element("text", accepted);
                xml.End();
            }
            break;
        case QuestionKind::Manual:
            xml.Element("responseformat", "editor");
            xml.Element("responsefieldlines", "10");
            xml.Html("graderinfo", q, q.referenceAnswer);
            break;
        case QuestionKind::Matching:
            // A distractor is a subquestion without a question.
            xml.Element("shuffleanswers", "true");
            for (const MatchingPair& pair : MatchingPairs(q)) {
                xml.OpenHtml("subquestion", q, pair.prompt);
                xml.Start("answer");
                xml.Element("text", pair.right);
                xml.End();
                xml.End();
            }
            break;
        case QuestionKind::Cloze:
            break;
    }
}

}  // namespace

WrittenQuestions MoodleXmlBytes(const std::vector<ImportedQuestion>& questions) {
    WrittenQuestions out;
    QuizWriter xml;
    std::string category;
    for (const ImportedQuestion& original : questions) {
        const ImportedQuestion q =
            original.kind == QuestionKind::FillBlank && original.blanks.size() != 1
                ? AsCloze(original)
                : original;
        const std::string path = std::string("$course$/top") +
                                 (q.knowledgePaths.empty() ? "" : "/" + q.knowledgePaths.front());
        if (path != category) {
            xml.Start("question");
            xml.Attribute("type", "category");
            xml.Start("category");
            xml.Element("text", path);
            xml.End();
            xml.End();
            category = path;
        }
        xml.Start("question");
        xml.Attribute("type", MoodleType(q));
        xml.Start("name");
        xml.Element("text", q.sourceKey);
        xml.End();
        xml.Html("questiontext", q, q.kind == QuestionKind::Cloze ? ClozeStem(q) : q.stem);
        xml.Html("generalfeedback", q, q.analysis);
        xml.Element("defaultgrade", Format("%g", q.score.value_or(DefaultScore(original.kind))));
        xml.Element("idnumber", q.sourceKey);
        Answers(xml, q);
        // A question of several knowledge points: the others as tags.
        if (q.knowledgePaths.size() > 1) {
            xml.Start("tags");
            for (size_t k = 1; k < q.knowledgePaths.size(); ++k) {
                xml.Start("tag");
                xml.Element("text", q.knowledgePaths[k]);
                xml.End();
            }
            xml.End();
        }
        xml.End();
        ++out.written;
    }
    out.bytes = xml.Finish();
    return out;
}

}  // namespace quillory

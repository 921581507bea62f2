#include "core/exchange/qti_reader.h"

#include <libxml/tree.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <set>

#include "core/exchange/html_fragment.h"
#include "core/exchange/plain_text.h"
#include "core/exchange/xml_tree.h"
#include "core/exchange/zip_entries.h"

namespace quillory {

namespace {

constexpr const char* kTooLarge = "文件解压后过大，已拒绝（可能是恶意文件）";

// The entry an href of a package part names: relative to the part's
// folder; empty for a link out of the package or off the machine.
std::string EntryOf(const std::string& part, std::string_view href) {
    if (href.empty() || href.find("://") != std::string_view::npos || href.starts_with("/") ||
        href.starts_with("data:")) {
        return {};
    }
    const std::string path = (std::filesystem::path(part).parent_path() /
                              UrlDecoded(href.substr(0, href.find_first_of("?#"))))
                                 .lexically_normal()
                                 .generic_string();
    return path.empty() || path.starts_with("..") ? std::string() : path;
}

bool IsItem(const std::string& type) {
    return type.starts_with("imsqti_item_xmlv2p");
}

// What an item's interactions make of it.
enum class Shape { Choice, Manual, Blanks, Cloze };

std::string_view InteractionTitle(std::string_view name) {
    static const std::map<std::string_view, std::string_view> kTitles = {
        {"matchInteraction", "配对"},          {"associateInteraction", "关联"},
        {"orderInteraction", "排序"},          {"gapMatchInteraction", "拖放填空"},
        {"hotspotInteraction", "图中选点"},    {"hottextInteraction", "文中选词"},
        {"sliderInteraction", "滑块"},         {"uploadInteraction", "上传文件"},
        {"drawingInteraction", "画图"},        {"graphicGapMatchInteraction", "图上拖放"},
        {"selectPointInteraction", "图中选点"}};
    const auto found = kTitles.find(name);
    return found == kTitles.end() ? std::string_view() : found->second;
}

class ItemReader {
public:
    ItemReader(ZipEntries& zip, const std::string& fileName, const std::string& entry,
               ImportReading& reading)
        : zip_(zip), entry_(entry), reading_(reading) {
        question_.place = SourcePlace{fileName, entry, 0, 0};
    }

    // False when the package unpacks past the limits.
    bool Read(XmlNode item) {
        question_.place.line = XmlLine(item);
        question_.sourceKey = XmlAttribute(item, "identifier");
        for (XmlNode declaration : XmlChildren(item, "responseDeclaration")) {
            Response& response = responses_[XmlAttribute(declaration, "identifier")];
            response.multiple = XmlAttribute(declaration, "cardinality") != "single";
            for (XmlNode value : XmlChildren(XmlChild(declaration, "correctResponse"), "value")) {
                response.correct.push_back(XmlText(value));
            }
            for (XmlNode entry : XmlChildren(XmlChild(declaration, "mapping"), "mapEntry")) {
                if (XmlNumber(XmlAttribute(entry, "mappedValue")) > 0) {
                    response.mapped.push_back(XmlAttribute(entry, "mapKey"));
                }
            }
        }
        for (XmlNode outcome : XmlChildren(item, "outcomeDeclaration")) {
            if (XmlAttribute(outcome, "identifier") == "MAXSCORE") {
                const double score =
                    XmlNumber(XmlText(XmlChild(XmlChild(outcome, "defaultValue"), "value")));
                if (score > 0) {
                    question_.score = score;
                }
            }
        }
        const XmlNode body = XmlChild(item, "itemBody");
        std::vector<XmlNode> interactions;
        Interactions(body, interactions);
        const std::optional<Shape> shape = ShapeOf(interactions);
        if (!shape) {
            return true;
        }
        shape_ = *shape;
        FragmentRules rules;
        rules.image = [this](const std::string& src) { return Picture(src); };
        rules.element = [this](XmlNode element, std::string& out) { return Element(element, out); };
        rules_ = &rules;
        question_.stem = std::string(Trim(Html(body ? body->children : nullptr)));
        for (XmlNode feedback : XmlChildren(item, "modalFeedback")) {
            Analysis(feedback);
        }
        if (tooLarge_) {
            return false;
        }
        if (removed_) {
            Warn("文字中的脚本、框架、表单或音视频已去掉");
        }
        reading_.questions.push_back(std::move(question_));
        return true;
    }

private:
    struct Response {
        bool multiple = false;
        std::vector<std::string> correct;
        std::vector<std::string> mapped;  // keys that earn marks
    };

    // The right values of a response, each once: its correct response, else
    // (and for text entries also) the mapped keys that earn marks.
    std::vector<std::string> Right(XmlNode interaction, bool withMapped) {
        const Response& response = responses_[XmlAttribute(interaction, "responseIdentifier")];
        std::vector<std::string> values;
        std::set<std::string, std::less<>> seen;
        const auto take = [&](const std::vector<std::string>& from) {
            for (const std::string& text : from) {
                const std::string_view value = Trim(text);
                if (!value.empty() && seen.emplace(value).second) {
                    values.emplace_back(value);
                }
            }
        };
        take(response.correct);
        if (withMapped || values.empty()) {
            take(response.mapped);
        }
        return values;
    }

    static void Interactions(XmlNode node, std::vector<XmlNode>& found) {
        for (XmlNode child : XmlElements(node)) {
            if (XmlName(child).ends_with("Interaction")) {
                found.push_back(child);
            } else {
                Interactions(child, found);
            }
        }
    }

    std::optional<Shape> ShapeOf(const std::vector<XmlNode>& interactions) {
        if (interactions.empty()) {
            Warn("试题中没有作答之处，已跳过");
            return std::nullopt;
        }
        int choices = 0;
        int texts = 0;
        int inline_ = 0;
        int extended = 0;
        for (XmlNode interaction : interactions) {
            const std::string_view name = XmlName(interaction);
            if (name == "choiceInteraction") {
                ++choices;
                if (interactions.size() > 1 &&
                    responses_[XmlAttribute(interaction, "responseIdentifier")].multiple) {
                    Warn("多选的选择与其他作答方式在同一题中，无法作答，已跳过");
                    return std::nullopt;
                }
            } else if (name == "textEntryInteraction") {
                ++texts;
            } else if (name == "inlineChoiceInteraction") {
                ++inline_;
            } else if (name == "extendedTextInteraction") {
                ++extended;
            } else {
                const std::string_view title = InteractionTitle(name);
                Warn("不支持的作答方式 " + std::string(name) +
                     (title.empty() ? "" : "（" + std::string(title) + "）") + "，已跳过");
                return std::nullopt;
            }
        }
        if (extended > 0) {
            if (interactions.size() > 1) {
                Warn("问答与其他作答方式在同一题中，无法作答，已跳过");
                return std::nullopt;
            }
            question_.kind = QuestionKind::Manual;
            const std::vector<std::string> answer = Right(interactions.front(), false);
            for (const std::string& line : answer) {
                question_.referenceAnswer += (question_.referenceAnswer.empty() ? "" : "<br>") +
                                             PlainToHtml(line, nullptr, unusedMedia_);
            }
            return Shape::Manual;
        }
        if (choices == 1 && interactions.size() == 1) {
            question_.kind =
                responses_[XmlAttribute(interactions.front(), "responseIdentifier")].multiple
                    ? QuestionKind::MultipleChoice
                    : QuestionKind::SingleChoice;
            return Shape::Choice;
        }
        if (texts == static_cast<int>(interactions.size())) {
            question_.kind = QuestionKind::FillBlank;
            return Shape::Blanks;
        }
        question_.kind = QuestionKind::Cloze;
        return Shape::Cloze;
    }

    bool Element(XmlNode element, std::string& out) {
        const std::string_view name = XmlName(element);
        if (name == "feedbackBlock" || name == "feedbackInline") {
            Analysis(element);
            return true;
        }
        if (name == "rubricBlock" || name == "templateBlock" || name == "templateInline" ||
            name == "printedVariable") {
            return true;
        }
        if (name == "choiceInteraction" || name == "extendedTextInteraction") {
            out += Prompt(element);
        }
        if (name == "extendedTextInteraction") {
            return true;
        }
        if (name == "choiceInteraction" && shape_ == Shape::Choice) {
            Choices(element, "simpleChoice", Right(element, false), question_.options,
                    question_.rightOptions);
            return true;
        }
        if (name == "textEntryInteraction" && shape_ == Shape::Blanks) {
            question_.blanks.push_back(Right(element, true));
            out += "（" + std::to_string(question_.blanks.size()) + "）";
            return true;
        }
        if (name == "choiceInteraction" || name == "inlineChoiceInteraction" ||
            name == "textEntryInteraction") {
            AnswerSlot slot;
            if (name == "textEntryInteraction") {
                slot.accepted = Right(element, true);
            } else {
                std::vector<int> right;
                Choices(element, name == "choiceInteraction" ? "simpleChoice" : "inlineChoice",
                        Right(element, false), slot.choices, right);
                slot.rightChoice = right.empty() ? -1 : right.front();
            }
            question_.answerSlots.push_back(std::move(slot));
            out += "（" + std::to_string(question_.answerSlots.size()) + "）";
            return true;
        }
        return false;
    }

    void Choices(XmlNode interaction, std::string_view choiceName,
                 const std::vector<std::string>& right, std::vector<std::string>& options,
                 std::vector<int>& rightOptions) {
        for (XmlNode choice : XmlChildren(interaction, choiceName)) {
            if (std::find(right.begin(), right.end(), XmlAttribute(choice, "identifier")) !=
                right.end()) {
                rightOptions.push_back(static_cast<int>(options.size()));
            }
            options.push_back(InlineFragment(std::string(Trim(Html(choice->children)))));
        }
    }

    std::string Prompt(XmlNode interaction) {
        const XmlNode prompt = XmlChild(interaction, "prompt");
        return prompt ? "<p>" + Html(prompt->children) + "</p>" : std::string();
    }

    void Analysis(XmlNode feedback) {
        const std::string text(Trim(Html(feedback->children)));
        if (!text.empty()) {
            question_.analysis += "<div>" + text + "</div>";
        }
    }

    std::string Html(XmlNode first) {
        const Fragment fragment = WriteFragment(first, *rules_);
        removed_ = removed_ || fragment.removed;
        return fragment.html;
    }

    std::string Picture(const std::string& src) {
        if (src.starts_with("data:image/")) {
            return src;
        }
        const std::string entry = EntryOf(entry_, src);
        if (entry.empty()) {
            Warn("链接的外部图片未导入：" + src);
            return {};
        }
        Result<std::string> bytes = zip_.Read(entry);
        if (!bytes) {
            tooLarge_ = tooLarge_ || bytes.error().code == ErrorCode::BadInput;
            Warn("图片 " + entry + " 不在包中或无法读取，未导入");
            return {};
        }
        return AddPicture(question_.media, std::filesystem::path(entry).filename().string(),
                          std::move(*bytes));
    }

    void Warn(const std::string& text) {
        if (warned_.insert(text).second) {
            reading_.warnings.push_back({question_.place, text});
        }
    }

    ZipEntries& zip_;
    const std::string& entry_;
    ImportReading& reading_;
    ImportedQuestion question_;
    std::map<std::string, Response> responses_;
    Shape shape_ = Shape::Manual;
    const FragmentRules* rules_ = nullptr;
    std::set<std::string> warned_;
    std::vector<MediaFile> unusedMedia_;
    bool removed_ = false;
    bool tooLarge_ = false;
};

// The item files the manifest lists, in its order.
std::vector<std::string> ItemEntries(XmlNode manifest) {
    std::vector<std::string> entries;
    for (XmlNode resource : XmlChildren(XmlChild(manifest, "resources"), "resource")) {
        if (!IsItem(XmlAttribute(resource, "type"))) {
            continue;
        }
        std::string href = XmlAttribute(resource, "href");
        for (XmlNode file : XmlChildren(resource, "file")) {
            if (href.empty() && XmlAttribute(file, "href").ends_with(".xml")) {
                href = XmlAttribute(file, "href");
            }
        }
        const std::string entry = EntryOf("imsmanifest.xml", href);
        if (!entry.empty() && std::find(entries.begin(), entries.end(), entry) == entries.end()) {
            entries.push_back(entry);
        }
    }
    return entries;
}

}  // namespace

ImportReading ReadQtiPackage(std::string_view bytes, const std::string& fileName) {
    ImportReading reading;
    const SourcePlace filePlace{fileName, "", 0, 0};
    Result<ZipEntries> zip = ZipEntries::Open(bytes);
    if (!zip) {
        reading.problems.push_back({filePlace, "文件已损坏，无法作为 zip 读取"});
        return reading;
    }
    const Result<std::string> manifestXml = zip->Read("imsmanifest.xml");
    if (!manifestXml) {
        reading.problems.push_back({filePlace, manifestXml.error().code == ErrorCode::BadInput
                                                   ? kTooLarge
                                               : manifestXml.error().code == ErrorCode::NotFound
                                                   ? "文件不是 QTI 试题包（没有 imsmanifest.xml）"
                                                   : "文件已损坏，无法作为 zip 读取"});
        return reading;
    }
    const XmlTree manifest(*manifestXml);
    if (XmlName(manifest.Root()) != "manifest") {
        reading.problems.push_back(
            {SourcePlace{fileName, "imsmanifest.xml", 0, manifest.errorLine()},
             "清单 imsmanifest.xml 已损坏"});
        return reading;
    }
    const std::vector<std::string> entries = ItemEntries(manifest.Root());
    if (entries.empty()) {
        reading.problems.push_back({filePlace, "包中没有 QTI 2.1 试题"});
        return reading;
    }
    for (const std::string& entry : entries) {
        const SourcePlace place{fileName, entry, 0, 0};
        const Result<std::string> xml = zip->Read(entry);
        if (!xml && xml.error().code == ErrorCode::BadInput) {
            return ImportReading{{}, {{filePlace, kTooLarge}}, {}};
        }
        if (!xml) {
            reading.problems.push_back({place, xml.error().code == ErrorCode::NotFound
                                                   ? "清单中的 " + entry + " 不在包中"
                                                   : entry + " 已损坏，无法读取"});
            continue;
        }
        const XmlTree item(*xml);
        if (!item.Root()) {
            reading.problems.push_back({SourcePlace{fileName, entry, 0, item.errorLine()},
                                        "试题文件已损坏（XML 无法读取）"});
            continue;
        }
        if (XmlName(item.Root()) != "assessmentItem") {
            reading.problems.push_back({place, "不是 QTI 试题（没有 assessmentItem）"});
            continue;
        }
        if (!ItemReader(*zip, fileName, entry, reading).Read(item.Root())) {
            return ImportReading{{}, {{filePlace, kTooLarge}}, {}};
        }
    }
    return reading;
}

}  // namespace quillory

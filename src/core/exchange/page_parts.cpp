#include "core/exchange/page_parts.h"

#include <libxml/HTMLparser.h>
#include <libxml/HTMLtree.h>
#include <libxml/uri.h>

#include <memory>

#include "core/common/gb_encoding.h"
#include "core/common/text.h"
#include "core/pages/html_writer.h"
#include "core/pages/page_text.h"

namespace quillory {

namespace {

struct DocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using Doc = std::unique_ptr<xmlDoc, DocFree>;

// Pages are read as UTF-8 whatever their meta element declares.
Doc ParseHtml(const std::string& utf8) {
    return Doc(htmlReadMemory(utf8.data(), static_cast<int>(utf8.size()), nullptr, "UTF-8",
                              HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET |
                                  HTML_PARSE_RECOVER | HTML_PARSE_IGNORE_ENC |
                                  HTML_PARSE_NOIMPLIED));
}

Doc ParsePage(std::string_view page) {
    return ParseHtml(DetectPageEncoding(page) == PageEncoding::Gb ? GbToUtf8(page)
                                                                  : std::string(page));
}

Doc ParseFragment(std::string_view fragment) {
    return ParseHtml("<html><body>" + std::string(fragment) + "</body></html>");
}

bool IsElement(const xmlNode* node, const char* name) {
    return node != nullptr && node->type == XML_ELEMENT_NODE &&
           EqualsNoCase(reinterpret_cast<const char*>(node->name), name);
}

std::string Attribute(const xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    std::string text = value != nullptr ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return text;
}

bool HasClass(const xmlNode* node, const char* name) {
    if (node == nullptr || node->type != XML_ELEMENT_NODE) {
        return false;
    }
    for (const std::string& word : SplitString(Attribute(node, "class"), " ")) {
        if (word == name) {
            return true;
        }
    }
    return false;
}

xmlNode* FindElement(xmlNode* node, const char* name, const char* className) {
    for (; node != nullptr; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) {
            continue;
        }
        if ((name == nullptr || IsElement(node, name)) &&
            (className == nullptr || HasClass(node, className))) {
            return node;
        }
        if (xmlNode* inside = FindElement(node->children, name, className)) {
            return inside;
        }
    }
    return nullptr;
}

xmlNode* Body(xmlDoc* doc) {
    xmlNode* root = xmlDocGetRootElement(doc);
    xmlNode* body = FindElement(root, "body", nullptr);
    return body != nullptr ? body : root;
}

std::string Serialized(xmlDoc* doc, xmlNode* node) {
    xmlOutputBuffer* out = xmlAllocOutputBuffer(nullptr);
    htmlNodeDumpFormatOutput(out, doc, node, "UTF-8", 0);
    xmlOutputBufferFlush(out);
    std::string text(reinterpret_cast<const char*>(xmlOutputBufferGetContent(out)),
                     xmlOutputBufferGetSize(out));
    xmlOutputBufferClose(out);
    return text;
}

std::string Inner(xmlDoc* doc, xmlNode* node) {
    std::string html;
    for (xmlNode* child = node->children; child != nullptr; child = child->next) {
        html += Serialized(doc, child);
    }
    return html;
}

std::string TextOf(xmlNode* node) {
    xmlChar* content = xmlNodeGetContent(node);
    std::string text = content != nullptr ? reinterpret_cast<const char*>(content) : "";
    xmlFree(content);
    return text;
}

// Without the one <p> or <div> (without attributes) that wraps it all, and
// without the white space around it.
std::string Unwrapped(const std::string& fragment) {
    const std::string trimmed = Trim(fragment);
    Doc doc = ParseFragment(trimmed);
    if (!doc) {
        return trimmed;
    }
    xmlNode* body = Body(doc.get());
    xmlNode* only = nullptr;
    for (xmlNode* child = body != nullptr ? body->children : nullptr; child != nullptr;
         child = child->next) {
        if (child->type == XML_TEXT_NODE && Trim(TextOf(child)).empty()) {
            continue;
        }
        if (only != nullptr || !(IsElement(child, "p") || IsElement(child, "div")) ||
            child->properties != nullptr) {
            return trimmed;
        }
        only = child;
    }
    return only != nullptr ? Trim(Inner(doc.get(), only)) : trimmed;
}

std::string WithoutLabel(std::string fragment, std::initializer_list<std::string_view> labels) {
    for (std::string_view label : labels) {
        for (const std::string& written :
             {"<b>" + std::string(label) + "：</b>", "<b>" + std::string(label) + ":</b>",
              std::string(label) + "："}) {
            if (StartsWith(fragment, written)) {
                return Trim(fragment.substr(written.size()));
            }
        }
    }
    return fragment;
}

// Without white space at the ends, the ideographic space among it.
std::string TrimSpaces(std::string_view text) {
    constexpr std::string_view kWide = "\xE3\x80\x80";
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    for (size_t before = 0; before != text.size();) {
        before = text.size();
        while (!text.empty() && space(text.front())) {
            text.remove_prefix(1);
        }
        while (!text.empty() && space(text.back())) {
            text.remove_suffix(1);
        }
        if (text.starts_with(kWide)) {
            text.remove_prefix(kWide.size());
        }
        if (text.ends_with(kWide)) {
            text.remove_suffix(kWide.size());
        }
    }
    return std::string(text);
}

// The letter's mark at the start of an option line: "A．", "A." or "A、".
size_t OptionMark(std::string_view text, size_t index) {
    const char letter = static_cast<char>('A' + index);
    if (text.empty() || text[0] != letter) {
        return 0;
    }
    for (std::string_view mark : {"．", ".", "、"}) {
        if (text.substr(1).starts_with(mark)) {
            return 1 + mark.size();
        }
    }
    return 0;
}

// Where the next option's mark starts on a line of several options: after
// white space.
size_t NextMarkOnLine(std::string_view text, size_t index) {
    const char letter = static_cast<char>('A' + index);
    for (size_t pos = text.find(letter); pos != std::string_view::npos;
         pos = text.find(letter, pos + 1)) {
        const bool afterSpace =
            pos > 0 && (text[pos - 1] == ' ' || text[pos - 1] == '\t' ||
                        (pos >= 3 && text.substr(pos - 3, 3) == "\xE3\x80\x80"));
        if (afterSpace && OptionMark(text.substr(pos), index) > 0) {
            return pos;
        }
    }
    return std::string_view::npos;
}

// Option lines in a page not marked up by an import: the body's lines
// (block elements, or runs apart at <br>), each option line starting with its
// mark, several options perhaps on one line. The options are plain text.
bool FindOptionLines(xmlDoc* doc, const std::vector<xmlNode*>& nodes, size_t wanted,
                     QuestionPageParts& parts) {
    std::vector<std::vector<xmlNode*>> lines(1);
    for (xmlNode* node : nodes) {
        const bool block = IsElement(node, "p") || IsElement(node, "div") ||
                           IsElement(node, "li") || IsElement(node, "table");
        if (IsElement(node, "br") || block) {
            if (!lines.back().empty()) {
                lines.emplace_back();
            }
            if (block) {
                lines.back().push_back(node);
                lines.emplace_back();
            }
            continue;
        }
        lines.back().push_back(node);
    }
    std::string stem;
    std::vector<std::string> options;
    for (const std::vector<xmlNode*>& line : lines) {
        std::string text;
        std::string html;
        for (xmlNode* node : line) {
            text += TextOf(node);
            html += Serialized(doc, node);
        }
        text = TrimSpaces(text);
        if (options.size() >= wanted || OptionMark(text, options.size()) == 0) {
            if (!options.empty() && options.size() < wanted) {
                return false;
            }
            if (!Trim(html).empty()) {
                stem += (stem.empty() ? "" : "<br>") + Trim(html);
            }
            continue;
        }
        while (options.size() < wanted) {
            const size_t mark = OptionMark(text, options.size());
            const size_t next = NextMarkOnLine(text, options.size() + 1);
            options.push_back(HtmlText(TrimSpaces(text.substr(mark, next - mark))));
            if (next == std::string::npos) {
                break;
            }
            text = text.substr(next);
        }
    }
    if (options.size() != wanted) {
        return false;
    }
    parts.stem = stem;
    parts.options = std::move(options);
    return true;
}

// Every <img> below the body in document order, with its src unescaped.
template <typename Visit>
void ForEachImage(xmlDoc* doc, Visit visit) {
    xmlNode* body = doc != nullptr ? Body(doc) : nullptr;
    for (xmlNode* node = body; node != nullptr;) {
        if (IsElement(node, "img")) {
            char* source = xmlURIUnescapeString(Attribute(node, "src").c_str(), 0, nullptr);
            visit(node, std::string(source != nullptr ? source : ""));
            xmlFree(source);
        }
        if (node->children != nullptr) {
            node = node->children;
            continue;
        }
        while (node != body && node->next == nullptr) {
            node = node->parent;
        }
        node = node == body ? nullptr : node->next;
    }
}

}  // namespace

QuestionPageParts ReadQuestionPage(std::string_view page, size_t wantedOptions) {
    QuestionPageParts parts;
    Doc doc = ParsePage(page);
    xmlNode* body = doc ? Body(doc.get()) : nullptr;
    if (body == nullptr) {
        return parts;
    }
    xmlNode* stemPart = FindElement(body->children, "div", "stem");
    xmlNode* container = stemPart != nullptr ? stemPart : body;
    std::vector<xmlNode*> stemNodes;
    std::string stem;
    for (xmlNode* child = container->children; child != nullptr; child = child->next) {
        if (HasClass(child, "item") || HasClass(child, "qtype")) {
            continue;
        }
        if (IsElement(child, "p") && HasClass(child, "opt")) {
            const std::string line = Trim(Inner(doc.get(), child));
            const size_t mark = OptionMark(line, parts.options.size());
            const std::string number = Format("（%zu）", parts.numbered.size() + 1);
            if (mark > 0 && parts.options.size() < wantedOptions) {
                parts.options.push_back(Trim(line.substr(mark)));
            } else if (line.starts_with(number)) {
                parts.numbered.push_back(Trim(line.substr(number.size())));
            }
            continue;
        }
        stemNodes.push_back(child);
        stem += Serialized(doc.get(), child);
    }
    parts.stem = Unwrapped(stem);
    parts.optionsFound = parts.options.size() == wantedOptions;
    if (!parts.optionsFound && parts.options.empty()) {
        parts.optionsFound = FindOptionLines(doc.get(), stemNodes, wantedOptions, parts);
        parts.stem = Unwrapped(parts.stem);
    }
    return parts;
}

AnswerPageParts ReadAnswerPage(std::string_view page) {
    AnswerPageParts parts;
    Doc doc = ParsePage(page);
    xmlNode* body = doc ? Body(doc.get()) : nullptr;
    if (body == nullptr) {
        return parts;
    }
    xmlNode* key = FindElement(body->children, nullptr, "key");
    xmlNode* analysis = FindElement(body->children, nullptr, "analysis");
    if (key != nullptr) {
        parts.key = WithoutLabel(Unwrapped(Inner(doc.get(), key)), {"答案", "参考答案"});
    }
    if (analysis != nullptr) {
        parts.analysis =
            WithoutLabel(Unwrapped(Inner(doc.get(), analysis)), {"解析", "分析", "详解"});
    } else if (key == nullptr) {
        std::string whole;
        for (xmlNode* child = body->children; child != nullptr; child = child->next) {
            if (!HasClass(child, "answer-head")) {
                whole += Serialized(doc.get(), child);
            }
        }
        parts.analysis = Unwrapped(whole);
    }
    return parts;
}

std::vector<std::string> ImageSources(std::string_view fragment) {
    std::vector<std::string> sources;
    if (fragment.find("<img") == std::string_view::npos &&
        fragment.find("<IMG") == std::string_view::npos) {
        return sources;
    }
    Doc doc = ParseFragment(fragment);
    ForEachImage(doc.get(),
                 [&](xmlNode*, const std::string& source) { sources.push_back(source); });
    return sources;
}

std::string WithImageSource(std::string fragment, std::string_view from, std::string_view to) {
    Doc doc = ParseFragment(fragment);
    bool changed = false;
    ForEachImage(doc.get(), [&](xmlNode* img, const std::string& source) {
        if (source == from) {
            xmlSetProp(img, reinterpret_cast<const xmlChar*>("src"),
                       reinterpret_cast<const xmlChar*>(std::string(to).c_str()));
            changed = true;
        }
    });
    return changed ? Trim(Inner(doc.get(), Body(doc.get()))) : fragment;
}

}  // namespace quillory

#include "core/exchange/html_fragment.h"

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <charconv>
#include <memory>
#include <set>

#include "core/common/file_name.h"
#include "core/common/text.h"
#include "core/exchange/xml_tree.h"
#include "core/pages/html_writer.h"

namespace quillory {

namespace {

// Deeper markup is no teacher's text; the rest of it is left out.
constexpr int kMaxDepth = 200;

const std::set<std::string, std::less<>> kKeptElements = {
    // text
    "abbr", "b", "big", "blockquote", "br", "center", "cite", "code", "dd", "del", "dfn", "div",
    "dl", "dt", "em", "figcaption", "figure", "font", "h1", "h2", "h3", "h4", "h5", "h6", "hr", "i",
    "img", "ins", "kbd", "li", "ol", "p", "pre", "q", "s", "samp", "small", "span", "strike",
    "strong", "sub", "sup", "tt", "u", "ul", "var",
    // tables
    "caption", "col", "colgroup", "table", "tbody", "td", "tfoot", "th", "thead", "tr",
    // MathML
    "annotation", "math", "menclose", "merror", "mfenced", "mfrac", "mi", "mmultiscripts", "mn",
    "mo", "mover", "mpadded", "mphantom", "mprescripts", "mroot", "mrow", "ms", "mspace", "msqrt",
    "mstyle", "msub", "msubsup", "msup", "mtable", "mtd", "mtext", "mtr", "munder", "munderover",
    "none", "semantics"};

// Left out with everything inside; other unknown elements give up their tag
// and keep their content.
const std::set<std::string, std::less<>> kRemovedElements = {
    "applet",   "audio",  "base",   "button", "canvas",   "embed",    "form",     "frame",
    "frameset", "head",   "iframe", "input",  "link",     "meta",     "noscript", "object",
    "script",   "select", "style",  "svg",    "template", "textarea", "title",    "video"};

const std::set<std::string, std::less<>> kVoidElements = {"br", "col", "hr", "img"};

const std::set<std::string, std::less<>> kKeptAttributes = {
    "align",         "alt",       "border",      "cellpadding", "cellspacing", "class",
    "close",         "color",     "colspan",     "columnalign", "dir",         "display",
    "displaystyle",  "encoding",  "face",        "fence",       "height",      "lang",
    "linethickness", "lspace",    "mathvariant", "notation",    "open",        "rowspan",
    "rspace",        "separator", "separators",  "size",        "start",       "stretchy",
    "style",         "title",     "type",        "valign",      "width"};

std::string_view Text(const xmlChar* text) {
    return text ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}

// A style that could load something or run script.
bool ActiveStyle(std::string_view style) {
    const std::string lower = ToLowerAscii(style);
    return lower.find("url(") != std::string::npos ||
           lower.find("expression") != std::string::npos ||
           lower.find("javascript") != std::string::npos || lower.find('\\') != std::string::npos;
}

class Writer {
public:
    explicit Writer(const FragmentRules& rules) : rules_(rules) {}

    void Siblings(const xmlNode* node, int depth) {
        for (; node; node = node->next) {
            Node(node, depth);
        }
    }

    Fragment fragment;

private:
    void Node(const xmlNode* node, int depth) {
        std::string& out = fragment.html;
        if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
            out += HtmlText(pre_ > 0 ? std::string(Text(node->content))
                                     : Collapsed(Text(node->content)));
            return;
        }
        if (node->type != XML_ELEMENT_NODE) {
            return;
        }
        if (depth > kMaxDepth) {
            fragment.removed = true;
            return;
        }
        if (rules_.element && rules_.element(node, out)) {
            return;
        }
        const std::string name = ToLowerAscii(Text(node->name));
        if (name == "object" && StartsWith(XmlAttribute(node, "type"), "image/")) {
            Image(node, XmlAttribute(node, "data"));
            return;
        }
        if (kRemovedElements.count(name) != 0) {
            fragment.removed = true;
            return;
        }
        if (kKeptElements.count(name) == 0) {
            Siblings(node->children, depth + 1);
            return;
        }
        if (name == "img") {
            Image(node, XmlAttribute(node, "src"));
            return;
        }
        out += "<" + name + Attributes(node) + ">";
        if (kVoidElements.count(name) != 0) {
            return;
        }
        pre_ += name == "pre";
        Siblings(node->children, depth + 1);
        pre_ -= name == "pre";
        out += "</" + name + ">";
    }

    // White space as a browser shows it outside <pre>: a run is one space,
    // so the layout of the file's markup does not stay in the texts.
    static std::string Collapsed(std::string_view text) {
        std::string collapsed;
        bool space = false;
        for (char c : text) {
            const bool isSpace = c == ' ' || c == '\t' || c == '\n' || c == '\r';
            if (isSpace && !space) {
                collapsed += ' ';
            } else if (!isSpace) {
                collapsed += c;
            }
            space = isSpace;
        }
        return collapsed;
    }

    std::string Attributes(const xmlNode* element) {
        std::string text;
        for (const xmlAttr* a = element->properties; a; a = a->next) {
            const std::string name = ToLowerAscii(Text(a->name));
            std::string value;
            for (const xmlNode* part = a->children; part; part = part->next) {
                value += Text(part->content);
            }
            if (name.starts_with("on") || (name == "style" && ActiveStyle(value))) {
                fragment.removed = true;
            } else if (kKeptAttributes.count(name) != 0) {
                text += " " + name + "=\"" + HtmlAttribute(value) + "\"";
            }
        }
        return text;
    }

    void Image(const xmlNode* element, const std::string& src) {
        const std::string source = rules_.image ? rules_.image(src) : std::string();
        if (source.empty()) {
            return;
        }
        std::string attributes;
        for (const char* name : {"alt", "width", "height", "style"}) {
            const std::string value = XmlAttribute(element, name);
            if (!value.empty() && !(std::string_view(name) == "style" && ActiveStyle(value))) {
                attributes += std::string(" ") + name + "=\"" + HtmlAttribute(value) + "\"";
            }
        }
        fragment.html += "<img src=\"" + HtmlAttribute(source) + "\"" + attributes + ">";
    }

    const FragmentRules& rules_;
    int pre_ = 0;  // how many <pre> the writer is in
};

struct DocCloser {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};

}  // namespace

Fragment WriteFragment(const _xmlNode* first, const FragmentRules& rules) {
    Writer writer(rules);
    writer.Siblings(first, 0);
    return std::move(writer.fragment);
}

Fragment ReadHtmlFragment(std::string_view html, const FragmentRules& rules) {
    if (Trim(html).empty()) {
        return {};
    }
    // Text the parser meets before any element would go into a <p> of its
    // own; inside a <body> it stays as it is. What belongs in a head (a
    // stray <title>) goes into <head>, which is not written.
    const std::string document = "<body>" + std::string(html);
    const std::unique_ptr<xmlDoc, DocCloser> doc(
        htmlReadMemory(document.data(), static_cast<int>(document.size()), nullptr, "UTF-8",
                       HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING));
    const xmlNode* root = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
    const xmlNode* body = XmlChild(root, "body");
    Fragment fragment = WriteFragment(body ? body->children : nullptr, rules);
    fragment.removed = fragment.removed || XmlChild(root, "head") != nullptr;
    return fragment;
}

std::string UrlDecoded(std::string_view url) {
    std::string decoded;
    for (size_t i = 0; i < url.size(); ++i) {
        unsigned value = 0;
        if (url[i] == '%' && i + 2 < url.size() &&
            std::from_chars(url.data() + i + 1, url.data() + i + 3, value, 16).ptr ==
                url.data() + i + 3) {
            decoded += static_cast<char>(value);
            i += 2;
        } else {
            decoded += url[i];
        }
    }
    return decoded;
}

std::string InlineFragment(std::string html) {
    // The paragraph may carry attributes, as editors write it
    // (<p dir="ltr" style="text-align: left;">).
    const size_t open = html.find('>');
    const bool paragraph = html.starts_with("<p>") || html.starts_with("<p ");
    if (paragraph && open != std::string::npos && html.find("<p", 2) == std::string::npos &&
        html.find("</p>") + 4 == html.size()) {
        return html.substr(open + 1, html.size() - open - 5);
    }
    return html;
}

std::string AddPicture(std::vector<MediaFile>& media, const std::string& name, std::string bytes) {
    const std::string plain = SanitizeFileName(name);
    const size_t dot = plain.rfind('.');
    const std::string stem = dot == std::string::npos || dot == 0 ? plain : plain.substr(0, dot);
    const std::string extension = stem.size() == plain.size() ? "" : plain.substr(dot);
    for (int n = 1;; ++n) {
        const std::string candidate = n == 1 ? plain : stem + "_" + std::to_string(n) + extension;
        const auto same = std::find_if(media.begin(), media.end(),
                                       [&](const MediaFile& m) { return m.name == candidate; });
        if (same == media.end()) {
            media.push_back(MediaFile{candidate, std::move(bytes)});
            return candidate;
        }
        if (same->bytes == bytes) {
            return candidate;
        }
    }
}

}  // namespace quillory

#include "core/exchange/xml_tree.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <charconv>

namespace quillory {

namespace {

std::string_view View(const xmlChar* text) {
    return text ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}

std::string TextOf(XmlNode first) {
    std::string text;
    for (XmlNode child = first; child; child = child->next) {
        if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) {
            text += View(child->content);
        }
    }
    return text;
}

// libxml2 reports a failed conversion from a declared encoding outside the
// parser's own errors, on standard error; the reader says what is wrong.
void Quiet(void*, const char*, ...) {}

}  // namespace

void XmlTree::Freer::operator()(_xmlDoc* doc) const {
    xmlFreeDoc(doc);
}

XmlTree::XmlTree(std::string_view bytes) {
    xmlInitParser();
    xmlSetGenericErrorFunc(nullptr, Quiet);
    xmlParserCtxtPtr context = xmlNewParserCtxt();
    if (!context) {
        return;
    }
    doc_.reset(xmlCtxtReadMemory(context, bytes.data(), static_cast<int>(bytes.size()), nullptr,
                                 nullptr,
                                 XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING |
                                     XML_PARSE_NOCDATA | XML_PARSE_BIG_LINES));
    if (!doc_ || !context->wellFormed) {
        doc_.reset();
        errorLine_ = context->lastError.line;
    }
    xmlFreeParserCtxt(context);
}

XmlNode XmlTree::Root() const {
    return doc_ ? xmlDocGetRootElement(doc_.get()) : nullptr;
}

std::string_view XmlName(XmlNode element) {
    return element ? View(element->name) : std::string_view();
}

XmlNode XmlChild(XmlNode node, std::string_view name) {
    for (XmlNode child = node ? node->children : nullptr; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE && View(child->name) == name) {
            return child;
        }
    }
    return nullptr;
}

std::vector<XmlNode> XmlChildren(XmlNode node, std::string_view name) {
    std::vector<XmlNode> children;
    for (XmlNode child = node ? node->children : nullptr; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE && View(child->name) == name) {
            children.push_back(child);
        }
    }
    return children;
}

std::vector<XmlNode> XmlElements(XmlNode node) {
    std::vector<XmlNode> children;
    for (XmlNode child = node ? node->children : nullptr; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE) {
            children.push_back(child);
        }
    }
    return children;
}

std::string XmlAttribute(XmlNode element, std::string_view name) {
    for (const xmlAttr* a = element ? element->properties : nullptr; a; a = a->next) {
        if (View(a->name) == name) {
            return TextOf(a->children);
        }
    }
    return {};
}

std::string XmlText(XmlNode node) {
    return node ? TextOf(node->children) : std::string();
}

double XmlNumber(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\n' ||
                             text.front() == '\r' || text.front() == '+')) {
        text.remove_prefix(1);
    }
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

int XmlLine(XmlNode node) {
    return node ? static_cast<int>(xmlGetLineNo(node)) : 0;
}

}  // namespace quillory

// XML files read whole into libxml2's tree (Moodle XML, QTI items and
// manifests): no network, no DTD loaded, no entity of the file expanded, and
// libxml2's own depth and size limits (no XML_PARSE_HUGE). Elements are
// named by their local names, whatever their namespace.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct _xmlDoc;
struct _xmlNode;

namespace quillory {

using XmlNode = const _xmlNode*;

class XmlTree {
public:
    explicit XmlTree(std::string_view bytes);
    // Null when the bytes are no well-formed XML; errorLine then tells where.
    XmlNode Root() const;
    int errorLine() const { return errorLine_; }

private:
    struct Freer {
        void operator()(_xmlDoc* doc) const;
    };
    std::unique_ptr<_xmlDoc, Freer> doc_;
    int errorLine_ = 0;
};

std::string_view XmlName(XmlNode element);
// The first child element of that name, or null (also for a null node).
XmlNode XmlChild(XmlNode node, std::string_view name);
std::vector<XmlNode> XmlChildren(XmlNode node, std::string_view name);
// Every child element.
std::vector<XmlNode> XmlElements(XmlNode node);
// The attribute by its local name; empty when absent.
std::string XmlAttribute(XmlNode element, std::string_view name);
// The text and CDATA directly inside the node; entity references of the
// file's own DTD are left out.
std::string XmlText(XmlNode node);
int XmlLine(XmlNode node);
// A number as XML writes it ("2", "-100", "33.33333", "+1.5e3"); 0 when
// the text is none.
double XmlNumber(std::string_view text);

}  // namespace quillory

// An XML document written into memory with libxml2's xmlTextWriter: the
// export's OpenDocument parts and Moodle XML.
#pragma once

#include <string>
#include <string_view>

typedef struct _xmlBuffer xmlBuffer;
typedef struct _xmlTextWriter xmlTextWriter;

namespace quillory {

class XmlOut {
public:
    explicit XmlOut(bool indent = false);
    ~XmlOut();
    XmlOut(const XmlOut&) = delete;
    XmlOut& operator=(const XmlOut&) = delete;

    void Start(const char* name);
    void End();
    void Attribute(const char* name, const std::string& value);
    void Text(const std::string& text);
    // <name>text</name>
    void Element(const char* name, const std::string& text);
    void Base64(std::string_view bytes);
    // The document, every element ended; nothing may be written after it.
    std::string Finish();

private:
    xmlBuffer* buffer_;
    xmlTextWriter* writer_;
};

}  // namespace quillory

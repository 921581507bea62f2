#include "core/exchange/xml_out.h"

#include <libxml/xmlwriter.h>

namespace quillory {

namespace {

const xmlChar* X(const char* text) {
    return reinterpret_cast<const xmlChar*>(text);
}

}  // namespace

XmlOut::XmlOut(bool indent)
    : buffer_(xmlBufferCreate()), writer_(xmlNewTextWriterMemory(buffer_, 0)) {
    xmlTextWriterSetIndent(writer_, indent ? 1 : 0);
    xmlTextWriterStartDocument(writer_, nullptr, "UTF-8", nullptr);
}

XmlOut::~XmlOut() {
    if (writer_ != nullptr) {
        xmlFreeTextWriter(writer_);
    }
    xmlBufferFree(buffer_);
}

void XmlOut::Start(const char* name) {
    xmlTextWriterStartElement(writer_, X(name));
}

void XmlOut::End() {
    xmlTextWriterEndElement(writer_);
}

void XmlOut::Attribute(const char* name, const std::string& value) {
    xmlTextWriterWriteAttribute(writer_, X(name), X(value.c_str()));
}

void XmlOut::Text(const std::string& text) {
    xmlTextWriterWriteString(writer_, X(text.c_str()));
}

void XmlOut::Element(const char* name, const std::string& text) {
    xmlTextWriterWriteElement(writer_, X(name), X(text.c_str()));
}

void XmlOut::Base64(std::string_view bytes) {
    xmlTextWriterWriteBase64(writer_, bytes.data(), 0, static_cast<int>(bytes.size()));
}

std::string XmlOut::Finish() {
    xmlTextWriterEndDocument(writer_);
    xmlFreeTextWriter(writer_);
    writer_ = nullptr;
    return std::string(reinterpret_cast<const char*>(xmlBufferContent(buffer_)),
                       static_cast<size_t>(xmlBufferLength(buffer_)));
}

}  // namespace quillory

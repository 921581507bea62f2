#include <zip.h>

#include <memory>

#include "core/common/text.h"
#include "core/exchange/question_writers.h"
#include "core/exchange/xml_out.h"

namespace quillory {

namespace {

constexpr const char* kMimeType = "application/vnd.oasis.opendocument.spreadsheet";

std::string Manifest() {
    XmlOut xml;
    xml.Start("manifest:manifest");
    xml.Attribute("xmlns:manifest", "urn:oasis:names:tc:opendocument:xmlns:manifest:1.0");
    xml.Attribute("manifest:version", "1.2");
    for (const auto& [path, type] :
         {std::pair<const char*, const char*>{"/", kMimeType}, {"content.xml", "text/xml"}}) {
        xml.Start("manifest:file-entry");
        xml.Attribute("manifest:full-path", path);
        xml.Attribute("manifest:media-type", type);
        xml.End();
    }
    xml.End();
    return xml.Finish();
}

// A cell's lines as the paragraphs a spreadsheet program shows.
void Cell(XmlOut& xml, const std::string& text) {
    xml.Start("table:table-cell");
    if (!text.empty()) {
        xml.Attribute("office:value-type", "string");
        for (const std::string& line : SplitString(text, "\n")) {
            xml.Start("text:p");
            xml.Text(line);
            xml.End();
        }
    }
    xml.End();
}

std::string Content(const QuestionSheets& sheets) {
    XmlOut xml;
    xml.Start("office:document-content");
    xml.Attribute("xmlns:office", "urn:oasis:names:tc:opendocument:xmlns:office:1.0");
    xml.Attribute("xmlns:table", "urn:oasis:names:tc:opendocument:xmlns:table:1.0");
    xml.Attribute("xmlns:text", "urn:oasis:names:tc:opendocument:xmlns:text:1.0");
    xml.Attribute("office:version", "1.2");
    xml.Start("office:body");
    xml.Start("office:spreadsheet");
    for (const QuestionSheet& sheet : sheets.sheets) {
        xml.Start("table:table");
        xml.Attribute("table:name", sheet.name);
        for (const std::vector<std::string>& row : sheet.rows) {
            xml.Start("table:table-row");
            for (const std::string& cell : row) {
                Cell(xml, cell);
            }
            xml.End();
        }
        xml.End();
    }
    xml.End();
    xml.End();
    xml.End();
    return xml.Finish();
}

struct ArchiveDiscard {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};

}  // namespace

Result<std::string> OdsBytes(const QuestionSheets& sheets) {
    const Error failed{ErrorCode::FileAccess, "cannot make the OpenDocument archive"};
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* memory = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (memory == nullptr) {
        return failed;
    }
    std::unique_ptr<zip_t, ArchiveDiscard> archive(
        zip_open_from_source(memory, ZIP_TRUNCATE, &error));
    if (!archive) {
        zip_source_free(memory);
        return failed;
    }
    zip_source_keep(memory);
    // The entries' bytes stay until the archive is closed.
    const std::string entries[][2] = {{"mimetype", kMimeType},
                                      {"META-INF/manifest.xml", Manifest()},
                                      {"content.xml", Content(sheets)}};
    for (const auto& [name, bytes] : entries) {
        zip_source_t* source = zip_source_buffer(archive.get(), bytes.data(), bytes.size(), 0);
        const zip_int64_t index =
            source == nullptr ? -1
                              : zip_file_add(archive.get(), name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            zip_source_free(memory);
            return failed;
        }
        // The mimetype goes first and unpacked, so that it can be read at a
        // fixed place.
        if (name == "mimetype") {
            zip_set_file_compression(archive.get(), static_cast<zip_uint64_t>(index), ZIP_CM_STORE,
                                     0);
        }
    }
    if (zip_close(archive.get()) != 0) {
        zip_source_free(memory);
        return failed;
    }
    archive.release();
    std::string bytes;
    zip_stat_t stat;
    if (zip_source_stat(memory, &stat) == 0 && zip_source_open(memory) == 0) {
        bytes.resize(stat.size);
        const zip_int64_t read = zip_source_read(memory, bytes.data(), stat.size);
        zip_source_close(memory);
        bytes.resize(read < 0 ? 0 : static_cast<size_t>(read));
    }
    zip_source_free(memory);
    if (bytes.empty()) {
        return failed;
    }
    return bytes;
}

}  // namespace quillory

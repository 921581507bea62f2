#include "core/exchange/docx_reader.h"

#include <libxml/xmlreader.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>

#include "core/common/file_name.h"
#include "core/exchange/marked_paragraphs.h"
#include "core/exchange/plain_text.h"
#include "core/exchange/zip_entries.h"

namespace quillory {

namespace {

struct ReaderCloser {
    void operator()(xmlTextReader* reader) const { xmlFreeTextReader(reader); }
};

// Streaming, so a large document costs no tree; no network, no entity
// expansion, and libxml2's own depth and text limits (no XML_PARSE_HUGE).
class Xml {
public:
    explicit Xml(const std::string& xml)
        : reader_(xmlReaderForMemory(
              xml.data(), static_cast<int>(xml.size()), "part.xml", nullptr,
              XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOCDATA)) {}
    bool ok() const { return reader_ != nullptr; }
    // Moves to the next node, or past the current element when skip; false
    // at the end, with failed() telling an error.
    bool Next(bool skip = false) {
        const int rc = skip ? xmlTextReaderNext(reader_.get()) : xmlTextReaderRead(reader_.get());
        failed_ = rc < 0;
        return rc == 1;
    }
    bool failed() const { return failed_; }
    bool IsStart() const { return xmlTextReaderNodeType(reader_.get()) == 1; }
    bool IsEnd() const {
        return xmlTextReaderNodeType(reader_.get()) == 15 ||
               (IsStart() && xmlTextReaderIsEmptyElement(reader_.get()));
    }
    bool IsText() const {
        const int type = xmlTextReaderNodeType(reader_.get());
        return type == 3 || type == 4 || type == 14;
    }
    std::string_view Name() const { return View(xmlTextReaderConstLocalName(reader_.get())); }
    std::string_view Space() const { return View(xmlTextReaderConstNamespaceUri(reader_.get())); }
    // Word's own elements, transitional or strict.
    bool IsWord(std::string_view name) const {
        return Name() == name && Space().find("wordprocessingml") != std::string_view::npos;
    }
    std::string_view Value() const { return View(xmlTextReaderConstValue(reader_.get())); }
    // The attribute by its local name, whatever its namespace.
    std::string Attribute(std::string_view name) const {
        std::string value;
        if (xmlTextReaderMoveToFirstAttribute(reader_.get()) == 1) {
            do {
                if (View(xmlTextReaderConstLocalName(reader_.get())) == name) {
                    value = std::string(View(xmlTextReaderConstValue(reader_.get())));
                    break;
                }
            } while (xmlTextReaderMoveToNextAttribute(reader_.get()) == 1);
            xmlTextReaderMoveToElement(reader_.get());
        }
        return value;
    }

private:
    static std::string_view View(const xmlChar* text) {
        return text ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
    }
    std::unique_ptr<xmlTextReader, ReaderCloser> reader_;
    bool failed_ = false;
};

// The format of each list level: numId → ilvl → "decimal", "upperLetter"…
using ListFormats = std::map<std::string, std::array<std::string, 9>>;

ListFormats ReadNumbering(const std::string& xml) {
    std::map<std::string, std::array<std::string, 9>> abstracts;
    std::map<std::string, std::string> abstractOfNum;
    Xml reader(xml);
    std::string abstractId;
    std::string numId;
    int level = -1;
    while (reader.ok() && reader.Next()) {
        if (!reader.IsStart()) {
            continue;
        }
        if (reader.IsWord("abstractNum")) {
            abstractId = reader.Attribute("abstractNumId");
        } else if (reader.IsWord("lvl")) {
            level = std::atoi(reader.Attribute("ilvl").c_str());
        } else if (reader.IsWord("numFmt") && level >= 0 && level < 9) {
            abstracts[abstractId][static_cast<size_t>(level)] = reader.Attribute("val");
        } else if (reader.IsWord("num")) {
            numId = reader.Attribute("numId");
        } else if (reader.IsWord("abstractNumId")) {
            abstractOfNum[numId] = reader.Attribute("val");
        }
    }
    ListFormats formats;
    for (const auto& [num, abstract] : abstractOfNum) {
        const auto found = abstracts.find(abstract);
        if (found != abstracts.end()) {
            formats[num] = found->second;
        }
    }
    return formats;
}

std::map<std::string, std::string> ReadRelationships(const std::string& xml) {
    std::map<std::string, std::string> targets;
    Xml reader(xml);
    while (reader.ok() && reader.Next()) {
        if (reader.IsStart() && reader.Name() == "Relationship" &&
            reader.Attribute("TargetMode") != "External") {
            targets[reader.Attribute("Id")] = reader.Attribute("Target");
        }
    }
    return targets;
}

// A relationship's target as an entry name: relative to word/ unless it
// starts with "/".
std::string EntryName(const std::string& target) {
    const std::string path = target.starts_with("/") ? target.substr(1) : "word/" + target;
    return std::filesystem::path(path).lexically_normal().generic_string();
}

class DocumentReader {
public:
    DocumentReader(ZipEntries& zip, const std::string& fileName, ImportReading& reading)
        : zip_(zip), fileName_(fileName), reading_(reading) {
        if (zip_.Has("word/_rels/document.xml.rels")) {
            if (Result<std::string> rels = zip_.Read("word/_rels/document.xml.rels")) {
                targets_ = ReadRelationships(*rels);
            }
        }
        if (zip_.Has("word/numbering.xml")) {
            if (Result<std::string> numbering = zip_.Read("word/numbering.xml")) {
                formats_ = ReadNumbering(*numbering);
            }
        }
    }

    // False when the XML is damaged.
    bool Read(const std::string& xml) {
        Xml reader(xml);
        if (!reader.ok()) {
            return false;
        }
        bool inText = false;
        bool more = reader.Next();
        while (more) {
            if (reader.IsText()) {
                if (inText) {
                    std::string text(reader.Value());
                    RemoveMarkCharacters(text);
                    Current().text += text;
                }
                more = reader.Next();
                continue;
            }
            if (reader.IsStart() && Skipped(reader)) {
                more = reader.Next(true);
                continue;
            }
            const bool start = reader.IsStart();
            const bool end = reader.IsEnd();
            const std::string_view name = reader.Name();
            const bool word = reader.Space().find("wordprocessingml") != std::string_view::npos;
            const bool math = reader.Space().find("math") != std::string_view::npos;
            if (start && word && name == "p") {
                open_.push_back(Paragraph{{"", ++count_, false}, {}, {}, {}});
            }
            if (start && !open_.empty()) {
                if (word && name == "t") {
                    inText = !end;
                } else if (math && name == "t") {
                    inText = !end;
                    if (!warnedMath_) {
                        warnedMath_ = true;
                        reading_.warnings.push_back(
                            {SourcePlace{fileName_, "", 0, count_},
                             "Word 公式按文字导入，上下标等排版可能丢失（可改用 TeX 写法 $…$）"});
                    }
                } else if (word && name == "tab") {
                    Current().text += ' ';
                } else if (word && (name == "br" || name == "cr")) {
                    BreakLine();
                } else if (word && name == "numId") {
                    open_.back().numId = reader.Attribute("val");
                } else if (word && name == "ilvl") {
                    open_.back().level = reader.Attribute("val");
                } else if (name == "blip" || name == "imagedata") {
                    AddImage(reader.Attribute(name == "blip" ? "embed" : "id"));
                }
            }
            if (end && (name == "t")) {
                inText = false;
            }
            if (end && word && name == "p" && !open_.empty()) {
                EndParagraph();
            }
            more = reader.Next();
        }
        return !reader.failed();
    }

    std::vector<MarkedParagraph> paragraphs;
    std::vector<MediaFile> images;

private:
    struct Paragraph {
        MarkedParagraph current;
        std::vector<MarkedParagraph> done;  // lines before a line break
        std::string numId;
        std::string level;
    };

    MarkedParagraph& Current() { return open_.back().current; }

    // Deleted revisions, field codes, and the old-style copy Word keeps of
    // every drawing (each picture would come twice).
    static bool Skipped(const Xml& reader) {
        const std::string_view name = reader.Name();
        return (reader.IsWord(name) && (name == "del" || name == "delText" || name == "instrText" ||
                                        name == "moveFrom")) ||
               (name == "Fallback" &&
                reader.Space().find("markup-compatibility") != std::string_view::npos);
    }

    void BreakLine() {
        Paragraph& p = open_.back();
        p.done.push_back(p.current);
        p.current = MarkedParagraph{"", p.current.line, false};
    }

    void EndParagraph() {
        Paragraph p = std::move(open_.back());
        open_.pop_back();
        p.done.push_back(std::move(p.current));
        ApplyNumbering(p);
        for (MarkedParagraph& line : p.done) {
            paragraphs.push_back(std::move(line));
        }
    }

    // Word numbers list items itself: a number list makes questions, a
    // letter list options, a Chinese one headings.
    void ApplyNumbering(Paragraph& p) {
        const auto found = formats_.find(p.numId);
        const int level = std::atoi(p.level.c_str());
        if (p.numId.empty() || p.numId == "0" || found == formats_.end() || level < 0 ||
            level >= 9) {
            return;
        }
        std::array<int, 9>& counters = counters_[p.numId];
        const int n = ++counters[static_cast<size_t>(level)];
        for (size_t deeper = static_cast<size_t>(level) + 1; deeper < counters.size(); ++deeper) {
            counters[deeper] = 0;
        }
        const std::string& format = found->second[static_cast<size_t>(level)];
        MarkedParagraph& first = p.done.front();
        if (format.starts_with("decimal")) {
            first.numberedItem = true;
        } else if ((format == "upperLetter" || format == "lowerLetter") && n <= 26) {
            first.text = std::string(1, static_cast<char>('A' + n - 1)) + ". " + first.text;
        } else if ((format.starts_with("chinese") || format.starts_with("ideograph") ||
                    format.starts_with("taiwanese") || format.starts_with("japanese")) &&
                   n <= 10) {
            static constexpr std::string_view kNumerals[] = {"一", "二", "三", "四", "五",
                                                             "六", "七", "八", "九", "十"};
            first.text = std::string(kNumerals[n - 1]) + "、" + first.text;
        }
    }

    void AddImage(const std::string& id) {
        const auto known = imageOfId_.find(id);
        if (known != imageOfId_.end()) {
            Mark(known->second);
            return;
        }
        const auto target = targets_.find(id);
        if (id.empty() || target == targets_.end()) {
            Warn("图片是链接的外部文件，未导入");
            return;
        }
        Result<std::string> bytes = zip_.Read(EntryName(target->second));
        if (!bytes) {
            Warn("图片无法读取，未导入");
            return;
        }
        const std::string name =
            SanitizeFileName(std::filesystem::path(target->second).filename().string());
        images.push_back(MediaFile{name, std::move(*bytes)});
        imageOfId_[id] = images.size() - 1;
        Mark(images.size() - 1);
    }

    void Mark(size_t index) {
        Current().text += std::string(kImageMark) + std::to_string(index) + std::string(kImageMark);
    }

    void Warn(std::string text) {
        reading_.warnings.push_back(
            {SourcePlace{fileName_, "", 0, Current().line}, std::move(text)});
    }

    ZipEntries& zip_;
    const std::string& fileName_;
    ImportReading& reading_;
    std::map<std::string, std::string> targets_;
    ListFormats formats_;
    std::map<std::string, std::array<int, 9>> counters_;
    std::map<std::string, size_t> imageOfId_;
    std::vector<Paragraph> open_;  // a text box's paragraphs sit inside another
    int count_ = 0;
    bool warnedMath_ = false;
};

}  // namespace

ImportReading ReadDocx(std::string_view bytes, const std::string& fileName) {
    ImportReading reading;
    const SourcePlace filePlace{fileName, "", 0, 0};
    Result<ZipEntries> zip = ZipEntries::Open(bytes);
    if (!zip) {
        reading.problems.push_back({filePlace, "文件已损坏，无法作为 docx 读取"});
        return reading;
    }
    const Result<std::string> document = zip->Read("word/document.xml");
    if (!document) {
        reading.problems.push_back({filePlace, document.error().code == ErrorCode::BadInput
                                                   ? "文件解压后过大，已拒绝（可能是恶意文件）"
                                               : document.error().code == ErrorCode::NotFound
                                                   ? "文件内容不是 docx 文档"
                                                   : "文件已损坏，无法作为 docx 读取"});
        return reading;
    }
    xmlInitParser();
    DocumentReader reader(*zip, fileName, reading);
    if (!reader.Read(*document)) {
        reading.problems.push_back({filePlace, "文件已损坏（文档的 XML 无法读取）"});
        return reading;
    }
    ImportReading questions = ReadMarkedParagraphs(reader.paragraphs, reader.images, fileName);
    questions.warnings.insert(questions.warnings.begin(), reading.warnings.begin(),
                              reading.warnings.end());
    return questions;
}

}  // namespace quillory

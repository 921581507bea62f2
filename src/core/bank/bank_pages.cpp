#include "core/bank/bank_pages.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/bank/utf8_check.h"
#include "core/common/gb_encoding.h"
#include "core/common/text.h"
#include "core/common/whole_file.h"
#include "core/store/data_file.h"

namespace quillory {

namespace fs = std::filesystem;

namespace {

constexpr char kContentTypeMeta[] =
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">";

bool EndsOfValue(char c) {
    return c == '"' || c == '\'' || c == ';' || c == '>' || c == '/' || c == ' ' || c == '\t' ||
           c == '\r' || c == '\n';
}

// Sets the charset value of every meta tag to gb2312; false when no meta tag
// declares one.
bool RewriteCharsets(std::string& html) {
    const std::string lower = ToLowerAscii(html);
    std::string out;
    size_t copied = 0;
    bool declared = false;
    for (size_t meta = lower.find("<meta"); meta != std::string::npos;
         meta = lower.find("<meta", meta + 1)) {
        const size_t close = lower.find('>', meta);
        const size_t charset = lower.find("charset=", meta);
        if (charset == std::string::npos || (close != std::string::npos && charset > close)) {
            continue;
        }
        size_t value = charset + 8;
        while (value < lower.size() && (lower[value] == '"' || lower[value] == '\'')) {
            ++value;
        }
        size_t end = value;
        while (end < lower.size() && !EndsOfValue(lower[end])) {
            ++end;
        }
        out.append(html, copied, value - copied);
        out += "gb2312";
        copied = end;
        declared = true;
    }
    out.append(html, copied);
    html = std::move(out);
    return declared;
}

// Just after the <head> tag (which may carry attributes), or 0.
size_t AfterHead(const std::string& html) {
    const std::string lower = ToLowerAscii(html);
    for (size_t head = lower.find("<head"); head != std::string::npos;
         head = lower.find("<head", head + 1)) {
        const char next = head + 5 < lower.size() ? lower[head + 5] : '\0';
        if (next == '>' || next == ' ' || next == '\t' || next == '\r' || next == '\n') {
            const size_t close = lower.find('>', head);
            return close == std::string::npos ? lower.size() : close + 1;
        }
    }
    return 0;
}

}  // namespace

bool IsHtmlPageName(std::string_view fileName) {
    return EndsWith(ToLowerAscii(fileName), ".htm") || EndsWith(ToLowerAscii(fileName), ".html");
}

std::string GbPageFromUtf8(std::string_view html) {
    std::string page(html);
    if (!RewriteCharsets(page)) {
        page.insert(AfterHead(page), kContentTypeMeta);
    }
    return Utf8ToGb(page);
}

Result<std::vector<BankPage>> ReadBankPages(const std::string& sourceFolder) {
    std::vector<BankPage> pages;
    std::error_code ec;
    for (const char* folder : kPageFolders) {
        const fs::path root = fs::path(sourceFolder) / folder;
        if (!fs::is_directory(root, ec)) {
            continue;
        }
        std::vector<fs::path> files;
        for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end;
             it.increment(ec)) {
            if (it->is_regular_file(ec)) {
                files.push_back(it->path());
            }
        }
        if (ec) {
            return Error{ErrorCode::FileAccess, Format("%s: cannot list the folder: %s",
                                                       root.c_str(), ec.message().c_str())};
        }
        std::sort(files.begin(), files.end());
        for (const fs::path& file : files) {
            BankPage page;
            page.source = file.string();
            page.relative = (fs::path(folder) / file.lexically_relative(root)).string();
            if (IsHtmlPageName(file.filename().string())) {
                const WholeFile source = ReadWholeFile(file.string());
                if (source.result != FileRead::Read) {
                    return Error{ErrorCode::FileAccess,
                                 Format("%s: cannot read the page: %s", file.c_str(),
                                        std::strerror(source.error))};
                }
                const std::string& bytes = source.bytes;
                if (!IsValidUtf8(bytes)) {
                    return Error{
                        ErrorCode::BadInput,
                        Format("%s: not valid UTF-8 (pages are written in UTF-8)", file.c_str())};
                }
                page.converted = true;
                page.content = GbPageFromUtf8(bytes);
            }
            pages.push_back(std::move(page));
        }
    }
    return pages;
}

Status WriteBankPages(const std::vector<BankPage>& pages, const std::string& dataFolder) {
    std::error_code ec;
    for (const BankPage& page : pages) {
        const fs::path target = fs::path(dataFolder) / page.relative;
        fs::create_directories(target.parent_path(), ec);
        if (page.converted) {
            std::ofstream out(target, std::ios::binary | std::ios::trunc);
            out << page.content;
            out.close();
            if (!out) {
                return {ErrorCode::FileAccess, Format("%s: cannot write the page", target.c_str())};
            }
        } else if (!fs::copy_file(page.source, target, fs::copy_options::overwrite_existing, ec)) {
            return {ErrorCode::FileAccess, Format("%s: cannot copy to %s: %s", page.source.c_str(),
                                                  target.c_str(), ec.message().c_str())};
        }
    }
    return {};
}

}  // namespace quillory

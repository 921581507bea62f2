// The page folders of a bank source ("Question", "Knowledge", "Help"):
// HTML pages are written in UTF-8 and stored in a data file as GB18030 with
// a gb2312 charset declaration; every other file is copied as it is.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/common/result.h"

namespace quillory {

// .htm or .html, any case.
bool IsHtmlPageName(std::string_view fileName);

// A UTF-8 page as it is stored: every charset declared in a meta tag becomes
// gb2312, a page declaring none gets a Content-Type meta tag right after
// <head> (at the very start without a head), and the text is converted to
// GB18030.
std::string GbPageFromUtf8(std::string_view html);

struct BankPage {
    std::string source;    // full path in the bank source
    std::string relative;  // below the data folder, e.g. "Question/200101.html"
    bool converted = false;
    std::string content;  // the converted page; empty for a file copied as it is
};

// Reads every file below the page folders of sourceFolder, converting the
// HTML pages in memory, so that a bad page stops a build before anything is
// written. BadInput for a page that is not UTF-8, FileAccess for one that
// cannot be read; the detail names the file.
Result<std::vector<BankPage>> ReadBankPages(const std::string& sourceFolder);

// Writes the pages below dataFolder, replacing files of the same name.
Status WriteBankPages(const std::vector<BankPage>& pages, const std::string& dataFolder);

}  // namespace quillory

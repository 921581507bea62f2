// The common frame of the analysis pages: a GB2312 file with a fixed head
// and tail, its body collected in memory and written out in pieces of about
// 4 KB as the table rows are made.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace quillory {

class Host;

class AnalysisPage {
public:
    // Creates the file (replacing an old one) and writes the head with the
    // page's title line; an error is reported with the file-error text.
    bool Open(const std::string& path, std::string_view titleLine, Host& host);
    // UTF-8 text for the body.
    void Add(std::string_view text) { text_ += text; }
    // After each table row: the text goes to the file once it passed 4095
    // bytes.
    bool EndRow();
    // Writes the rest and the tail and closes the file.
    bool Close();

private:
    bool Write();

    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, FileCloser> file_;
    std::string path_;
    std::string text_;
    Host* host_ = nullptr;
};

}  // namespace quillory

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
    AnalysisPage() = default;
    AnalysisPage(const AnalysisPage&) = delete;
    AnalysisPage& operator=(const AnalysisPage&) = delete;
    // Removes a staged file that was never put in place.
    ~AnalysisPage();

    // Creates the file (replacing an old one) and writes the head with the
    // page's title line; an error is reported with the file-error text.
    bool Open(const std::string& path, std::string_view titleLine, Host& host);
    // The same into a temporary file beside path, which Publish() puts in
    // place once the page is closed: until then the old page stays whole.
    bool OpenStaged(const std::string& path, std::string_view titleLine, Host& host);
    // UTF-8 text for the body.
    void Add(std::string_view text) { text_ += text; }
    // After each table row: the text goes to the file once it passed 4095
    // bytes.
    bool EndRow();
    // Writes the rest and the tail and closes the file.
    bool Close();
    // A staged page after Close(): replaces the file at path.
    bool Publish();

private:
    bool OpenFile(const std::string& path, const std::string& filePath, const char* mode,
                  std::string_view titleLine, Host& host);
    bool Write();

    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, FileCloser> file_;
    std::string path_;
    std::string filePath_;  // path_, or the staged file while it is written
    std::string text_;
    Host* host_ = nullptr;
};

}  // namespace quillory

#include "core/analysis/analysis_page.h"

#include <cerrno>
#include <cstdio>

#include "core/common/file_error.h"
#include "core/common/gb_encoding.h"
#include "core/host/host.h"

namespace quillory {

namespace {

constexpr size_t kFlushSize = 4095;

}  // namespace

AnalysisPage::~AnalysisPage() {
    if (filePath_ != path_) {
        file_.reset();
        std::remove(filePath_.c_str());
    }
}

bool AnalysisPage::Open(const std::string& path, std::string_view titleLine, Host& host) {
    return OpenFile(path, path, "wb", titleLine, host);
}

bool AnalysisPage::OpenStaged(const std::string& path, std::string_view titleLine, Host& host) {
    // Made afresh ("x": never through a link left under that name), so the
    // staged name needs no check of its own beside the page's.
    const std::string staged = path + ".part";
    std::remove(staged.c_str());
    return OpenFile(path, staged, "wbx", titleLine, host);
}

bool AnalysisPage::OpenFile(const std::string& path, const std::string& filePath, const char* mode,
                            std::string_view titleLine, Host& host) {
    path_ = path;
    filePath_ = filePath;
    host_ = &host;
    file_.reset(std::fopen(filePath.c_str(), mode));
    if (!file_) {
        host.Message(FileErrorText(path, errno), MessageIcon::Error);
        filePath_ = path_;
        return false;
    }
    text_ =
        "<html>\n<head>\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">\n"
        "<meta http-equiv=\"Content-Language\" content=\"zh-cn\">\n";
    text_ += titleLine;
    text_ +=
        "<style type=text/css>\n"
        "td, p, li, input, select {font-size:12px;}\n"
        "</style>\n</head>\n"
        "<body background=\"common/image/bk_knowledge.gif\" bgcolor=\"#FFFFFF\" "
        "text=\"#000000\" link=\"#0000ff\" vlink=\"#000099\" alink=\"#ff0000\">\n"
        "<font face=\"宋体\">\n";
    return true;
}

bool AnalysisPage::Write() {
    const std::string bytes = Utf8ToGb(text_);
    text_.clear();
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) != bytes.size()) {
        host_->Message(FileErrorText(path_, errno), MessageIcon::Error);
        file_.reset();
        return false;
    }
    return true;
}

bool AnalysisPage::EndRow() {
    return text_.size() <= kFlushSize || Write();
}

bool AnalysisPage::Close() {
    text_ += "</font>\n</body>\n</html>\n";
    if (!Write()) {
        return false;
    }
    const bool closed = std::fclose(file_.release()) == 0;
    if (!closed) {
        host_->Message(FileErrorText(path_, errno), MessageIcon::Error);
    }
    return closed;
}

bool AnalysisPage::Publish() {
    if (std::rename(filePath_.c_str(), path_.c_str()) != 0) {
        host_->Message(FileErrorText(path_, errno), MessageIcon::Error);
        return false;
    }
    filePath_ = path_;
    return true;
}

}  // namespace quillory

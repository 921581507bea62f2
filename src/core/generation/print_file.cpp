#include "core/generation/print_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "core/common/file_error.h"
#include "core/common/file_name.h"
#include "core/common/gb_encoding.h"
#include "core/common/local_path.h"
#include "core/common/text.h"
#include "core/common/whole_file.h"
#include "core/generation/page_body.h"
#include "core/host/host.h"
#include "core/pages/composed_target.h"
#include "core/pages/page_text.h"
#include "core/store/data_store.h"

namespace quillory {

namespace {

// A page read whole, in GB bytes whatever its own encoding; pages that are
// not local files of the bank, or cannot be read, are empty.
std::string ReadPageAsGb(const PageLocation& location) {
    if (location.kind != LocationKind::Local) {
        return {};
    }
    std::string page = ReadWholeFile(location.path).bytes;
    const size_t nul = page.find('\0');
    if (nul != std::string::npos) {
        page.resize(nul);
    }
    return DetectPageEncoding(page) == PageEncoding::Utf8 ? Utf8ToGb(page) : page;
}

struct ItemPages {
    std::string page;
    std::string answer;
};

// The locations of one item; nothing when its row cannot be read.
std::optional<ItemPages> ItemLocations(DataStore& store, const PaperNode& node) {
    auto rows = store.Query(node.questionId != 0
                                ? Format("select * from Question where ID=%d", node.questionId)
                                : Format("select * from Paper where ID=%d", node.id));
    if (!rows || rows->AtEnd()) {
        return std::nullopt;
    }
    return ItemPages{rows->Text("Url"), node.questionId != 0 ? rows->Text("AnswerUrl") : ""};
}

// The head styles of the pages merged, once each, their stylesheet links
// pointing from the print file's folder (Question) at the files the pages
// name.
class PrintStyles {
public:
    void Add(const std::string& page, const std::string& pageLocation) {
        for (std::string style : HeadStyles(page)) {
            if (const std::optional<AttributeValue> href = HrefOf(style)) {
                style.replace(href->at, href->value.size(),
                              FromPrintFolder(href->value, pageLocation));
            }
            if (std::find(styles_.begin(), styles_.end(), style) == styles_.end()) {
                styles_.push_back(std::move(style));
            }
        }
    }
    std::string Text() const {
        std::string text;
        for (const std::string& style : styles_) {
            text += style + "\n";
        }
        return text;
    }

private:
    static std::string FromPrintFolder(const std::string& href, const std::string& pageLocation) {
        const std::string target = GbToUtf8(href);
        if (!IsLocalPath(target) || target.front() == '/' ||
            target.find(':') != std::string::npos) {
            return href;
        }
        std::string located = LocationBeside(pageLocation, Trim(target));
        std::replace(located.begin(), located.end(), '\\', '/');
        const std::string relative = std::filesystem::path(located)
                                         .lexically_normal()
                                         .lexically_relative("Question")
                                         .generic_string();
        return relative.empty() ? href : Utf8ToGb(relative);
    }

    std::vector<std::string> styles_;
};

}  // namespace

std::optional<PrintRange> FindPrintRange(const PaperNodeList& nodes, int currentItemId) {
    const int first = nodes.IndexOf(currentItemId);
    if (first < 0) {
        return std::nullopt;
    }
    PrintRange range{static_cast<size_t>(first), static_cast<size_t>(first) + 1};
    while (range.end < nodes.Size() && nodes.IsUnder(nodes[range.end].id, currentItemId)) {
        ++range.end;
    }
    return range;
}

std::string ComposePrintFile(PageContext& context, const PaperNodeList& nodes, PrintRange range,
                             bool withAnswers, Progress& progress) {
    const std::string path =
        FileInFolder(context.dataFolder + "/Question", nodes[range.first].title + ".htm");
    if (!MayWriteComposedFile(context, path)) {
        return {};
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        context.host.Message(FileErrorText(path, errno), MessageIcon::Error);
        return {};
    }
    // The body is written after the head, which takes the pages' styles.
    std::string body;
    PrintStyles styles;
    const std::string answerHeading = Utf8ToGb("答案与分析");
    std::string lastFrameSource;
    for (size_t i = range.first; i < range.end; ++i) {
        const PaperNode& node = nodes[i];
        progress.SetText("打印试卷项..." + node.title);
        progress.StepIt();
        progress.PeekAndPump(false);

        const std::optional<ItemPages> locations = ItemLocations(context.store, node);
        if (!locations) {
            context.host.Message("无法读取试卷项: " + node.title, MessageIcon::Error);
            break;
        }
        const PageLocation pageLocation = ResolveLocation(context.dataFolder, locations->page);
        std::string page = ReadPageAsGb(pageLocation);
        styles.Add(page, pageLocation.address);
        const std::string title = Utf8ToGb(node.title);
        ReplaceAll(page, Utf8ToGb("[标题]"), title);
        ReplaceAll(page, Utf8ToGb("[试题]"), title);

        InlineFrame frame = TakeInlineFrame(PageBody(page));
        if (frame.found && frame.source != lastFrameSource) {
            lastFrameSource = frame.source;
            const std::string frameLocation =
                LocationBeside(pageLocation.address, GbToUtf8(frame.source));
            const std::string framePage =
                ReadPageAsGb(ResolveLocation(context.dataFolder, frameLocation));
            styles.Add(framePage, frameLocation);
            body += PageBody(framePage);
        }
        body += frame.bodyWithout;

        if (withAnswers && !locations->answer.empty()) {
            const PageLocation answerLocation =
                ResolveLocation(context.dataFolder, locations->answer);
            const std::string answerPage = ReadPageAsGb(answerLocation);
            styles.Add(answerPage, answerLocation.address);
            std::string answer = PageBody(answerPage);
            ReplaceAll(answer, answerHeading, "");
            body += answer;
        }
    }
    // The pages are GB2312; saying so lets any browser read the file right.
    out << "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
        << "<title>" << Utf8ToGb("穹岚") << "</title>" << styles.Text() << "</head><body>\n"
        << body << "</body></html>\n";
    out.close();
    if (!out) {
        context.host.Message(FileErrorText(path, errno), MessageIcon::Error);
    }
    return path;
}

}  // namespace quillory

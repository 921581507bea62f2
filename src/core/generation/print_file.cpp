#include "core/generation/print_file.h"

#include <cerrno>
#include <cstring>
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
    auto rows = store.Query(node.tag != 0 ? Format("select * from Question where ID=%d", node.tag)
                                          : Format("select * from Paper where ID=%d", node.id));
    if (!rows || rows->AtEnd()) {
        return std::nullopt;
    }
    return ItemPages{rows->Text("Url"), node.tag != 0 ? rows->Text("AnswerUrl") : ""};
}

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
    // The pages are GB2312; saying so lets any browser read the file right.
    out << "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
        << "<title>" << Utf8ToGb("穹岚") << "</title></head><body>\n";

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
        const std::string title = Utf8ToGb(node.title);
        ReplaceAll(page, Utf8ToGb("[标题]"), title);
        ReplaceAll(page, Utf8ToGb("[试题]"), title);

        InlineFrame frame = TakeInlineFrame(PageBody(page));
        if (frame.found && frame.source != lastFrameSource) {
            lastFrameSource = frame.source;
            out << PageBody(ReadPageAsGb(ResolveLocation(
                context.dataFolder, LocationBeside(pageLocation.address, GbToUtf8(frame.source)))));
        }
        out << frame.bodyWithout;

        if (withAnswers && !locations->answer.empty()) {
            std::string answer =
                PageBody(ReadPageAsGb(ResolveLocation(context.dataFolder, locations->answer)));
            ReplaceAll(answer, answerHeading, "");
            out << answer;
        }
    }
    out << "</body></html>\n";
    out.flush();
    if (!out) {
        context.host.Message(FileErrorText(path, errno), MessageIcon::Error);
    }
    return path;
}

}  // namespace quillory

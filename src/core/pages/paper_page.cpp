#include "core/pages/paper_page.h"

#include "core/common/local_path.h"
#include "core/common/text.h"
#include "core/host/host.h"
#include "core/pages/page_file.h"
#include "core/pages/page_text.h"
#include "core/store/data_store.h"

namespace quillory {

void ShowPaperPage(PageContext& context, int paperId) {
    std::string url;
    std::string title;
    {
        auto rows = context.store.Query(Format("select * from Paper where ID=%d", paperId));
        if (!rows) {
            return;
        }
        if (rows->AtEnd()) {
            context.host.Message("试题ID没有找到！", MessageIcon::Error);
            return;
        }
        url = Trim(rows->Text("Url"));
        title = rows->Text("Title");
    }
    if (url.empty()) {
        return;
    }
    if (!IsLocalPath(url)) {
        context.host.Navigate(url);
        return;
    }
    const std::string source = ResolveLocalPath(context.dataFolder, url);
    if (!CheckSourceInDataFolder(context, source)) {
        return;
    }
    std::optional<std::string> page = ReadSourcePage(source, context.host);
    if (!page) {
        return;
    }
    if (!title.empty()) {
        ReplaceFirstPlaceholder(*page, DetectPageEncoding(*page), "[标题]", title);
    }
    const std::string path = ComposedPagePath(source);
    if (WriteComposedPage(path, *page, context.host)) {
        ShowComposedPage(path, context.host);
    }
}

}  // namespace quillory

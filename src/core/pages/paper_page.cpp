#include "core/pages/paper_page.h"

#include "core/common/text.h"
#include "core/host/host.h"
#include "core/pages/page_text.h"
#include "core/pages/source_page.h"
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
        url = rows->Text("Url");
        title = rows->Text("Title");
    }
    ShowSourcePage(context, url, [&](std::string& page, PageEncoding encoding) {
        if (!title.empty()) {
            ReplaceFirstPlaceholder(page, encoding, "[标题]", title);
        }
        return true;
    });
}

}  // namespace quillory

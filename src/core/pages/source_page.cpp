#include "core/pages/source_page.h"

#include <optional>

#include "core/common/local_path.h"
#include "core/host/host.h"
#include "core/pages/composed_target.h"
#include "core/pages/page_file.h"

namespace quillory {

void ShowSourcePage(PageContext& context, std::string_view location, const PageEdit& edit) {
    const PageLocation source = ResolveLocation(context.dataFolder, location);
    switch (source.kind) {
        case LocationKind::None:
            return;
        case LocationKind::Remote:
            context.host.Navigate(source.address);
            return;
        case LocationKind::Outside:
            context.host.Message("无法打开文件" + source.path, MessageIcon::Error);
            return;
        case LocationKind::Local:
            break;
    }
    const std::string path = ComposedPagePath(source.path);
    if (!MayWriteComposedFile(context, path)) {
        return;
    }
    std::optional<std::string> page = ReadSourcePage(source.path, context.host);
    if (!page || !edit(*page, DetectPageEncoding(*page))) {
        return;
    }
    if (WriteComposedPage(path, *page, context.host)) {
        ShowComposedPage(path, context.host);
    }
}

}  // namespace quillory

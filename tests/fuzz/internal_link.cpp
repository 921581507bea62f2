// Any address the content view may be asked to open, into any frame.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/common/internal_link.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quillory;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // A first byte of 0 stands for a navigation into a named frame.
    const bool framed = !input.empty() && input[0] == '\0';
    const NavigationDecision decision =
        DecideNavigation(framed ? input.substr(1) : input, framed ? "main" : "");
    if (decision.action == NavigationAction::Dispatch) {
        const InternalLink& link = decision.link;
        if (link.kind == LinkKind::HistoryAnalysis) {
            MakeHistoryLink(link.id, link.second);
        } else {
            MakeLink(link.kind, link.id, link.label);
        }
    }
    ParseInternalLink(input);
    return 0;
}

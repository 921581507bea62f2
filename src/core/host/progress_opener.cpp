#include "core/host/progress_opener.h"

namespace quillory {

namespace {

class NoProgress final : public Progress {
public:
    void SetRange(int, int, int) override {}
    void SetText(const std::string&) override {}
    void StepIt() override {}
    void SetPos(int) override {}
    bool PeekAndPump(bool) override { return true; }
};

}  // namespace

std::unique_ptr<Progress> OpenProgress(const ProgressOpener& opener, const std::string& caption) {
    std::unique_ptr<Progress> progress = opener ? opener(caption) : nullptr;
    return progress ? std::move(progress) : std::make_unique<NoProgress>();
}

}  // namespace quillory

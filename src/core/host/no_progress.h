// The progress display of an operation nobody watches: the tool's, the
// benchmarks', and a build opened without a window.
#pragma once

#include <string>

#include "core/host/host.h"

namespace quillory {

class NoProgress final : public Progress {
public:
    void SetRange(int, int, int) override {}
    void SetText(const std::string&) override {}
    void StepIt() override {}
    void SetPos(int) override {}
    bool PeekAndPump(bool) override { return true; }
};

}  // namespace quillory

// A Progress that records its texts and steps, for tests.
#pragma once

#include <string>
#include <vector>

#include "core/host/host.h"

namespace quillory::testing {

class RecordingProgress : public Progress {
public:
    void SetRange(int from, int to, int by) override {
        lower = from;
        upper = to;
        step = by;
    }
    void SetText(const std::string& text) override { texts.push_back(text); }
    void StepIt() override { position += step; }
    void SetPos(int value) override { position = value; }
    bool PeekAndPump(bool) override {
        ++pumps;
        return !cancelled;
    }

    int lower = 0;
    int upper = 100;
    int step = 1;
    int position = 0;
    int pumps = 0;
    bool cancelled = false;
    std::vector<std::string> texts;
};

}  // namespace quillory::testing

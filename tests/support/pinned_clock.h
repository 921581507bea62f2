// A clock that always tells the same local time, so a test pins "now".
#pragma once

#include "core/host/host.h"

namespace quillory::testing {

class PinnedClock final : public Clock {
public:
    explicit PinnedClock(const DateTime& now = {2026, 3, 14, 9, 26, 53}) : now_(now) {}
    DateTime Now() override { return now_; }

private:
    DateTime now_;
};

}  // namespace quillory::testing

// The local date and time of the machine, for whatever the core dates.
#pragma once

#include "core/host/host.h"

class CQtClock : public quillory::Clock {
public:
    quillory::DateTime Now() override;
};

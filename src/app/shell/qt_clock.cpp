#include "shell/qt_clock.h"

#include "core/store/date_time.h"

quillory::DateTime CQtClock::Now() {
    return quillory::LocalNow();
}

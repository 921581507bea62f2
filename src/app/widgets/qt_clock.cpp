#include "widgets/qt_clock.h"

#include <QDateTime>

quillory::DateTime CQtClock::Now() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
}

#include "widgets/renderer_process.h"

#include <QByteArray>
#include <QList>
#include <QtGlobal>

void ShareRendererProcess() {
    static constexpr char kFlagsVariable[] = "QTWEBENGINE_CHROMIUM_FLAGS";
    static constexpr char kProcessPerSite[] = "--process-per-site";
    QByteArray flags = qgetenv(kFlagsVariable);
    if (flags.split(' ').contains(kProcessPerSite)) {
        return;
    }
    if (!flags.isEmpty()) {
        flags += ' ';
    }
    qputenv(kFlagsVariable, flags + kProcessPerSite);
}

// The program's own application object, which the test's main() made: for
// the tests of start-up and of the whole program, which drive it as main()
// does.
#pragma once

#include <QCoreApplication>

#include "shell/quillory_app.h"

namespace quillory::testing {

inline CQuilloryApp& ProgramApp() {
    return *qobject_cast<CQuilloryApp*>(QCoreApplication::instance());
}

}  // namespace quillory::testing

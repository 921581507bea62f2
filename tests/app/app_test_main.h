// main() for the GUI tests: the application object is the program's own, so
// windows find their skin, settings and fonts as in the program. Settings go
// to a fresh configuration folder that is removed afterwards.
#pragma once

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "program_app.h"
#include "widgets/fonts.h"

#define QUILLORY_APP_TEST_MAIN(TestClass)                              \
    int main(int argc, char** argv) {                                  \
        QTemporaryDir configFolder;                                    \
        qputenv("XDG_CONFIG_HOME", configFolder.path().toLocal8Bit()); \
        PrepareFontConfig();                                           \
        CQuilloryApp app(argc, argv);                                  \
        TestClass test;                                                \
        QTEST_SET_MAIN_SOURCE_PATH                                     \
        return QTest::qExec(&test, argc, argv);                        \
    }

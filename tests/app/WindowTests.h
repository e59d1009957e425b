// The window's test classes share one program, which builds and links Qt's
// headers and libraries once; its first argument names the class to run.
#pragma once

#include <QTest>

namespace quorvel::testing {

using WindowTestRun = int (*)(int argc, char** argv);
bool registerWindowTest(const char* name, WindowTestRun run);

}  // namespace quorvel::testing

// In place of QTEST_MAIN(Class).
#define QUORVEL_WINDOW_TEST(Class)                                                                            \
    namespace {                                                                                               \
    const bool registered##Class = ::quorvel::testing::registerWindowTest(#Class, [](int argc, char** argv) { \
        Class test;                                                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                                                            \
        return QTest::qExec(&test, argc, argv);                                                               \
    });                                                                                                       \
    }

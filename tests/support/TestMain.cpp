#include "TestEnvironment.h"
#include "core/support/Log.h"

#include <gtest/gtest.h>

#include <cstdlib>

#ifdef QUILLORA_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

int main(int argc, char** argv)
{
    TestEnvironment::setUpPrivateHome();
    // The debug file's test asks for it itself; elsewhere a developer's setting would only add lines.
    ::unsetenv("QUILLORA_DEBUG_LOG");
    TestApplication app(argc, argv);
    // As in the program, so that tests see the channels it writes (LogCapture replaces them).
    Log::install();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

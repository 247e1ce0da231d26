#include "platform/Heap.h"
#include "platform/window/Application.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    // The tests print as the program does, with its allocator settings.
    platform::HoldHeapAcrossPages();
    // Tests never need a display: windows are built and driven offscreen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::Application app(argc, argv);
    QApplication::setApplicationName("Pravolis");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

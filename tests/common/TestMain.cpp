#include "platform/Heap.h"
#include "platform/Paths.h"
#include "platform/window/Application.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

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
    // The program writes beside its executable; for the tests that would be the build folder, so
    // the whole run gets a folder of its own that goes away with it.
    QTemporaryDir programFolder;
    if (!programFolder.isValid())
        return EXIT_FAILURE;
    platform::setProgramFolder(programFolder.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

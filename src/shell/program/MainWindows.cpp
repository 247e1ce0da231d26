#include "MainWindows.h"

#include "station/window/TModEtik.h"

#include <QCoreApplication>
#include <QFileInfo>

MainWindows::~MainWindows()
{
    while (!m_windows.empty())
        m_windows.pop_back();
}

std::unique_ptr<MainWindows> CreateMainWindows()
{
    auto windows = std::make_unique<MainWindows>();
    // The control station comes first and so becomes the main window; its creation sets the
    // language every later window starts in. The other windows follow in their order as they
    // are built.
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString settings = programFolder + u'/'
                             + QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName()
                             + QStringLiteral(".ini");
    auto* station = windows->Add(std::make_unique<station::TModEtik>(programFolder, settings));
    station->FormCreate();
    return windows;
}

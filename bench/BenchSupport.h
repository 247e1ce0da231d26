#pragma once

// What every benchmark program needs: the program's allocator settings, peak memory and a window
// system to run on.

#include "platform/Heap.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstring>

namespace bench {

// The first argument of a benchmark started again by runWithGlibcHeap().
inline constexpr char GlibcHeapFlag[] = "--glibc-heap";

// Called first in every benchmark's main(): the benchmarks measure the program as it runs, with its
// allocator settings, except in a child started by runWithGlibcHeap(), which keeps glibc's
// defaults. True in that child.
inline bool takeProgramHeap(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], GlibcHeapFlag) == 0)
        return true;
    platform::HoldHeapAcrossPages();
    return false;
}

// Runs this benchmark again as a child with glibc's default allocator settings: the flag, then
// `args`; glibc's own environment settings are taken out of its environment, so that nothing but
// the defaults applies. Returns what the child wrote to its standard output; a child that fails
// ends the benchmark.
inline QByteArray runWithGlibcHeap(const QStringList& args)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& name : env.keys())
        if (name.startsWith(QLatin1String("MALLOC_")) || name == QLatin1String("GLIBC_TUNABLES"))
            env.remove(name);
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), QStringList{QString::fromLatin1(GlibcHeapFlag)} + args);
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        qFatal("the child run with glibc's heap defaults failed: %s", qPrintable(child.errorString()));
    return child.readAllStandardOutput();
}

// A memory figure of the process from /proc/self/status ("VmHWM:", "VmRSS:") in kB, -1 where it
// cannot be read (Linux only).
inline long statusKb(const char* key)
{
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).trimmed().split(' ').first().toLong();
    return -1;
}

// Peak resident memory of the process in kB.
inline long peakKb()
{
    return statusKb("VmHWM:");
}

// Resident memory of the process now, in kB.
inline long rssKb()
{
    return statusKb("VmRSS:");
}

inline void resetPeak()
{
    QFile f("/proc/self/clear_refs");
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

// Without a display the windows are shown offscreen, so a window benchmark runs anywhere.
inline void offscreenWithoutDisplay()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// The window benchmarks' arguments: a count, and "--grab <file>" for a picture of the window.
struct WindowBenchArgs {
    int count;
    QString grab;
};

inline WindowBenchArgs windowBenchArgs(int argc, char** argv, int defaultCount)
{
    WindowBenchArgs args{defaultCount, {}};
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QStringLiteral("--grab") && i + 1 < argc)
            args.grab = QString::fromLocal8Bit(argv[++i]);
        else
            args.count = std::max(1, arg.toInt());
    }
    return args;
}

} // namespace bench

#pragma once

// What every benchmark program needs: peak memory and a window system to run on.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <algorithm>

namespace bench {

// Peak resident memory of the process in kB, -1 where it cannot be read (Linux only).
inline long peakKb()
{
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
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

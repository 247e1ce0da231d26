// Reading hostile-sized files: a settings file of 600 KB in many sections and keys, and a
// translation table of 200,000 rows that claims 255 languages (and one that claims 7). Prints the time and the peak
// memory of each read; both must grow with the file, not with its square or its claims.
//   bench_readers [scale=1]   (scale multiplies the sizes)
#include "MultiLang/TranslationTable.h"
#include "platform/Errors.h"
#include "platform/TIniFile.h"

#include "BenchSupport.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>

namespace {


void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        std::exit(1);
}

void settings(const QTemporaryDir& dir, int scale)
{
    // Half the bytes in sections of one key, half in one section of many keys: the two ways a
    // reader that searches what it has read so far turns quadratic.
    QByteArray text;
    const int sections = 10000 * scale;
    const int keys = 20000 * scale;
    for (int s = 0; s < sections; ++s)
        text += "[Section " + QByteArray::number(s) + "]\r\nk=" + QByteArray::number(s) + "\r\n";
    text += "[Big]\r\n";
    for (int k = 0; k < keys; ++k)
        text += "Key" + QByteArray::number(k) + "=" + QByteArray::number(k) + "\r\n";
    const QString path = dir.filePath("big.ini");
    write(path, text);
    QElapsedTimer t;
    t.start();
    const platform::TIniFile ini(path);
    const int found = static_cast<int>(ini.ReadSections().size() + ini.ReadSection("big").size());
    std::printf("settings file   %7.0f KB  %6d sections, %6d keys  read in %6.3f s  peak RSS %6.1f MB  (%d names)\n",
                text.size() / 1024.0, sections + 1, sections + keys, t.elapsed() / 1000.0, bench::peakKb() / 1024.0,
                found);
}

void translation(const QTemporaryDir& dir, int scale, int languages)
{
    const int rows = 200000 * scale;
    QByteArray text = "!Languages\t" + QByteArray::number(languages) + "\r\n";
    for (int r = 0; r < rows; ++r)
        text += "Key" + QByteArray::number(r) + "\tun\tone\r\n";
    const QString path = dir.filePath("big.txt");
    write(path, text);
    QElapsedTimer t;
    t.start();
    QString outcome;
    try {
        const TranslationTable table = readTranslationTable(path);
        outcome = QStringLiteral("%1 words").arg(table.Words.size());
    } catch (const std::exception& e) {
        outcome = QStringLiteral("refused: %1").arg(QString::fromLocal8Bit(e.what()).left(60));
    }
    std::printf("translation     %7.0f KB  %6d rows claiming %3d languages  read in %6.3f s  peak RSS %6.1f MB  (%s)\n",
                text.size() / 1024.0, rows, languages, t.elapsed() / 1000.0, bench::peakKb() / 1024.0, qPrintable(outcome));
}

} // namespace

int main(int argc, char** argv)
{
    bench::takeProgramHeap(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int scale = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    QTemporaryDir dir;
    settings(dir, scale);
    translation(dir, scale, 255);
    translation(dir, scale, 7);
    return 0;
}

// Start-up of the control station with many designs: builds the station, reads its settings,
// shows it and fills the model list (each design's header read, the first one's thumbnail drawn),
// without the splash screen's wait. Prints the time; the goal is under 300 ms for 200 designs.
//   bench_startup [designs=200] [--grab picture.png]   (the window as shown, for a look)
#include "design/DesignFileFormat.h"
#include "design/DesignModel.h"
#include "platform/TextFile.h"
#include "platform/window/Application.h"
#include "station/window/TModEtik.h"
#include "ui_TModEtik.h"

#include "BenchSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

// Badges of a few sizes and sheets: a frame, a name, a line of text, some round.
void makeDesigns(const QString& folder, int count)
{
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i) {
        design::TCurrentFormat format;
        const bool round = i % 5 == 4;
        format.NomFormat = round ? QStringLiteral("Round 50") : QStringLiteral("Badge %1 x 54").arg(70 + i % 3 * 10);
        format.LargeurEtiquette = round ? 5000 : 7000 + i % 3 * 1000;
        format.HauteurEtiquette = round ? 5000 : 5400;
        format.NbColonnes = round ? 3 : 2;
        format.NbLignes = round ? 5 : 5;
        format.MargeGauche = 1000;
        format.MargeHaut = 1500;
        format.EcartHorizontal = 500;
        format.EcartVertical = 0;
        format.EtiquetteRonde = round;
        design::TDesignModel model(format);
        const int w = format.LargeurEtiquette * 96 / 2540;
        const int h = format.HauteurEtiquette * 96 / 2540;
        model.LargeurEtiquettePx = w;
        model.HauteurEtiquettePx = h;
        if (!round)
            model.AddShape(6, 6, design::stRoundRect, 2, platform::psSolid, 0x00804000,
                           platform::bsClear, 0x00FFFFFF, h - 12, w - 12, false);
        model.AddLabel(round ? 40 : 20, round ? 60 : 30, true, {platform::fsBold}, 0x00400000, 14,
                       QStringLiteral("Liberation Sans"), -19, 0x00FFFFFF,
                       QStringLiteral("Model %1").arg(i + 1), design::taLeftJustify, 0, 0, false);
        model.AddLabel(round ? 40 : 20, round ? 90 : 70, true, {}, 0x00000000, 9,
                       QStringLiteral("Liberation Sans"), -12, 0x00FFFFFF,
                       QStringLiteral("Printed on <Date1>"), design::taLeftJustify, 0, 0, false);
        design::SaveDesign(model, QStringLiteral("%1/Model %2.car").arg(folder).arg(i + 1, 3, 10, QLatin1Char('0')),
                           design::TDesignScope::WholeDesign);
    }
}

} // namespace

int main(int argc, char** argv)
{
    bench::takeProgramHeap(argc, argv);
    bench::offscreenWithoutDisplay();
    platform::Application app(argc, argv);
    const bench::WindowBenchArgs args = bench::windowBenchArgs(argc, argv, 200);
    const int count = args.count;
    const QString grab = args.grab;
    QTemporaryDir dir;
    makeDesigns(dir.filePath(QStringLiteral("perso")), count);
    // A second start: no welcome box, a window of its own size.
    platform::writeFileAtomically(dir.filePath(QStringLiteral("pravolis.ini")),
                                  "[MainW]\r\nMaxi=0\r\nw=960\r\nh=720\r\nx=0\r\ny=0\r\n"
                                  "[Options]\r\nFirstTime=0\r\n");

    QElapsedTimer timer;
    timer.start();
    station::TModEtik station(station::TStationFolders::Resolve(dir.path(), dir.filePath(QStringLiteral("user"))),
                              dir.filePath(QStringLiteral("pravolis.ini")));
    station.FormCreate();
    station.show();
    QCoreApplication::processEvents();
    const qint64 ms = timer.elapsed();
    std::printf("station shown with %d designs listed: %lld ms (goal: under 300 ms for 200)\n",
                station.ui->ListBox->count(), static_cast<long long>(ms));
    if (!grab.isEmpty()) {
        station.ui->ListBox->setCurrentRow(std::min(4, station.ui->ListBox->count() - 1));
        QCoreApplication::processEvents();
        station.grab().save(grab);
    }
    station.close();
    return station.ui->ListBox->count() == count ? 0 : 1;
}

// The design window on a large design: opens a design of 200 objects of every kind and draws it
// on screen, then drags the selection frame over it (one drag of 100 pointer moves, and 100
// whole drags), counting how many object views each move repaints. Prints one line per figure;
// the goal is under 100 ms to open and draw 200 objects.
//   bench_design_window [objects=200] [--grab picture.png]   (the window as shown, for a look)
#include "design/DesignDocument.h"
#include "design/DesignFileFormat.h"
#include "design/DesignModel.h"
#include "design/window/TForm1.h"
#include "design/window/TStretchHandle.h"
#include "MultiLang/MLBase.h"
#include "platform/window/Application.h"
#include "station/Station.h"
#include "ui_TForm1.h"

#include "BenchSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <cstdio>

using namespace design;

namespace {

// Objects of every kind laid out in rows over a 190 x 270 mm label.
void makeDesign(const QString& path, const QString& imagesFolder, int count)
{
    TCurrentFormat format{"Poster", 19000, 27000, 1, 1, 0, 0, 1000, 1350, false, false};
    TDesignModel model(format);
    model.LargeurEtiquettePx = 718;
    model.HauteurEtiquettePx = 1020;
    QDir().mkpath(imagesFolder);
    QImage picture(120, 80, QImage::Format_RGB32);
    picture.fill(QColor(90, 140, 200));
    picture.save(imagesFolder + "/sky.bmp");
    model.ProgramFolder = QFileInfo(imagesFolder).path();
    for (int i = 0; i < count; ++i) {
        const int x = 10 + (i % 8) * 88 + (i % 8 == 7 ? 20 : 0);
        const int y = 10 + (i / 8) * 40;
        switch (i % 8) {
        case 0:
            model.AddLabel(x, y, false, {platform::fsBold}, platform::clBlack, 9, "Arial", -12, platform::clWhite,
                           QStringLiteral("Name %1").arg(i), taLeftJustify, 0, 80, false);
            break;
        case 1:
            model.AddShape(x, y, static_cast<TShapeType>(i % 3), 1, platform::psSolid, platform::clBlack,
                           platform::bsSolid, 0x00E0F0FF, 30, 80, false);
            break;
        case 2:
            PlaceLine(model, x, y + 10);
            break;
        case 3:
            model.AddRotateLabel(x, y, true, {}, platform::clBlack, 8, "Arial", -11, platform::clWhite, 30,
                                 QStringLiteral("Tilt %1").arg(i), 0, 0, false);
            break;
        case 4:
            model.AddMemo(x, y, bsSingle, {}, platform::clBlack, 8, "Arial", -11, platform::clWhite,
                          {QStringLiteral("Line one %1").arg(i), QStringLiteral("<Nom>")}, taLeftJustify, 34, 84,
                          false);
            break;
        case 5:
            model.AddCircleLabel(x, y, true, {}, platform::clBlack, 7, "Arial", -9, 300, 120, QStringLiteral("Round text"),
                                 34, 34, false);
            break;
        case 6:
            model.AddBarcode(x, y, 60, "Arial", true, false, QString(), barcode::rotate_000, barcode::CODE128_B,
                             QStringLiteral("PRV%1").arg(i, 5, 10, QLatin1Char('0')), 30, barcode::SC1, false);
            break;
        default:
            model.AddImage(x, y, 0, true, QStringLiteral("sky.bmp"), true, false, false, 34, 50, false);
            break;
        }
    }
    SaveDesign(model, path, TDesignScope::WholeDesign);
}

double ms(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e6;
}

// Counts the paint events of the surface's object views.
class PaintCounter : public QObject {
public:
    int Paints = 0;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->parent() != nullptr
            && watched->parent()->objectName() == QLatin1String("Feuille") && watched->objectName() != "SH")
            ++Paints;
        return false;
    }
};

} // namespace

int main(int argc, char** argv)
{
    bench::takeProgramHeap(argc, argv);
    bench::offscreenWithoutDisplay();
    platform::Application app(argc, argv);
    SetGlobalLanguage(1); // English, as the station sets it
    const bench::WindowBenchArgs args = bench::windowBenchArgs(argc, argv, 200);
    const int count = args.count;
    const QString grab = args.grab;
    QTemporaryDir dir;
    station::TStation station(station::TStationFolders::Resolve(dir.path(), dir.filePath("user"), true),
                              dir.filePath("pravolis.ini"));
    station.Start(QSize(1280, 1024), dir.path());
    const QString path = dir.filePath("perso/Poster.car");
    makeDesign(path, dir.filePath("images"), count);

    TForm1 form(station);
    form.resize(1200, 900);
    form.move(0, 0);
    form.show();
    QCoreApplication::processEvents();

    QElapsedTimer timer;
    timer.start();
    form.OpenDesign(path);
    form.repaint(); // every view drawn now, as the screen shows it
    QCoreApplication::processEvents();
    std::printf("open and draw %d objects: %.1f ms (goal: under 100 ms for 200)\n", form.Model().Count(), ms(timer));

    timer.restart();
    for (int i = 0; i < 10; ++i)
        form.repaint();
    std::printf("redraw of the whole window: %.1f ms\n", ms(timer) / 10);

    // The frame around one object in the middle of the design, then dragged about.
    TDesignObject* target = form.Model().Object(form.Model().Count() / 2);
    form.Select(target, false);
    QCoreApplication::processEvents();
    QWindow* window = form.windowHandle();
    const auto at = [&](QPoint surface) { return form.ui->Feuille->mapTo(&form, surface); };
    PaintCounter counter;
    app.installEventFilter(&counter);

    const QPoint grip(target->Left + 4, target->Top + 4);
    QTest::mouseMove(window, at(grip));
    QTest::mousePress(window, Qt::LeftButton, {}, at(grip));
    counter.Paints = 0;
    timer.restart();
    for (int i = 1; i <= 100; ++i) {
        QTest::mouseMove(window, at(grip + QPoint(i, i / 2)));
        QCoreApplication::processEvents(); // what the move asked to repaint, painted
    }
    const double dragMs = ms(timer);
    const int dragPaints = counter.Paints;
    QTest::mouseRelease(window, Qt::LeftButton, {}, at(grip + QPoint(100, 50)));
    std::printf("one drag, 100 pointer moves: %.2f ms per move, %.2f object views repainted per move\n",
                dragMs / 100, dragPaints / 100.0);

    counter.Paints = 0;
    timer.restart();
    for (int i = 0; i < 100; ++i) {
        const QPoint from(target->Left + 4, target->Top + 4);
        const QPoint to = from + QPoint(i % 2 == 0 ? 7 : -7, i % 2 == 0 ? 5 : -5);
        QTest::mouseMove(window, at(from));
        QTest::mousePress(window, Qt::LeftButton, {}, at(from));
        QTest::mouseMove(window, at(to));
        QTest::mouseRelease(window, Qt::LeftButton, {}, at(to));
        QCoreApplication::processEvents();
    }
    std::printf("100 whole drags of the frame (press, move, release, redraw): %.2f ms each, %.2f object views "
                "repainted each\n",
                ms(timer) / 100, counter.Paints / 100.0);
    app.removeEventFilter(&counter);

    // Every object selected one after the other (as a rubber band over the whole label does),
    // then the whole selection dragged: the frame works out where it takes presses each time.
    timer.restart();
    form.Select(form.Model().Object(0), false);
    for (int i = 1; i < form.Model().Count(); ++i)
        form.Select(form.Model().Object(i), true);
    QCoreApplication::processEvents();
    std::printf("select all %d objects: %.1f ms\n", form.Model().Count(), ms(timer));
    const QPoint all(target->Left + 4, target->Top + 4);
    QTest::mouseMove(window, at(all));
    QTest::mousePress(window, Qt::LeftButton, {}, at(all));
    timer.restart();
    for (int i = 1; i <= 20; ++i) {
        QTest::mouseMove(window, at(all + QPoint(i, i / 2)));
        QCoreApplication::processEvents();
    }
    const double allMs = ms(timer);
    QTest::mouseRelease(window, Qt::LeftButton, {}, at(all + QPoint(20, 10)));
    QCoreApplication::processEvents();
    std::printf("drag of the whole selection, 20 pointer moves: %.2f ms per move\n", allMs / 20);

    if (!grab.isEmpty())
        form.grab().save(grab);
    form.Model().Modifie = false;
    form.close();
    return form.Model().Count() == count ? 0 : 1;
}

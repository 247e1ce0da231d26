// Drawing throughput of the canvas into a PDF: address-label-like content (a fitted name, two
// address lines, forty bars, a turned text, clipping) for 10,000 labels, 30 per A4 page.
#include "BenchSupport.h"

#include "platform/PdfPrinter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <cstdio>

using namespace platform;

namespace {

void drawLabel(TCanvas& c, int i, int x, int y)
{
    TClipGuard clip(c, Rect(x, y, x + 780, y + 320));
    c.Pen.SetColor(clBlack);
    c.Pen.SetStyle(psDot);
    c.Brush.SetStyle(bsClear);
    c.Rectangle(x, y, x + 780, y + 320);
    c.Pen.SetStyle(psSolid);
    c.Font.SetName("Arial");
    c.Font.SetStyle({fsBold});
    const QString name = QStringLiteral("Mr John Smith-Fitzgerald %1").arg(i);
    // Shrink until it fits, as the renderer does.
    for (int size = 60; size > 12; size -= 4) {
        c.Font.SetHeight(-size);
        TRect r = Rect(x + 10, y + 10, x + 500, y + 100);
        c.DrawText(name, r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        if (r.Width() <= 490 && r.Height() <= 90)
            break;
    }
    TRect r = Rect(x + 10, y + 10, x + 500, y + 100);
    c.DrawText(name, r, DT_WORDBREAK | DT_NOPREFIX);
    c.Font.SetStyle({});
    c.Font.SetHeight(-30);
    c.TextOut(x + 10, y + 110, QStringLiteral("12 rue des Lilas"));
    c.TextOut(x + 10, y + 150, QStringLiteral("75%1 Paris").arg(i % 100, 3, 10, QLatin1Char('0')));
    c.Brush.SetColor(clBlack);
    for (int b = 0; b < 40; ++b)
        c.FillRect(Rect(x + 10 + b * 9, y + 200, x + 10 + b * 9 + (b % 3 + 1) * 2, y + 300));
    c.Brush.SetStyle(bsClear);
    c.Font.SetEscapement(900);
    c.TextOut(x + 700, y + 300, QStringLiteral("Tilted"));
    c.Font.SetEscapement(0);
}

} // namespace

int main(int argc, char** argv)
{
    bench::takeProgramHeap(argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int labels = 10000;
    const QString file = QDir::temp().filePath(QStringLiteral("bench_canvas.pdf"));
    PdfPrinter printer(file);
    QElapsedTimer timer;
    timer.start();
    printer.BeginDoc();
    for (int i = 0; i < labels; ++i) {
        if (i > 0 && i % 30 == 0)
            printer.NewPage();
        const int k = i % 30;
        drawLabel(printer.Canvas(), i, (k % 3) * 800 + 50, (k / 3) * 340 + 50);
    }
    printer.EndDoc();
    const double seconds = timer.elapsed() / 1000.0;
    std::printf("canvas to PDF: %d labels in %.2f s, %.0f labels/s\n", labels, seconds, labels / seconds);
    QFile::remove(file);
    return 0;
}

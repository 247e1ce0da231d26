#pragma once

// What the label benchmarks share: the PDF writer at 300 dpi, 14 labels a page (2 x 7 on A4),
// the timing and memory figures, and the address design (a frame, three merged texts, a Code 39)
// with the plain QPainter program that draws the same labels as the baseline.
#include "BenchSupport.h"
#include "design/DesignModel.h"
#include "design/Renderer.h"

#include "barcode/Barcode.h"
#include "platform/FontEngine.h"
#include "platform/Rounding.h"
#include "platform/TCanvas.h"
#include "platform/TStringGrid.h"
#include "platform/TextCodec.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>

namespace labelbench {

using namespace design;
using barcode::CODE39;
using barcode::rotate_000;
using barcode::SC1;
using barcode::TBarcodeGeometry;
using barcode::TLLBarcode;
using platform::R;

constexpr int Dpi = 300;
constexpr int LabelsPerPage = 14;

using bench::peakKb;
using bench::resetPeak;

// Where label i of a run lands on its page, in device pixels: 2 columns x 7 rows of
// 99.1 x 38.1 mm, 4.65 mm left margin, 15.15 mm top margin, 2.5 mm between the columns.
inline platform::TPoint labelOrigin(int i)
{
    auto px = [](int hundredthsMm) { return R(Dpi * hundredthsMm / 2540.0); };
    const int cell = i % LabelsPerPage;
    return {px(465) + (cell % 2) * (px(9910) + px(250)), px(1515) + (cell / 2) * px(3810)};
}

struct Figures {
    int labels = 0;
    double seconds = 0;
    double cpuSeconds = 0;
    long peakKb = 0;
    double perSecond() const { return seconds > 0 ? labels / seconds : 0; }
};

// Runs one print job: `drawLabel(i)` draws label i, `newPage()` starts the next sheet.
inline Figures timed(int labels, const std::function<void()>& begin, const std::function<void(int)>& drawLabel,
              const std::function<void()>& newPage, const std::function<void()>& end)
{
    resetPeak();
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    begin();
    for (int i = 0; i < labels; ++i) {
        if (i > 0 && i % LabelsPerPage == 0)
            newPage();
        drawLabel(i);
    }
    end();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return {labels, seconds, static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC, peakKb()};
}

inline void printFigures(const char* what, const Figures& f, const QString& file)
{
    std::printf("%-38s %7d labels %7.2f s (CPU %6.2f s) %7.0f labels/s  peak RSS %6.1f MB  %s %.1f MB\n", what,
                f.labels, f.seconds, f.cpuSeconds, f.perSecond(), f.peakKb / 1024.0, qPrintable(file),
                QFile(file).size() / 1048576.0);
    std::fflush(stdout);
}

// The figures of a run in a child started with glibc's heap defaults, as the child writes them
// and its parent reads them back.
inline void writeChildFigures(const Figures& f)
{
    std::printf("figures %d %.6f %.6f %ld\n", f.labels, f.seconds, f.cpuSeconds, f.peakKb);
    std::fflush(stdout);
}

inline Figures readChildFigures(const QByteArray& output)
{
    for (const QByteArray& line : output.split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split(' ');
        if (fields.size() == 5 && fields[0] == "figures")
            return {fields[1].toInt(), fields[2].toDouble(), fields[3].toDouble(), fields[4].toLong()};
    }
    qFatal("no figures from the child run with glibc's heap defaults");
}

// The same job with the program's allocator settings and with glibc's defaults, the best run of
// each, and what the program keeps over the defaults.
inline void printHeapPair(const char* mode, const Figures& program, const Figures& glibc)
{
    std::printf("heap %s: program %.0f labels/s, glibc defaults %.0f labels/s, ratio %.2f\n", mode,
                program.perSecond(), glibc.perSecond(),
                glibc.perSecond() > 0 ? program.perSecond() / glibc.perSecond() : 0.0);
    std::printf("peak RSS, heap %s pair: program %.1f MB, glibc defaults %.1f MB\n", mode, program.peakKb / 1024.0,
                glibc.peakKb / 1024.0);
    std::fflush(stdout);
}

// A 99.1 x 38.1 mm label: a frame, the name in bold, two address lines, the customer number
// (the "Miscellaneous" column) as Code 39.
inline void buildAddressDesign(TDesignModel& model)
{
    using namespace platform;
    model.LargeurEtiquettePx = R(96.0 * 9910 / 2540);
    model.HauteurEtiquettePx = R(96.0 * 3810 / 2540);
    model.AddShape(2, 2, stRectangle, 1, psSolid, clBlack, bsClear, clWhite, 140, 370, false);
    model.AddLabel(12, 10, true, {fsBold}, clBlack, 11, "Arial", -15, clWhite, "<Title> <FirstName> <Surname>",
                   taLeftJustify, 20, 300, false);
    model.AddLabel(12, 32, true, {}, clBlack, 10, "Arial", -13, clWhite, "<Address1>", taLeftJustify, 18, 300, false);
    model.AddLabel(12, 52, true, {}, clBlack, 10, "Arial", -13, clWhite, "<Code> <Town>", taLeftJustify, 18, 300,
                   false);
    model.AddBarcode(12, 78, 100, "Arial", true, false, "", rotate_000, CODE39, "<Miscellaneous>", 50, SC1, false);
}

// The plain QPainter program: everything the renderer works out from the design is taken once
// from the same model, then each label is drawn with QPainter calls only. Every text of these
// records fits its box at the design's own size, which is the size the renderer's fitting keeps;
// the two PDFs rasterise to the same pixels.
class PlainAddressPrinter {
public:
    PlainAddressPrinter(const TDesignModel& model, const platform::TStringGrid& grid, double scale)
        : m_grid(grid)
    {
        auto px = [scale](int v) { return R(scale * v); };
        const TShape* frame = model.ObjectsOf<TShape>().front();
        m_frame = QRect(px(frame->Left), px(frame->Top), px(frame->Width) - 1, px(frame->Height) - 1);
        for (const TLabel* label : model.ObjectsOf<TLabel>()) {
            const int height = R(label->Font.Height() * scale);
            const auto face = platform::fontengine::face(label->Font.Name(), height, label->Font.Style(), Dpi);
            m_lines.push_back({face->font, QPointF(px(label->Left), px(label->Top) + face->tm.tmAscent)});
        }
        const TBarcodeObject* barcode = model.ObjectsOf<TBarcodeObject>().front();
        m_barcode.Params = barcode->Barcode().Encoder().Params;
        m_barcodeAt = QPoint(px(barcode->Left), px(barcode->Top));
        m_measure.SetLogPixels(Dpi, Dpi);
    }

    void draw(QPainter& painter, int row, QPoint at)
    {
        painter.setPen(m_framePen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(m_frame.translated(at));

        const QString texts[3] = {
            m_grid.Cell(2, row) + u' ' + m_grid.Cell(1, row) + u' ' + m_grid.Cell(0, row),
            m_grid.Cell(3, row),
            m_grid.Cell(5, row) + u' ' + m_grid.Cell(6, row),
        };
        painter.setPen(QPen(Qt::black));
        for (int k = 0; k < 3; ++k) {
            painter.setFont(m_lines[k].font);
            painter.drawText(m_lines[k].baseline + at, texts[k]);
        }

        m_barcode.Params.Caption = platform::toCp1252(m_grid.Cell(12, row));
        const TBarcodeGeometry g = m_barcode.Layout(m_measure);
        const QPoint origin = m_barcodeAt + at;
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        for (const TBarcodeGeometry::Bar& bar : g.Bars)
            painter.drawRect(QRect(origin.x() + bar.Left, origin.y() + bar.Top, bar.Right - bar.Left,
                                   bar.Bottom - bar.Top));
        if (!m_digits || m_digitsHeight != g.FontHeight) {
            m_digits = platform::fontengine::face(m_barcode.Params.Fontname, g.FontHeight, {}, Dpi);
            m_digitsHeight = g.FontHeight;
        }
        painter.setPen(QPen(Qt::black));
        painter.setFont(m_digits->font);
        for (const TBarcodeGeometry::Text& text : g.Texts) {
            const QString shown = platform::fromCp1252(text.Text);
            painter.drawText(QPointF(origin.x() + text.X - m_digits->width(shown) / 2,
                                     origin.y() + text.Y + m_digits->tm.tmAscent),
                             shown);
        }
    }

private:
    struct Line {
        QFont font;
        QPointF baseline;
    };
    const platform::TStringGrid& m_grid;
    QPen m_framePen{QBrush(Qt::black), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin};
    QRect m_frame;
    std::vector<Line> m_lines;
    TLLBarcode m_barcode;
    QPoint m_barcodeAt;
    platform::TCanvas m_measure;
    std::shared_ptr<const platform::fontengine::Face> m_digits;
    int m_digitsHeight = 0;
};

inline QPdfWriter* newPdfWriter(const QString& file)
{
    auto* writer = new QPdfWriter(file);
    writer->setResolution(Dpi);
    writer->setPageLayout(QPageLayout(QPageSize(QSizeF(210.0, 297.0), QPageSize::Millimeter), QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    writer->setCreator(QStringLiteral("Pravolis"));
    return writer;
}

} // namespace labelbench

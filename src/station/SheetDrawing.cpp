#include "SheetDrawing.h"

#include "platform/Rounding.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <climits>

namespace station {

using platform::R;

namespace {

TSheetGeometry geometry(double sx, double sy, int w, int h, int t, int l, int vg, int hg, int columns,
                        int rows)
{
    TSheetGeometry g;
    g.W = R(w * sx);
    g.H = R(h * sy);
    g.T = R(t * sy);
    g.L = R(l * sx);
    g.VG = R(vg * sy);
    g.HG = R(hg * sx);
    g.Columns = ClampLabelCount(columns);
    g.Rows = ClampLabelCount(rows);
    return g;
}

// GDI's rectangle and ellipse leave out the right and bottom bounds: the cells drawn are
// the label's size, the hit rectangles one more.
void drawCell(QPainter& p, const QRect& cell, bool round)
{
    const QRect shape(cell.left(), cell.top(), cell.width() - 2, cell.height() - 2);
    if (round)
        p.drawEllipse(shape);
    else
        p.drawRect(shape);
}

QImage blankSheet(QSize size, int dpi)
{
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    const int dpm = R(dpi / 0.0254);
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    image.fill(QColor(128, 128, 128));
    QPainter p(&image);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, image.width() - 1, image.height() - 1);
    return image;
}

} // namespace

QPoint CellCorner100(const design::TCurrentFormat& f, int column, int row)
{
    return {(column - 1) * (f.LargeurEtiquette + f.EcartHorizontal) + f.MargeGauche,
            (row - 1) * (f.HauteurEtiquette + f.EcartVertical) + f.MargeHaut};
}

int DevicePixels(int hundredthsMm, double dpi)
{
    return R(dpi * hundredthsMm / 2540.0);
}

QRect TSheetGeometry::CellRect(int c, int r) const
{
    const int x = (c - 1) * (W + HG) + L;
    const int y = (r - 1) * (H + VG) + T;
    return QRect(QPoint(x, y), QPoint(x + W, y + H));
}

TCellPos TSheetGeometry::HitTest(QPoint p) const
{
    for (int r = 1; r <= Rows; ++r)
        for (int c = 1; c <= Columns; ++c)
            if (CellRect(c, r).contains(p))
                return {c, r};
    return {};
}

TSheetGeometry SheetGeometry(const design::TCurrentFormat& f, double s)
{
    return SheetGeometry(f, s, s);
}

TSheetGeometry SheetGeometry(const design::TCurrentFormat& f, double scaleX, double scaleY)
{
    return geometry(scaleX, scaleY, f.LargeurEtiquette, f.HauteurEtiquette, f.MargeHaut, f.MargeGauche, f.EcartVertical,
                    f.EcartHorizontal, f.NbColonnes, f.NbLignes);
}

TSheetGeometry SheetGeometry(const TSheetPreview& f, double s)
{
    return geometry(s, s, f.LargeurEtiquette, f.HauteurEtiquette, f.MargeHaut, f.MargeGauche, f.EcartVertical,
                    f.EcartHorizontal, f.NbColonnes, f.NbLignes);
}

TCellPos DropFallbackCell(QPoint p, QSize page, int columns, int rows)
{
    if (columns < 1 || rows < 1)
        return {};
    const auto axis = [](int v, int side, int count) {
        const int per = side / count;
        if (per == 0)
            return 1;
        return std::clamp(v / per + 1, 1, count);
    };
    return {axis(p.x(), page.width(), columns), axis(p.y(), page.height(), rows)};
}

TCellPos DropCell(QPoint p, QSize page, const TSheetGeometry& g)
{
    const TCellPos hit = g.HitTest(p);
    return hit.Valid() ? hit : DropFallbackCell(p, page, g.Columns, g.Rows);
}

QSize PageImageSize(const design::TCurrentFormat& f, double s, const TPaperNames& names)
{
    const int w = LargeurPage(f.NomFormat, f.LargeurEtiquette, f.NbColonnes, f.EcartHorizontal, names);
    const int h = HauteurPage(f.NomFormat, f.HauteurEtiquette, names);
    return {std::max(1, R(w * s)), std::max(1, R(h * s))};
}

QImage DessinerPage(const TSheetPage& page, QSize size, double s, const TPrinterInfo& printer, int dpi)
{
    QImage image = blankSheet(size, dpi);
    QPainter p(&image);
    const design::TCurrentFormat& f = page.FormatPage;
    const TSheetGeometry g = SheetGeometry(f, s);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    p.setFont(font);
    const QFontMetrics metrics(font, &image);
    const int flags = Qt::TextWordWrap | Qt::AlignHCenter;
    for (int r = 1; r <= g.Rows; ++r)
        for (int c = 1; c <= g.Columns; ++c) {
            const QRect cell = g.CellRect(c, r);
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(Qt::white);
            drawCell(p, cell, f.EtiquetteRonde);
            const QString name = page.Cell(c, r);
            if (name.isEmpty())
                continue;
            const QRect block = metrics.boundingRect(QRect(0, 0, g.W, INT_MAX / 2), flags, name);
            const QRect text(cell.left() + (g.W - block.width()) / 2, cell.top() + (g.H - block.height()) / 2,
                             block.width(), block.height());
            p.save();
            p.setClipRect(QRect(cell.left(), cell.top(), g.W, g.H));
            p.setPen(Qt::blue);
            p.drawText(text, flags, name);
            p.restore();
        }
    DessinerZoneImprimable(p, s, printer);
    return image;
}

QSize PreviewImageSize(const TSheetPreview& sheet, double s)
{
    return {std::clamp(R(sheet.LargeurPage * s), 1, MaxPreviewSide),
            std::clamp(R(sheet.HauteurPage * s), 1, MaxPreviewSide)};
}

QImage DessinerPlanche(const TSheetPreview& sheet, double s, const TPrinterInfo& printer, TCellPos first)
{
    QImage image = blankSheet(PreviewImageSize(sheet, s), 96);
    QPainter p(&image);
    DessinerZoneImprimable(p, s, printer);
    const TSheetGeometry g = SheetGeometry(sheet, s);
    p.setPen(QPen(Qt::black, 1));
    for (int r = 1; r <= g.Rows; ++r)
        for (int c = 1; c <= g.Columns; ++c) {
            p.setBrush(TCellPos{c, r} == first ? QColor(0, 255, 0) : QColor(Qt::white));
            drawCell(p, g.CellRect(c, r), sheet.EtiquetteRonde);
        }
    DessinerZoneImprimable(p, s, printer);
    return image;
}

} // namespace station

#include "MailingPrint.h"

#include "design/DesignDocument.h"
#include "design/PreparedLabel.h"
#include "platform/HourGlass.h"
#include "platform/Rounding.h"
#include "platform/TCanvas.h"
#include "platform/TPrinter.h"
#include "platform/TStringGrid.h"
#include "station/SheetDrawing.h"

#include <QFileInfo>
#include <QPainter>

#include <algorithm>
#include <climits>

namespace addressbook {

using platform::R;
using platform::TCanvas;
using platform::TRect;

namespace {

// Pictures of a mailing are few (a logo, a signature): a small budget keeps a long run's memory flat.
constexpr std::int64_t MailingPictureBudget = std::int64_t{32} << 20;

constexpr unsigned AddressFormat = platform::DT_WORDBREAK | platform::DT_NOPREFIX;

void appendCell(QString& line, QStringView cell)
{
    if (cell.isEmpty())
        return;
    line += cell;
    if (!line.endsWith(u' '))
        line += u' ';
}

design::MergeSource mergeSource(const TMailingJob& job)
{
    design::MergeSource s;
    s.Grille = job.Grid;
    s.IsDatabase = job.Database;
    s.RepertItems = job.RepertItems;
    return s;
}

TRect labelRect(const TMailingLayout& layout, const TWalkCell& cell, const TMailingDevice& device)
{
    const QPoint corner = station::CellCorner100(layout.Format, cell.Column, cell.Row);
    const int x = station::DevicePixels(corner.x(), device.DpiX) - device.Offset.X;
    const int y = station::DevicePixels(corner.y(), device.DpiY) - device.Offset.Y;
    return platform::Bounds(x, y, station::DevicePixels(layout.Format.LargeurEtiquette, device.DpiX),
                            station::DevicePixels(layout.Format.HauteurEtiquette, device.DpiY));
}

} // namespace

TMailingDesign::TMailingDesign(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        throw EMailingDesign(QStringLiteral("The label design \"%1\" cannot be found: the mailing was not printed.")
                                 .arg(path));
    try {
        design::OpenDesign(Model, path);
    } catch (const std::exception& e) {
        throw EMailingDesign(QStringLiteral("The label design \"%1\" could not be read (%2): the mailing was not printed.")
                                 .arg(path, QString::fromStdString(e.what())));
    }
}

QString AddressText(const platform::TStringGrid& book, int row)
{
    const auto line = [&](std::initializer_list<int> columns) {
        QString l;
        for (int c : columns)
            appendCell(l, book.CellView(c, row));
        return l.isEmpty() ? l : l + u'\r';
    };
    return line({9}) + line({2, 1, 0}) + line({3}) + line({4}) + line({5, 6, 7});
}

void DessinerAdresse(TCanvas& canvas, const TRect& label, double scaleY, const platform::TFont& font,
                     const QString& text, bool frame, bool round)
{
    if (frame) {
        canvas.Pen.SetColor(platform::clBlack);
        canvas.Pen.SetWidth(1);
        canvas.Pen.SetStyle(platform::psSolid);
        canvas.Brush.SetStyle(platform::bsClear);
        if (round)
            canvas.Ellipse(label);
        else
            canvas.Rectangle(label);
    }
    design::FitTextFont(font, label, AddressFormat, text, canvas, scaleY);
    TRect measured = label;
    canvas.DrawText(text, measured, AddressFormat | platform::DT_CALCRECT);
    const int w = measured.Width();
    const int h = measured.Height();
    TRect block;
    block.Left = label.Left + (label.Width() - w) / 2;
    block.Top = label.Top + (label.Height() - h) / 2;
    block.Right = block.Left + w;
    block.Bottom = block.Top + h;
    block.Left = std::clamp(block.Left, label.Left, label.Right);
    block.Top = std::clamp(block.Top, label.Top, label.Bottom);
    block.Right = std::clamp(block.Right, label.Left, label.Right);
    block.Bottom = std::clamp(block.Bottom, label.Top, label.Bottom);
    platform::TClipGuard clip(canvas, label);
    canvas.Brush.SetStyle(platform::bsClear);
    canvas.DrawText(text, block, AddressFormat | platform::DT_LEFT);
}

TMailingRun::TMailingRun(const TMailingJob& job, const TMailingDesign* design)
    : Job(job), Design(design), Merge(mergeSource(job), job.Numbering), Pictures(MailingPictureBudget)
{
    if (design != nullptr)
        Preparation.emplace(design->Model, Merge);
}

int DrawMailingSheet(TCanvas& canvas, TMailingRun& run, int sheet, TLabelWalk& walk, const TMailingDevice& device)
{
    const TMailingJob& job = run.Job;
    const TMailingLayout& layout = job.Layout;
    const bool designMode = job.Mode == TMailingMode::Design && run.Design != nullptr;
    return WalkSheet(layout, sheet, walk, [&](const TWalkCell& cell) {
        const TRect r = labelRect(layout, cell, device);
        if (designMode) {
            const design::TDesignModel& model = run.Design->Model;
            const int index = static_cast<int>(std::min<long long>(cell.Index, INT_MAX));
            run.Preparation->Prepare(cell.Record, index, run.Pictures, run.Label);
            design::DrawDesign(canvas, model, run.Label, device.Target, {-r.Left, -r.Top}, device.DesignScaleX,
                               device.DesignScaleY, device.DesignOutline);
        } else if (job.Grid != nullptr) {
            DessinerAdresse(canvas, r, device.FontScaleY, job.Font, AddressText(*job.Grid, cell.Record), job.Cadre,
                            layout.Format.EtiquetteRonde);
        }
    });
}

TMailingPrintResult ImprimerMailing(const TMailingJob& job, platform::TPrinter& printer)
{
    if (job.Grid == nullptr)
        throw platform::Exception(QStringLiteral("The mailing has no records to print."));
    std::unique_ptr<TMailingDesign> design;
    if (job.Mode == TMailingMode::Design)
        design = std::make_unique<TMailingDesign>(job.DesignPath);

    platform::HourGlass hourGlass;
    const int copies = std::max(1, job.SeriesCopies);
    const bool driverCopies = printer.DriverCopies();
    printer.SetTitle(job.Title);
    printer.SetCopies(driverCopies ? copies : 1);
    // Label sheets go in upright, whatever the printer was last set to; the printing offset is
    // read once the job holds that orientation.
    printer.BeginDoc({platform::poPortrait});
    TMailingPrintResult result;
    try {
        TMailingDevice device;
        device.DpiX = printer.PixelsPerInchX();
        device.DpiY = printer.PixelsPerInchY();
        device.DesignScaleX =
            design::DesignScale(printer.PixelsPerInchX(), design::TDesignModel::DesignPixelsPerInch);
        device.DesignScaleY =
            design::DesignScale(printer.PixelsPerInchY(), design::TDesignModel::DesignPixelsPerInch);
        device.FontScaleY = job.Ppi > 0 ? device.DpiY / job.Ppi : 0;
        device.Offset = printer.PrintingOffset();
        device.Target = design::TDrawTarget{job.Wysiwyg, true};
        device.DesignOutline = job.Cadre;
        TMailingRun run(job, design.get());
        const int series = driverCopies ? 1 : copies;
        for (int s = 0; s < series; ++s) {
            TLabelWalk walk(*job.Grid, job.Layout.Selection.NbFichesChoisies);
            long long labels = 0;
            for (int sheet = 1; sheet <= job.Layout.NbFeuilles; ++sheet) {
                if (result.Pages > 0)
                    printer.NewPage();
                labels += DrawMailingSheet(printer.Canvas(), run, sheet, walk, device);
                ++result.Pages;
            }
            result.Labels = labels;
        }
        printer.EndDoc();
    } catch (...) {
        printer.Abort();
        throw;
    }
    return result;
}

TPreviewLayout CalculerMiseEnPagePreview(const TMailingJob& job, int bevelWidth, int pageWidth, int pageHeight)
{
    TPreviewLayout p;
    p.Echelle = std::max(0, bevelWidth - 16) / static_cast<double>(station::TailleMaxPlanche);
    p.Page = QSize(std::max(1, R(pageWidth * p.Echelle)), std::max(1, R(pageHeight * p.Echelle)));
    p.NbPages = job.Layout.NbFeuilles;
    const design::TCurrentFormat& f = job.Layout.Format;
    const double ppi = design::TDesignModel::DesignPixelsPerInch;
    if (f.LargeurEtiquette > 0)
        p.EchelleX = R(f.LargeurEtiquette * p.Echelle) / (ppi * f.LargeurEtiquette / 2540);
    if (f.HauteurEtiquette > 0)
        p.EchelleY = R(f.HauteurEtiquette * p.Echelle) / (ppi * f.HauteurEtiquette / 2540);
    return p;
}

QImage DessinerFeuille(const TMailingJob& job, const TMailingDesign* design, const TPreviewLayout& layout,
                       int sheet, const station::TPrinterInfo& printer)
{
    QImage image(layout.Page, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (job.Grid == nullptr || layout.Echelle <= 0)
        return image;
    TCanvas canvas(&image);
    canvas.SetLogPixels(design::TDesignModel::DesignPixelsPerInch, design::TDesignModel::DesignPixelsPerInch);

    TMailingDevice device;
    device.DpiX = device.DpiY = layout.Echelle * 2540;
    device.DesignScaleX = layout.EchelleX;
    device.DesignScaleY = layout.EchelleY;
    device.FontScaleY = job.Ppi > 0 ? layout.EchelleY * design::TDesignModel::DesignPixelsPerInch / job.Ppi : 0;
    device.Target = design::TDrawTarget{job.Wysiwyg, false};

    // Every cell of the sheet, placed as its label is.
    const TMailingLayout& l = job.Layout;
    canvas.Pen.SetColor(platform::clBlack);
    canvas.Pen.SetWidth(1);
    canvas.Pen.SetStyle(platform::psSolid);
    canvas.Brush.SetStyle(platform::bsClear);
    for (int r = 1; r <= l.NbLignes(); ++r)
        for (int c = 1; c <= l.NbColonnes(); ++c) {
            const TRect cell = labelRect(l, TWalkCell{c, r, 0, 0}, device);
            if (l.Format.EtiquetteRonde)
                canvas.Ellipse(cell);
            else
                canvas.Rectangle(cell);
        }

    TMailingRun run(job, design);
    TLabelWalk walk(*job.Grid, l.Selection.NbFichesChoisies);
    WalkToSheet(l, sheet, walk);
    DrawMailingSheet(canvas, run, sheet, walk, device);
    if (QPainter* p = canvas.Painter()) {
        p->save();
        station::DessinerZoneImprimable(*p, layout.Echelle, printer);
        p->restore();
    }
    canvas.End();
    return image;
}

} // namespace addressbook

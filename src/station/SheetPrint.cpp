#include "SheetPrint.h"

#include "SheetDrawing.h"
#include "SheetFormat.h"

#include "design/DesignDocument.h"
#include "design/DesignModel.h"
#include "design/Pictures.h"
#include "design/PreparedLabel.h"
#include "design/Renderer.h"
#include "platform/HourGlass.h"
#include "platform/Rounding.h"
#include "platform/TCanvas.h"
#include "platform/TPrinter.h"

#include <QFileInfo>
#include <QPainter>

#include <map>
#include <memory>

namespace station {

namespace {

// The designs of one print, each read once however many cells it fills; a design that fails
// to read is remembered as such. Each has its own format, so the station's current-model
// format and the designer's design are left as they were.
class TDesignSet {
public:
    struct Entry {
        design::TCurrentFormat Format;
        std::unique_ptr<design::TDesignModel> Model;
        bool Readable = false;
    };

    // Null for a missing file (the cell is skipped silently); an entry that may be unreadable.
    const Entry* Find(const TStationFolders& folders, const QString& name)
    {
        auto it = m_entries.find(name);
        if (it != m_entries.end())
            return it->second.get();
        const QString path = SheetModelFile(folders, name);
        std::unique_ptr<Entry> entry;
        if (!path.isEmpty()) {
            entry = std::make_unique<Entry>();
            entry->Model = std::make_unique<design::TDesignModel>(entry->Format);
            try {
                design::OpenDesign(*entry->Model, path);
                entry->Readable = true;
            } catch (const std::exception&) {
                entry->Readable = false;
            }
        }
        return m_entries.emplace(name, std::move(entry)).first->second.get();
    }

private:
    std::map<QString, std::unique_ptr<Entry>> m_entries;
};

QString cellName(const QString& model, int column, int row)
{
    return QStringLiteral("%1 (%2, %3)").arg(model).arg(column).arg(row);
}

enum class TOutline { None, Dotted, Solid };

void drawOutline(platform::TCanvas& canvas, TOutline outline, bool round, int x, int y, int w, int h)
{
    if (outline == TOutline::None)
        return;
    canvas.Brush.SetStyle(platform::bsClear);
    canvas.Pen.SetColor(platform::clBlack);
    canvas.Pen.SetWidth(1);
    canvas.Pen.SetStyle(outline == TOutline::Dotted ? platform::psDot : platform::psSolid);
    if (round)
        canvas.Ellipse(x, y, x + w, y + h);
    else
        canvas.Rectangle(x, y, x + w, y + h);
}

struct TCellPass {
    const TSheetPage& Page;
    const TStationFolders& Folders;
    const TSheetPrintOptions& Options;
    // Cells in device pixels, rounded once so that every cell of a row (and of a column) is the
    // same number of pixels apart.
    TSheetGeometry Geometry;
    platform::TPoint Offset;   // taken off every position
    double ScaleX = 0;         // device pixels per design pixel
    double ScaleY = 0;
    design::TDrawTarget Target;
    TOutline Outline = TOutline::None;
    bool OutlineEmpty = false; // outline the cells that print nothing too
};

// What a print keeps from one copy of the sheet to the next: the designs read, the pictures
// decoded, the merge's codes and where each design's texts hold them.
struct TCellRun {
    explicit TCellRun(const TSheetPrintOptions& options) : Merge(options.Source, options.Numbering) {}
    // The preparations hold on to this run's merge.
    TCellRun(const TCellRun&) = delete;
    TCellRun& operator=(const TCellRun&) = delete;

    const design::TLabelPreparation& Preparation(const design::TDesignModel& model)
    {
        return Preparations.try_emplace(&model, model, Merge).first->second;
    }

    TDesignSet Designs;
    design::TPictureCache Pictures;
    const design::TFieldMerge Merge;
    std::map<const design::TDesignModel*, design::TLabelPreparation> Preparations;
    design::TPreparedLabel Label; // the storage each label is prepared into
};

// Draws the cells of the page, rows outer; returns the labels drawn.
int drawCells(platform::TCanvas& canvas, const TCellPass& pass, TCellRun& run, QStringList* unreadable)
{
    const TSheetGeometry& g = pass.Geometry;
    const bool round = pass.Page.FormatPage.EtiquetteRonde;
    int n = 0;
    for (int r = 1; r <= g.Rows; ++r)
        for (int c = 1; c <= g.Columns; ++c) {
            const QPoint corner = g.CellRect(c, r).topLeft();
            const int x = corner.x() - pass.Offset.X;
            const int y = corner.y() - pass.Offset.Y;
            const QString name = pass.Page.Cell(c, r);
            const TDesignSet::Entry* entry = name.isEmpty() ? nullptr : run.Designs.Find(pass.Folders, name);
            if (entry != nullptr && !entry->Readable && unreadable != nullptr)
                unreadable->append(cellName(name, c, r));
            const bool printable = entry != nullptr && entry->Readable;
            if (!printable) {
                if (pass.OutlineEmpty)
                    drawOutline(canvas, pass.Outline, round, x, y, g.W, g.H);
                continue;
            }
            drawOutline(canvas, pass.Outline, round, x, y, g.W, g.H);
            ++n;
            if (pass.ScaleX <= 0 || pass.ScaleY <= 0)
                continue;
            run.Preparation(*entry->Model).Prepare(pass.Options.Record, n, run.Pictures, run.Label);
            design::DrawDesign(canvas, *entry->Model, run.Label, pass.Target, {-x, -y}, pass.ScaleX,
                               pass.ScaleY, false);
        }
    return n;
}

} // namespace

bool SaveAfterPrinterSetup(design::TDesignModel& designer)
{
    if (!designer.Modifie || designer.NomDocument.isEmpty())
        return false;
    design::SaveDesignDocument(designer, designer.NomDocument);
    return true;
}

QString SheetModelFile(const TStationFolders& folders, const QString& model)
{
    if (model.isEmpty())
        return {};
    const QString path = folders.ReadPath(QStringLiteral("perso/") + model + QStringLiteral(".car"));
    return QFileInfo(path).isFile() ? path : QString();
}

TSheetPrintResult PrintSheetPage(const TSheetPage& page, const TStationFolders& folders,
                                 platform::TPrinter& printer, const TSheetPrintOptions& options)
{
    const int copies = options.Copies < 1 ? 1 : options.Copies;
    const bool driverCopies = printer.DriverCopies();
    platform::HourGlass hourGlass;
    printer.SetTitle(options.Title);
    printer.SetCopies(driverCopies ? copies : 1);
    // The printing offset is the job's orientation's: read once the job holds it.
    printer.BeginDoc({options.Orientation});
    TSheetPrintResult result;
    try {
        const int dx = printer.PixelsPerInchX();
        const int dy = printer.PixelsPerInchY();
        const TCellPass pass{page, folders, options, SheetGeometry(page.FormatPage, dx / 2540.0, dy / 2540.0),
                             printer.PrintingOffset(),
                             design::DesignScale(dx, design::TDesignModel::DesignPixelsPerInch),
                             design::DesignScale(dy, design::TDesignModel::DesignPixelsPerInch),
                             design::TDrawTarget{options.Wysiwyg, true},
                             options.CutLines ? TOutline::Dotted : TOutline::None, false};
        TCellRun run(options);
        const int pages = driverCopies ? 1 : copies;
        for (int p = 0; p < pages; ++p) {
            if (p > 0)
                printer.NewPage();
            result.Unreadable.clear();
            result.Labels = drawCells(printer.Canvas(), pass, run, &result.Unreadable);
            ++result.Pages;
        }
        printer.EndDoc();
    } catch (...) {
        printer.Abort();
        throw;
    }
    return result;
}

QImage DrawSheetPicture(const TSheetPage& page, const TStationFolders& folders, int pageWidth,
                        int pageHeight, double scale, const QRectF& printable,
                        const TSheetPrintOptions& options)
{
    const int w = std::max(1, platform::R(pageWidth * scale));
    const int h = std::max(1, platform::R(pageHeight * scale));
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    platform::TCanvas canvas(&image);
    canvas.SetLogPixels(design::TDesignModel::DesignPixelsPerInch, design::TDesignModel::DesignPixelsPerInch);
    const auto drawPrintable = [&] {
        if (printable.isEmpty())
            return;
        canvas.Brush.SetStyle(platform::bsClear);
        canvas.Pen.SetColor(platform::clRed);
        canvas.Pen.SetWidth(1);
        canvas.Pen.SetStyle(platform::psSolid);
        canvas.Rectangle(platform::R(printable.left() * scale), platform::R(printable.top() * scale),
                         platform::R(printable.right() * scale), platform::R(printable.bottom() * scale));
    };
    drawPrintable();
    const TSheetGeometry g = SheetGeometry(page.FormatPage, scale);
    const double sx = page.LabelWidthPx > 0 ? static_cast<double>(g.W) / page.LabelWidthPx : 0;
    const double sy = page.LabelHeightPx > 0 ? static_cast<double>(g.H) / page.LabelHeightPx : 0;
    const TCellPass pass{page, folders, options, g, {0, 0}, sx, sy, design::TDrawTarget{options.Wysiwyg, false},
                         TOutline::Solid, true};
    TCellRun run(options);
    drawCells(canvas, pass, run, nullptr);
    drawPrintable();
    canvas.End();
    return image;
}

} // namespace station

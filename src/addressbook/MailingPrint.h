#pragma once

#include "MailingLayout.h"
#include "MailingWalk.h"

#include "design/DesignModel.h"
#include "design/FieldCodes.h"
#include "design/Numbering.h"
#include "design/Pictures.h"
#include "design/Renderer.h"
#include "platform/Graphics.h"
#include "station/PrintableArea.h"
#include "station/StationRules.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

namespace platform {
class TCanvas;
class TPrinter;
class TStringGrid;
}

// Drawing a mailing: the print, one job of all its sheets, and the preview of one sheet. Both go
// through DrawMailingSheet, so a sheet previewed is the sheet printed.
namespace addressbook {

// A design the mailing cannot use: the message names the file.
class EMailingDesign : public platform::Exception {
public:
    using Exception::Exception;
};

// Everything a mailing takes from its dialogs.
struct TMailingJob {
    TMailingMode Mode = TMailingMode::Addresses;
    TMailingLayout Layout;
    // The merge grid: address blocks always come from the address book.
    const platform::TStringGrid* Grid = nullptr;
    bool Database = false;
    QStringList RepertItems = design::RepertItemsEnglish();
    design::MergeNumbering Numbering;
    // Pixels per inch of the card window: the address font's height is at this resolution.
    int Ppi = 96;
    // The address font (its height at Ppi) and the label frames.
    platform::TFont Font;
    bool Cadre = false;
    // The design drawn for each record (design mode) and the station's barcode option.
    QString DesignPath;
    bool Wysiwyg = false;
    // The series copies, made by the printer when it can.
    int SeriesCopies = 1;
    QString Title;
};

// The design of a design-mode mailing, read once from its file for the whole run. A missing
// file or one that does not read raises EMailingDesign naming it: no label is ever drawn with
// whatever design happens to be open elsewhere.
class TMailingDesign {
public:
    explicit TMailingDesign(const QString& path);
    design::TCurrentFormat Format;
    design::TDesignModel Model{Format};
};

// Where a sheet's labels go on a device.
struct TMailingDevice {
    double DpiX = 96;           // device pixels per inch: positions and sizes from 1/100 mm
    double DpiY = 96;
    double DesignScaleX = 1;    // device pixels per design pixel
    double DesignScaleY = 1;
    double FontScaleY = 1;      // device pixels per pixel of the card (the address font)
    platform::TPoint Offset;    // taken off every position (the printer's printing offset)
    design::TDrawTarget Target;
    bool DesignOutline = false; // outline each design label (the frames, on the print)
};

// The five lines of an address block, each ending with a carriage return, empty lines left
// out: company; title, first name, name; address 1; address 2; postal code, town, country.
QString AddressText(const platform::TStringGrid& book, int row);

// Draws an address block in the label rectangle (device pixels): the frame when asked (an
// ellipse for a round label), then the text word-wrapped with the font shrunk a point at a time
// until it fits, never below 3 points, centred and clipped to the label. `scaleY` takes the
// font's height to device pixels.
void DessinerAdresse(platform::TCanvas& canvas, const platform::TRect& label, double scaleY,
                     const platform::TFont& font, const QString& text, bool frame, bool round);

// What a run of sheets keeps from one label to the next: the merge's codes, where the design's
// texts hold them, and the pictures decoded. Nothing is kept per record: the prepared label's
// storage only is taken again by the next label.
struct TMailingRun {
    TMailingRun(const TMailingJob& job, const TMailingDesign* design);
    // The preparation holds on to this run's merge.
    TMailingRun(const TMailingRun&) = delete;
    TMailingRun& operator=(const TMailingRun&) = delete;
    const TMailingJob& Job;
    const TMailingDesign* Design;
    const design::TFieldMerge Merge;
    design::TPictureCache Pictures;
    std::optional<design::TLabelPreparation> Preparation; // in design mode
    design::TPreparedLabel Label;
};

// Draws the labels of sheet `sheet` (1-based); the walk stands where the sheet starts and is left
// where the next one starts. Returns the labels drawn.
int DrawMailingSheet(platform::TCanvas& canvas, TMailingRun& run, int sheet, TLabelWalk& walk,
                     const TMailingDevice& device);

struct TMailingPrintResult {
    int Pages = 0;         // pages sent (every copy the printer could not make itself)
    long long Labels = 0;  // labels of one copy of the series
};

// Prints the mailing as one job: each sheet a page, the series copies made by the printer (or
// sent again when it cannot). Positions come from 1/100 mm converted once to printer pixels, less
// the printing offset. In design mode the design is read before the job begins (EMailingDesign).
// An error while drawing aborts the job and passes on; the cursor is restored on every path.
TMailingPrintResult ImprimerMailing(const TMailingJob& job, platform::TPrinter& printer);

// --- Preview ---

struct TPreviewLayout {
    double Echelle = 0;       // preview pixels per 1/100 mm
    QSize Page;               // the page's picture
    int NbPages = 0;
    double EchelleX = 0;      // design pixels to preview pixels
    double EchelleY = 0;
};

// The preview's scale from the frame's width (`bevelWidth` pixels, a margin of 8 each side kept
// free), the page picture of the sheet (pageWidth x pageHeight in 1/100 mm) and the sheet count.
TPreviewLayout CalculerMiseEnPagePreview(const TMailingJob& job, int bevelWidth, int pageWidth, int pageHeight);

// Sheet `sheet` as the preview shows it: white, every cell outlined in black, the labels that
// sheet prints (found from the walk alone: the earlier sheets are not drawn), then the printer's
// printable area in red.
QImage DessinerFeuille(const TMailingJob& job, const TMailingDesign* design, const TPreviewLayout& layout,
                       int sheet, const station::TPrinterInfo& printer);

} // namespace addressbook

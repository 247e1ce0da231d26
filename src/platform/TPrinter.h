#pragma once

#include "platform/Errors.h"
#include "platform/Graphics.h"
#include "platform/Heap.h"
#include "platform/TCanvas.h"

#include <QString>

#include <memory>
#include <optional>

// What the print loops need from a printer: a document of pages drawn on one canvas in device
// pixels, the page size and resolution, the printing offset (where the printable area starts on
// the sheet) and the job settings. Copies are made by the driver: the program sends each page
// once. Implementations: PdfPrinter (a PDF file, tests and benchmarks) and the window layer's
// printer on QPrinter.
namespace platform {

enum TPrinterOrientation { poPortrait, poLandscape };
// What a job prints of what the caller offers: all of it, or only the user's selection.
enum TPrintRange { prAllPages, prSelection };

// The settings one job asks of the shared printer. They hold from BeginDoc to EndDoc or Abort;
// then the printer is back to the settings it had, so no job decides for the next one.
struct TPrintJob {
    std::optional<TPrinterOrientation> Orientation; // empty: the printer's own
    TPrintRange Range = prAllPages;
};

// A printer refusing a call in its current state ("Printing in progress").
class EPrinter : public Exception {
public:
    using Exception::Exception;
};

// A printer setup dialog: how it is asked for, and what the user answered.
struct TSetupOptions {
    // The orientation the printer is set up for: the dialog opens on it and the printer keeps it,
    // whatever the dialog showed. Empty: the dialog's choice becomes the printer's.
    std::optional<TPrinterOrientation> Orientation;
    // Offer to print only the caller's selection.
    bool OfferSelection = false;
    // A dialog that only sets the printer up, printing nothing: its title, and a confirming
    // button that says OK rather than "Print". Empty: the print dialog as it stands.
    QString SetupTitle;
};

struct TSetupChoice {
    bool Accepted = false;
    TPrintRange Range = prAllPages; // what the user chose to print; for this print only
};

class TPrinter {
public:
    virtual ~TPrinter();

    // Starts the document with the job's settings; the canvas draws on page 1 from the painter's
    // first state (no transformation, no clip), whatever the job before left. Throws EPrinter
    // while already printing; a job that cannot start leaves the settings as they were.
    void BeginDoc(const TPrintJob& job = {});
    // Ends the current page and starts the next; the canvas keeps its pen, brush and font.
    virtual void NewPage() = 0;
    // Ends the document and sends it; the printer's own settings come back.
    void EndDoc();
    // Drops the document; Aborted() is then true until the next BeginDoc. The printer's own
    // settings come back.
    void Abort();

    // The page canvas while printing; before BeginDoc a measuring canvas at the printer's
    // resolution (fonts and text sizes only).
    virtual TCanvas& Canvas() = 0;

    // Printable page in device pixels, for the current orientation.
    virtual int PageWidth() const = 0;
    virtual int PageHeight() const = 0;
    // LOGPIXELSX / LOGPIXELSY of the printer.
    virtual int PixelsPerInchX() const = 0;
    virtual int PixelsPerInchY() const = 0;
    // Offset of the printable area from the corner of the sheet, device pixels.
    virtual TPoint PrintingOffset() const = 0;

    // The driver makes the copies of a page sent once (a real print queue); otherwise whoever
    // prints sends each copy itself (a PDF file holds no copy count).
    virtual bool DriverCopies() const { return false; }
    int Copies() const { return m_copies; }
    void SetCopies(int copies); // below 1 counts as 1
    QString Title() const { return m_title; }
    void SetTitle(const QString& title);
    TPrinterOrientation Orientation() const { return m_orientation; }
    // Throws EPrinter while printing.
    void SetOrientation(TPrinterOrientation orientation);

    // The current job's range; prAllPages between jobs.
    TPrintRange Range() const { return m_range; }

    bool Printing() const { return m_printing; }
    bool Aborted() const { return m_aborted; }
    // 1 on the first page while printing.
    int PageNumber() const { return m_pageNumber; }

protected:
    // The document itself, with m_orientation and m_range already the job's. startDocument sets
    // m_printing and makes the page canvas; endDocument and abortDocument clear m_printing.
    virtual void startDocument() = 0;
    virtual void endDocument() = 0;
    virtual void abortDocument() = 0;

    void requireIdle(const char* what) const;
    void requirePrinting(const char* what) const;

    int m_copies = 1;
    QString m_title;
    TPrinterOrientation m_orientation = poPortrait;
    bool m_printing = false;
    bool m_aborted = false;
    int m_pageNumber = 0;
    TPrintRange m_range = prAllPages;

private:
    void putBackSettings();

    struct Settings {
        TPrinterOrientation Orientation = poPortrait;
    } m_own; // the printer's settings while a job holds its own
    // A job keeps the heap's freed memory for its next page (the memory policy in Heap.h).
    std::unique_ptr<HeapHold> m_heapHold;
};

} // namespace platform

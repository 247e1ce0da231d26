#pragma once

#include "platform/Errors.h"
#include "platform/Graphics.h"
#include "platform/TCanvas.h"

#include <QString>

// What the print loops need from a printer: a document of pages drawn on one canvas in device
// pixels, the page size and resolution, the printing offset (where the printable area starts on
// the sheet) and the job settings. Copies are made by the driver: the program sends each page
// once. Implementations: PdfPrinter (a PDF file, tests and benchmarks) and the window layer's
// printer on QPrinter.
namespace platform {

enum TPrinterOrientation { poPortrait, poLandscape };

// A printer refusing a call in its current state ("Printing in progress").
class EPrinter : public Exception {
public:
    using Exception::Exception;
};

class TPrinter {
public:
    virtual ~TPrinter();

    // Starts the document; the canvas draws on page 1. Throws EPrinter while already printing.
    virtual void BeginDoc() = 0;
    // Ends the current page and starts the next; the canvas keeps its pen, brush and font.
    virtual void NewPage() = 0;
    // Ends the document and sends it.
    virtual void EndDoc() = 0;
    // Drops the document; Aborted() is then true until the next BeginDoc.
    virtual void Abort() = 0;

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

    bool Printing() const { return m_printing; }
    bool Aborted() const { return m_aborted; }
    // 1 on the first page while printing.
    int PageNumber() const { return m_pageNumber; }

protected:
    void requireIdle(const char* what) const;
    void requirePrinting(const char* what) const;

    int m_copies = 1;
    QString m_title;
    TPrinterOrientation m_orientation = poPortrait;
    bool m_printing = false;
    bool m_aborted = false;
    int m_pageNumber = 0;
};

} // namespace platform

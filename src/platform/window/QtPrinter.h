#pragma once

#include "platform/TPrinter.h"

#include <QSize>
#include <QString>
#include <memory>

class QPrinter;
class QWidget;

// The program's printer: a QPrinter, so any print queue of the system (CUPS) is reached, or a
// PDF file when an output file is set. The whole program shares one, as the setup dialog's
// choices hold for every print. A job that cannot start (no printer configured, a queue that
// refuses it) raises EPrinter: printing never reports success for nothing sent.
namespace platform {

class QtPrinter : public TPrinter {
public:
    QtPrinter();
    ~QtPrinter() override;

    QPrinter& Printer() { return *m_printer; }
    // A PDF file instead of the print queue; an empty path goes back to the queue.
    void SetOutputFile(const QString& path); // throws EPrinter while printing
    // The system's print queue of that name (the output file is dropped).
    void SetPrinterName(const QString& name); // throws EPrinter while printing
    // A print queue or a file to print to.
    bool Configured() const;
    // The name shown to the user: the queue's, or the file's.
    QString Name() const;

    // The printer setup dialogs: the printer and its options, or only paper and orientation.
    // The range chosen is the caller's to pass to its job: the printer keeps none.
    TSetupChoice SetupDialog(QWidget* parent, const TSetupOptions& options = {});
    bool PageSetupDialog(QWidget* parent);

    void NewPage() override;
    TCanvas& Canvas() override;

    int PageWidth() const override;
    int PageHeight() const override;
    int PixelsPerInchX() const override;
    int PixelsPerInchY() const override;
    TPoint PrintingOffset() const override;
    bool DriverCopies() const override;
    // The printable page and printing offset a job of that orientation gets, device pixels.
    QSize PageSizeFor(TPrinterOrientation orientation) const;
    TPoint PrintingOffsetFor(TPrinterOrientation orientation) const;

protected:
    void startDocument() override;
    void endDocument() override;
    void abortDocument() override;

private:
    void applyOrientation();
    void readOrientation();
    void finish();

    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<TCanvas> m_canvas;
    std::unique_ptr<TCanvas> m_measureCanvas;
};

} // namespace platform

#include "platform/window/QtPrinter.h"

#include "platform/TCanvas.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace platform {

QtPrinter::QtPrinter() : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    // The printable area's corner is the painter's origin; the print loops take the printing
    // offset off every position themselves.
    m_printer->setFullPage(false);
}

QtPrinter::~QtPrinter()
{
    if (m_printing)
        Abort();
}

void QtPrinter::SetOutputFile(const QString& path)
{
    requireIdle("output file");
    m_printer->setOutputFileName(path);
    if (!path.isEmpty())
        m_printer->setOutputFormat(QPrinter::PdfFormat);
    m_measureCanvas.reset();
}

void QtPrinter::SetPrinterName(const QString& name)
{
    requireIdle("printer");
    m_printer->setOutputFileName(QString());
    m_printer->setOutputFormat(QPrinter::NativeFormat);
    m_printer->setPrinterName(name);
    m_measureCanvas.reset();
}

bool QtPrinter::Configured() const
{
    if (m_printer->outputFormat() == QPrinter::PdfFormat)
        return !m_printer->outputFileName().isEmpty();
    return m_printer->isValid() && !m_printer->printerName().isEmpty();
}

QString QtPrinter::Name() const
{
    if (m_printer->outputFormat() == QPrinter::PdfFormat)
        return QFileInfo(m_printer->outputFileName()).fileName();
    return m_printer->printerName();
}

void QtPrinter::applyOrientation()
{
    m_printer->setPageOrientation(m_orientation == poLandscape ? QPageLayout::Landscape
                                                               : QPageLayout::Portrait);
}

void QtPrinter::readOrientation()
{
    m_orientation = m_printer->pageLayout().orientation() == QPageLayout::Landscape ? poLandscape : poPortrait;
    m_measureCanvas.reset();
}

TSetupChoice QtPrinter::SetupDialog(QWidget* parent, const TSetupOptions& options)
{
    requireIdle("setup");
    if (options.Orientation)
        m_orientation = *options.Orientation;
    applyOrientation();
    QPrintDialog dialog(m_printer.get(), parent);
    if (options.OfferSelection)
        dialog.setOption(QAbstractPrintDialog::PrintSelection);
    if (!options.SetupTitle.isEmpty()) {
        dialog.setWindowTitle(options.SetupTitle);
        if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
            if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
                ok->setText(QCoreApplication::translate("QPlatformTheme", "OK"));
    }
    m_printer->setPrintRange(QPrinter::AllPages);
    TSetupChoice choice;
    choice.Accepted = dialog.exec() == QDialog::Accepted;
    if (choice.Accepted && options.OfferSelection && m_printer->printRange() == QPrinter::Selection)
        choice.Range = prSelection;
    m_printer->setPrintRange(QPrinter::AllPages);
    readOrientation();
    if (options.Orientation) {
        m_orientation = *options.Orientation;
        applyOrientation();
    }
    return choice;
}

bool QtPrinter::PageSetupDialog(QWidget* parent)
{
    requireIdle("setup");
    applyOrientation();
    QPageSetupDialog dialog(m_printer.get(), parent);
    const bool ok = dialog.exec() == QDialog::Accepted;
    readOrientation();
    return ok;
}

void QtPrinter::startDocument()
{
    if (!Configured())
        throw EPrinter(QStringLiteral("No printer is configured: choose one in the printer setup."));
    applyOrientation();
    m_printer->setPrintRange(m_range == prSelection ? QPrinter::Selection : QPrinter::AllPages);
    m_printer->setDocName(m_title);
    m_printer->setCopyCount(DriverCopies() ? m_copies : 1);
    auto canvas = std::make_unique<TCanvas>();
    // begin() fails when the queue or the file refuses the job: nothing would be printed.
    if (!canvas->Begin(m_printer.get()) || m_printer->printerState() == QPrinter::Error)
        throw EPrinter(QStringLiteral("The print job could not start on \"%1\".").arg(Name()));
    canvas->SetPrinterCanvas(true);
    m_canvas = std::move(canvas);
    m_printing = true;
    m_aborted = false;
    m_pageNumber = 1;
}

void QtPrinter::NewPage()
{
    requirePrinting("NewPage");
    if (!m_printer->newPage())
        throw EPrinter(QStringLiteral("The printer \"%1\" refused a new page.").arg(Name()));
    m_canvas->Refresh();
    ++m_pageNumber;
}

void QtPrinter::finish()
{
    if (m_canvas)
        m_canvas->End();
    m_canvas.reset();
    m_printer->setPrintRange(QPrinter::AllPages);
    m_printing = false;
    m_pageNumber = 0;
}

void QtPrinter::endDocument()
{
    finish();
    if (m_printer->printerState() == QPrinter::Error)
        throw EPrinter(QStringLiteral("The print job on \"%1\" failed.").arg(Name()));
}

void QtPrinter::abortDocument()
{
    m_printer->abort();
    finish();
    if (m_printer->outputFormat() == QPrinter::PdfFormat)
        QFile::remove(m_printer->outputFileName());
    m_aborted = true;
}

TCanvas& QtPrinter::Canvas()
{
    if (m_printing)
        return *m_canvas;
    if (!m_measureCanvas) {
        m_measureCanvas = std::make_unique<TCanvas>();
        m_measureCanvas->SetLogPixels(PixelsPerInchX(), PixelsPerInchY());
        m_measureCanvas->SetPrinterCanvas(true);
    }
    return *m_measureCanvas;
}

// The page layout with the orientation asked for, which reaches the QPrinter only when a job
// starts or a setup dialog opens.
static QPageLayout layoutFor(const QPrinter& printer, TPrinterOrientation orientation)
{
    QPageLayout layout = printer.pageLayout();
    layout.setOrientation(orientation == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    return layout;
}

QSize QtPrinter::PageSizeFor(TPrinterOrientation orientation) const
{
    return layoutFor(*m_printer, orientation).paintRectPixels(m_printer->resolution()).size();
}

int QtPrinter::PageWidth() const
{
    return PageSizeFor(m_orientation).width();
}

int QtPrinter::PageHeight() const
{
    return PageSizeFor(m_orientation).height();
}

int QtPrinter::PixelsPerInchX() const
{
    return m_printer->resolution();
}

int QtPrinter::PixelsPerInchY() const
{
    return m_printer->resolution();
}

TPoint QtPrinter::PrintingOffsetFor(TPrinterOrientation orientation) const
{
    const QPageLayout layout = layoutFor(*m_printer, orientation);
    const QPoint offset = layout.paintRectPixels(m_printer->resolution()).topLeft() -
                          layout.fullRectPixels(m_printer->resolution()).topLeft();
    return {offset.x(), offset.y()};
}

TPoint QtPrinter::PrintingOffset() const
{
    return PrintingOffsetFor(m_orientation);
}

bool QtPrinter::DriverCopies() const
{
    return m_printer->outputFormat() == QPrinter::NativeFormat && m_printer->supportsMultipleCopies();
}

} // namespace platform

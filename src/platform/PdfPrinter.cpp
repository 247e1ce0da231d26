#include "platform/PdfPrinter.h"

#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <cmath>

namespace platform {

namespace {

QPageLayout layoutFor(double widthMM, double heightMM, TPrinterOrientation orientation)
{
    return QPageLayout(QPageSize(QSizeF(widthMM, heightMM), QPageSize::Millimeter),
                       orientation == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

} // namespace

PdfPrinter::PdfPrinter(const QString& filePath) : m_filePath(filePath) {}

PdfPrinter::~PdfPrinter()
{
    if (m_printing)
        EndDoc();
}

void PdfPrinter::SetFilePath(const QString& path)
{
    requireIdle("file");
    m_filePath = path;
}

void PdfPrinter::SetPageSizeMM(double widthMM, double heightMM)
{
    requireIdle("page size");
    if (widthMM > 0 && heightMM > 0) {
        m_widthMM = widthMM;
        m_heightMM = heightMM;
    }
}

void PdfPrinter::SetResolution(int dpi)
{
    requireIdle("resolution");
    if (dpi > 0) {
        m_dpi = dpi;
        m_measureCanvas.reset();
        m_measureImage.reset();
    }
}

void PdfPrinter::startDocument()
{
    if (m_filePath.isEmpty())
        throw EPrinter(QStringLiteral("No output file for the PDF printer"));
    auto writer = std::make_unique<QPdfWriter>(m_filePath);
    writer->setResolution(m_dpi);
    writer->setPageLayout(layoutFor(m_widthMM, m_heightMM, m_orientation));
    writer->setTitle(m_title);
    writer->setCreator(QStringLiteral("Pravolis"));
    auto canvas = std::make_unique<TCanvas>();
    if (!canvas->Begin(writer.get()))
        throw EPrinter(QStringLiteral("Cannot write \"%1\"").arg(m_filePath));
    canvas->SetPrinterCanvas(true);
    m_writer = std::move(writer);
    m_canvas = std::move(canvas);
    m_printing = true;
    m_aborted = false;
    m_pageNumber = 1;
}

void PdfPrinter::NewPage()
{
    requirePrinting("NewPage");
    m_writer->newPage();
    m_canvas->Refresh();
    ++m_pageNumber;
}

void PdfPrinter::finish()
{
    if (m_canvas)
        m_canvas->End();
    m_canvas.reset();
    m_writer.reset();
    m_printing = false;
    m_pageNumber = 0;
}

void PdfPrinter::endDocument()
{
    finish();
}

void PdfPrinter::abortDocument()
{
    finish();
    QFile::remove(m_filePath);
    m_aborted = true;
}

TCanvas& PdfPrinter::Canvas()
{
    if (m_printing)
        return *m_canvas;
    if (!m_measureCanvas) {
        m_measureImage = std::make_unique<QImage>(1, 1, QImage::Format_ARGB32_Premultiplied);
        const int dpm = static_cast<int>(std::lround(m_dpi / 0.0254));
        m_measureImage->setDotsPerMeterX(dpm);
        m_measureImage->setDotsPerMeterY(dpm);
        m_measureImage->fill(Qt::white);
        m_measureCanvas = std::make_unique<TCanvas>(m_measureImage.get());
        m_measureCanvas->SetLogPixels(m_dpi, m_dpi);
        m_measureCanvas->SetPrinterCanvas(true);
    }
    return *m_measureCanvas;
}

int PdfPrinter::PageWidth() const
{
    if (m_writer)
        return m_writer->width();
    return layoutFor(m_widthMM, m_heightMM, m_orientation).paintRectPixels(m_dpi).width();
}

int PdfPrinter::PageHeight() const
{
    if (m_writer)
        return m_writer->height();
    return layoutFor(m_widthMM, m_heightMM, m_orientation).paintRectPixels(m_dpi).height();
}

} // namespace platform

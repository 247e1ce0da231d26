#pragma once

#include "platform/TPrinter.h"

#include <QString>
#include <memory>

class QImage;
class QPdfWriter;

// A printer that writes a PDF file: the page is the whole sheet (no margins, printing offset 0),
// A4 at 300 dots per inch unless set otherwise. Used by tests and benchmarks; the window layer
// offers real printers and "print to file" through QPrinter.
namespace platform {

class PdfPrinter : public TPrinter {
public:
    explicit PdfPrinter(const QString& filePath = QString());
    ~PdfPrinter() override;

    QString FilePath() const { return m_filePath; }
    void SetFilePath(const QString& path);             // throws EPrinter while printing
    // Sheet size in millimetres, portrait; the orientation turns it.
    void SetPageSizeMM(double widthMM, double heightMM); // throws EPrinter while printing
    double PageWidthMM() const { return m_widthMM; }
    double PageHeightMM() const { return m_heightMM; }
    void SetResolution(int dpi);                       // throws EPrinter while printing

    void NewPage() override;
    TCanvas& Canvas() override;

    int PageWidth() const override;
    int PageHeight() const override;
    int PixelsPerInchX() const override { return m_dpi; }
    int PixelsPerInchY() const override { return m_dpi; }
    TPoint PrintingOffset() const override { return {0, 0}; }

protected:
    void startDocument() override;
    void endDocument() override;
    void abortDocument() override;

private:
    void finish();

    QString m_filePath;
    double m_widthMM = 210.0;
    double m_heightMM = 297.0;
    int m_dpi = 300;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<TCanvas> m_canvas;       // the page canvas while printing
    std::unique_ptr<QImage> m_measureImage;  // device of the measuring canvas
    std::unique_ptr<TCanvas> m_measureCanvas;
};

} // namespace platform

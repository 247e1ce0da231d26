#pragma once

#include "barcode/BarcodeTypes.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace platform {
class TCanvas;
}

namespace barcode {

// Where the parts of a symbol go, in pixels relative to its top-left corner, before rotation.
struct TBarcodeGeometry {
    struct Bar {
        int Left = 0, Top = 0, Right = 0, Bottom = 0; // Right and Bottom just outside
    };
    struct Text {
        int X = 0, Y = 0; // centre of the top edge
        QByteArray Text;
    };
    std::vector<Bar> Bars;
    std::vector<Text> Texts;
    int Width = 0;
    int Height = 0;
    int FontHeight = 0; // of the human-readable text, in pixels (cell height)
    int TextHeight = 0; // the font's TextHeight("Ay")
};

// The settings of one barcode. Texts are Windows-1252 bytes: the symbologies are defined on
// those codes (Code 128's special symbols are the characters 131 to 138).
struct TBarcodeParams {
    QByteArray Caption = "4711";
    QByteArray Addon;
    btCodeTypes CodeType = EAN_8;
    btCodeSizes ModuleWidth = SC2;
    btCodeRatio Ratio = Ratio_3;
    std::int32_t HeightPercent = 100;
    QString Fontname = QStringLiteral("Arial");
    std::int32_t Fontscaling = 100;
    bool WidthReduce = false;
    bool HighDensity = false;
    bool ZoomSize = false;
    btCodeRotate Rotation = rotate_000;
    bool HumanReadable = true;
    std::int32_t Code25PSplit = 7;
};

// Encoder and painter of one barcode. Every encoding starts from the settings alone; the buffers
// below only hold the result of the last one.
class TLLBarcode {
public:
    TBarcodeParams Params;

    // The normalised data: filtered text, fixed length, check character, start and stop.
    QByteArray Data;
    // Element flags of the last Code 39 and interleaved 2 of 5 encodings (1 = wide).
    std::vector<std::uint8_t> Elements39;
    std::vector<std::uint8_t> Elements25;
    // One entry per module, used from index 1: 1 = bar, 0 = space (Postnet: 1 = tall bar).
    std::vector<std::uint8_t> Modules;
    std::int32_t ModuleCount = 0;

    // Fills Data, Modules and ModuleCount from Params; raises EOverflow for an unknown code type,
    // an add-on of a wrong length, or a Code 128 text it cannot represent.
    void Encode();

    // Encodes and draws at the pixel position (x, y); returns the size drawn in pixels, width and
    // height already swapped for the quarter turns.
    void Draw(platform::TCanvas& canvas, int x, int y, int& width, int& height);
    // Draws a layout made by Layout (on any canvas of the same resolution) without encoding
    // again; the size drawn as Draw gives it.
    void DrawLayout(platform::TCanvas& canvas, const TBarcodeGeometry& layout, int x, int y, int& width,
                    int& height);

    // Encodes and lays the symbol out for the canvas's resolution, drawing nothing. It sets the
    // canvas font to the text font (unrotated) to measure it.
    TBarcodeGeometry Layout(platform::TCanvas& canvas);

    // The text printed with the symbol, without the add-on (valid after Encode). EAN-8, EAN-13 and
    // UPC-A return all their digits; the drawing splits them in groups.
    QByteArray HumanReadableText() const;

    // "1011..." for modules 1 to ModuleCount: a compact view of the modules.
    QByteArray ModuleString() const;

private:
    void buildEanUpc();
    void buildAddon(const QByteArray& addon);
    void buildCode39();
    void buildCode25();
    void buildCode128();
    void buildMsi();
    void buildCodabar();
    void buildPostnet();
    void buildFim();

    void put(const char* bits);
    void element(bool bar, bool wide);
    void setModule(int k, std::uint8_t value);

    QByteArray m_code128Text;
    int m_fimKind = 2;
};

// The character filter of the first encoding step (for Code 128 the translation into symbol
// characters, ending with a stop placeholder). Raises EOverflow for an unknown type.
void TransfervalidChars(const QByteArray& data, QByteArray& out, btCodeTypes type);

// Appends the MSI check digit to a string of digits; other types leave the buffer alone.
void AddMSIProofchar(QByteArray& buffer, btCodeTypes type);

// Code 128 translation of a caption for a start set: the symbol characters (value + 32) ending
// with a stop placeholder, and the text that shows under the bars.
struct Code128Translation {
    QByteArray Symbols;
    QByteArray Display;
};
Code128Translation TranslateCode128(const QByteArray& text, btCodeTypes type);

} // namespace barcode

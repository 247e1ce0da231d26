#pragma once

#include "DesignModel.h"

#include <QString>

namespace platform {
class TextFileReader;
class TextFileWriter;
}

// The header of a design file and its conversions. Lines 1-2 hold the label size and line 3 the
// version; versions 7 and 8 add the sheet the label was made for, in different units. Files of
// versions 1 to 8 are read (a higher digit reads as 8); version 8 is written.
namespace design {

// The header as it stands in a file, before any of it is applied.
struct TDesignHeader {
    int Version = 8;
    // Lines 1-2, the label size. The unit follows the version: design pixels (96 per inch) below
    // version 6, tenths of a millimetre in versions 6 and 7, hundredths of a millimetre from 8.
    int Width = 0;
    int Height = 0;
    // Version 7 only.
    int TopMarginTenthsMm = 0;
    int BottomMarginTenthsMm = 0;
    int LeftMarginTenthsMm = 0;
    int RightMarginTenthsMm = 0;
    int VerticalGapTenthsMm = 0;
    int HorizontalGapTenthsMm = 0;
    int Orientation = 0; // 1 = landscape
    // Version 8 and above.
    QString FormatName;
    int Columns = 0;
    int Rows = 0;
    int HorizontalGapHundredthsMm = 0;
    int VerticalGapHundredthsMm = 0;
    int LeftMarginHundredthsMm = 0;
    int TopMarginHundredthsMm = 0;
    // The label size again for a round label, else 0.
    int EllipseWidthHundredthsMm = 0;
    int EllipseHeightHundredthsMm = 0;
};

// The largest label size a header of `version` may hold, in that version's unit (10 m).
int MaxLabelSize(int version);

// Reads lines 1 to 3 and the lines of the version's header. The version is the digit that is the
// 8th character of line 3; anything else there is a conversion error. So is a length beyond 10 m
// in its unit (MaxLabelSize, and the limits of DesignFileValues.h for margins and gaps); every
// conversion error names the file and the line.
TDesignHeader ReadDesignHeader(platform::TextFileReader& reader);
TDesignHeader ReadDesignHeader(const QString& path);

// Writes the version-8 header of a design on `format`.
void WriteDesignHeader(platform::TextFileWriter& writer, const TCurrentFormat& format);

// Sets the label size and sheet format from a header, as opening a design does: the format
// fields, and the label size in design pixels at `pixelsPerInch`. A header holding a length
// beyond 10 m in its unit is refused with a conversion error before anything is set.
void ApplyDesignHeader(const TDesignHeader& header, TCurrentFormat& format, int& widthPx,
                       int& heightPx, int pixelsPerInch = TDesignModel::DesignPixelsPerInch);

// Labels of a size (1/100 mm) with a gap and margins (1/10 mm) that fit across (or down) an A4
// side of `pageMm` millimetres, before any limit: 0 when the label and gap add up to nothing,
// negative when the margins are wider than the page.
double RawLabelsOnA4(int pageMm, int labelSizeHundredthsMm, int gapTenthsMm, int marginATenthsMm,
                     int marginBTenthsMm);

// The labels that fit across (or down) an A4 page side of `pageMm` millimetres, from a version-7
// header: 1 to 50. A label and gap that add up to nothing count as 1 label, and so do margins
// wider than the page.
int LabelsOnA4(int pageMm, int labelSizeHundredthsMm, int gapTenthsMm, int marginATenthsMm,
               int marginBTenthsMm);

} // namespace design

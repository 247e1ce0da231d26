#pragma once

#include "FormatFamilies.h"

#include "design/DesignModel.h"

#include <QString>

// The design window's sheet-format command as far as the families are concerned: the format of
// the design is found in the families, or added to the custom family so the dialog can show it.
namespace station {

struct TFormatPlace {
    int Family = -1;
    int Row = -1;
    friend bool operator==(const TFormatPlace&, const TFormatPlace&) = default;
};

// Finds the design's format by name, letter case ignored, in the first family that holds it; a
// format in none is added as a row at the end of the last family (the custom one), where it stays.
// An empty name is looked up, and added, as `unlistedName`, so a design of no format name adds
// one row however often the command runs. No family at all: nothing is found or added.
TFormatPlace LocateDesignFormat(TFormatFamilies& families, const design::TCurrentFormat& format,
                                const QString& unlistedName);

} // namespace station

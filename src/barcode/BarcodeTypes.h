#pragma once

#include "platform/Errors.h"

#include <cstdint>

namespace barcode {

// The barcode settings enumerations. Their value names are also the text under which layouts
// store them, so they stay as they are. The underlying byte lets a caller store any value: a code
// type out of range is only refused when the barcode is encoded.

enum btCodeTypes : std::uint8_t {
    EAN_8,
    EAN_13,
    UPC_A,
    UPC_E,
    CODE39,
    CODE25i,
    CODE25iP,
    CODE128_A,
    CODE128_B,
    CODE128_C,
    MSI_Plessey,
    Codabar,
    Postnet,
    Postnet_FIM
};

enum btCodeSizes : std::uint8_t { SC0, SC1, SC2, SC3, SC4, SC5, SC6, SC7, SC8, SC9 };

enum btCodeRotate : std::uint8_t { rotate_000, rotate_090, rotate_180, rotate_270 };

enum btCodeRatio : std::uint8_t { Ratio_3, Ratio_2 };

// Invalid barcode settings and texts the encoder cannot represent. It reaches the error box like
// any other error; a paint handler catches it and draws nothing.
class EOverflow : public platform::Exception {
public:
    using platform::Exception::Exception;
};

} // namespace barcode

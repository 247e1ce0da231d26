#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>

namespace barcode {

// Character sets and bar patterns of the symbologies. The four table objects exist once for the
// whole program; the remaining patterns are constant data. Every pattern is typed from the
// published standard of its symbology: a wrong flag here prints labels that do not scan.

// Code 39: 44 characters, each nine elements (bar, space, ..., bar), '1' = wide.
class TBarCode39 {
public:
    static const TBarCode39& Instance();
    const QByteArray Chars;
    // Index of the character in Chars, or -1.
    int IndexOf(unsigned char c) const { return Chars.indexOf(static_cast<char>(c)); }
    const char* Pattern(int index) const;

private:
    TBarCode39();
};

// Code 128: the 107 symbol characters (codes 32 to 138, value = code - 32) and each value's
// eleven modules (1 = bar), built from the six bar/space widths of the standard.
class TBarCode128 {
public:
    static const TBarCode128& Instance();
    static constexpr int SymbolCount = 107;
    static constexpr int Stop = 106;
    const QByteArray Chars;
    // The six widths (bar, space, bar, space, bar, space) of a value, each 1 to 4 modules.
    const char* Widths(int value) const;
    const std::array<std::uint8_t, 11>& Modules(int value) const { return m_modules[value]; }

private:
    TBarCode128();
    std::array<std::array<std::uint8_t, 11>, SymbolCount> m_modules{};
};

// Codabar: 20 characters, each seven elements (bar first), '1' = wide.
class TBarCodabar {
public:
    static const TBarCodabar& Instance();
    const QByteArray Chars;
    int IndexOf(unsigned char c) const { return Chars.indexOf(static_cast<char>(c)); }
    const char* Pattern(int index) const;

private:
    TBarCodabar();
};

// Postnet digits (five bars, '1' = tall) and the three facing identification marks.
class TBarPostnet {
public:
    static const TBarPostnet& Instance();
    const QByteArray Chars;
    const char* Pattern(int digit) const;
    // Nine positions, '1' = bar; kind 0, 1, 2 = FIM-A, FIM-B, FIM-C.
    const char* FimPattern(int kind) const;

private:
    TBarPostnet();
};

namespace bartables {

// EAN/UPC number sets, seven modules per digit, '1' = dark: A = odd-parity left set,
// B = even-parity left set, C = right set.
extern const char* const EanSetA[10];
extern const char* const EanSetB[10];
extern const char* const EanSetC[10];
// Left-half sets of EAN-13 by its first digit ('A' or 'B' for digits 2 to 7).
extern const char* const Ean13Parity[10];
// UPC-E number system 0: sets of the six digits by the check digit.
extern const char* const UpcEParity[10];
// UPC-E to UPC-A expansion by the sixth digit; 'X' takes the next of the six digits.
extern const char* const UpcETemplate[10];
// Add-on sets: two digits by value mod 4, five digits by their weighted sum mod 10.
extern const char* const Addon2Parity[4];
extern const char* const Addon5Parity[10];
// Interleaved 2 of 5: five elements per digit, '1' = wide.
extern const char* const Code25Pattern[10];

} // namespace bartables

} // namespace barcode

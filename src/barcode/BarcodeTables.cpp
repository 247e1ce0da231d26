#include "barcode/BarcodeTables.h"

namespace barcode {

namespace {

// Code 39 in the order of TBarCode39::Chars.
const char* const Code39Patterns[44] = {
    "000110100", "100100001", "001100001", "101100000", "000110001", // 0-4
    "100110000", "001110000", "000100101", "100100100", "001100100", // 5-9
    "100001001", "001001001", "101001000", "000011001", "100011000", // A-E
    "001011000", "000001101", "100001100", "001001100", "000011100", // F-J
    "100000011", "001000011", "101000010", "000010011", "100010010", // K-O
    "001010010", "000000111", "100000110", "001000110", "000010110", // P-T
    "110000001", "011000001", "111000000", "010010001", "110010000", // U-Y
    "011010000",                                                     // Z
    "010000101", "110000100", "011000100",                           // - . space
    "010101000", "010100010", "010001010", "000101010",              // $ / + %
    "010010100",                                                     // *
};

// Code 128 values 0 to 106; the stop's seventh element (a 2-module bar) is added when drawing.
const char* const Code128Widths[107] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", // 0-7
    "132212", "221213", "221312", "231212", "112232", "122132", "122231", "113222", // 8-15
    "123122", "123221", "223211", "221132", "221231", "213212", "223112", "312131", // 16-23
    "311222", "321122", "321221", "312212", "322112", "322211", "212123", "212321", // 24-31
    "232121", "111323", "131123", "131321", "112313", "132113", "132311", "211313", // 32-39
    "231113", "231311", "112133", "112331", "132131", "113123", "113321", "133121", // 40-47
    "313121", "211331", "231131", "213113", "213311", "213131", "311123", "311321", // 48-55
    "331121", "312113", "312311", "332111", "314111", "221411", "431111", "111224", // 56-63
    "111422", "121124", "121421", "141122", "141221", "112214", "112412", "122114", // 64-71
    "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111", // 72-79
    "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112", // 80-87
    "421211", "212141", "214121", "412121", "111143", "111341", "131141", "114113", // 88-95
    "114311", "411113", "411311", "113141", "114131", "311141", "411131",           // 96-102
    "211412", "211214", "211232",                                                   // starts A, B, C
    "233111",                                                                       // stop
};

// Codabar in the order of TBarCodabar::Chars.
const char* const CodabarPatterns[20] = {
    "0000011", "0000110", "0001001", "1100000", "0010010", // 0-4
    "1000010", "0100001", "0100100", "0110000", "1001000", // 5-9
    "0001100", "0011000", "1000101", "1010001", "1010100", // - $ : / .
    "0010101",                                             // +
    "0011010", "0101001", "0001011", "0001110",            // A-D
};

const char* const PostnetPatterns[10] = {
    "11000", "00011", "00101", "00110", "01001", "01010", "01100", "10001", "10010", "10100",
};

const char* const FimPatterns[3] = {"110010011", "101101101", "110101011"};

QByteArray code128Chars()
{
    QByteArray chars;
    for (int code = 32; code <= 138; ++code)
        chars.append(static_cast<char>(code));
    return chars;
}

} // namespace

TBarCode39::TBarCode39() : Chars("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%*") {}

const TBarCode39& TBarCode39::Instance()
{
    static const TBarCode39 table;
    return table;
}

const char* TBarCode39::Pattern(int index) const
{
    return Code39Patterns[index];
}

TBarCode128::TBarCode128() : Chars(code128Chars())
{
    for (int value = 0; value < SymbolCount; ++value) {
        int k = 0;
        for (int e = 0; e < 6; ++e) {
            const int width = Code128Widths[value][e] - '0';
            for (int w = 0; w < width && k < 11; ++w)
                m_modules[value][k++] = (e % 2 == 0) ? 1 : 0;
        }
    }
}

const TBarCode128& TBarCode128::Instance()
{
    static const TBarCode128 table;
    return table;
}

const char* TBarCode128::Widths(int value) const
{
    return Code128Widths[value];
}

TBarCodabar::TBarCodabar() : Chars("0123456789-$:/.+ABCD") {}

const TBarCodabar& TBarCodabar::Instance()
{
    static const TBarCodabar table;
    return table;
}

const char* TBarCodabar::Pattern(int index) const
{
    return CodabarPatterns[index];
}

TBarPostnet::TBarPostnet() : Chars("0123456789") {}

const TBarPostnet& TBarPostnet::Instance()
{
    static const TBarPostnet table;
    return table;
}

const char* TBarPostnet::Pattern(int digit) const
{
    return PostnetPatterns[digit];
}

const char* TBarPostnet::FimPattern(int kind) const
{
    return FimPatterns[kind];
}

namespace bartables {

const char* const EanSetA[10] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                                 "0110001", "0101111", "0111011", "0110111", "0001011"};
const char* const EanSetB[10] = {"0100111", "0110011", "0011011", "0100001", "0011101",
                                 "0111001", "0000101", "0010001", "0001001", "0010111"};
const char* const EanSetC[10] = {"1110010", "1100110", "1101100", "1000010", "1011100",
                                 "1001110", "1010000", "1000100", "1001000", "1110100"};

const char* const Ean13Parity[10] = {"AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
                                     "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA"};

const char* const UpcEParity[10] = {"BBBAAA", "BBABAA", "BBAABA", "BBAAAB", "BABBAA",
                                    "BAABBA", "BAAABB", "BABABA", "BABAAB", "BAABAB"};

const char* const UpcETemplate[10] = {"XX00000XXX", "XX10000XXX", "XX20000XXX", "XXX00000XX",
                                      "XXXX00000X", "XXXXX00005", "XXXXX00006", "XXXXX00007",
                                      "XXXXX00008", "XXXXX00009"};

const char* const Addon2Parity[4] = {"AA", "AB", "BA", "BB"};
const char* const Addon5Parity[10] = {"BBAAA", "BABAA", "BAABA", "BAAAB", "ABBAA",
                                      "AABBA", "AAABB", "ABABA", "ABAAB", "AABAB"};

const char* const Code25Pattern[10] = {"00110", "10001", "01001", "11000", "00101",
                                       "10100", "01100", "00011", "10010", "01010"};

} // namespace bartables

} // namespace barcode

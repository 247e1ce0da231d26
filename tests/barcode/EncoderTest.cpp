#include "barcode/BarLL.h"
#include "barcode/BarcodeTables.h"

#include <gtest/gtest.h>

#include <vector>

using namespace barcode;

namespace {

TLLBarcode encoded(btCodeTypes type, const QByteArray& caption, const QByteArray& addon = {})
{
    TLLBarcode bar;
    bar.Params.CodeType = type;
    bar.Params.Caption = caption;
    bar.Params.Addon = addon;
    bar.Encode();
    return bar;
}

std::vector<int> symbolValues(const QByteArray& data)
{
    std::vector<int> values;
    for (char c : data)
        values.push_back(static_cast<unsigned char>(c) - 32);
    return values;
}

QByteArray raw(std::initializer_list<int> codes)
{
    QByteArray s;
    for (int c : codes)
        s.append(static_cast<char>(c));
    return s;
}

// Modules of a bit string drawn as bar/space pairs: 1 = wide bar + narrow space, 0 = narrow bar
// + wide space, wide being three modules.
QByteArray msiModules(const QByteArray& bits)
{
    QByteArray m;
    for (char b : bits)
        m += b == '1' ? "1110" : "1000";
    return m;
}

std::string message(const std::function<void()>& f)
{
    try {
        f();
    } catch (const EOverflow& e) {
        return e.message().toStdString();
    }
    return "no error";
}

} // namespace

TEST(BarcodeEncoder, EanAndUpcDataAndCheckDigits)
{
    TLLBarcode ean8 = encoded(EAN_8, "4711");
    EXPECT_EQ(ean8.Data, "47110007");
    EXPECT_EQ(ean8.ModuleCount, 67);
    EXPECT_EQ(ean8.HumanReadableText(), "47110007");

    EXPECT_EQ(encoded(EAN_13, "590123412345").Data, "5901234123457");
    EXPECT_EQ(encoded(EAN_13, "59012341234599").Data, "5901234123457"); // cut to 12 first
    EXPECT_EQ(encoded(EAN_13, "abcdef").Data, "0000000000000");
    EXPECT_EQ(encoded(EAN_13, "1").ModuleCount, 95);

    TLLBarcode upca = encoded(UPC_A, "03600029145");
    EXPECT_EQ(upca.Data, "036000291452");
    EXPECT_EQ(upca.ModuleCount, 95);

    // 425261 expands to 04210000526, whose check digit is 4.
    TLLBarcode upce = encoded(UPC_E, "425261");
    EXPECT_EQ(upce.Data, "4252614");
    EXPECT_EQ(upce.ModuleCount, 51);
    EXPECT_EQ(upce.HumanReadableText(), "425261");
    EXPECT_EQ(upce.ModuleString().right(6), "010101");
    // Sixth digit 3 and 4 take other templates: 123453 -> 01230000045, 123454 -> 01234000005.
    EXPECT_EQ(encoded(UPC_E, "123453").Data, "1234531");
    EXPECT_EQ(encoded(UPC_E, "123454").Data, "1234543");
}

TEST(BarcodeEncoder, EanModuleLayout)
{
    const QByteArray ean8 = encoded(EAN_8, "9638507").ModuleString(); // 96385074
    EXPECT_EQ(ean8.left(3), "101");
    EXPECT_EQ(ean8.mid(3, 7), "0001011"); // 9, odd left set
    EXPECT_EQ(ean8.mid(31, 5), "01010");
    EXPECT_EQ(ean8.mid(36, 7), "1001110"); // 5, right set
    EXPECT_EQ(ean8.right(3), "101");

    // First digit 5 sets the left half to A B B A A B.
    const QByteArray ean13 = encoded(EAN_13, "590123412345").ModuleString();
    EXPECT_EQ(ean13.mid(3, 7), "0001011");  // 9 in A
    EXPECT_EQ(ean13.mid(10, 7), "0100111"); // 0 in B
    EXPECT_EQ(ean13.mid(17, 7), "0110011"); // 1 in B
    EXPECT_EQ(ean13.mid(24, 7), "0010011"); // 2 in A
    EXPECT_EQ(ean13.right(10), "1000100101"); // 7 in C, end guard
}

TEST(BarcodeEncoder, AddOns)
{
    TLLBarcode two = encoded(EAN_13, "590123412345", "12");
    EXPECT_EQ(two.ModuleCount, 125);
    const QByteArray m2 = two.ModuleString();
    EXPECT_EQ(m2.mid(95, 9), "000000000");
    EXPECT_EQ(m2.mid(104, 4), "1011");
    // 12 mod 4 = 0: both digits in the odd set, separated by 01.
    EXPECT_EQ(m2.mid(108, 16), "0011001" "01" "0010011");

    TLLBarcode five = encoded(UPC_A, "03600029145", "52495");
    EXPECT_EQ(five.ModuleCount, 152);
    // 3 x (5+4+5) + 9 x (2+9) = 141: sets B A B A A.
    const QByteArray m5 = five.ModuleString();
    EXPECT_EQ(m5.mid(104, 4), "1011");
    EXPECT_EQ(m5.mid(108, 7), "0111001"); // 5 in B
    EXPECT_EQ(m5.mid(115, 9), "01" "0010011"); // 2 in A
    EXPECT_EQ(m5.mid(124, 9), "01" "0011101"); // 4 in B

    EXPECT_EQ(message([] { encoded(EAN_13, "1", "123"); }), "BarLL: Wrong Addoncode");
    EXPECT_EQ(message([] { encoded(UPC_A, "1", "1"); }), "BarLL: Wrong Addoncode");
    EXPECT_EQ(encoded(UPC_E, "425261", "123").ModuleCount, 51);
    EXPECT_EQ(encoded(CODE39, "A", "12").ModuleCount, 48);
}

TEST(BarcodeEncoder, Code39)
{
    TLLBarcode bar = encoded(CODE39, "abc");
    EXPECT_EQ(bar.Data, "*ABC*");
    EXPECT_EQ(bar.HumanReadableText(), "ABC");
    EXPECT_EQ(bar.ModuleCount, 5 * 16);
    EXPECT_EQ(bar.Elements39.size(), 45u);
    // '*' = narrow bar, wide space, narrow bar, narrow space, wide bar, ..., then the gap.
    EXPECT_EQ(bar.ModuleString().left(16), "1000101110111010");

    EXPECT_EQ(encoded(CODE39, "a_b").Data, "*A0B*");
    TLLBarcode ratio2;
    ratio2.Params.CodeType = CODE39;
    ratio2.Params.Caption = "";
    ratio2.Params.Ratio = Ratio_2;
    ratio2.Encode();
    EXPECT_EQ(ratio2.ModuleString(), "1001011011010" "1001011011010");
}

TEST(BarcodeEncoder, Interleaved2of5)
{
    EXPECT_EQ(encoded(CODE25i, "1234").Data, "1234");
    TLLBarcode five = encoded(CODE25i, "12345");
    EXPECT_EQ(five.Data, "123457");
    EXPECT_EQ(five.ModuleCount, 4 + 3 * 18 + 5);
    EXPECT_EQ(five.Elements25.size(), 30u);
    EXPECT_EQ(encoded(CODE25i, "12a4").Data, "1204");
    // "12": 1 = wide n n n wide bars, 2 = n wide n n wide spaces.
    EXPECT_EQ(encoded(CODE25i, "12").ModuleString(),
              "1010" "111" "0" "1" "000" "1" "0" "1" "0" "111" "000" "11101");

    TLLBarcode leit = encoded(CODE25iP, "1234567890123");
    EXPECT_EQ(leit.Data, "12345678901236");
    EXPECT_EQ(leit.HumanReadableText(), "12345.678.901.23   6");
    TLLBarcode ident = encoded(CODE25iP, "12345678901");
    EXPECT_EQ(ident.Data, "123456789016");
    EXPECT_EQ(ident.HumanReadableText(), "12.34567   8901   6");
    EXPECT_EQ(encoded(CODE25iP, "1234").HumanReadableText(), "1234");
}

TEST(BarcodeEncoder, Code128Sets)
{
    // 12345 in set C: 12, 34, then the odd digit through CODE A.
    TLLBarcode c = encoded(CODE128_C, "12345");
    EXPECT_EQ(symbolValues(c.Data), (std::vector<int>{105, 12, 34, 101, 21, 57, 106}));
    EXPECT_EQ(c.HumanReadableText(), "12345");
    EXPECT_EQ(c.ModuleCount, 7 * 11 + 2);
    EXPECT_EQ(c.ModuleString().right(13), "1100011101011");

    TLLBarcode b = encoded(CODE128_B, "Hello");
    EXPECT_EQ(symbolValues(b.Data), (std::vector<int>{104, 40, 69, 76, 76, 79, 76, 106}));
    EXPECT_EQ(b.HumanReadableText(), "Hello");

    // Set A encodes lower case as control values and shows spaces for them.
    TLLBarcode a = encoded(CODE128_A, "Ab");
    EXPECT_EQ(symbolValues(a.Data).at(2), 66);
    EXPECT_EQ(a.HumanReadableText(), "A ");

    // Switching only where the text says so.
    const QByteArray switched = "AB" + raw({131}) + "1234" + raw({132}) + "z";
    TLLBarcode s = encoded(CODE128_B, switched);
    const std::vector<int> v = symbolValues(s.Data);
    EXPECT_EQ(std::vector<int>(v.begin(), v.end() - 2), (std::vector<int>{104, 33, 34, 99, 12, 34, 100, 90}));
    EXPECT_EQ(s.HumanReadableText(), "AB1234z");

    // A kept switch symbol and FNC1 show a space.
    EXPECT_EQ(encoded(CODE128_B, raw({132, 134}) + "x").HumanReadableText(), "  x");

    // Check symbol over a long text: every data symbol weighs its position.
    const QByteArray text = "Pravolis 128";
    TLLBarcode longer = encoded(CODE128_B, text);
    int sum = 104;
    for (int i = 0; i < text.size(); ++i)
        sum += (i + 1) * (text[i] - 32);
    EXPECT_EQ(symbolValues(longer.Data).at(text.size() + 1), sum % 103);
}

TEST(BarcodeEncoder, Code128PendingDigitIsNeverLost)
{
    // The odd digit of set C goes out right after a switch to set A or B, as a character of the
    // new set (digits have the same value in both), wherever the switch comes from.
    struct Case {
        btCodeTypes type;
        QByteArray text;
        std::vector<int> values; // without check and stop
        QByteArray shown;
    };
    const std::vector<Case> cases = {
        {CODE128_C, "1" + raw({132}) + "x" + raw({131}) + "2", {105, 100, 17, 88, 99, 101, 18}, "1x2"},
        {CODE128_C, "123" + raw({132}) + "x", {105, 12, 100, 19, 88}, "123x"},
        {CODE128_C, "7" + raw({133}) + "Q", {105, 101, 23, 49}, "7Q"},
        {CODE128_C, "56" + raw({135}) + "7", {105, 56, 103, 23}, "567"},
        {CODE128_C, "567" + raw({136}) + "k", {105, 56, 104, 23, 75}, "567k"},
        // Back in set C through START C nothing is pending any more.
        {CODE128_B, raw({131}) + "5" + raw({133, 137}) + "12", {104, 99, 101, 21, 105, 12}, "512"},
        // FNC1 passes between pairs; met with a digit pending it completes the pair as '0'.
        {CODE128_C, raw({134}) + "12", {105, 102, 12}, " 12"},
        {CODE128_C, "1" + raw({134}) + "2", {105, 10, 101, 18}, "102"},
    };
    for (const Case& c : cases) {
        TLLBarcode bar = encoded(c.type, c.text);
        const std::vector<int> v = symbolValues(bar.Data);
        EXPECT_EQ(std::vector<int>(v.begin(), v.end() - 2), c.values) << c.shown.constData();
        EXPECT_EQ(bar.HumanReadableText(), c.shown);
    }
}

TEST(BarcodeEncoder, Code128Errors)
{
    EXPECT_EQ(message([] { encoded(CODE128_B, raw({'A', 10})); }), "BarcoLL: Code128 error");
    EXPECT_EQ(message([] { encoded(CODE128_A, raw({200})); }), "BarcoLL: Code128 error");
    // Set C counts every non-digit as '0', control characters included.
    EXPECT_EQ(symbolValues(encoded(CODE128_C, raw({'4', 10})).Data).at(1), 40);
    // Characters 127-130 are data in set B (values 95-98) and show as spaces.
    TLLBarcode high = encoded(CODE128_B, raw({127, 130}));
    EXPECT_EQ(symbolValues(high.Data).at(1), 95);
    EXPECT_EQ(symbolValues(high.Data).at(2), 98);
    EXPECT_EQ(high.HumanReadableText(), "  ");
    // A stop character inside the text does not end the symbol early.
    EXPECT_EQ(encoded(CODE128_B, "A" + raw({138}) + "B").Data.count(static_cast<char>(138)), 1);
}

TEST(BarcodeEncoder, Code128Tables)
{
    const TBarCode128& table = TBarCode128::Instance();
    EXPECT_EQ(table.Chars.size(), 107);
    for (int value = 0; value < TBarCode128::SymbolCount; ++value) {
        const char* w = table.Widths(value);
        int modules = 0;
        for (int e = 0; e < 6; ++e)
            modules += w[e] - '0';
        // Every symbol is 11 modules wide with an even number of bar modules.
        EXPECT_EQ(modules, 11) << value;
        EXPECT_EQ((w[0] + w[2] + w[4] - 3 * '0') % 2, 0) << value;
        EXPECT_EQ(table.Modules(value)[0], 1);
        EXPECT_EQ(table.Modules(value)[10], 0);
        for (int other = 0; other < value; ++other)
            EXPECT_STRNE(w, table.Widths(other)) << value << " " << other;
    }
}

TEST(BarcodeEncoder, MsiCheckDigit)
{
    QByteArray digits = "1234567";
    AddMSIProofchar(digits, MSI_Plessey);
    EXPECT_EQ(digits, "12345674");

    // Longer than any integer: computed over the digits.
    QByteArray nines(25, '9');
    AddMSIProofchar(nines, MSI_Plessey);
    EXPECT_EQ(nines, QByteArray(25, '9') + "5");
    QByteArray many = "98765432109876543210987654321";
    AddMSIProofchar(many, MSI_Plessey);
    // Odd positions form 975319753197531, doubled 1950639506395062 (digit sum 69); the even
    // positions add 60: 129 -> check 1.
    EXPECT_EQ(many.right(1), "1");

    QByteArray untouched = "12";
    AddMSIProofchar(untouched, CODE39);
    EXPECT_EQ(untouched, "12");

    TLLBarcode msi = encoded(MSI_Plessey, "12");
    EXPECT_EQ(msi.Data, "125");
    EXPECT_EQ(msi.HumanReadableText(), "125");
    EXPECT_EQ(msi.ModuleString(), msiModules("1" "0001" "0010" "0101" "00"));
}

TEST(BarcodeEncoder, Codabar)
{
    EXPECT_EQ(encoded(Codabar, "123").Data, "A123A");
    EXPECT_EQ(encoded(Codabar, "B12C3D").Data, "B1203D");
    EXPECT_EQ(encoded(Codabar, "").Data, "AA");
    EXPECT_EQ(encoded(Codabar, "c1x2").Data, "C12A");
    EXPECT_EQ(encoded(Codabar, "b12C3d").HumanReadableText(), "1203");
    TLLBarcode bar = encoded(Codabar, "1");
    EXPECT_EQ(bar.ModuleCount, 3 * 8 + 3 * 2 * 2 + 2 * 2); // A, 1, A: 7 elements and a gap each
    // A = n n w w n w n: bar, space, 3-module bar, 3-module space, bar, 3-module space, bar.
    EXPECT_EQ(bar.ModuleString().left(13), "1011100010001");
    EXPECT_LE(encoded(Codabar, QByteArray(60, '5')).Data.size(), 52);
    EXPECT_EQ(encoded(Codabar, QByteArray(60, '5')).Data.back(), 'A');
}

TEST(BarcodeEncoder, PostnetAndFim)
{
    TLLBarcode zip = encoded(Postnet, "12345678");
    EXPECT_EQ(zip.Data, "123455");
    EXPECT_EQ(zip.ModuleCount, 2 + 5 * 6);
    EXPECT_EQ(zip.ModuleString(), "1" "00011" "00101" "00110" "01001" "01010" "01010" "1");
    EXPECT_EQ(encoded(Postnet, "123456789").Data, "1234567895");
    EXPECT_EQ(encoded(Postnet, "1234567890").Data, "1234567895");
    EXPECT_EQ(encoded(Postnet, "1234567890123").Data, "123456789014");
    EXPECT_EQ(encoded(Postnet, "").Data, "000000");

    TLLBarcode fim = encoded(Postnet_FIM, "b");
    EXPECT_EQ(fim.HumanReadableText(), "FIM-B");
    EXPECT_EQ(fim.ModuleString(), "101101101");
    EXPECT_EQ(encoded(Postnet_FIM, "A").ModuleString(), "110010011");
    EXPECT_EQ(encoded(Postnet_FIM, "").HumanReadableText(), "FIM-C");
    EXPECT_EQ(encoded(Postnet_FIM, "x").ModuleString(), "110101011");
}

TEST(BarcodeEncoder, FilterAndUnknownType)
{
    QByteArray out;
    TransfervalidChars("a1b2", out, EAN_13);
    EXPECT_EQ(out, "0102");
    TransfervalidChars("x-y", out, CODE39);
    EXPECT_EQ(out, "*X-Y*");
    TransfervalidChars("aBz", out, Postnet_FIM);
    EXPECT_EQ(out, "aB0");
    EXPECT_EQ(message([&] { TransfervalidChars("1", out, static_cast<btCodeTypes>(14)); }),
              "Barcode: Unknown Type of Barcode");

    // A failed encoding leaves the settings as they were.
    TLLBarcode bar;
    bar.Params.CodeType = static_cast<btCodeTypes>(20);
    bar.Params.Caption = "12";
    EXPECT_EQ(message([&] { bar.Encode(); }), "Barcode: Unknown Type of Barcode");
    EXPECT_EQ(bar.Params.Caption, "12");
}

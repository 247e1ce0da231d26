#include "barcode/BarLL.h"

#include "barcode/BarcodeTables.h"

#include <algorithm>
#include <array>
#include <string>

namespace barcode {

using namespace bartables;

namespace {

const QByteArray Digits = "0123456789";

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int digitValue(char c)
{
    return isDigit(c) ? c - '0' : 0;
}

char upperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool isCodabarStartStop(char c)
{
    return c >= 'A' && c <= 'D';
}

// Every character outside the set becomes '0'.
QByteArray keepOrZero(const QByteArray& data, const QByteArray& valid)
{
    QByteArray out = data;
    for (char& c : out)
        if (!valid.contains(c))
            c = '0';
    return out;
}

QByteArray codabarFilter(const QByteArray& data)
{
    const QByteArray text = data.toUpper();
    const TBarCodabar& table = TBarCodabar::Instance();
    QByteArray out;
    if (text.isEmpty() || !isCodabarStartStop(text.front()))
        out.append('A');
    for (char c : text)
        if (table.Chars.contains(c))
            out.append(c);
    if (text.isEmpty() || !isCodabarStartStop(text.back()))
        out.append('A');
    while (out.size() < 2)
        out.append('A');
    // At most 52 characters; the closing character is kept so the symbol still ends in A-D.
    if (out.size() > 52)
        out = out.left(51) + out.right(1);
    for (qsizetype i = 1; i + 1 < out.size(); ++i)
        if (isCodabarStartStop(out[i]))
            out[i] = '0';
    return out;
}

QByteArray cutOrPad(const QByteArray& data, int length)
{
    QByteArray out = data.left(length);
    while (out.size() < length)
        out.append('0');
    return out;
}

// Modulo-10 check over the digits with the weight of each position.
char modulo10(const QByteArray& digits, const auto& weightOf)
{
    int sum = 0;
    for (qsizetype i = 0; i < digits.size(); ++i)
        sum += digitValue(digits[i]) * weightOf(static_cast<int>(i));
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

char weightedCheck(const QByteArray& digits, const char* weights)
{
    const int count = static_cast<int>(std::char_traits<char>::length(weights));
    return modulo10(digits, [&](int i) { return i < count ? weights[i] - '0' : 0; });
}

QByteArray upcEExpansion(const QByteArray& six)
{
    QByteArray expansion = "0";
    int next = 0;
    for (const char* t = UpcETemplate[digitValue(six[5])]; *t; ++t)
        expansion.append(*t == 'X' ? six[next++] : *t);
    return expansion;
}

void addCheck(QByteArray& data, btCodeTypes type)
{
    switch (type) {
    case EAN_8:
        data.append(weightedCheck(data, "3131313"));
        break;
    case EAN_13:
        data.append(weightedCheck(data, "131313131313"));
        break;
    case UPC_A:
        data.append(weightedCheck(data, "31313131313"));
        break;
    case UPC_E:
        data.append(weightedCheck(upcEExpansion(data), "31313131313"));
        break;
    case CODE25i:
    case CODE25iP:
        if (data.size() % 2 == 1) {
            const int even = type == CODE25i ? 3 : 4;
            const int odd = type == CODE25i ? 1 : 9;
            data.append(modulo10(data, [&](int i) { return i % 2 == 0 ? even : odd; }));
        }
        break;
    case Postnet:
        data.append(weightedCheck(data, "11111111111"));
        break;
    case MSI_Plessey:
        AddMSIProofchar(data, type);
        break;
    case CODE128_A:
    case CODE128_B:
    case CODE128_C: {
        int sum = static_cast<unsigned char>(data[0]) - 32;
        for (qsizetype i = 1; i + 1 < data.size(); ++i)
            sum += static_cast<int>(i) * (static_cast<unsigned char>(data[i]) - 32);
        data[data.size() - 1] = static_cast<char>(sum % 103 + 32);
        data.append(static_cast<char>(TBarCode128::Stop + 32));
        break;
    }
    default:
        break;
    }
}

void applyLength(QByteArray& data, btCodeTypes type)
{
    switch (type) {
    case EAN_8:
        data = cutOrPad(data, 7);
        break;
    case EAN_13:
        data = cutOrPad(data, 12);
        break;
    case UPC_A:
        data = cutOrPad(data, 11);
        break;
    case UPC_E:
        data = cutOrPad(data, 6);
        break;
    case Postnet:
        data = data.size() >= 11 ? data.left(11) : data.size() >= 9 ? data.left(9) : cutOrPad(data, 5);
        break;
    default:
        break;
    }
}

const char* eanSet(char set, char digit)
{
    const int d = digitValue(digit);
    return set == 'A' ? EanSetA[d] : set == 'B' ? EanSetB[d] : EanSetC[d];
}

} // namespace

void TransfervalidChars(const QByteArray& data, QByteArray& out, btCodeTypes type)
{
    switch (type) {
    case EAN_8:
    case EAN_13:
    case UPC_A:
    case UPC_E:
    case CODE25i:
    case CODE25iP:
    case MSI_Plessey:
    case Postnet:
        out = keepOrZero(data, Digits);
        break;
    case CODE39:
        out = "*" + keepOrZero(data.toUpper(), TBarCode39::Instance().Chars) + "*";
        break;
    case CODE128_A:
    case CODE128_B:
    case CODE128_C:
        out = TranslateCode128(data, type).Symbols;
        break;
    case Codabar:
        out = codabarFilter(data);
        break;
    case Postnet_FIM:
        out = keepOrZero(data, "ABCabc");
        break;
    default:
        throw EOverflow(QStringLiteral("Barcode: Unknown Type of Barcode"));
    }
}

void AddMSIProofchar(QByteArray& buffer, btCodeTypes type)
{
    if (type != MSI_Plessey)
        return;
    // The odd positions (from the right) form a number that is doubled; any number of digits is
    // handled by doubling the decimal string itself rather than an integer.
    QByteArray odd;
    int sum = 0;
    const qsizetype n = buffer.size();
    for (qsizetype i = 0; i < n; ++i) {
        const bool oddFromRight = (n - i) % 2 == 1;
        if (oddFromRight)
            odd.append(buffer[i]);
        else
            sum += digitValue(buffer[i]);
    }
    int carry = 0;
    for (qsizetype i = odd.size() - 1; i >= 0; --i) {
        const int doubled = 2 * digitValue(odd[i]) + carry;
        sum += doubled % 10;
        carry = doubled / 10;
    }
    sum += carry;
    buffer.append(static_cast<char>('0' + (10 - sum % 10) % 10));
}

void TLLBarcode::Encode()
{
    const btCodeTypes type = Params.CodeType;
    const bool withAddon = (type == EAN_13 || type == UPC_A) && !Params.Addon.isEmpty();
    if (withAddon && Params.Addon.size() != 2 && Params.Addon.size() != 5)
        throw EOverflow(QStringLiteral("BarLL: Wrong Addoncode"));

    QByteArray data;
    TransfervalidChars(Params.Caption, data, type);
    applyLength(data, type);
    addCheck(data, type);
    if (type == CODE128_A || type == CODE128_B || type == CODE128_C)
        m_code128Text = TranslateCode128(Params.Caption, type).Display;

    Data = data;
    Modules.assign(834, 0);
    ModuleCount = 0;
    Elements39.clear();
    Elements25.clear();

    switch (type) {
    case EAN_8:
    case EAN_13:
    case UPC_A:
    case UPC_E:
        buildEanUpc();
        break;
    case CODE39:
        buildCode39();
        break;
    case CODE25i:
    case CODE25iP:
        buildCode25();
        break;
    case CODE128_A:
    case CODE128_B:
    case CODE128_C:
        buildCode128();
        break;
    case MSI_Plessey:
        buildMsi();
        break;
    case Codabar:
        buildCodabar();
        break;
    case Postnet:
        buildPostnet();
        break;
    case Postnet_FIM:
        buildFim();
        break;
    }
    if (withAddon)
        buildAddon(Params.Addon);
}

void TLLBarcode::setModule(int k, std::uint8_t value)
{
    if (k >= static_cast<int>(Modules.size()))
        Modules.resize(k + 1, 0);
    Modules[k] = value;
}

void TLLBarcode::put(const char* bits)
{
    for (const char* b = bits; *b; ++b)
        setModule(++ModuleCount, *b == '1' ? 1 : 0);
}

void TLLBarcode::element(bool bar, bool wide)
{
    const int width = wide ? (Params.Ratio == Ratio_2 ? 2 : 3) : 1;
    const int last = ModuleCount + width;
    if (last >= static_cast<int>(Modules.size()))
        Modules.resize(static_cast<std::size_t>(last) + 1, 0);
    std::fill(Modules.begin() + ModuleCount + 1, Modules.begin() + last + 1, bar ? 1 : 0);
    ModuleCount = last;
}

void TLLBarcode::buildEanUpc()
{
    const btCodeTypes type = Params.CodeType;
    put("101");
    if (type == EAN_8) {
        for (int i = 0; i < 4; ++i)
            put(eanSet('A', Data[i]));
        put("01010");
        for (int i = 4; i < 8; ++i)
            put(eanSet('C', Data[i]));
        put("101");
    } else if (type == EAN_13) {
        const char* parity = Ean13Parity[digitValue(Data[0])];
        for (int i = 1; i < 7; ++i)
            put(eanSet(parity[i - 1], Data[i]));
        put("01010");
        for (int i = 7; i < 13; ++i)
            put(eanSet('C', Data[i]));
        put("101");
    } else if (type == UPC_A) {
        for (int i = 0; i < 6; ++i)
            put(eanSet('A', Data[i]));
        put("01010");
        for (int i = 6; i < 12; ++i)
            put(eanSet('C', Data[i]));
        put("101");
    } else {
        const char* parity = UpcEParity[digitValue(Data[6])];
        for (int i = 0; i < 6; ++i)
            put(eanSet(parity[i], Data[i]));
        put("010101");
    }
}

void TLLBarcode::buildAddon(const QByteArray& addon)
{
    // Modules 96 to 104 stay spaces between the symbol and its add-on.
    ModuleCount = 104;
    put("1011");
    if (addon.size() == 2) {
        const int value = digitValue(addon[0]) * 10 + digitValue(addon[1]);
        const char* parity = Addon2Parity[value % 4];
        put(eanSet(parity[0], addon[0]));
        put("01");
        put(eanSet(parity[1], addon[1]));
        ModuleCount = 125;
    } else {
        int d[5];
        for (int i = 0; i < 5; ++i)
            d[i] = digitValue(addon[i]);
        const char* parity = Addon5Parity[(3 * (d[0] + d[2] + d[4]) + 9 * (d[1] + d[3])) % 10];
        for (int i = 0; i < 5; ++i) {
            if (i > 0)
                put("01");
            put(eanSet(parity[i], addon[i]));
        }
        ModuleCount = 152;
    }
}

void TLLBarcode::buildCode39()
{
    const TBarCode39& table = TBarCode39::Instance();
    // The pattern of every byte, looked up once: each character of every label is encoded.
    static const std::array<const char*, 256> patterns = [&table] {
        std::array<const char*, 256> byByte{};
        for (int c = 0; c < 256; ++c)
            byByte[static_cast<std::size_t>(c)] = table.Pattern(std::max(0, table.IndexOf(static_cast<unsigned char>(c))));
        return byByte;
    }();
    Elements39.reserve(static_cast<std::size_t>(Data.size()) * 9);
    for (char c : Data) {
        const char* pattern = patterns[static_cast<unsigned char>(c)];
        for (int e = 0; e < 9; ++e) {
            const bool wide = pattern[e] == '1';
            Elements39.push_back(wide ? 1 : 0);
            element(e % 2 == 0, wide);
        }
        element(false, false);
    }
}

void TLLBarcode::buildCode25()
{
    for (int i = 0; i < 4; ++i)
        element(i % 2 == 0, false);
    for (qsizetype i = 0; i + 1 < Data.size(); i += 2) {
        const char* bars = Code25Pattern[digitValue(Data[i])];
        const char* spaces = Code25Pattern[digitValue(Data[i + 1])];
        for (int e = 0; e < 5; ++e) {
            Elements25.push_back(bars[e] == '1' ? 1 : 0);
            Elements25.push_back(spaces[e] == '1' ? 1 : 0);
            element(true, bars[e] == '1');
            element(false, spaces[e] == '1');
        }
    }
    element(true, true);
    element(false, false);
    element(true, false);
}

void TLLBarcode::buildCode128()
{
    const TBarCode128& table = TBarCode128::Instance();
    for (char c : Data) {
        const int value = std::clamp(static_cast<unsigned char>(c) - 32, 0, TBarCode128::Stop);
        for (std::uint8_t module : table.Modules(value))
            setModule(++ModuleCount, module);
    }
    put("11"); // the stop pattern ends with a bar two modules wide
}

void TLLBarcode::buildMsi()
{
    auto bit = [this](bool one) {
        element(true, one);
        element(false, !one);
    };
    bit(true);
    for (char c : Data) {
        const int d = digitValue(c);
        for (int b = 3; b >= 0; --b)
            bit((d >> b) & 1);
    }
    bit(false);
    bit(false);
}

void TLLBarcode::buildCodabar()
{
    const TBarCodabar& table = TBarCodabar::Instance();
    for (char c : Data) {
        const char* pattern = table.Pattern(std::max(0, table.IndexOf(static_cast<unsigned char>(c))));
        for (int e = 0; e < 7; ++e)
            element(e % 2 == 0, pattern[e] == '1');
        element(false, false);
    }
}

void TLLBarcode::buildPostnet()
{
    const TBarPostnet& table = TBarPostnet::Instance();
    put("1");
    for (char c : Data)
        put(table.Pattern(digitValue(c)));
    put("1");
}

void TLLBarcode::buildFim()
{
    const char first = Data.isEmpty() ? 'C' : upperAscii(Data[0]);
    m_fimKind = first == 'A' ? 0 : first == 'B' ? 1 : 2;
    put(TBarPostnet::Instance().FimPattern(m_fimKind));
}

QByteArray TLLBarcode::HumanReadableText() const
{
    switch (Params.CodeType) {
    case UPC_E:
        return Data.left(6);
    case CODE39:
    case Codabar:
        return Data.size() >= 2 ? Data.mid(1, Data.size() - 2) : QByteArray();
    case CODE25iP: {
        if (Data.size() == 14)
            return Data.left(5) + "." + Data.mid(5, 3) + "." + Data.mid(8, 3) + "." + Data.mid(11, 2)
                   + "   " + Data.right(1);
        const int split = std::clamp<int>(Params.Code25PSplit, 2, 7);
        if (Data.size() == 12)
            return Data.left(2) + "." + Data.mid(2, split - 2) + "   " + Data.mid(split, 4) + "   "
                   + Data.right(1);
        return Data;
    }
    case CODE128_A:
    case CODE128_B:
    case CODE128_C:
        return m_code128Text;
    case Postnet_FIM:
        return QByteArray("FIM-") + static_cast<char>('A' + m_fimKind);
    default:
        return Data;
    }
}

QByteArray TLLBarcode::ModuleString() const
{
    QByteArray s;
    for (int k = 1; k <= ModuleCount && k < static_cast<int>(Modules.size()); ++k)
        s.append(Modules[k] ? '1' : '0');
    return s;
}

} // namespace barcode

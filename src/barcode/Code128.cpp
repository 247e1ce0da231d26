#include "barcode/BarLL.h"

namespace barcode {

// Code 128 is written the way the text says: the code set changes only where the text holds one
// of the switch characters (131 CODE C, 132 CODE B, 133 CODE A, 135-137 the starts), never
// automatically.

namespace {

enum CodeSet { SetA, SetB, SetC };

constexpr int ValueCodeC = 99;
constexpr int ValueCodeB = 100;
constexpr int ValueCodeA = 101;
constexpr int ValueFnc1 = 102;
constexpr int ValueStartA = 103;
constexpr int ValueStop = 106;

class Translator {
public:
    explicit Translator(btCodeTypes type)
        : m_set(type == CODE128_A ? SetA : type == CODE128_B ? SetB : SetC)
    {
        send(ValueStartA + m_set);
    }

    void feed(unsigned char c)
    {
        switch (c) {
        case 131:
            switchOrKeep(SetC, ValueCodeC);
            return;
        case 132:
            switchOrKeep(SetB, ValueCodeB);
            return;
        case 133:
            switchOrKeep(SetA, ValueCodeA);
            return;
        case 134:
            keep(ValueFnc1);
            return;
        case 135:
        case 136:
        case 137:
            send(c - 32);
            enter(static_cast<CodeSet>(c - 135));
            return;
        case 138:
            // The stop closes every symbol anyway; one in the middle would end the scan there.
            return;
        default:
            break;
        }
        if (m_set == SetC) {
            pairDigit(c >= '0' && c <= '9' ? c - '0' : 0);
            return;
        }
        if (c < 32 || c > 130)
            throw EOverflow(QStringLiteral("BarcoLL: Code128 error"));
        send(c - 32);
        const int lastShown = m_set == SetA ? 95 : 126;
        m_result.Display.append(c <= lastShown ? static_cast<char>(c) : ' ');
    }

    Code128Translation finish()
    {
        // A set-C digit still waiting for its partner is never lost: it goes out as CODE A and
        // its set-A symbol.
        if (m_pending >= 0) {
            send(ValueCodeA);
            enter(SetA);
        }
        send(ValueStop); // placeholder, replaced by the check symbol
        return m_result;
    }

private:
    void send(int value) { m_result.Symbols.append(static_cast<char>(value + 32)); }

    void switchOrKeep(CodeSet target, int value)
    {
        if (m_set == target) {
            keep(value);
            return;
        }
        send(value);
        enter(target);
    }

    // Makes a set active once its switch or start symbol is sent. A set-C digit still waiting
    // for its partner goes out first thing in the new set, so the symbol reads in the order the
    // text was typed; in sets A and B a digit has the same value.
    void enter(CodeSet set)
    {
        m_set = set;
        if (m_set == SetC || m_pending < 0)
            return;
        send(m_pending + 16);
        m_result.Display.append(static_cast<char>('0' + m_pending));
        m_pending = -1;
    }

    // A special symbol that stays in the data. In set C it may only stand between pairs: with a
    // digit pending it is a non-digit completing that pair, which counts as '0'.
    void keep(int value)
    {
        if (m_set == SetC && m_pending >= 0) {
            pairDigit(0);
            return;
        }
        send(value);
        m_result.Display.append(' ');
    }

    void pairDigit(int digit)
    {
        if (m_pending < 0) {
            m_pending = digit;
            return;
        }
        send(m_pending * 10 + digit);
        m_result.Display.append(static_cast<char>('0' + m_pending));
        m_result.Display.append(static_cast<char>('0' + digit));
        m_pending = -1;
    }

    CodeSet m_set;
    int m_pending = -1;
    Code128Translation m_result;
};

} // namespace

Code128Translation TranslateCode128(const QByteArray& text, btCodeTypes type)
{
    Translator translator(type);
    for (char c : text)
        translator.feed(static_cast<unsigned char>(c));
    return translator.finish();
}

} // namespace barcode

#pragma once

#include "platform/TextFile.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstddef>
#include <cstdint>

// The values of a design file, in both directions. The header and each kind of record list their
// fields once, as a function template over a value visitor; TDesignValueReader fills the fields
// from a file and TDesignValueWriter writes them, so the order of the lines is stated in one place
// and the reader and the writer cannot drift apart. Used by DesignHeader.cpp and
// DesignFileFormat.cpp only.
namespace design {

// The largest length a design file may hold: 10 m, in each of the units its fields use. Anything
// beyond is a damaged file; below it, every conversion and offset stays far inside an int.
inline constexpr int MaxDesignPixels = 37795; // 10 m at 96 pixels per inch
inline constexpr int MaxTenthsMm = 100000;
inline constexpr int MaxHundredthsMm = 1000000;

class TDesignValueReader {
public:
    // With an offset the positions are moved by it as they are read (a paste); the sum is held to
    // the same limit as a position in the file.
    explicit TDesignValueReader(platform::TextFileReader& r, std::int64_t dx = 0,
                                std::int64_t dy = 0)
        : m_r(r), m_dx(dx), m_dy(dy)
    {
    }

    void integer(int& v) { v = m_r.readInteger(); }
    void string(QString& v) { v = m_r.readLine(); }
    // Exactly 1 is true; every other number is false.
    void boolean(bool& v) { v = m_r.readInteger() == 1; }

    // A length or size of at most `maxAbs` either way, in the field's unit.
    void length(int& v, int maxAbs, const char* what)
    {
        v = checked(m_r.readInteger(), 0, maxAbs, what);
    }
    // A position in design pixels, moved by the paste offset.
    void x(int& v) { v = checked(m_r.readInteger(), m_dx, MaxDesignPixels, "horizontal position"); }
    void y(int& v) { v = checked(m_r.readInteger(), m_dy, MaxDesignPixels, "vertical position"); }

    // A code that must index its table.
    template <class E, std::size_t N>
    void code(E& v, const std::array<E, N>& table, const char* what)
    {
        const int c = m_r.readInteger();
        if (c < 0 || c >= static_cast<int>(N))
            fail(QStringLiteral("%1 is not a valid %2 code").arg(c).arg(QLatin1String(what)));
        v = table[static_cast<std::size_t>(c)];
    }
    void range(int& v, int low, int high, const char* what)
    {
        v = m_r.readInteger();
        if (v < low || v > high)
            fail(QStringLiteral("%1 is not a valid %2 code").arg(v).arg(QLatin1String(what)));
    }

    // A count line, then that many lines. Nothing is reserved from the count: a damaged count runs
    // into the end of the file instead of exhausting memory.
    void lines(QStringList& v)
    {
        const int count = m_r.readInteger();
        v.clear();
        for (int i = 0; i < count; ++i)
            v << m_r.readLine();
    }

    // A value read earlier, at `line`, held to `maxAbs` either way once its unit is known.
    void check(int v, int maxAbs, const char* what, int line) const;

    // A conversion error naming the file and `line`, by default the line read last.
    [[noreturn]] void fail(const QString& what, int line = 0) const;

private:
    int checked(int value, std::int64_t offset, int maxAbs, const char* what, int line = 0) const;

    platform::TextFileReader& m_r;
    std::int64_t m_dx;
    std::int64_t m_dy;
};

class TDesignValueWriter {
public:
    explicit TDesignValueWriter(platform::TextFileWriter& w) : m_w(w) {}

    void integer(int v) { m_w.writeInteger(v); }
    void string(const QString& v) { m_w.writeLine(v); }
    void boolean(bool v) { m_w.writeBool(v); }
    void length(int v, int, const char*) { integer(v); }
    void x(int v) { integer(v); }
    void y(int v) { integer(v); }
    // A value missing from the table (a pen style the file cannot express) is written as the
    // table's first entry.
    template <class E, std::size_t N>
    void code(E v, const std::array<E, N>& table, const char*)
    {
        int c = 0;
        for (std::size_t i = 0; i < N; ++i)
            if (table[i] == v)
                c = static_cast<int>(i);
        integer(c);
    }
    void range(int v, int, int, const char*) { integer(v); }
    void lines(const QStringList& v)
    {
        integer(static_cast<int>(v.size()));
        for (const QString& line : v)
            string(line);
    }

private:
    platform::TextFileWriter& m_w;
};

} // namespace design

#pragma once

#include <QString>
#include <QStringList>

// The program's data files hold one value per line: integers in decimal, booleans as 1 or 0,
// strings as whole lines, no quoting. Readers accept UTF-8 or Windows-1252 and CR LF or LF;
// writers write UTF-8 with CR LF, all or nothing.
namespace platform {

class TextFileReader {
public:
    // Reads the whole file; throws EInOutError when it cannot be opened.
    explicit TextFileReader(const QString& path);
    // Reads lines held in memory; `name` appears in error messages.
    static TextFileReader fromText(const QString& text, const QString& name);

    bool eof() const { return m_next >= m_lines.size(); }
    // 1-based number of the line read last (0 before the first read).
    int lineNumber() const { return static_cast<int>(m_next); }
    const QString& fileName() const { return m_name; }

    // Throws EInOutError past the end of the file.
    QString readLine();
    // Leading blanks, an optional sign and decimal digits, then the end of the line or a blank
    // (whatever follows the blank is skipped); anything else is an EConvertError naming the file
    // and line.
    int readInteger();
    // A boolean line is an integer; non-zero is true.
    bool readBool() { return readInteger() != 0; }

private:
    TextFileReader() = default;
    QString m_name;
    QStringList m_lines;
    qsizetype m_next = 0;
};

class TextFileWriter {
public:
    explicit TextFileWriter(const QString& path) : m_path(path) {}

    // A value is one line: a line break inside it (CR LF, CR or LF) is written as a blank, since
    // it would shift every line after it and scramble the rest of the file.
    void writeLine(const QString& line);
    void writeInteger(int value) { m_lines << QString::number(value); }
    void writeBool(bool value) { m_lines << QString(value ? QStringLiteral("1") : QStringLiteral("0")); }

    // The exact bytes commit() writes.
    QByteArray bytes() const;
    // Replaces the file at once or leaves it untouched; throws EInOutError on failure.
    void commit() const;

private:
    QString m_path;
    QStringList m_lines;
};

// Splits a text on CR LF, LF or a lone CR; a final line end does not start an empty line.
QStringList splitLines(const QString& text);
// Parses an integer line as the readers do; `ok` false when it is not one.
int parseIntegerLine(const QString& line, bool* ok);
// Parses the line's first word as an integer line: what follows a blank is skipped, as the old
// readers skipped the rest of the line once they had their number.
int parseFirstWordInteger(const QString& line, bool* ok);
// Writes bytes to a file through a temporary (QSaveFile); throws EInOutError on failure.
void writeFileAtomically(const QString& path, const QByteArray& bytes);
// Reads a whole file; throws EInOutError when it cannot be opened.
QByteArray readFileBytes(const QString& path);

} // namespace platform

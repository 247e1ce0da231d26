#include "TextFile.h"

#include "Errors.h"
#include "TextCodec.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <limits>

namespace platform {

QStringList splitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            lines << text.mid(start, i - start);
            if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines << text.mid(start);
    return lines;
}

int parseFirstWordInteger(const QString& line, bool* ok)
{
    qsizetype end = 0;
    while (end < line.size() && (line[end] == u' ' || line[end] == u'\t'))
        ++end;
    while (end < line.size() && line[end] != u' ' && line[end] != u'\t')
        ++end;
    return parseIntegerLine(line.left(end), ok);
}

int parseIntegerLine(const QString& line, bool* ok)
{
    *ok = false;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n && (line[i] == u' ' || line[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < n && (line[i] == u'+' || line[i] == u'-')) {
        negative = line[i] == u'-';
        ++i;
    }
    const qsizetype digitsStart = i;
    qint64 value = 0;
    while (i < n && line[i] >= u'0' && line[i] <= u'9') {
        value = value * 10 + (line[i].unicode() - u'0');
        if (value > static_cast<qint64>(std::numeric_limits<int>::max()) + 1)
            return 0;
        ++i;
    }
    if (i == digitsStart)
        return 0;
    for (qsizetype k = i; k < n; ++k)
        if (line[k] != u' ' && line[k] != u'\t')
            return 0;
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return 0;
    *ok = true;
    return static_cast<int>(value);
}

QByteArray readFileBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw EInOutError(readErrorMessage(path, f.errorString()));
    return f.readAll();
}

void writeFileAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        throw EInOutError(readErrorMessage(path, f.errorString()));
    if (f.write(bytes) != bytes.size() || !f.commit())
        throw EInOutError(readErrorMessage(path, f.errorString()));
}

TextFileReader::TextFileReader(const QString& path)
    : m_name(path), m_lines(splitLines(decodeText(readFileBytes(path))))
{
}

TextFileReader TextFileReader::fromText(const QString& text, const QString& name)
{
    TextFileReader r;
    r.m_name = name;
    r.m_lines = splitLines(text);
    return r;
}

QString TextFileReader::readLine()
{
    if (eof())
        throw EInOutError(readErrorMessage(m_name, QStringLiteral("read beyond end of file")));
    return m_lines.at(m_next++);
}

int TextFileReader::readInteger()
{
    const QString line = readLine();
    bool ok;
    const int v = parseFirstWordInteger(line, &ok);
    if (!ok)
        throw EConvertError(convertMessage(line, QFileInfo(m_name).fileName(), lineNumber()));
    return v;
}

void TextFileWriter::writeLine(const QString& line)
{
    QString value = line;
    value.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    m_lines << value;
}

QByteArray TextFileWriter::bytes() const
{
    QByteArray out;
    // A first value that begins with a byte-order mark character would lose it to the reader,
    // which drops the file's mark: a mark of the file's own keeps it.
    if (!m_lines.isEmpty() && m_lines.first().startsWith(QChar(0xFEFF)))
        out += "\xEF\xBB\xBF";
    for (const QString& l : m_lines) {
        out += l.toUtf8();
        out += "\r\n";
    }
    return out;
}

void TextFileWriter::commit() const
{
    writeFileAtomically(m_path, bytes());
}

} // namespace platform

#include "AddressBookFile.h"

#include "platform/Errors.h"
#include "platform/TStringGrid.h"
#include "platform/TextCodec.h"
#include "platform/TextFile.h"

#include <QFileInfo>

#include <array>

namespace addressbook {

namespace {

// Walks the decoded text line by line without building a list of all its lines: a book of
// 100,000 entries is 1.8 million of them.
class LineCursor {
public:
    LineCursor(const QString& text, const QString& name) : m_text(text), m_name(name) {}

    // The line where it lies in the text: a book's cells are packed from it without a string
    // of their own.
    bool next(QStringView* line)
    {
        const qsizetype n = m_text.size();
        if (m_pos >= n)
            return false;
        qsizetype end = m_pos;
        const QChar* data = m_text.constData();
        while (end < n && data[end] != u'\r' && data[end] != u'\n')
            ++end;
        *line = QStringView(m_text).sliced(m_pos, end - m_pos);
        // CR LF, LF or a lone CR ends a line; the text's end ends the last one.
        m_pos = end < n ? end + 1 : n;
        if (end < n && data[end] == u'\r' && m_pos < n && data[m_pos] == u'\n')
            ++m_pos;
        ++m_line;
        return true;
    }

    // The number is the line's first word, as the program's other files read it.
    bool integer(int* value, QString* error)
    {
        QStringView view;
        if (!next(&view)) {
            *error = platform::readErrorMessage(m_name, QStringLiteral("read beyond end of file"));
            return false;
        }
        const QString line = view.toString();
        bool ok = false;
        *value = platform::parseFirstWordInteger(line, &ok);
        if (!ok)
            *error = platform::convertMessage(line, QFileInfo(m_name).fileName(), m_line);
        return ok;
    }

    bool text(QStringView* value, QString* error)
    {
        if (next(value))
            return true;
        *error = platform::readErrorMessage(m_name, QStringLiteral("read beyond end of file"));
        return false;
    }

private:
    const QString& m_text;
    QString m_name;
    qsizetype m_pos = 0;
    int m_line = 0;
};

void appendLine(QByteArray& out, QStringView value)
{
    if (value.contains(u'\r') || value.contains(u'\n')) {
        QString one = value.toString();
        one.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        one.replace(u'\r', u' ');
        one.replace(u'\n', u' ');
        out += one.toUtf8();
    } else {
        out += value.toUtf8();
    }
    out += "\r\n";
}

} // namespace

TRepContents ParseRepertoire(QByteArray bytes, const QString& name)
{
    TRepContents c;
    const QString text = platform::decodeText(bytes);
    const qsizetype size = bytes.size();
    bytes = QByteArray(); // the text holds it all now; a large book needs the room
    LineCursor in(text, name);
    int rows = 0;
    if (!in.integer(&rows, &c.Error) || !in.integer(&c.ColonneTri, &c.Error)) {
        c.ColonneTri = 0;
        return c;
    }
    if (c.ColonneTri < 0 || c.ColonneTri >= ColumnCount)
        c.ColonneTri = 0;
    // The count is only a claim: rows are taken as they come, never reserved for a count the
    // file may not hold.
    const qsizetype room = size / (2 * (ColumnCount + 2)) + 1;
    if (rows > 0)
        c.Rows.reserve(std::min<qsizetype>(rows, room));
    for (int r = 0; r < rows; ++r) {
        int mark = 0;
        int copies = 1;
        std::array<QStringView, ColumnCount> cells;
        if (!in.integer(&mark, &c.Error) || !in.integer(&copies, &c.Error))
            break;
        for (QStringView& cell : cells)
            if (!in.text(&cell, &c.Error))
                break;
        if (!c.Error.isEmpty())
            break;
        c.Rows << platform::TCellRow(cells);
        c.Marques << (mark == 1 ? 1 : 0);
        c.Copies << std::max(1, copies);
    }
    return c;
}

QByteArray RepertoireBytes(const platform::TStringGrid& grid, int colonneTri)
{
    QByteArray out;
    const int rows = grid.RowCount();
    out.reserve(static_cast<qsizetype>(rows) * 200);
    out += QByteArray::number(rows) + "\r\n";
    out += QByteArray::number(colonneTri) + "\r\n";
    for (int r = 0; r < rows; ++r) {
        out += QByteArray::number(r == 0 ? 0 : grid.MarkOf(r)) + "\r\n";
        out += QByteArray::number(r == 0 ? 1 : grid.CopiesOf(r)) + "\r\n";
        for (int col = 0; col < ColumnCount; ++col)
            appendLine(out, grid.CellView(col, r));
    }
    return out;
}

} // namespace addressbook

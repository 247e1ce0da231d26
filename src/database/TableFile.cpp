#include "TableFile.h"

#include "platform/Errors.h"
#include "platform/TextCodec.h"
#include "platform/TStringGrid.h"
#include "platform/TextFile.h"

#include <QFileInfo>

#include <array>
#include <span>

namespace database {

QPoint TCardLayout::DefaultPosition(int field)
{
    return {8 + 88 * (field / 8), 40 + 48 * (field % 8)};
}

TCardLayout TCardLayout::Defaults()
{
    TCardLayout c;
    for (int i = 0; i < MaxFields; ++i) {
        const QPoint p = DefaultPosition(i);
        c.Left[static_cast<size_t>(i)] = p.x();
        c.Top[static_cast<size_t>(i)] = p.y();
    }
    return c;
}

namespace {

// The lines of the decoded text, each seen where it lies: a table of millions of cells is read
// without a string for each line. CR LF, LF or a lone CR ends a line.
class Lines {
public:
    Lines(const QByteArray& bytes, const QString& name)
        : m_text(platform::decodeText(bytes)), m_count(countLines(m_text)), m_name(QFileInfo(name).fileName())
    {
    }
    qsizetype left() const { return m_count - m_next; }
    QStringView text()
    {
        if (m_next >= m_count)
            fail(QStringLiteral("the file ends at line %1, before the table does").arg(m_count));
        const QChar* data = m_text.constData();
        const qsizetype n = m_text.size();
        qsizetype end = m_pos;
        while (end < n && data[end] != u'\r' && data[end] != u'\n')
            ++end;
        const QStringView line(data + m_pos, end - m_pos);
        m_pos = end < n && data[end] == u'\r' && end + 1 < n && data[end + 1] == u'\n' ? end + 2 : end + 1;
        ++m_next;
        return line;
    }
    // The number is the line's first word; whatever follows a blank is skipped.
    int number()
    {
        const QString line = text().toString();
        bool ok = false;
        const int v = platform::parseFirstWordInteger(line, &ok);
        if (!ok)
            throw platform::EConvertError(platform::convertMessage(line, m_name, static_cast<int>(m_next)));
        return v;
    }
    bool onlyBlankLinesLeft()
    {
        while (left() > 0)
            if (!text().isEmpty())
                return false;
        return true;
    }
    [[noreturn]] void fail(const QString& why) const
    {
        throw platform::EInOutError(QStringLiteral("%1 is not a readable table: %2.").arg(m_name, why));
    }

private:
    static qsizetype countLines(const QString& text)
    {
        qsizetype count = 0;
        const qsizetype n = text.size();
        qsizetype start = 0;
        for (qsizetype i = 0; i < n; ++i) {
            if (text[i] == u'\r' || text[i] == u'\n') {
                ++count;
                if (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                    ++i;
                start = i + 1;
            }
        }
        return start < n ? count + 1 : count;
    }

    QString m_text;
    qsizetype m_count;
    qsizetype m_next = 0; // lines read
    qsizetype m_pos = 0;  // where the next one starts
    QString m_name;
};

// Reads a table, handing each row's cells to `addRow` (a span of views, valid during the call).
template <typename AddRow> TTableData parseTable(const QByteArray& bytes, const QString& name, AddRow addRow)
{
    Lines in(bytes, name);
    TTableData d;
    const int fields = in.number();
    if (fields < 1 || fields > MaxFields)
        in.fail(QStringLiteral("it has %1 fields, and a table has 1 to %2").arg(fields).arg(MaxFields));
    const int rows = in.number();
    if (rows < 1)
        in.fail(QStringLiteral("its row count is %1, and the field names alone make one row").arg(rows));
    d.ColonneTri = in.number();
    d.Card = TCardLayout::Defaults();
    d.Card.Width = in.number();
    d.Card.Height = in.number();
    // Checked before anything is allocated: a damaged count must not ask for millions of rows.
    const qint64 needed = 4LL * fields + static_cast<qint64>(rows) * (2 + fields);
    if (needed > in.left())
        in.fail(QStringLiteral("its counts (%1 fields, %2 rows) need %3 more lines than the %4 it has")
                    .arg(fields)
                    .arg(rows)
                    .arg(needed)
                    .arg(in.left()));
    d.AttributChamp.fill(1);
    d.ColWidths.reserve(fields);
    for (int i = 0; i < fields; ++i) {
        const auto k = static_cast<size_t>(i);
        d.ColWidths << in.number();
        d.Card.Left[k] = in.number();
        d.Card.Top[k] = in.number();
        const int attribute = in.number();
        if (attribute < 0 || attribute > 0xFFFF)
            in.fail(QStringLiteral("the attribute of field %1 is %2, outside 0 to 65535").arg(i + 1).arg(attribute));
        d.AttributChamp[k] = attribute;
    }
    d.Marques.reserve(std::max(rows, 2));
    d.Copies.reserve(std::max(rows, 2));
    std::array<QStringView, MaxFields> cells;
    const std::span<const QStringView> row(cells.data(), static_cast<size_t>(fields));
    for (int r = 0; r < rows; ++r) {
        d.Marques << in.number();
        d.Copies << in.number();
        for (int c = 0; c < fields; ++c)
            cells[static_cast<size_t>(c)] = in.text();
        addRow(row);
    }
    // Lines past the last row mean the counts are wrong: a table read short of its records would
    // lose them at the next save. Blank lines carry nothing and may follow.
    if (!in.onlyBlankLinesLeft())
        in.fail(QStringLiteral("it has more lines than its %1 rows of %2 fields hold").arg(rows).arg(fields));
    if (rows == 1) {
        cells.fill(QStringView());
        addRow(row);
        d.Marques << 0;
        d.Copies << 1;
    }
    return d;
}

} // namespace

TTableData ParseTableFile(const QByteArray& bytes, const QString& name)
{
    QList<QStringList> rows;
    TTableData d = parseTable(bytes, name, [&rows](std::span<const QStringView> cells) {
        QStringList list;
        list.reserve(static_cast<qsizetype>(cells.size()));
        for (QStringView cell : cells)
            list << cell.toString();
        rows << std::move(list);
    });
    d.Rows = std::move(rows);
    return d;
}

TTableData ParseTableFile(const QByteArray& bytes, const QString& name, QList<platform::TCellRow>& rows)
{
    rows.clear();
    return parseTable(bytes, name, [&rows](std::span<const QStringView> cells) { rows << platform::TCellRow(cells); });
}

TTableData ReadTableFile(const QString& path)
{
    return ParseTableFile(platform::readFileBytes(path), path);
}

TTableData ReadTableFile(const QString& path, QList<platform::TCellRow>& rows)
{
    return ParseTableFile(platform::readFileBytes(path), path, rows);
}

namespace {

// The file of `rows` rows whose cells `cell(col, row)` gives, the rest from `d`.
template <typename CellOf>
QByteArray tableBytes(const TTableData& d, qsizetype rows, CellOf cell)
{
    const int fields = d.ColCount();
    // The file is made as one text and encoded once: a table may hold millions of short cells,
    // and encoding them one by one costs more than the writing.
    qsizetype estimate = 64 + 32 * fields;
    for (qsizetype r = 0; r < rows; ++r) {
        estimate += 16;
        for (int c = 0; c < fields; ++c)
            estimate += cell(c, r).size() + 2;
    }
    QString out;
    out.reserve(estimate);
    const auto line = [&out](QStringView text) {
        out += text;
        out += QLatin1StringView("\r\n");
    };
    const auto number = [&line](int v) { line(QString::number(v)); };
    number(fields);
    number(static_cast<int>(rows));
    number(d.ColonneTri);
    number(d.Card.Width);
    number(d.Card.Height);
    for (int i = 0; i < fields; ++i) {
        const auto k = static_cast<size_t>(i);
        number(d.ColWidths[i]);
        number(d.Card.Left[k]);
        number(d.Card.Top[k]);
        number(d.AttributChamp[k]);
    }
    for (qsizetype r = 0; r < rows; ++r) {
        number(r < d.Marques.size() ? d.Marques[r] : 0);
        number(r < d.Copies.size() ? d.Copies[r] : 1);
        for (int c = 0; c < fields; ++c) {
            const QStringView text = cell(c, r);
            if (text.contains(u'\r') || text.contains(u'\n')) {
                // A line break would shift every line after it.
                QString flat = text.toString();
                flat.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
                flat.replace(u'\r', u' ');
                flat.replace(u'\n', u' ');
                line(flat);
            } else {
                line(text);
            }
        }
    }
    return out.toUtf8();
}

} // namespace

QByteArray TableFileBytes(const TTableData& d)
{
    return tableBytes(d, d.Rows.size(), [&d](int c, qsizetype r) {
        const QStringList& cells = d.Rows[r];
        return c < cells.size() ? QStringView(cells[c]) : QStringView();
    });
}

QByteArray TableFileBytes(const TTableData& d, const platform::TStringGrid& cells)
{
    return tableBytes(d, cells.RowCount(),
                      [&cells](int c, qsizetype r) { return cells.CellView(c, static_cast<int>(r)); });
}

void WriteTableFile(const QString& path, const TTableData& data)
{
    platform::writeFileAtomically(path, TableFileBytes(data));
}

} // namespace database

#include "TCellRow.h"

#include <algorithm>

namespace platform {

template <typename Cells> void TCellRow::fill(const Cells& cells, qsizetype used, int count)
{
    // The text is made at its final size: a row read from a file is never grown cell by cell.
    qsizetype length = 0;
    for (qsizetype c = 0; c < used; ++c)
        length += cells[c].size();
    m_text.reserve(length);
    m_ends.reserve(count);
    for (qsizetype c = 0; c < used; ++c) {
        m_text += cells[c];
        m_ends << static_cast<int>(m_text.size());
    }
    m_ends.insert(m_ends.size(), count - used, static_cast<int>(m_text.size()));
}

TCellRow::TCellRow(const QStringList& cells, int count)
{
    count = std::max(0, count);
    fill(cells, std::min<qsizetype>(cells.size(), count), count);
}

TCellRow::TCellRow(std::span<const QStringView> cells)
{
    fill(cells, static_cast<qsizetype>(cells.size()), static_cast<int>(cells.size()));
}

TCellRow TCellRow::Blank(int count)
{
    TCellRow r;
    r.m_ends = QList<int>(std::max(0, count), 0);
    return r;
}

QString TCellRow::Cell(int i) const
{
    const QStringView cell = (*this)[i];
    if (cell.isEmpty())
        return {};
    return cell.size() == m_text.size() ? m_text : cell.toString(); // a lone cell is shared, not copied
}

QStringList TCellRow::ToList() const
{
    QStringList cells;
    cells.reserve(size());
    for (int i = 0; i < size(); ++i)
        cells << Cell(i);
    return cells;
}

void TCellRow::Set(int i, const QString& text)
{
    const int start = i == 0 ? 0 : m_ends[i - 1];
    const int length = m_ends[i] - start;
    m_text.replace(start, length, text);
    if (const int grown = static_cast<int>(text.size()) - length; grown != 0)
        for (int c = i; c < size(); ++c)
            m_ends[c] += grown;
}

void TCellRow::Resize(int count)
{
    count = std::max(0, count);
    if (count > size()) {
        m_ends.insert(m_ends.size(), count - size(), static_cast<int>(m_text.size()));
    } else if (count < size()) {
        m_text.truncate(count == 0 ? 0 : m_ends[count - 1]);
        m_text.squeeze();
        m_ends.resize(count);
    }
}

void TCellRow::Remove(int first, int count)
{
    first = std::clamp(first, 0, size());
    count = std::clamp(count, 0, size() - first);
    if (count == 0)
        return;
    const int start = first == 0 ? 0 : m_ends[first - 1];
    const int removed = m_ends[first + count - 1] - start;
    m_text.remove(start, removed);
    m_text.squeeze();
    m_ends.remove(first, count);
    for (int c = first; c < size(); ++c)
        m_ends[c] -= removed;
}

} // namespace platform

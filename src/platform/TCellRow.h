#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <span>

namespace platform {

// The cells of one grid row kept as one text, the cells one after another, with where each one
// ends beside it: two blocks a row however many cells it has, where a list of strings costs a
// block per cell (a book of 100,000 records takes a third of the memory). No character is taken
// as a separator, so a cell holds any text a file can carry.
class TCellRow {
public:
    TCellRow() = default;
    // The cells cut or padded with empty ones to `count`.
    TCellRow(const QStringList& cells, int count);
    explicit TCellRow(std::span<const QStringView> cells);
    // `count` empty cells; the rows copied from one blank share its offsets until written.
    static TCellRow Blank(int count);

    int size() const { return static_cast<int>(m_ends.size()); }
    // The cell where it is kept; valid until the row changes.
    QStringView operator[](int i) const
    {
        const int start = i == 0 ? 0 : m_ends[i - 1];
        return QStringView(m_text).sliced(start, m_ends[i] - start);
    }
    QString Cell(int i) const;
    QStringList ToList() const;

    void Set(int i, const QString& text);
    // Grows with empty cells, or drops the last ones.
    void Resize(int count);
    // Removes `count` cells from `first` on.
    void Remove(int first, int count);

private:
    template <typename Cells> void fill(const Cells& cells, qsizetype used, int count);

    QString m_text;
    QList<int> m_ends; // where each cell ends in m_text
};

} // namespace platform

Q_DECLARE_TYPEINFO(platform::TCellRow, Q_RELOCATABLE_TYPE);

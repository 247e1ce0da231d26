#include "FieldCodes.h"

#include "platform/TStringGrid.h"

#include <algorithm>
#include <iterator>

namespace design {

namespace {

char16_t upperAscii(char16_t c)
{
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - (u'a' - u'A')) : c;
}

bool matchesAt(const QString& text, qsizetype p, const QString& code)
{
    for (qsizetype i = 0; i < code.size(); ++i)
        if (upperAscii(text[p + i].unicode()) != upperAscii(code[i].unicode()))
            return false;
    return true;
}

// List position of each address-book column 0-15.
constexpr int RepertPosition[16] = {2, 1, 0, 5, 6, 7, 8, 9, 3, 4, 10, 13, 15, 11, 12, 14};

// Where `code` next stands in `text` from `from` on, or -1. Every code of a label starts with
// '<', which has no other case: the search leaps from one to the next instead of comparing at
// every position (a merge looks for every column's code in every text of every label of a run).
qsizetype findCode(const QString& text, const QString& code, qsizetype from)
{
    if (code.isEmpty())
        return -1;
    const char16_t first = upperAscii(code[0].unicode());
    const bool leap = first < u'A' || first > u'Z';
    for (qsizetype p = from; p + code.size() <= text.size(); ++p) {
        if (leap) {
            p = text.indexOf(code[0], p);
            if (p < 0 || p + code.size() > text.size())
                return -1;
        }
        if (matchesAt(text, p, code))
            return p;
    }
    return -1;
}

// '<', then a name holding neither '<' nor '>', then '>'.
bool isDelimitedCode(const QString& code)
{
    return code.size() >= 2 && code.front() == u'<' && code.indexOf(u'<', 1) < 0 &&
           code.indexOf(u'>') == code.size() - 1;
}

} // namespace

QString ReplaceAllText(QString text, const QString& code, const QString& value)
{
    for (qsizetype p = findCode(text, code, 0); p >= 0; p = findCode(text, code, p + value.size()))
        text.replace(p, code.size(), value);
    return text;
}

const QStringList& RepertItemsFrench()
{
    static const QStringList items = {
        QStringLiteral("<Civilité>"), QStringLiteral("<Prénom>"),  QStringLiteral("<Nom>"),
        QStringLiteral("<Fonction>"), QStringLiteral("<Société>"), QStringLiteral("<Adresse1>"),
        QStringLiteral("<Adresse2>"), QStringLiteral("<Code>"),    QStringLiteral("<Ville>"),
        QStringLiteral("<Pays>"),     QStringLiteral("<Tél1>"),    QStringLiteral("<Tél2>"),
        QStringLiteral("<Portable>"), QStringLiteral("<Fax>"),     QStringLiteral("<Internet>"),
        QStringLiteral("<Divers>"),
    };
    return items;
}

const QStringList& RepertItemsEnglish()
{
    static const QStringList items = {
        QStringLiteral("<Title>"),       QStringLiteral("<FirstName>"), QStringLiteral("<Surname>"),
        QStringLiteral("<Position>"),    QStringLiteral("<Company>"),   QStringLiteral("<Address1>"),
        QStringLiteral("<Address2>"),    QStringLiteral("<Code>"),      QStringLiteral("<Town>"),
        QStringLiteral("<Country>"),     QStringLiteral("<Tel1>"),      QStringLiteral("<Tel2>"),
        QStringLiteral("<MobilePhone>"), QStringLiteral("<Fax>"),       QStringLiteral("<Internet>"),
        QStringLiteral("<Miscellaneous>"),
    };
    return items;
}

QString GetRepertFieldCode(int column, const QStringList& repertItems)
{
    if (column < 0 || column > 15)
        return {};
    const int position = RepertPosition[column];
    return position < repertItems.size() ? repertItems[position] : QString();
}

QString ColumnFieldCode(const MergeSource& source, int column)
{
    if (source.IsDatabase)
        return QLatin1Char('<') + (source.Grille ? source.Grille->Cell(column, 0) : QString()) + QLatin1Char('>');
    return GetRepertFieldCode(column, source.RepertItems);
}

QString MergeFields(const QString& text, const MergeSource& source, int row, int printIndex,
                    const MergeNumbering& numbering)
{
    if (!text.contains(u'<'))
        return text;
    return TFieldMerge(source, numbering).Merge(text, row, printIndex);
}

TFieldMerge::TFieldMerge(const MergeSource& source, const MergeNumbering& numbering)
    : m_grid(source.Grille), m_numbering(numbering)
{
    if (m_grid != nullptr)
        for (int col = 0; col < m_grid->ColCount(); ++col)
            m_codes << ColumnFieldCode(source, col);
    for (const QString& code : m_codes)
        if (!code.isEmpty() && !isDelimitedCode(code))
            m_plannable = false;
    if (m_numbering.Date1.contains(u'<') || m_numbering.Date2.contains(u'<'))
        m_plannable = false;
}

QString TFieldMerge::Merge(const QString& text, int row, int printIndex) const
{
    // Every code starts with '<': a text without one has nothing to replace (most texts of a
    // label, and every one of them is merged for every record).
    if (!text.contains(u'<'))
        return text;
    // Nor has a text whose codes are all replaced: the rest of the columns are not looked at.
    QString merged = text;
    for (int col = 0; col < m_codes.size(); ++col) {
        if (findCode(merged, m_codes[col], 0) < 0)
            continue;
        merged = ReplaceAllText(std::move(merged), m_codes[col], m_grid->Cell(col, row));
        if (!merged.contains(u'<'))
            return merged;
    }
    if (printIndex != -1)
        merged = ReplaceAllText(merged, AutonumCode,
                                QString::number(AutoNumber(m_numbering, row, printIndex)));
    merged = ReplaceAllText(merged, Date1Code, m_numbering.Date1);
    merged = ReplaceAllText(merged, Date2Code, m_numbering.Date2);
    return merged;
}

TMergePlan TFieldMerge::Plan(const QString& text) const
{
    TMergePlan plan;
    plan.Text = text;
    if (!text.contains(u'<'))
        return plan;
    plan.Plain = false;
    // With delimited codes and values free of '<', the search code after code replaces exactly
    // the spans from a '<' to the next '>' that some code names, each by the first column (then
    // special code) naming it. Any other '<' could meet a value or a code: that text is searched.
    const auto searched = [&plan] {
        plan.Searched = true;
        plan.Pieces.clear();
        return plan;
    };
    if (!m_plannable)
        return searched();
    static const QString* const specials[] = {&AutonumCode, &Date1Code, &Date2Code};
    static const int specialCodes[] = {TMergePlan::Autonum, TMergePlan::Date1, TMergePlan::Date2};
    qsizetype literalFrom = 0;
    for (qsizetype p = text.indexOf(u'<'); p >= 0; p = text.indexOf(u'<', p)) {
        // A span holding another '<' names no code either.
        const qsizetype close = text.indexOf(u'>', p + 1);
        if (close < 0)
            return searched();
        const qsizetype length = close - p + 1;
        const auto names = [&](const QString& code) { return code.size() == length && matchesAt(text, p, code); };
        int code = TMergePlan::Literal;
        for (int col = 0; col < m_codes.size() && code == TMergePlan::Literal; ++col)
            if (names(m_codes[col]))
                code = col;
        for (std::size_t k = 0; k < std::size(specials) && code == TMergePlan::Literal; ++k)
            if (names(*specials[k]))
                code = specialCodes[k];
        if (code == TMergePlan::Literal)
            return searched();
        if (p > literalFrom)
            plan.Pieces.push_back({literalFrom, p - literalFrom, TMergePlan::Literal});
        plan.Pieces.push_back({p, length, code});
        p = close + 1;
        literalFrom = p;
    }
    if (literalFrom < text.size())
        plan.Pieces.push_back({literalFrom, text.size() - literalFrom, TMergePlan::Literal});
    return plan;
}

QString TFieldMerge::Merge(const TMergePlan& plan, int row, int printIndex) const
{
    if (plan.Plain)
        return plan.Text;
    if (plan.Searched)
        return Merge(plan.Text, row, printIndex);
    const QStringView text(plan.Text);
    QString merged;
    merged.reserve(text.size() + 64);
    for (const TMergePlan::Piece& piece : plan.Pieces) {
        switch (piece.Code) {
        case TMergePlan::Literal:
            merged += text.mid(piece.From, piece.Length);
            break;
        case TMergePlan::Autonum:
            if (printIndex != -1)
                merged += QString::number(AutoNumber(m_numbering, row, printIndex));
            else
                merged += text.mid(piece.From, piece.Length);
            break;
        case TMergePlan::Date1:
            merged += m_numbering.Date1;
            break;
        case TMergePlan::Date2:
            merged += m_numbering.Date2;
            break;
        default: {
            // A value holding '<' may hold a code of a later column or a special one, which the
            // search replaces too.
            const QStringView value = m_grid->CellView(piece.Code, row);
            if (value.contains(u'<'))
                return Merge(plan.Text, row, printIndex);
            merged += value;
            break;
        }
        }
    }
    return merged;
}

FieldLists FieldListItems(const MergeSource& source)
{
    FieldLists lists;
    if (source.IsDatabase) {
        if (source.Grille != nullptr)
            for (int col = 0; col < source.Grille->ColCount(); ++col)
                lists.TextCodes << ColumnFieldCode(source, col);
    } else {
        lists.TextCodes = source.RepertItems;
    }
    lists.ImageCodes = lists.TextCodes;
    lists.TextCodes << AutonumCode << Date1Code << Date2Code;
    return lists;
}

CodeInsertion InsertFieldCode(const QString& text, int caret, const QString& code)
{
    const int s = std::clamp(caret, 0, static_cast<int>(text.size()));
    return {text.left(s) + code + text.mid(s), s + static_cast<int>(code.size())};
}

} // namespace design

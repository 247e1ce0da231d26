#include "TTabListBox.h"

#include "platform/Numbers.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

namespace {

// Lists without stops of their own tab every 32 dialog units, as list boxes always did.
constexpr int defaultTabDialogUnits = 32;

int dialogBaseUnit(const QFontMetrics& metrics)
{
    return std::max(1, metrics.averageCharWidth());
}

} // namespace

TTabPercentages ParseTabPercentages(const QString& text)
{
    TTabPercentages values{};
    QString rest = text.trimmed();
    for (int i = 0; i < int(values.size()) && !rest.isEmpty(); ++i) {
        qsizetype end = rest.indexOf(u',');
        if (end < 0)
            end = rest.indexOf(u' ');
        const QString value = end < 0 ? rest : rest.left(end);
        rest = end < 0 ? QString() : rest.mid(end + 1).trimmed();
        const int v = platform::StrToInt(value.trimmed());
        if (v < 0 || v > 200)
            throw EOrderException(QStringLiteral("Tab percentage values must be between 0 and 200"));
        if (i > 0 && v <= values[i - 1])
            throw EOrderException(QStringLiteral("Tab percentage values must be in increasing order"));
        values[i] = v;
    }
    return values;
}

QString FormatTabPercentages(const TTabPercentages& stops)
{
    QStringList parts{QString::number(stops[0])};
    for (size_t i = 1; i < stops.size() && stops[i] != 0; ++i)
        parts << QString::number(stops[i]);
    return parts.join(QStringLiteral(", "));
}

int TabStopDialogUnits(int width, int percent, int baseUnit)
{
    return width * percent / baseUnit / 25;
}

TTabListBox::TTabListBox(QWidget* parent) : QListWidget(parent)
{
    setItemDelegate(new TTabItemDelegate(this));
    // A list box shows its columns within its width, as the stops are.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    applyStops();
}

QString TTabListBox::TabPercentages() const
{
    return FormatTabPercentages(m_percent);
}

void TTabListBox::SetTabPercentages(const QString& text)
{
    m_percent = ParseTabPercentages(text);
    applyStops();
}

QList<int> TTabListBox::TabStopsPixels() const
{
    return m_stopsPx;
}

void TTabListBox::applyStops()
{
    // Dialog units are a quarter of the font's average character width.
    const int base = dialogBaseUnit(fontMetrics());
    m_stopsPx.clear();
    if (m_percent[0] > 0)
        for (int v : m_percent)
            if (v > 0)
                m_stopsPx << TabStopDialogUnits(width(), v, base) * base / 4;
    if (m_stopsPx.isEmpty())
        m_stopsPx << defaultTabDialogUnits * base / 4;
    viewport()->update();
}

void TTabListBox::resizeEvent(QResizeEvent* event)
{
    QListWidget::resizeEvent(event);
    applyStops();
}

void TTabListBox::changeEvent(QEvent* event)
{
    QListWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        applyStops();
}

TTabItemDelegate::TTabItemDelegate(TTabListBox* list) : QStyledItemDelegate(list), m_list(list) {}

QList<int> TTabItemDelegate::PieceOffsets(const QStringList& pieces, const QList<int>& stopsPx,
                                          const QFontMetrics& metrics)
{
    // One stop repeats at its own distance; several are used in turn, and a tab past the last
    // one only separates by a blank.
    QList<int> offsets;
    int x = 0;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0) {
            int next = -1;
            if (stopsPx.size() == 1 && stopsPx[0] > 0) {
                next = (x / stopsPx[0] + 1) * stopsPx[0];
            } else {
                for (int stop : stopsPx)
                    if (stop > x) {
                        next = stop;
                        break;
                    }
            }
            x = next >= 0 ? next : x + metrics.horizontalAdvance(u' ');
        }
        offsets << x;
        x += metrics.horizontalAdvance(pieces[i]);
    }
    return offsets;
}

void TTabItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    QStyle* style = opt.widget != nullptr ? opt.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget);
    const QStringList pieces = text.split(u'\t');
    const QList<int> offsets = PieceOffsets(pieces, m_list->TabStopsPixels(), opt.fontMetrics);
    painter->save();
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled,
                                      opt.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                         : QPalette::Text));
    painter->setClipRect(textRect);
    for (qsizetype i = 0; i < pieces.size(); ++i)
        painter->drawText(textRect.adjusted(offsets[i], 0, 0, 0),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, pieces[i]);
    painter->restore();
}

QSize TTabItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QStringList pieces = opt.text.split(u'\t');
    const QList<int> offsets = PieceOffsets(pieces, m_list->TabStopsPixels(), opt.fontMetrics);
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const int plain = opt.fontMetrics.horizontalAdvance(QString(opt.text).replace(u'\t', u' '));
    size.setWidth(size.width() - plain + offsets.last() + opt.fontMetrics.horizontalAdvance(pieces.last()));
    return size;
}

#pragma once

#include "platform/Errors.h"

#include <QListWidget>
#include <QStyledItemDelegate>

#include <array>

// Tab percentages out of range or out of order.
class EOrderException : public platform::Exception {
public:
    using Exception::Exception;
};

// The stops of a tab list: up to 10 percentages of the list's width, increasing, 0 for none.
using TTabPercentages = std::array<int, 10>;

// Parses "10, 40 70" (values end at a comma, else at a blank). Throws EConvertError for a value
// that is not a number, EOrderException for one out of 0..200 or not above the one before.
TTabPercentages ParseTabPercentages(const QString& text);
// "10, 40, 70": the first value, then the following ones up to the first 0.
QString FormatTabPercentages(const TTabPercentages& stops);

// A stop in dialog units for a list `width` pixels wide whose font has the horizontal dialog
// base unit `baseUnit` (the average character width): the percentage of the width, in the
// integer steps list boxes have always taken.
int TabStopDialogUnits(int width, int percent, int baseUnit);

// A list box whose items are split at tab characters into columns starting at tab stops given in
// percent of its width; the stops follow the width when the list is resized.
class TTabListBox : public QListWidget {
    Q_OBJECT
    Q_PROPERTY(QString TabPercentages READ TabPercentages WRITE SetTabPercentages)
public:
    explicit TTabListBox(QWidget* parent = nullptr);

    QString TabPercentages() const;
    // On an error the old stops stay.
    void SetTabPercentages(const QString& text);

    // The stops as pixel offsets from the start of an item's text; empty when there is none.
    QList<int> TabStopsPixels() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applyStops();

    TTabPercentages m_percent{};
    QList<int> m_stopsPx;
};

// Paints a tab list's items: each tab moves the text to the next stop after the text before it.
class TTabItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit TTabItemDelegate(TTabListBox* list);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Where each tab-separated piece of `text` starts, in pixels from the text's start.
    static QList<int> PieceOffsets(const QStringList& pieces, const QList<int>& stopsPx,
                                   const QFontMetrics& metrics);

private:
    TTabListBox* m_list;
};

#pragma once

#include <QLineEdit>
#include <QSpinBox>

#include <climits>

// The offset of a date stamp. Offsets have no bounds. An entry that cannot be read (empty, a
// lone sign) counts as 0 and becomes 0 when the user leaves the box.
class OffsetSpinEdit : public QSpinBox {
    Q_OBJECT
public:
    explicit OffsetSpinEdit(QWidget* parent = nullptr) : QSpinBox(parent) { setRange(INT_MIN, INT_MAX); }
    // The edit itself: the spin box stays silent while its text cannot be read.
    QLineEdit* edit() const { return lineEdit(); }
    void fixup(QString& input) const override
    {
        bool ok = false;
        input.trimmed().toInt(&ok);
        if (!ok)
            input = QStringLiteral("0");
    }
};

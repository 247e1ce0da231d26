#pragma once

#include <QSpinBox>

namespace station {

// The number of copies: 1 to 9999; a value left at 0 or below, or emptied, becomes 1 rather
// than going back to the value before the edit.
class TCopiesSpinBox : public QSpinBox {
    Q_OBJECT
public:
    explicit TCopiesSpinBox(QWidget* parent = nullptr) : QSpinBox(parent)
    {
        setRange(1, 9999);
        setValue(1);
    }

protected:
    void fixup(QString& input) const override { input = QStringLiteral("1"); }
};

} // namespace station

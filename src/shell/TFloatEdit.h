#pragma once

#include <QLineEdit>

// An edit box for decimal numbers: keys that cannot be part of one are dropped as they are
// typed. The decimal separator is the program's (','), whatever the locale.
class TFloatEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TFloatEdit(QWidget* parent = nullptr);

    // Digits, the signs, the decimal separator and control characters (backspace, shortcuts).
    virtual bool IsValidChar(QChar c) const;

    // The number typed; throws platform::EConvertError when the text is not one.
    double Value() const;
    void SetValue(double value, int decimals);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

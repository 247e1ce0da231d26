#include "TFloatEdit.h"

#include "platform/Numbers.h"

#include <QKeyEvent>

TFloatEdit::TFloatEdit(QWidget* parent) : QLineEdit(parent) {}

bool TFloatEdit::IsValidChar(QChar c) const
{
    return (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == platform::DecimalSeparator
           || c.unicode() < 32;
}

double TFloatEdit::Value() const
{
    return platform::StrToFloat(text());
}

void TFloatEdit::SetValue(double value, int decimals)
{
    setText(platform::FormatFixed(value, decimals));
}

void TFloatEdit::keyPressEvent(QKeyEvent* event)
{
    // Keys without a character (arrows, Delete) are editing, not typing.
    const QString typed = event->text();
    for (QChar c : typed)
        if (!IsValidChar(c)) {
            event->accept();
            return;
        }
    QLineEdit::keyPressEvent(event);
}

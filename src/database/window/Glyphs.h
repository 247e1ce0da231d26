#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

// Tool button pictures of the database windows for the commands the style has none for.
namespace database {

// A short text drawn bold in `colour` ("+", "A-Z").
QIcon GlyphIcon(const QString& text, const QColor& colour);
// A small printer.
QIcon PrinterIcon(const QColor& ink);

} // namespace database

#pragma once

#include <QIcon>

// The icons of the print commands: the theme's print and printer icons, or drawings of our own
// where the theme has none.
namespace station {

QIcon PrintIcon();
QIcon PrinterSetupIcon();

} // namespace station

#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Truevision (TGA) pictures of every kind the format has: colour-mapped, true-colour and grey,
// plain or run-length, at 8, 15, 16, 24 and 32 bits, with the origin at either corner. Qt's own
// reader takes only plain true-colour files.
// Re-entrant: works on the bytes it is given and keeps no state.
namespace imaging {

// The picture (Format_Indexed8 for colour-mapped and grey files, RGB32 or ARGB32 otherwise), or
// a null image with `why`. `bits` receives the depth of a block that holds it without loss.
QImage readTga(const QByteArray& file, int* bits = nullptr, QString* why = nullptr);

} // namespace imaging

#pragma once

#include <QByteArray>
#include <QString>

// Files written by older versions of the program are Windows-1252; ours are UTF-8. A file is
// taken as UTF-8 exactly when its bytes are valid UTF-8 (a leading byte-order mark is dropped).
namespace platform {

QString decodeText(const QByteArray& bytes);
bool isValidUtf8(const QByteArray& bytes);

QString fromCp1252(const QByteArray& bytes);
// Characters with no Windows-1252 code become '?'.
QByteArray toCp1252(const QString& text);
// The Windows-1252 code of one character, or -1 when it has none.
int cp1252Code(QChar c);
QChar cp1252Char(unsigned char code);

} // namespace platform

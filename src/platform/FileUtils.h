#pragma once

#include "platform/Errors.h"

#include <QString>

// File helpers of the windows: copying a picture into the program's folders, a file's size and
// its attributes.
namespace platform {

// The source cannot be opened for reading.
class EFOpenError : public Exception {
public:
    using Exception::Exception;
};

// The destination cannot be created (or would be the source itself).
class EFCreateError : public Exception {
public:
    using Exception::Exception;
};

// Copies the bytes of `source` to `destination` (replacing it); a destination naming an existing
// folder receives the source's file name inside it. Date and attributes are not copied.
// Throws EFOpenError "Impossible d'ouvrir le fichier <source>", EFCreateError "Impossible de
// créer le fichier <destination>" (also when both names reach the same file), or EInOutError
// when reading or writing fails midway. The destination is replaced only by a whole copy: on any
// failure an existing destination keeps its bytes and no partial file is left.
void CopyFile(const QString& source, const QString& destination);

// The size in bytes of the file, or -1 when there is none of that name.
qint64 GetFileSizeByName(const QString& name);

// Attribute bits, as the program's callers combine them.
enum TFileAttr : unsigned {
    faReadOnly = 0x01,
    faHidden = 0x02,
    faSysFile = 0x04,
    faDirectory = 0x10,
    faArchive = 0x20,
};
// The attribute bits a file has (0 when it does not exist). Read-only means the user cannot
// write it; hidden, a name starting with '.'; a plain file counts as archive; system files do
// not exist here.
unsigned FileGetAttr(const QString& name);
// True when the file exists and has every bit of `attributes`.
bool HasAttr(const QString& name, unsigned attributes);

} // namespace platform

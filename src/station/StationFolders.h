#pragma once

#include <QString>

// Where the station keeps and finds its files. The program folder holds what is shipped (sheet
// families, example designs); when it cannot be written (an installed program), everything the
// program writes goes to the per-user data folder instead, and files are looked up there first,
// then in the program folder, so shipped files are still found.
namespace station {

struct TStationFolders {
    QString Program;  // the program's own folder
    QString Writable; // Program when it can be written, else the per-user data folder

    // `userData` is only used (and created) when `program` cannot be written.
    static TStationFolders Resolve(const QString& program, const QString& userData);
    // The same with the program folder's writability given (an installation whose folder the
    // caller knows to be read-only, and tests, which may run as a user who can write anywhere).
    static TStationFolders Resolve(const QString& program, const QString& userData,
                                   bool programWritable);

    bool ReadOnlyProgram() const { return Writable != Program; }

    // Where a file given relative to the program folder ("perso/x.car") is written.
    QString WritePath(const QString& relative) const;
    // Where it is read: the writable folder first, then the program folder, letter case ignored
    // when the exact name is missing; the write path when neither holds it.
    QString ReadPath(const QString& relative) const;

    QString ModelsFolder() const { return WritePath(QStringLiteral("perso")); }
    QString ImagesFolder() const { return WritePath(QStringLiteral("images")); }
    // "images" and "perso" in the writable folder; false when either cannot be made.
    bool CreateFolders() const;
    // Sheet families are read and written in one folder: an installation whose program folder
    // cannot be written gets a copy of each shipped family (*.for) in the writable folder, once,
    // so that they are found and the user's changes to them can be saved. False when a copy
    // fails.
    bool CopyShippedFamilies() const;
};

// The settings file actually used for a wanted one: `wanted` itself when its folder can be
// written; otherwise a file of the same name in the writable folder, started as a copy of
// `wanted` when it does not exist yet, so that settings shipped beside the program are kept.
QString UsableSettingsFile(const QString& wanted, const TStationFolders& folders);

} // namespace station

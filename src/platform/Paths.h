#pragma once

#include <QString>

// Where the program keeps its files, and file lookup on a case-sensitive file system for names
// that were written for a case-insensitive one.
namespace platform {

// The executable's folder, or the per-user data folder when the executable's folder cannot be
// written. Tests and the launcher may set it.
QString programFolder();
void setProgramFolder(const QString& folder);
// The per-user data folder, where the program writes when its own folder cannot be written.
QString userDataFolder();
// True when a file can be created in the folder (it is created when missing).
bool folderWritable(const QString& folder);
// The settings file: the executable's name with ".ini", in the program folder.
QString settingsFilePath();

// Joins a folder and a relative path that may use '\' as separator ("perso\temp.car").
QString joinPath(const QString& folder, const QString& relative);
QString withSlashes(const QString& path);

// The path of an existing file or folder: `path` itself when it exists, otherwise the one entry
// whose name differs only in letter case at each level; empty when there is none.
QString findExisting(const QString& path);
bool fileExistsAnyCase(const QString& path);

// Creates the folder (and parents) when missing; false when it cannot.
bool ensureFolder(const QString& folder);

} // namespace platform

#include "StationFolders.h"

#include "platform/FileUtils.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>

namespace station {

TStationFolders TStationFolders::Resolve(const QString& program, const QString& userData)
{
    return Resolve(program, userData, platform::folderWritable(program));
}

TStationFolders TStationFolders::Resolve(const QString& program, const QString& userData,
                                         bool programWritable)
{
    TStationFolders f;
    f.Program = QDir::cleanPath(program);
    f.Writable = programWritable ? f.Program : QDir::cleanPath(userData);
    return f;
}

QString TStationFolders::WritePath(const QString& relative) const
{
    return platform::joinPath(Writable, relative);
}

QString TStationFolders::ReadPath(const QString& relative) const
{
    for (const QString& root : {Writable, Program}) {
        const QString found = platform::findExisting(platform::joinPath(root, relative));
        if (!found.isEmpty())
            return found;
    }
    return WritePath(relative);
}

bool TStationFolders::CreateFolders() const
{
    bool ok = platform::ensureFolder(ImagesFolder());
    ok = platform::ensureFolder(ModelsFolder()) && ok;
    return ok;
}

bool TStationFolders::CopyShippedFamilies() const
{
    if (!ReadOnlyProgram())
        return true;
    bool ok = true;
    const QStringList shipped = QDir(Program).entryList({QStringLiteral("*.for")}, QDir::Files, QDir::Name);
    for (const QString& name : shipped) {
        // A family of that name already in the user's folder is the user's own: never replaced.
        if (!platform::findExisting(WritePath(name)).isEmpty())
            continue;
        try {
            platform::CopyFile(platform::joinPath(Program, name), WritePath(name));
        } catch (...) {
            ok = false;
        }
    }
    return ok;
}

QString UsableSettingsFile(const QString& wanted, const TStationFolders& folders)
{
    const QFileInfo info(wanted);
    const QString folder = QDir::cleanPath(info.absolutePath());
    const bool writable = folder == QDir::cleanPath(QFileInfo(folders.Program).absoluteFilePath())
                              ? !folders.ReadOnlyProgram()
                              : platform::folderWritable(folder);
    if (writable)
        return wanted;
    const QString own = platform::joinPath(folders.Writable, info.fileName());
    if (!QFileInfo::exists(own) && info.exists()) {
        try {
            platform::CopyFile(wanted, own);
        } catch (...) {
            // Without the copy the program starts on its defaults: nothing is lost, since the
            // shipped file stays untouched.
        }
    }
    return own;
}

} // namespace station

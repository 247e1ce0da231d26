#include "FileUtils.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <array>
#include <filesystem>
#include <system_error>

namespace platform {

namespace {

// Both names reach one file: another spelling of the path, a symbolic link or a hard link.
// Writing the destination would then destroy the source before it is read.
bool sameFile(const QString& a, const QString& b)
{
    std::error_code ec;
    const bool same = std::filesystem::equivalent(std::filesystem::path(QFile::encodeName(a).toStdString()),
                                                  std::filesystem::path(QFile::encodeName(b).toStdString()), ec);
    return !ec && same;
}

} // namespace

void CopyFile(const QString& source, const QString& destination)
{
    QString target = QFileInfo(destination).absoluteFilePath();
    if (QFileInfo(target).isDir())
        target += u'/' + QFileInfo(source).fileName();

    QFile in(source);
    if (QFileInfo(source).isDir() || !in.open(QIODevice::ReadOnly))
        throw EFOpenError(QStringLiteral("Impossible d'ouvrir le fichier %1").arg(source));
    if (sameFile(source, target))
        throw EFCreateError(QStringLiteral("Impossible de créer le fichier %1").arg(target));

    // The copy goes to a temporary file renamed over the destination only when every byte is
    // written: a failure leaves the old destination (or none) and no partial file.
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        throw EFCreateError(QStringLiteral("Impossible de créer le fichier %1").arg(target));

    // A read shorter than the buffer is not the end of the file on every file system (network
    // and user-space ones return what they have): only a read of nothing is.
    std::array<char, 8192> buffer;
    for (;;) {
        const qint64 n = in.read(buffer.data(), qint64(buffer.size()));
        if (n < 0)
            throw EInOutError(readErrorMessage(source, in.errorString()));
        if (n == 0)
            break;
        if (out.write(buffer.data(), n) != n)
            throw EInOutError(readErrorMessage(target, out.errorString()));
    }
    if (!out.commit())
        throw EInOutError(readErrorMessage(target, out.errorString()));
}

qint64 GetFileSizeByName(const QString& name)
{
    const QFileInfo info(name);
    if (!info.exists())
        return -1;
    return info.isDir() ? 0 : info.size();
}

unsigned FileGetAttr(const QString& name)
{
    const QFileInfo info(name);
    if (!info.exists())
        return 0;
    unsigned attributes = info.isDir() ? faDirectory : faArchive;
    if (!info.isWritable())
        attributes |= faReadOnly;
    if (info.fileName().startsWith(u'.'))
        attributes |= faHidden;
    return attributes;
}

bool HasAttr(const QString& name, unsigned attributes)
{
    if (!QFileInfo::exists(name))
        return false;
    return (FileGetAttr(name) & attributes) == attributes;
}

} // namespace platform

#include "SystemQueries.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStorageInfo>

QString firstOpticalMount(const QList<MountedVolume>& volumes,
                          const std::function<bool(const QString& device)>& isOptical)
{
    for (const MountedVolume& volume : volumes) {
        if (volume.device.isEmpty() || volume.rootPath.isEmpty() || !isOptical(volume.device))
            continue;
        QString root = volume.rootPath;
        while (root.size() > 1 && root.endsWith(QLatin1Char('/')))
            root.chop(1);
        return root;
    }
    return QStringLiteral("@");
}

bool isOpticalDevice(const QString& device)
{
    if (!device.startsWith(QLatin1String("/dev/")))
        return false;
    // /dev/cdrom and friends are links to the real node.
    const QString canonical = QFileInfo(device).canonicalFilePath();
    const QString name = QFileInfo(canonical.isEmpty() ? device : canonical).fileName();
    QFile type(QStringLiteral("/sys/class/block/%1/device/type").arg(name));
    if (type.open(QIODevice::ReadOnly))
        return type.readAll().trimmed() == "5";
    static const QRegularExpression opticalName(QStringLiteral("^(sr|scd)[0-9]+$"));
    return opticalName.match(name).hasMatch();
}

QString LecteurCDROM()
{
    QList<MountedVolume> volumes;
    for (const QStorageInfo& storage : QStorageInfo::mountedVolumes())
        volumes.append({QString::fromLocal8Bit(storage.device()), storage.rootPath()});
    return firstOpticalMount(volumes, isOpticalDevice);
}

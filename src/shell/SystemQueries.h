#pragma once

#include <QList>
#include <QString>
#include <functional>

// The first optical drive. There are no drive letters here: the answer is the folder where the
// first optical disc found among the mounted volumes is mounted (no trailing slash), or "@"
// when none is mounted, in which case the station has no second picture root.
QString LecteurCDROM();

struct MountedVolume {
    QString device;    // "/dev/sr0", or a symbolic link to it
    QString rootPath;  // "/media/user/DISC"
};

// The mount folder of the first volume whose device is optical, or "@".
QString firstOpticalMount(const QList<MountedVolume>& volumes,
                          const std::function<bool(const QString& device)>& isOptical);

// True when the block device is a CD/DVD/BD drive: its kernel device type is 5 (a ROM drive),
// or, where that cannot be read, its name is one the kernel gives such drives (sr0, scd0).
bool isOpticalDevice(const QString& device);

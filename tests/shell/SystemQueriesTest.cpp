#include "shell/SystemQueries.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

namespace {

bool fakeOptical(const QString& device)
{
    return device == "/dev/sr1" || device == "/dev/cdrom";
}

TEST(LecteurCDROM, FirstOpticalVolumeGivesItsMountFolder)
{
    const QList<MountedVolume> volumes{
        {"/dev/sda1", "/"},
        {"/dev/sdb1", "/media/user/STICK"},
        {"/dev/sr1", "/media/user/DISC 1/"},
        {"/dev/cdrom", "/media/user/DISC2"},
    };
    EXPECT_EQ(firstOpticalMount(volumes, fakeOptical), "/media/user/DISC 1");
    EXPECT_EQ(firstOpticalMount(volumes.mid(3), fakeOptical), "/media/user/DISC2");
}

TEST(LecteurCDROM, NoOpticalVolumeGivesTheAtSign)
{
    EXPECT_EQ(firstOpticalMount({}, fakeOptical), "@");
    EXPECT_EQ(firstOpticalMount({{"/dev/sda1", "/"}, {"tmpfs", "/tmp"}}, fakeOptical), "@");
    EXPECT_EQ(firstOpticalMount({{"/dev/sda1", "/"}}, [](const QString&) { return false; }), "@");
}

TEST(LecteurCDROM, DeviceKinds)
{
    // Not block devices at all.
    EXPECT_FALSE(isOpticalDevice("tmpfs"));
    EXPECT_FALSE(isOpticalDevice("/dev/null"));
    EXPECT_FALSE(isOpticalDevice("overlay"));
    // Whatever this machine has, the answer is "@" or a mounted folder.
    const QString found = LecteurCDROM();
    EXPECT_TRUE(found == "@" || QFileInfo(found).isDir()) << found.toStdString();
}

} // namespace

#include "platform/FileUtils.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace platform;
using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

// Bytes that differ from one chunk to the next, so a chunk copied twice or skipped shows.
QByteArray sample(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 8192) & 0xFF);
    return bytes;
}

} // namespace

TEST(CopyFile, CopiesEveryByteToAFileOrIntoAFolder)
{
    QTemporaryDir dir;
    const QString source = dir.filePath("a.bmp");
    const QByteArray bytes = sample(3 * 8192 + 5);
    writeBytes(source, bytes);
    QDir(dir.path()).mkdir("images");

    CopyFile(source, dir.filePath("b.bmp"));
    EXPECT_EQ(readBytes(dir.filePath("b.bmp")), bytes);

    // An existing destination is replaced, a shorter one wholly.
    writeBytes(dir.filePath("c.bmp"), sample(40000));
    CopyFile(source, dir.filePath("c.bmp"));
    EXPECT_EQ(readBytes(dir.filePath("c.bmp")), bytes);

    // A folder receives the file under the source's name.
    CopyFile(source, dir.filePath("images"));
    EXPECT_EQ(readBytes(dir.filePath("images/a.bmp")), bytes);

    writeBytes(dir.filePath("empty"), {});
    CopyFile(dir.filePath("empty"), dir.filePath("empty2"));
    EXPECT_TRUE(QFile::exists(dir.filePath("empty2")));
    EXPECT_EQ(GetFileSizeByName(dir.filePath("empty2")), 0);
}

// Writing the destination would empty the source before it is read: every name that reaches the
// source is refused, and the source keeps its bytes.
TEST(CopyFile, RefusesToCopyAFileOntoItself)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("sub");
    const QString source = dir.filePath("a.bmp");
    const QByteArray bytes = sample(20000);
    writeBytes(source, bytes);
    ASSERT_TRUE(QFile::link(source, dir.filePath("symlink.bmp")));
    ASSERT_EQ(::link(QFile::encodeName(source).constData(),
                     QFile::encodeName(dir.filePath("hardlink.bmp")).constData()), 0);

    for (const QString& target : {source, dir.filePath("sub/../a.bmp"), dir.filePath("./a.bmp"),
                                  dir.path(), dir.filePath("symlink.bmp"), dir.filePath("hardlink.bmp")}) {
        SCOPED_TRACE(target.toStdString());
        EXPECT_THROW(CopyFile(source, target), EFCreateError);
        EXPECT_EQ(readBytes(source), bytes);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3);
}

TEST(CopyFile, AFailedCopyLeavesNoPartialFile)
{
    QTemporaryDir dir;
    const QString source = dir.filePath("big.bmp");
    writeBytes(source, sample(200000));
    const QString old = dir.filePath("old.bmp");
    writeBytes(old, "previous picture");

    EXPECT_THROW(CopyFile(dir.filePath("missing.bmp"), dir.filePath("x.bmp")), EFOpenError);
    EXPECT_THROW(CopyFile(dir.path(), dir.filePath("x.bmp")), EFOpenError);
    EXPECT_THROW(CopyFile(source, dir.filePath("no/such/folder/x.bmp")), EFCreateError);
    EXPECT_FALSE(QFile::exists(dir.filePath("x.bmp")));

    // The disk fills up midway: the error is reported, the destination keeps its old bytes and no
    // piece of the copy is left behind.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 50000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool threw = false;
    try {
        CopyFile(source, old);
    } catch (const EInOutError&) {
        threw = true;
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedSignal);
    EXPECT_TRUE(threw);
    EXPECT_EQ(readBytes(old), QByteArray("previous picture"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
              QStringList({"big.bmp", "old.bmp"}));
}

TEST(FileHelpers, SizeAndAttributes)
{
    QTemporaryDir dir;
    writeBytes(dir.filePath("ten.txt"), "0123456789");
    EXPECT_EQ(GetFileSizeByName(dir.filePath("ten.txt")), 10);
    EXPECT_EQ(GetFileSizeByName(dir.filePath("none.txt")), -1);

    EXPECT_TRUE(HasAttr(dir.path(), faDirectory));
    EXPECT_FALSE(HasAttr(dir.filePath("ten.txt"), faDirectory));
    EXPECT_TRUE(HasAttr(dir.filePath("ten.txt"), faArchive));
    // A missing name has no attribute at all, not every one.
    EXPECT_FALSE(HasAttr(dir.filePath("none"), faDirectory));
    EXPECT_FALSE(HasAttr(dir.filePath("none"), 0));
    EXPECT_EQ(FileGetAttr(dir.filePath("none")), 0u);
}

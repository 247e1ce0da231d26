#pragma once

#include <QByteArray>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <memory>

// What the fuzz targets share.
namespace fuzzsupport {

// A QGuiApplication on the offscreen platform, made once: fonts and painting need one. Qt's own
// warnings about odd input (a font it cannot find, a painter on a null image) are silenced, so
// the fuzzer's output stays readable.
void startGuiApplication();
void silenceQtMessages();

inline QByteArray bytesOf(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A folder for the files a reader needs, in memory when the system has one (/dev/shm): the
// readers write through a temporary and flush, which on a disk would be most of the run.
std::unique_ptr<QTemporaryDir> scratchFolder();

// Stops the run with a message when a property of the code under test does not hold: libFuzzer
// keeps the input as a crash.
[[noreturn]] void fail(const char* what);

} // namespace fuzzsupport

#define FUZZ_CHECK(condition)                                                                     \
    do {                                                                                          \
        if (!(condition))                                                                         \
            ::fuzzsupport::fail(#condition);                                                      \
    } while (false)

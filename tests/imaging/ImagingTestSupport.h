#pragma once

#include "TestSupport.h"
#include "imaging/Binding.h"

#include <QColor>
#include <QFile>
#include <QTemporaryDir>
#include <QImage>
#include <QString>

#include <gtest/gtest.h>

namespace imagingtest {

inline QString fixture(const QString& name)
{
    return testsupport::dataPath(QStringLiteral("imaging/") + name);
}

// Whether two colours differ by at most `tolerance` in each channel.
inline bool near(QRgb a, QRgb b, int tolerance)
{
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance
           && qAbs(qBlue(a) - qBlue(b)) <= tolerance;
}

// The four-quarter picture of the fixtures: red, green / blue, `fourth` (white unless said),
// checked at the centre of each quarter.
inline ::testing::AssertionResult hasQuarters(const QImage& image, int tolerance = 8,
                                              QRgb fourth = qRgb(255, 255, 255))
{
    if (image.isNull())
        return ::testing::AssertionFailure() << "no picture";
    const int w = image.width(), h = image.height();
    const struct {
        int x, y;
        QRgb color;
    } spots[] = {{w / 4, h / 4, qRgb(255, 0, 0)}, {3 * w / 4, h / 4, qRgb(0, 255, 0)},
                 {w / 4, 3 * h / 4, qRgb(0, 0, 255)}, {3 * w / 4, 3 * h / 4, fourth}};
    for (const auto& s : spots) {
        const QRgb got = image.pixel(s.x, s.y);
        if (!near(got, s.color, tolerance))
            return ::testing::AssertionFailure()
                   << "pixel (" << s.x << ", " << s.y << ") is " << qPrintable(QColor(got).name())
                   << ", expected " << qPrintable(QColor(s.color).name());
    }
    return ::testing::AssertionSuccess();
}

using testsupport::useSaneBackends;

// The binding put back to its defaults around each test: the built-in library, no message box.
class BindingFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        imaging::setImagingLibraryFactory({});
        imaging::setImagingMessageSink([this](const QString& text) { messages << text; });
        imaging::binding() = imaging::BindingState();
    }
    void TearDown() override
    {
        imaging::setImagingLibraryFactory({});
        imaging::setImagingMessageSink({});
        imaging::binding() = imaging::BindingState();
    }
    QStringList messages;
};

} // namespace imagingtest

#include "shell/QuitWhenClosed.h"
#include "shell/TLogo.h"
#include "shell/TSleeper.h"
#include "ui_TLogo.h"

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <gtest/gtest.h>

#include <ctime>

namespace {

qint64 threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

} // namespace

// The wait lasts its time, lets the program's events run meanwhile, and sleeps rather than spins.
TEST(Sleeper, WaitsItsTimeServingEventsWithoutSpinning)
{
    TSleeper sleeper;
    sleeper.SetInterval(300);
    EXPECT_EQ(sleeper.Interval(), 300);
    for (int round = 0; round < 2; ++round) { // the second wait is as long as the first
        SCOPED_TRACE(round);
        bool served = false;
        QTimer::singleShot(20, [&] { served = true; });
        QElapsedTimer clock;
        clock.start();
        const qint64 cpuBefore = threadCpuMs();
        sleeper.Sleep();
        const qint64 elapsed = clock.elapsed();
        EXPECT_GE(elapsed, 299);
        EXPECT_LT(elapsed, 5000);
        EXPECT_LT(threadCpuMs() - cpuBefore, 100);
        EXPECT_TRUE(served);
    }
}

TEST(Logo, KeyColourBecomesTransparent)
{
    // White background (the key), a blue square, one black pixel.
    QImage logo(8, 8, QImage::Format_RGB32);
    logo.fill(Qt::white);
    for (int y = 2; y < 6; ++y)
        for (int x = 2; x < 6; ++x)
            logo.setPixel(x, y, qRgb(0, 0, 200));
    logo.setPixel(3, 3, qRgb(0, 0, 0));

    QImage shown = LogoWithTransparency(logo);
    EXPECT_EQ(qAlpha(shown.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(shown.pixel(7, 7)), 0);
    EXPECT_EQ(shown.pixel(2, 2), qRgb(0, 0, 200));
    EXPECT_EQ(qAlpha(shown.pixel(3, 3)), 0); // black is the transparent colour too

    // A black corner: black is the key, nothing else changes.
    logo.setPixel(0, 0, qRgb(0, 0, 0));
    shown = LogoWithTransparency(logo);
    EXPECT_EQ(qAlpha(shown.pixel(0, 0)), 0);
    EXPECT_EQ(shown.pixel(7, 7), qRgb(255, 255, 255));
    EXPECT_EQ(shown.pixel(2, 2), qRgb(0, 0, 200));
    EXPECT_EQ(qAlpha(shown.pixel(3, 3)), 0);
}

TEST(Logo, CentredOnTheScreenEvenWhenLarger)
{
    EXPECT_EQ(LogoPosition(QSize(1024, 768), QSize(360, 300)), QPoint(332, 234));
    EXPECT_EQ(LogoPosition(QSize(800, 600), QSize(1000, 800)), QPoint(-100, -100));
    EXPECT_EQ(LogoPosition(QSize(800, 600), QSize(1001, 801)), QPoint(-100, -100));
}

// The splash is a frameless window above the others, centred, and only the logo itself is
// opaque: its background lets the desktop show.
TEST(Logo, SplashWindowShowsTheLogoAlone)
{
    TLogo logo;
    EXPECT_EQ(logo.Sleeper->Interval(), 1000);
    EXPECT_TRUE(logo.windowFlags().testFlag(Qt::SplashScreen));
    EXPECT_TRUE(logo.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(logo.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    const QImage picture = TLogo::LogoPicture();
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(logo.size(), picture.size());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(logo.geometry().center(), screen.center());

    const QImage shown = logo.ui->Image->pixmap().toImage();
    EXPECT_EQ(qAlpha(shown.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(shown.pixel(shown.width() / 2, shown.height() / 2)), 255);
    EXPECT_FALSE(logo.mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(logo.mask().contains(QPoint(shown.width() / 2, shown.height() / 2)));
}

// Closing the main window ends the program; a close it refuses (a design left unsaved) does not,
// nor does hiding it while another window is open.
TEST(MainWindow, ClosingItEndsTheProgram)
{
    class Window : public QWidget {
    public:
        bool refuse = true;

    protected:
        void closeEvent(QCloseEvent* event) override { event->setAccepted(!refuse); }
    };
    Window window;
    int quits = 0;
    QuitWhenClosed(&window, [&] { ++quits; });
    window.show();
    window.close();
    QCoreApplication::processEvents();
    EXPECT_EQ(quits, 0);
    window.hide();
    QCoreApplication::processEvents();
    EXPECT_EQ(quits, 0);
    window.show();
    window.refuse = false;
    window.close();
    QCoreApplication::processEvents();
    EXPECT_EQ(quits, 1);
}

#include "TLogo.h"
#include "ui_TLogo.h"

#include "platform/HourGlass.h"
#include "shell/TSleeper.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

QImage LogoWithTransparency(const QImage& logo)
{
    QImage image = logo.convertToFormat(QImage::Format_ARGB32);
    if (image.isNull())
        return image;
    const QRgb key = image.pixel(0, 0) | 0xFF000000u;
    const QRgb black = qRgb(0, 0, 0);
    if (key != black) {
        platform::HourGlass busy;
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if ((line[x] | 0xFF000000u) == key)
                    line[x] = black;
        }
    }
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] | 0xFF000000u) == black)
                line[x] = 0;
    }
    return image;
}

QPoint LogoPosition(const QSize& screen, const QSize& logo)
{
    return QPoint((screen.width() - logo.width()) / 2, (screen.height() - logo.height()) / 2);
}

QImage TLogo::LogoPicture()
{
    return QImage(QStringLiteral(":/bitmaps/logo.png"));
}

TLogo::TLogo(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      ui(std::make_unique<Ui::TLogo>())
{
    ui->setupUi(this);
    Sleeper = new TSleeper(this);
    Sleeper->setObjectName(QStringLiteral("Sleeper"));
    Sleeper->SetInterval(1000);
    FormCreate();
}

TLogo::~TLogo() = default;

void TLogo::FormCreate()
{
    // Nothing may be painted on the screen itself here: the logo gets a window of its own,
    // shaped to its opaque pixels, so that the desktop shows around and through it.
    const QImage logo = LogoWithTransparency(LogoPicture());
    const QPixmap pixmap = QPixmap::fromImage(logo);
    ui->Image->setPixmap(pixmap);
    ui->Image->setGeometry(QRect(QPoint(0, 0), logo.size()));
    setFixedSize(logo.size());
    setAttribute(Qt::WA_TranslucentBackground);
    if (!pixmap.isNull())
        setMask(pixmap.mask());
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen != nullptr)
        move(screen->geometry().topLeft() + LogoPosition(screen->geometry().size(), logo.size()));
}

#pragma once

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QWidget>

#include <memory>

class TSleeper;

namespace Ui {
class TLogo;
}

// The logo with its key colour made transparent: the colour of its top-left pixel, unless that
// is black, becomes black, and every black pixel is then transparent.
QImage LogoWithTransparency(const QImage& logo);
// The logo's top-left corner when centred on the screen (halves cut toward zero; negative when
// the logo is the larger).
QPoint LogoPosition(const QSize& screen, const QSize& logo);

// The start-up splash: a frameless window above the others, centred on the screen, showing the
// logo without its background. It carries the start-up wait.
class TLogo : public QWidget {
    Q_OBJECT
public:
    explicit TLogo(QWidget* parent = nullptr);
    ~TLogo() override;

    const std::unique_ptr<Ui::TLogo> ui;
    TSleeper* Sleeper = nullptr;

    static QImage LogoPicture();

private:
    void FormCreate();
};

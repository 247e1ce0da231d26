#include "TGlassImage.h"

#include <QPainter>

TGlassImage::TGlassImage(QWidget* parent) : QWidget(parent)
{
    resize(105, 105);
}

void TGlassImage::SetAutoSize(bool value)
{
    m_autoSize = value;
    pictureChanged();
}

void TGlassImage::SetCenter(bool value)
{
    if (value == m_center)
        return;
    m_center = value;
    m_valid = false;
    update();
}

void TGlassImage::SetStretch(bool value)
{
    m_stretch = value;
    m_valid = false;
    update();
}

void TGlassImage::SetGlassColor(platform::TColor value)
{
    if (value == m_glassColor)
        return;
    m_glassColor = value;
    m_valid = false;
    update();
}

void TGlassImage::SetPicture(const QImage& picture)
{
    m_picture = picture;
    pictureChanged();
}

void TGlassImage::pictureChanged()
{
    if (m_autoSize && m_picture.width() > 0 && m_picture.height() > 0)
        resize(m_picture.size());
    m_valid = false;
    update();
}

QRect TGlassImage::PictureRect() const
{
    if (m_stretch)
        return rect();
    if (m_center)
        return QRect((width() - m_picture.width()) / 2, (height() - m_picture.height()) / 2,
                     m_picture.width(), m_picture.height());
    return QRect(QPoint(0, 0), m_picture.size());
}

void TGlassImage::resizeEvent(QResizeEvent* event)
{
    m_valid = false;
    QWidget::resizeEvent(event);
}

void TGlassImage::paintEvent(QPaintEvent*)
{
    const QRect target = PictureRect();
    if (m_picture.isNull() || target.isEmpty())
        return;
    if (!m_valid) {
        // The picture is laid on the glass colour first, so that its own transparent parts are
        // glass too; then every pixel of that colour is cleared.
        const QColor glass = platform::ToQColor(m_glassColor);
        QImage image(target.size(), QImage::Format_ARGB32);
        image.fill(glass);
        {
            QPainter p(&image);
            p.drawImage(QRect(QPoint(0, 0), target.size()), m_picture);
        }
        const QRgb key = glass.rgb() | 0xFF000000u;
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if ((line[x] | 0xFF000000u) == key)
                    line[x] = 0;
        }
        m_prepared = image;
        m_valid = true;
    }
    QPainter p(this);
    p.drawImage(target.topLeft(), m_prepared);
}

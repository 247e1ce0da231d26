#pragma once

#include "platform/TColor.h"

#include <QImage>
#include <QWidget>

// A picture with one transparent colour: every pixel of GlassColor lets the window behind show
// through. The logos of the about box and of several dialogs.
class TGlassImage : public QWidget {
    Q_OBJECT
public:
    explicit TGlassImage(QWidget* parent = nullptr);

    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool value);
    bool Center() const { return m_center; }
    void SetCenter(bool value);
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool value);
    platform::TColor GlassColor() const { return m_glassColor; }
    void SetGlassColor(platform::TColor value);
    const QImage& Picture() const { return m_picture; }
    void SetPicture(const QImage& picture);

    // Where the picture is drawn in the control.
    QRect PictureRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void pictureChanged();

    QImage m_picture;
    QImage m_prepared; // the picture at the drawn size, glass pixels fully transparent
    bool m_valid = false;
    bool m_autoSize = false;
    bool m_center = false;
    bool m_stretch = false;
    platform::TColor m_glassColor = platform::clBtnFace;
};

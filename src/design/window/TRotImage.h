#pragma once

#include <QDialog>
#include "imaging/Dib.h"

#include <QImage>

#include <memory>

class QFrame;
class TPMultiImage;
class TMultiLang;

namespace Ui {
class TRotImage;
}

// The picture rotation chooser: the picture turned by 0, 90, 180 and 270 degrees in four panels,
// and a fifth panel at a free angle set by a scroll bar (top of the bar = 359 degrees). The
// chosen panel is aqua. The caller gives the picture and its present angle, and after OK reads
// Angle (degrees counter-clockwise).
class TRotImage : public QDialog {
    Q_OBJECT
public:
    TRotImage(const QImage& picture, int angle, QWidget* parent = nullptr);
    ~TRotImage() override;

    const std::unique_ptr<Ui::TRotImage> ui;
    TMultiLang* MultiLang1 = nullptr;

    int Angle = 0;

    // The panels, the chosen one first set by the angle given.
    void FormShow();
    // 0 to 3: a preset panel; 4: the free one.
    void SelectPanel(int panel);
    int SelectedPanel() const { return m_selected; }
    void ScrollBarChange();
    // Draws the thumbnail turned by `angle` on `background` in the free panel.
    void PreviewFreeAngle(int angle, const QColor& background);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QFrame* panel(int i) const;
    TPMultiImage* image(int i) const;
    void showPicture(int i, const imaging::Bitmap& picture);

    QImage m_thumbnail;
    int m_selected = -1;
    bool m_loading = false;
};

#pragma once

#include "platform/TColor.h"

#include <QWidget>

// Where a ruler docks in its parent; each ruler accepts only the sides along its own direction.
enum TRulerAlign { alNone, alTop, alBottom, alLeft, alRight };

// The millimetre rulers along the design surface: a mark per millimetre from millimetre Orig at
// Zoom percent of the screen's own scale (the screen's resolution, never the design's 96), the
// centimetre numbers beside their marks. Both are painted in paint events; changing Orig or Zoom
// repaints, setting the value already there does not.
class TRuler : public QWidget {
    Q_OBJECT
public:
    int Orig() const { return m_orig; }
    void SetOrig(int millimetre);
    int Zoom() const { return m_zoom; }
    // Percent; 0 or below is ignored (the marks would never advance).
    void SetZoom(int percent);
    platform::TColor Color() const { return m_color; }
    void SetColor(platform::TColor color);
    // The parent's dock side the ruler asked for last (the window's layout places it).
    TRulerAlign Align() const { return m_align; }

    // Paint events so far (a value set again must not repaint).
    int PaintCount() const { return m_paints; }

protected:
    TRuler(Qt::Orientation orientation, QWidget* parent);
    void paintEvent(QPaintEvent* event) override;
    void setAlign(TRulerAlign align, TRulerAlign side1, TRulerAlign side2);

private:
    Qt::Orientation m_orientation;
    int m_orig = 0;
    int m_zoom = 100;
    platform::TColor m_color = platform::clYellow;
    TRulerAlign m_align = alNone;
    int m_paints = 0;
};

// Below the surface: marks run left to right and hang from the top edge.
class THRuler : public TRuler {
    Q_OBJECT
public:
    explicit THRuler(QWidget* parent = nullptr);
    TRulerAlign AlignHRuler() const { return Align(); }
    // alNone, alTop or alBottom; anything else is ignored.
    void SetAlignHRuler(TRulerAlign align) { setAlign(align, alTop, alBottom); }
};

// At the right of the surface: marks run top to bottom and start at the left edge.
class TVRuler : public TRuler {
    Q_OBJECT
public:
    explicit TVRuler(QWidget* parent = nullptr);
    TRulerAlign AlignVRuler() const { return Align(); }
    // alNone, alLeft or alRight; anything else is ignored.
    void SetAlignVRuler(TRulerAlign align) { setAlign(align, alLeft, alRight); }
};

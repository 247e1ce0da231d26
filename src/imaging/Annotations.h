#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

class QPainter;

// The annotation layer of an image control: marks drawn over a picture (frames, lines, notes),
// in picture pixels, kept per TIFF page in a small text file beside the picture. The program
// itself never switches annotation editing on; the layer is there for the control's users.
namespace imaging {

struct Annotation {
    enum Kind { Frame, Line, Note };
    Kind kind = Frame;
    QRect rect;       // picture pixels; a line runs from the top-left to the bottom-right corner
    QColor color = Qt::red;
    QString text;     // notes only

    bool operator==(const Annotation&) const = default;
};

// The annotation file of a picture: `annoFileName` when set; else the picture's name with only
// the extension of its file-name part replaced by ".ant" (a dot in a folder's name is left
// alone); else "default.ant".
QString AnnoFileNameFor(const QString& annoFileName, const QString& imageName);

// The annotation file format: a first line "Pravolis annotations 1", then one annotation per
// line: page;kind;left;top;width;height;#rrggbb;text (the text to the end of the line).
// Parsing answers the annotations of one page and refuses a file without the first line or
// with a malformed line.
bool ParseAnnotations(const QByteArray& file, int page, QList<Annotation>& out, QString* why = nullptr);
// `existing` with the lines of `page` replaced by `items`.
QByteArray FormatAnnotations(const QByteArray& existing, int page, const QList<Annotation>& items);

class AnnotationLayer {
public:
    const QList<Annotation>& Items() const { return m_items; }
    void Add(const Annotation& a) { m_items << a; }
    void Clear() { m_items.clear(); m_pressed = false; }

    // Loads the page's annotations when the file exists and is valid (false otherwise, the layer
    // unchanged); saves them all or nothing.
    bool Load(const QString& path, int page);
    bool Save(const QString& path, int page) const;

    // Draws the annotations over a view showing the picture at `zoom` from `origin` (the picture
    // pixel at the view's top-left), moved by the centring offsets.
    void Draw(QPainter& painter, double zoom, const QPoint& origin, int offsetX, int offsetY) const;

    // Editing: a press and a release of the left button frame a new annotation (picture pixels).
    void MouseDown(const QPoint& picturePoint);
    void MouseMove(const QPoint& picturePoint);
    // True when a frame was added.
    bool MouseUp(const QPoint& picturePoint);
    // The frame being drawn, if any.
    bool Rubber(QRect& rect) const;
    void RubberBandOff() { m_pressed = false; }

private:
    QList<Annotation> m_items;
    bool m_pressed = false;
    QPoint m_start, m_end;
};

} // namespace imaging

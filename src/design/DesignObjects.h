#pragma once

#include "barcode/BarcodeTypes.h"
#include "platform/Graphics.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

namespace barcode {
class TBarcode;
}

// The records of a label design: one class per kind of object, each with the properties the design
// file stores. A record is plain data with its own setters and range checks; views on the design
// surface read it, and sizes that follow the content (tilted texts, lines, circular texts,
// barcodes) come from the layout step in ObjectGeometry.h, never from painting.
namespace design {

// The kinds in the order of the design file's sections (section = kind + 1).
enum class TDesignObjectKind { Image, Shape, Label, RotateLabel, Line, Memo, CircleLabel, Barcode };
constexpr int DesignObjectKindCount = 8;

enum TShapeType { stRectangle, stRoundRect, stEllipse };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TBorderStyle { bsNone, bsSingle };

// How a line runs inside its box. Designs use ltHorizontal, ltVertical and the two diagonals; the
// other kinds exist for the line object itself.
enum TLineType : std::uint8_t {
    ltCustom,
    ltHorizontal,
    ltVertical,
    ltTop,
    ltBottom,
    ltLeft,
    ltRight,
    ltUpDiagonal,
    ltDownDiagonal
};

class TDesignObject {
public:
    virtual ~TDesignObject() = default;
    virtual TDesignObjectKind Kind() const = 0;

    // Design pixels, the label's top-left corner at (0, 0).
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool Visible = true;
    int Tag = 0;

    platform::TRect BoundsRect() const { return platform::Bounds(Left, Top, Width, Height); }
    void SetBounds(int left, int top, int width, int height)
    {
        Left = left;
        Top = top;
        Width = width;
        Height = height;
    }

protected:
    TDesignObject(int width, int height) : Width(width), Height(height) {}
    TDesignObject(const TDesignObject&) = default;
    TDesignObject& operator=(const TDesignObject&) = default;
};

// Class test by kind: Is<TLabel>(o) is false for a tilted text.
template <class T>
bool Is(const TDesignObject* o)
{
    return o != nullptr && o->Kind() == T::ClassKind;
}
template <class T>
T* As(TDesignObject* o)
{
    return Is<T>(o) ? static_cast<T*>(o) : nullptr;
}
template <class T>
const T* As(const TDesignObject* o)
{
    return Is<T>(o) ? static_cast<const T*>(o) : nullptr;
}

// A picture. Hint holds the reference: a file name under the picture folders, or a field code
// ("<...>") whose picture comes from the record when the label is drawn. Tag packs the
// keep-proportions flag and the rotation angle (EncodeImageTag).
class TImage : public TDesignObject {
public:
    static constexpr TDesignObjectKind ClassKind = TDesignObjectKind::Image;
    TImage() : TDesignObject(105, 105) {}
    TDesignObjectKind Kind() const override { return ClassKind; }

    QString Hint;
    bool Center = false;
    bool Stretch = false;

    // With AutoSize the object takes the size of every picture it is given.
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool on);
    // Empty (null) when the picture file was missing: the object keeps its reference and draws
    // nothing.
    const QImage& Picture() const { return m_picture; }
    void SetPicture(const QImage& picture);
    // A field-code image's placeholder: the size it was given, whose proportions the record's
    // picture takes when the image keeps proportions. Empty when it has none. No bitmap is held
    // for it (a placeholder is drawn when painted, at the painted size), so an object of any size
    // costs nothing to load.
    QSize PlaceholderSize;

private:
    bool m_autoSize = false;
    QImage m_picture;
};

// Rectangle, rounded rectangle or ellipse.
class TShape : public TDesignObject {
public:
    static constexpr TDesignObjectKind ClassKind = TDesignObjectKind::Shape;
    TShape() : TDesignObject(65, 65) {}
    TDesignObjectKind Kind() const override { return ClassKind; }

    TShapeType Shape = stRectangle;
    platform::TPen Pen;
    platform::TBrush Brush;
};

// Simple text, word-wrapped in its box.
class TLabel : public TDesignObject {
public:
    static constexpr TDesignObjectKind ClassKind = TDesignObjectKind::Label;
    TLabel() : TDesignObject(65, 17) {}
    TDesignObjectKind Kind() const override { return ClassKind; }

    QString Caption;
    platform::TFont Font;
    platform::TColor Color = platform::clBtnFace;
    bool Transparent = false;
    TAlignment Alignment = taLeftJustify;
    bool AutoSize = true;
    bool ShowAccelChar = true;
    bool WordWrap = false;
};

// Tilted text: the caption turned by Angle degrees counter-clockwise about the centre of a square
// box sized by the caption (LayoutRotateLabel).
class TRotateLabel : public TDesignObject {
public:
    static constexpr TDesignObjectKind ClassKind = TDesignObjectKind::RotateLabel;
    TRotateLabel() : TDesignObject(65, 17) {}
    TDesignObjectKind Kind() const override { return ClassKind; }

    QString Caption;
    platform::TFont Font;
    platform::TColor Color = platform::clBtnFace;
    bool Transparent = true;

    int Angle() const { return m_angle; }
    // Any integer; the cosine and sine follow.
    void SetAngle(int degrees);
    double Cos() const { return m_cos; }
    double Sin() const { return m_sin; }

    static constexpr double DegreeFactor = 0.017453292519943295;

private:
    std::int32_t m_angle = 0;
    double m_cos = 1.0;
    double m_sin = 0.0;
};

// A straight line in its box. Horizontal and vertical lines are ten times their pen width thick
// (LayoutLine); the end points are kept only for ltCustom.
class TLine : public TDesignObject {
public:
    static constexpr TDesignObjectKind ClassKind = TDesignObjectKind::Line;
    TLine() : TDesignObject(65, 65) {}
    TDesignObjectKind Kind() const override { return ClassKind; }

    platform::TPen Pen;
    platform::TBrush Brush;

    TLineType Line() const { return m_line; }
    // Leaving a horizontal or vertical line reshapes the box (a horizontal line turned diagonal
    // becomes 65 pixels high, and so on); other changes keep it.
    void SetLine(TLineType kind);

    int FromX() const { return m_fromX; }
    int ToX() const { return m_toX; }
    int FromY() const { return m_fromY; }
    int ToY() const { return m_toY; }
    // Only a custom line takes end points from outside; other kinds compute theirs.
    void SetFromX(int v);
    void SetToX(int v);
    void SetFromY(int v);
    void SetToY(int v);
    // The layout's own write of the computed end points, whatever the kind.
    void StorePoints(int fromX, int fromY, int toX, int toY);

private:
    TLineType m_line = ltCustom;
    std::int32_t m_fromX = 0;
    std::int32_t m_toX = 35;
    std::int32_t m_fromY = 0;
    std::int32_t m_toY = 35;
};

// Block of text: several lines, one text per line, always opaque.
class TMemo : public TDesignObject {
public:
    static constexpr TDesignObjectKind ClassKind = TDesignObjectKind::Memo;
    TMemo() : TDesignObject(185, 89) {}
    TDesignObjectKind Kind() const override { return ClassKind; }

    TBorderStyle BorderStyle = bsSingle;
    TAlignment Alignment = taLeftJustify;
    QStringList Lines;
    platform::TColor Color = platform::clWindow;
    platform::TFont Font;
    bool WordWrap = true;
    bool Ctl3D = true;
    // The text selected when the block's editor opens (the default text is preselected so that
    // typing replaces it).
    int SelStart = 0;
    int SelLength = 0;
};

// Circular text: the characters of Caption set on a circle, each upright towards the centre.
class TCircleLabel : public TDesignObject {
public:
    static constexpr TDesignObjectKind ClassKind = TDesignObjectKind::CircleLabel;
    TCircleLabel();
    TDesignObjectKind Kind() const override { return ClassKind; }

    platform::TPen Pen;     // kept with the object, not used in drawing
    platform::TBrush Brush; // likewise; clear
    platform::TFont Font;

    // Where the first character stands, degrees 0..359; other values are ignored.
    int StartingVector() const { return m_startingVector; }
    void SetStartingVector(int degrees);
    // The arc the characters spread over with EvenSpaceChars, degrees 45..359; other values are
    // ignored.
    int Degrees() const { return m_degrees; }
    void SetDegrees(int degrees);
    const QString& Caption() const { return m_caption; }
    void SetCaption(const QString& caption) { m_caption = caption; }
    bool EvenSpaceChars() const { return m_evenSpaceChars; }
    void SetEvenSpaceChars(bool on) { m_evenSpaceChars = on; }

private:
    std::int32_t m_startingVector = 180;
    std::int32_t m_degrees = 180;
    QString m_caption = QStringLiteral("Text in a Circle");
    bool m_evenSpaceChars = false;
};

// The design's record of a barcode: its place on the label and the barcode object itself, which
// keeps the Bar_* settings with their range checks and measures its own size. The record's Left
// and Top are the design's; its Width and Height follow the symbol (LayoutBarcode copies them from
// the barcode after every change of its settings).
class TBarcodeObject : public TDesignObject {
public:
    static constexpr TDesignObjectKind ClassKind = TDesignObjectKind::Barcode;
    TBarcodeObject();
    ~TBarcodeObject() override;
    TDesignObjectKind Kind() const override { return ClassKind; }

    barcode::TBarcode& Barcode() { return *m_barcode; }
    const barcode::TBarcode& Barcode() const { return *m_barcode; }

private:
    std::unique_ptr<barcode::TBarcode> m_barcode;
};

} // namespace design

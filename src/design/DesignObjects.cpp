#include "DesignObjects.h"

#include "barcode/Barcode.h"

#include <cmath>
#include <utility>

namespace design {

using barcode::TBarcode;

void TImage::SetAutoSize(bool on)
{
    m_autoSize = on;
    if (m_autoSize && !m_picture.isNull()) {
        Width = m_picture.width();
        Height = m_picture.height();
    }
}

void TImage::SetPicture(const QImage& picture)
{
    m_picture = picture;
    if (m_autoSize && !m_picture.isNull()) {
        Width = m_picture.width();
        Height = m_picture.height();
    }
}

void TRotateLabel::SetAngle(int degrees)
{
    if (degrees == m_angle)
        return;
    m_angle = degrees;
    m_cos = std::cos(m_angle * DegreeFactor);
    m_sin = std::sin(m_angle * DegreeFactor);
}

void TLine::SetLine(TLineType kind)
{
    if (kind == m_line)
        return;
    constexpr int standard = 65;
    if (m_line == ltHorizontal) {
        switch (kind) {
        case ltVertical:
            std::swap(Width, Height);
            break;
        case ltTop:
        case ltBottom:
        case ltUpDiagonal:
        case ltDownDiagonal:
            Height = standard;
            break;
        case ltLeft:
        case ltRight:
            Height = Width;
            Width = standard;
            break;
        default:
            break;
        }
    } else if (m_line == ltVertical) {
        switch (kind) {
        case ltHorizontal:
            std::swap(Width, Height);
            break;
        case ltTop:
        case ltBottom:
            Width = Height;
            Height = standard;
            break;
        case ltLeft:
        case ltRight:
        case ltUpDiagonal:
        case ltDownDiagonal:
            Width = standard;
            break;
        default:
            break;
        }
    }
    m_line = kind;
}

void TLine::SetFromX(int v)
{
    if (m_line == ltCustom)
        m_fromX = v;
}

void TLine::SetToX(int v)
{
    if (m_line == ltCustom)
        m_toX = v;
}

void TLine::SetFromY(int v)
{
    if (m_line == ltCustom)
        m_fromY = v;
}

void TLine::SetToY(int v)
{
    if (m_line == ltCustom)
        m_toY = v;
}

void TLine::StorePoints(int fromX, int fromY, int toX, int toY)
{
    m_fromX = fromX;
    m_fromY = fromY;
    m_toX = toX;
    m_toY = toY;
}

TCircleLabel::TCircleLabel() : TDesignObject(65, 65)
{
    Brush.SetStyle(platform::bsClear);
    Font.SetName(QStringLiteral("Times New Roman"));
    Font.SetSize(12);
    Font.SetStyle(Font.Style() + platform::fsBold);
}

void TCircleLabel::SetStartingVector(int degrees)
{
    if (degrees >= 0 && degrees <= 359)
        m_startingVector = degrees;
}

void TCircleLabel::SetDegrees(int degrees)
{
    if (degrees >= 45 && degrees <= 359)
        m_degrees = degrees;
}

TBarcodeObject::TBarcodeObject() : TDesignObject(69, 66), m_barcode(std::make_unique<TBarcode>())
{
}

TBarcodeObject::~TBarcodeObject() = default;

} // namespace design

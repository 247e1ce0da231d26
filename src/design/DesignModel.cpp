#include "DesignModel.h"

#include "barcode/Barcode.h"

#include "ObjectGeometry.h"
#include "Pictures.h"

#include "platform/Paths.h"
#include "platform/Rounding.h"
#include "platform/TCanvas.h"

#include <QFileInfo>

#include <algorithm>
#include <exception>

namespace design {

using namespace platform;
using barcode::btCodeRotate;
using barcode::btCodeSizes;
using barcode::btCodeTypes;
using barcode::TBarcode;

namespace {

// Fonts of new objects: the height first, then the size, so the size decides.
void setFont(TFont& font, int height, const QString& name, int size, TFontStyles style, TColor color)
{
    font.SetHeight(height);
    font.SetName(name);
    font.SetSize(size);
    font.SetStyle(style);
    font.SetColor(color);
}

void setSize(TDesignObject& o, int height, int width)
{
    if (width > 0)
        o.Width = width;
    if (height > 0)
        o.Height = height;
}

} // namespace

TDesignModel::TDesignModel(TCurrentFormat& format)
    : ProgramFolder(platform::programFolder()), m_format(&format)
{
}

TDesignModel::~TDesignModel()
{
    // The windows' hooks may already be gone; the records go without telling them.
    m_objects.clear();
}

int TDesignModel::IndexOf(const TDesignObject* object) const
{
    for (std::size_t i = 0; i < m_objects.size(); ++i)
        if (m_objects[i].get() == object)
            return static_cast<int>(i);
    return -1;
}

void TDesignModel::Free(TDesignObject* object)
{
    const int i = IndexOf(object);
    if (i < 0)
        return;
    if (OnFreeing)
        OnFreeing(*object);
    if (ObjetCourant == object)
        ObjetCourant = nullptr;
    m_objects.erase(m_objects.begin() + i);
}

void TDesignModel::Clear()
{
    while (!m_objects.empty())
        Free(m_objects.back().get());
}

void TDesignModel::BringToFront(TDesignObject* object)
{
    const int i = IndexOf(object);
    if (i < 0)
        return;
    auto owned = std::move(m_objects[i]);
    m_objects.erase(m_objects.begin() + i);
    m_objects.push_back(std::move(owned));
}

template <class T>
T* TDesignModel::adopt(std::unique_ptr<T> object, bool select)
{
    T* raw = object.get();
    m_objects.push_back(std::move(object));
    if (OnCreated)
        OnCreated(*raw);
    ObjetCourant = raw;
    if (select && OnAttach)
        OnAttach(*raw);
    return raw;
}

TImage* TDesignModel::AddImage(int left, int top, int angle, bool keepProportions,
                               const QString& reference, bool stretch, bool center, bool autoSize,
                               int height, int width, bool select, bool keepUnreadable)
{
    const bool fieldCode = reference.startsWith(u'<');
    const QString file =
        fieldCode ? QString() : FindPictureFile(reference, ProgramFolder, ExamplesFolder);

    auto image = std::make_unique<TImage>();
    try {
        image->SetAutoSize(autoSize);
        image->Center = center;
        image->Stretch = stretch;
        if (!file.isEmpty()) {
            try {
                image->SetPicture(LoadPicture(file));
            } catch (const std::exception& error) {
                if (!keepUnreadable)
                    throw;
                if (OnUnreadableImage)
                    OnUnreadableImage(PictureErrorReason(error));
            }
        }
        image->Hint = reference;
        image->Left = left;
        image->Top = top;
        if (angle > 0 && !image->Picture().isNull())
            image->SetPicture(RotatePictureHook ? RotatePictureHook(image->Picture(), angle)
                                                : RotatePicture(image->Picture(), angle));
        if (width > 0) {
            image->Width = width;
            if (keepProportions) {
                image->Tag = EncodeImageTag(true, angle);
                const QImage& picture = image->Picture();
                int pw = picture.width();
                int ph = picture.height();
                if (pw == 0 || ph == 0) {
                    // An empty picture (a field code, a missing file) takes the size given.
                    pw = pw == 0 ? width : pw;
                    ph = ph == 0 ? std::max(height, 0) : ph;
                }
                image->Height = R(static_cast<double>(image->Width) * ph / pw);
                // A long thin picture would round to nothing: an object no one sees or clicks.
                if (!picture.isNull())
                    image->Height = std::max(image->Height, 1);
            } else {
                image->Tag = EncodeImageTag(false, angle);
                if (height > 0)
                    image->Height = height;
            }
        }
        // The placeholder has the object's size, whether or not it keeps proportions; it is
        // drawn when the object is painted, so a huge object allocates nothing here.
        if (fieldCode && image->Width > 0 && image->Height > 0)
            image->PlaceholderSize = QSize(image->Width, image->Height);
    } catch (const std::exception& error) {
        ObjetCourant = nullptr;
        if (OnUnreadableImage)
            OnUnreadableImage(PictureErrorReason(error));
        return nullptr;
    }
    return adopt(std::move(image), select);
}

TLabel* TDesignModel::AddLabel(int left, int top, bool transparent, TFontStyles fontStyle,
                               TColor fontColor, int fontSize, const QString& fontName,
                               int fontHeight, TColor color, const QString& text,
                               TAlignment alignment, int height, int width, bool select)
{
    auto label = std::make_unique<TLabel>();
    label->AutoSize = false;
    label->ShowAccelChar = false;
    label->WordWrap = true;
    label->Left = left;
    label->Top = top;
    label->Alignment = alignment;
    label->Caption = text;
    label->Color = color;
    setFont(label->Font, fontHeight, fontName, fontSize, fontStyle, fontColor);
    label->Transparent = transparent;
    setSize(*label, height, width);
    return adopt(std::move(label), select);
}

TRotateLabel* TDesignModel::AddRotateLabel(int left, int top, bool transparent,
                                           TFontStyles fontStyle, TColor fontColor, int fontSize,
                                           const QString& fontName, int fontHeight, TColor color,
                                           int angle, const QString& text, int height, int width,
                                           bool select)
{
    auto label = std::make_unique<TRotateLabel>();
    label->Left = left;
    label->Top = top;
    label->Caption = text;
    label->SetAngle(angle);
    label->Color = color;
    setFont(label->Font, fontHeight, fontName, fontSize, fontStyle, fontColor);
    label->Transparent = transparent;
    setSize(*label, height, width);
    return adopt(std::move(label), select);
}

TShape* TDesignModel::AddShape(int left, int top, TShapeType shape, int penWidth,
                               TPenStyle penStyle, TColor penColor, TBrushStyle brushStyle,
                               TColor brushColor, int height, int width, bool select)
{
    auto object = std::make_unique<TShape>();
    object->Left = left;
    object->Top = top;
    setSize(*object, height, width);
    object->Brush.SetColor(brushColor);
    object->Brush.SetStyle(brushStyle);
    object->Pen.SetColor(penColor);
    object->Pen.SetStyle(penStyle);
    object->Pen.SetWidth(penWidth);
    object->Shape = shape;
    return adopt(std::move(object), select);
}

TLine* TDesignModel::AddLine(int left, int top, TLineType kind, int penWidth, TPenStyle penStyle,
                             TColor penColor, int height, int width, bool select)
{
    auto line = std::make_unique<TLine>();
    line->Left = left;
    line->Top = top;
    setSize(*line, height, width);
    line->Pen.SetColor(penColor);
    line->Pen.SetStyle(penStyle);
    line->Pen.SetWidth(penWidth);
    line->SetLine(kind);
    return adopt(std::move(line), select);
}

TMemo* TDesignModel::AddMemo(int left, int top, TBorderStyle borderStyle, TFontStyles fontStyle,
                             TColor fontColor, int fontSize, const QString& fontName,
                             int fontHeight, TColor color, const QStringList& lines,
                             TAlignment alignment, int height, int width, bool select)
{
    auto memo = std::make_unique<TMemo>();
    memo->WordWrap = true;
    memo->Ctl3D = false;
    memo->Left = left;
    memo->Top = top;
    memo->Alignment = alignment;
    memo->Lines = lines;
    memo->Color = color;
    setFont(memo->Font, fontHeight, fontName, fontSize, fontStyle, fontColor);
    memo->BorderStyle = borderStyle;
    setSize(*memo, height, width);
    if (!memo->Lines.isEmpty() && memo->Lines.first() == BlockOfTextDefault) {
        memo->SelStart = 0;
        memo->SelLength = 13;
    }
    return adopt(std::move(memo), select);
}

TCircleLabel* TDesignModel::AddCircleLabel(int left, int top, bool evenSpacing,
                                           TFontStyles fontStyle, TColor fontColor, int fontSize,
                                           const QString& fontName, int fontHeight, int degrees,
                                           int startingVector, const QString& text, int height,
                                           int width, bool select)
{
    auto label = std::make_unique<TCircleLabel>();
    label->Left = left;
    label->Top = top;
    label->SetCaption(text);
    label->SetDegrees(degrees);
    label->SetStartingVector(startingVector);
    label->SetEvenSpaceChars(evenSpacing);
    label->Font.SetHeight(fontHeight);
    label->Font.SetName(fontName);
    label->Font.SetSize(fontSize);
    label->Font.SetStyle(fontStyle);
    label->Font.SetColor(fontColor);
    setSize(*label, height, width);
    return adopt(std::move(label), select);
}

TBarcodeObject* TDesignModel::AddBarcode(int left, int top, int fontScaling,
                                         const QString& fontName, bool humanReadable,
                                         bool widthReduce, const QString& addon,
                                         btCodeRotate rotation, btCodeTypes codeType,
                                         const QString& caption, int heightPercent,
                                         btCodeSizes moduleWidth, bool select)
{
    auto object = std::make_unique<TBarcodeObject>();
    object->Left = left;
    object->Top = top;
    TBarcode& b = object->Barcode();
    b.SetBar_ModuleWidth(moduleWidth);
    b.SetBar_HeightPercent(heightPercent);
    b.SetBar_Caption(caption);
    b.SetBar_CodeType(codeType);
    b.SetBar_Rotation(rotation);
    b.SetBar_CodeAddon(addon);
    b.SetBar_WidthReduce(widthReduce);
    b.SetBar_HumanReadable(humanReadable);
    b.SetBar_Fontname(fontName);
    b.SetBar_Fontscaling(fontScaling);
    LayoutBarcode(*object);
    return adopt(std::move(object), select);
}

void TDesignModel::PaintSheet(TCanvas& canvas, int surfaceWidth, int surfaceHeight) const
{
    canvas.Pen.SetColor(clBlack);
    canvas.Pen.SetStyle(psSolid);
    canvas.Pen.SetWidth(2);
    canvas.Brush.SetStyle(bsSolid);
    canvas.Brush.SetColor(SurfaceColor);
    canvas.Rectangle(0, 0, surfaceWidth, surfaceHeight);
    canvas.Pen.SetWidth(1);
    canvas.Brush.SetColor(clWhite);
    if (Format().EtiquetteRonde)
        canvas.Ellipse(0, 0, LargeurEtiquettePx, HauteurEtiquettePx);
    else
        canvas.Rectangle(0, 0, LargeurEtiquettePx, HauteurEtiquettePx);
}

// --- Placement ---

TLabel* PlaceLabel(TDesignModel& model, int left, int top, const QString& text)
{
    return model.AddLabel(left, top, false, TFontStyles{fsBold}, clBlack, 10,
                          QStringLiteral("Arial"), -13, clWhite, text, taLeftJustify, 0, 100,
                          false);
}

TRotateLabel* PlaceRotateLabel(TDesignModel& model, int left, int top, const QString& text)
{
    return model.AddRotateLabel(left, top, true, TFontStyles{}, clBlack, 10,
                                QStringLiteral("Arial"), -13, clWhite, 0, text, 0, 100, false);
}

TShape* PlaceShape(TDesignModel& model, int left, int top, TShapeType shape)
{
    return model.AddShape(left, top, shape, 1, psSolid, clBlack, bsSolid, clWhite, 0, 0, false);
}

TLine* PlaceLine(TDesignModel& model, int left, int top)
{
    return model.AddLine(left, top, ltHorizontal, 1, psSolid, clBlack, 0, 0, false);
}

TMemo* PlaceMemo(TDesignModel& model, int left, int top, const QString& text)
{
    return model.AddMemo(left, top, bsSingle, TFontStyles{}, clBlack, 10, QStringLiteral("Arial"),
                         -13, clWhite, QStringList{text}, taLeftJustify, 60, 100, false);
}

TCircleLabel* PlaceCircleLabel(TDesignModel& model, int left, int top, const QString& text)
{
    return model.AddCircleLabel(left, top, false, TFontStyles{}, clBlack, 10,
                                QStringLiteral("Arial"), -13, 180, 180, text, 100, 100, false);
}

TBarcodeObject* PlaceBarcode(TDesignModel& model, int left, int top)
{
    return model.AddBarcode(left, top, 100, QStringLiteral("Arial"), true, false, QString(),
                            barcode::rotate_000, barcode::EAN_13, QString(), 100, barcode::SC2, false);
}

TImage* PlaceImage(TDesignModel& model, int left, int top, const QString& reference)
{
    return model.AddImage(left, top, 0, true, reference, true, false, false, 65, 65, false);
}

// --- Tag, square fitting, dialogs ---

int EncodeImageTag(bool keepProportions, int angle)
{
    return angle + (keepProportions ? 2000 : 1000);
}

TImageTag DecodeImageTag(int tag)
{
    if (tag < 1000)
        return {tag == 1, 0};
    if (tag < 2000)
        return {false, tag - 1000};
    return {true, tag - 2000};
}

std::pair<int, int> FitInSquare(int width, int height, int side)
{
    if (width <= side && height <= side)
        return {width, height};
    if (width == height)
        return {side, side};
    if (width > height)
        return {side, R(static_cast<double>(height) * side / width)};
    return {R(static_cast<double>(width) * side / height), side};
}

void ApplyCircleLabelDialog(TCircleLabel& object, const TCircleLabel& sample)
{
    object.SetEvenSpaceChars(sample.EvenSpaceChars());
    object.SetDegrees(sample.Degrees());
    object.SetStartingVector(sample.StartingVector());
    object.SetCaption(sample.Caption());
    object.Font = sample.Font;
}

void ApplyBarcodeDialog(TBarcodeObject& object, const TBarcode& sample)
{
    TBarcode& b = object.Barcode();
    b.SetBar_Caption(sample.Bar_Caption());
    b.SetBar_CodeType(sample.Bar_CodeType());
    b.SetBar_ModuleWidth(sample.Bar_ModuleWidth());
    b.SetBar_Rotation(sample.Bar_Rotation());
    b.SetBar_CodeAddon(sample.Bar_CodeAddon());
    b.SetBar_HeightPercent(sample.Bar_HeightPercent());
    b.SetBar_WidthReduce(sample.Bar_WidthReduce());
    b.SetBar_HumanReadable(sample.Bar_HumanReadable());
    b.SetBar_Fontname(sample.Bar_Fontname());
    b.SetBar_Fontscaling(sample.Bar_Fontscaling());
    LayoutBarcode(object);
}

QString DesignName(const QString& path)
{
    // Only the extension goes: a design may be named "v1.2 badge", and the station lists it, places
    // it on the page and takes it off again under that whole name.
    const QString file = QFileInfo(platform::withSlashes(path)).fileName();
    const qsizetype dot = file.lastIndexOf(u'.');
    return dot < 0 ? QString() : file.left(dot);
}

bool ConfirmSave(TDesignModel& model, const TConfirmSaveActions& actions)
{
    if (!model.Modifie)
        return true;
    const TSaveAnswer answer = actions.Ask ? actions.Ask() : TSaveAnswer::Cancel;
    // Only a plain Yes or No lets the caller go on: a box closed without a button, or one that
    // failed, must not discard the changes.
    if (answer == TSaveAnswer::No) {
        model.Modifie = false;
        return true;
    }
    if (answer != TSaveAnswer::Yes)
        return false;
    if (actions.Save)
        actions.Save();
    if (model.Modifie)
        return false;
    const QString name = DesignName(model.NomDocument);
    // An empty name would match every empty cell.
    if (model.FormatModifie && !name.isEmpty() && actions.Cell && actions.NbCasesRemplies) {
        // The design no longer fits the sheet it was placed on: take it off the page.
        bool removed = false;
        for (int column = 1; column <= 50; ++column)
            for (int row = 1; row <= 50; ++row) {
                QString& cell = actions.Cell(column, row);
                if (cell == name) {
                    cell.clear();
                    --*actions.NbCasesRemplies;
                    removed = true;
                }
            }
        if (removed && *actions.NbCasesRemplies <= 0 && actions.ClearPage)
            actions.ClearPage();
    }
    return true;
}

} // namespace design

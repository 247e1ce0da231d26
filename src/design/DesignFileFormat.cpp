#include "DesignFileFormat.h"

#include "DesignFileValues.h"
#include "DesignHeader.h"

#include "barcode/Barcode.h"

#include "platform/Errors.h"
#include "platform/HourGlass.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"

#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cstdint>

namespace design {

using namespace platform;
using barcode::btCodeRotate;
using barcode::btCodeSizes;
using barcode::btCodeTypes;
using barcode::EOverflow;
using barcode::TBarcode;

namespace {

// --- Code tables of the file ---

constexpr std::array<TShapeType, 3> shapeCodes = {stRectangle, stEllipse, stRoundRect};
// Brush styles in alphabetical order of their names.
constexpr std::array<TBrushStyle, 8> brushCodes = {bsBDiagonal, bsClear,      bsCross, bsDiagCross,
                                                   bsFDiagonal, bsHorizontal, bsSolid, bsVertical};
constexpr std::array<TPenStyle, 6> penCodes = {psSolid,     psClear,        psDash,
                                               psDashDot,   psDashDotDot,   psDot};
constexpr std::array<TAlignment, 3> alignmentCodes = {taLeftJustify, taCenter, taRightJustify};
constexpr std::array<TLineType, 4> lineCodes = {ltHorizontal, ltVertical, ltUpDiagonal,
                                                ltDownDiagonal};

// --- The records. Each kind has a record of its file values, its field list (the order of its
// lines, for reading and writing), the record of an object, and the creation operation that
// makes an object of a record. ---

struct BoundsRecord {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

template <class V, class B>
void boundsFields(V& v, B& b)
{
    v.x(b.Left);
    v.y(b.Top);
    v.length(b.Width, MaxDesignPixels, "width");
    v.length(b.Height, MaxDesignPixels, "height");
}

BoundsRecord boundsOf(const TDesignObject& o)
{
    return {o.Left, o.Top, o.Width, o.Height};
}

struct FontRecord {
    TColor Color = clBlack;
    int Height = 0;
    QString Name;
    int Size = 0;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;

    TFontStyles Style() const
    {
        TFontStyles s;
        if (Bold)
            s = s + fsBold;
        if (Italic)
            s = s + fsItalic;
        if (Underline)
            s = s + fsUnderline;
        if (StrikeOut)
            s = s + fsStrikeOut;
        return s;
    }
};

template <class V, class F>
void fontFields(V& v, F& f)
{
    v.integer(f.Color);
    v.integer(f.Height);
    v.string(f.Name);
    v.integer(f.Size);
    v.boolean(f.Bold);
    v.boolean(f.Italic);
    v.boolean(f.Underline);
    v.boolean(f.StrikeOut);
}

FontRecord fontOf(const TFont& f)
{
    const TFontStyles s = f.Style();
    return {f.Color(), f.Height(), f.Name(), f.Size(), s.Contains(fsBold), s.Contains(fsItalic),
            s.Contains(fsUnderline), s.Contains(fsStrikeOut)};
}

struct ImageRecord {
    using Object = TImage;
    BoundsRecord Bounds;
    QString Reference;
    bool AutoSize = false;
    bool Center = false;
    bool Stretch = false;
    int Tag = 0; // keep-proportions flag and angle, EncodeImageTag
};

template <class V>
void fields(V& v, ImageRecord& r)
{
    boundsFields(v, r.Bounds);
    v.string(r.Reference);
    v.boolean(r.AutoSize);
    v.boolean(r.Center);
    v.boolean(r.Stretch);
    v.integer(r.Tag);
}

ImageRecord recordOf(const TImage& o)
{
    return {boundsOf(o), o.Hint, o.AutoSize(), o.Center, o.Stretch, o.Tag};
}

void add(TDesignModel& m, const ImageRecord& r, bool select)
{
    const TImageTag tag = DecodeImageTag(r.Tag);
    const BoundsRecord& b = r.Bounds;
    // A picture that cannot be decoded keeps its image, so that saving the design loses nothing.
    m.AddImage(b.Left, b.Top, tag.Angle, tag.KeepProportions, r.Reference, r.Stretch, r.Center,
               r.AutoSize, b.Height, b.Width, select, /*keepUnreadable=*/true);
}

struct ShapeRecord {
    using Object = TShape;
    BoundsRecord Bounds;
    TColor BrushColor = clWhite;
    TColor PenColor = clBlack;
    int PenWidth = 1;
    TShapeType Shape = stRectangle;
    TBrushStyle BrushStyle = bsSolid;
    TPenStyle PenStyle = psSolid;
};

template <class V>
void fields(V& v, ShapeRecord& r)
{
    boundsFields(v, r.Bounds);
    v.integer(r.BrushColor);
    v.integer(r.PenColor);
    v.integer(r.PenWidth);
    v.code(r.Shape, shapeCodes, "shape");
    v.code(r.BrushStyle, brushCodes, "brush style");
    v.code(r.PenStyle, penCodes, "pen style");
}

ShapeRecord recordOf(const TShape& o)
{
    return {boundsOf(o), o.Brush.Color(), o.Pen.Color(), o.Pen.Width(),
            o.Shape,     o.Brush.Style(), o.Pen.Style()};
}

void add(TDesignModel& m, const ShapeRecord& r, bool select)
{
    const BoundsRecord& b = r.Bounds;
    m.AddShape(b.Left, b.Top, r.Shape, r.PenWidth, r.PenStyle, r.PenColor, r.BrushStyle,
               r.BrushColor, b.Height, b.Width, select);
}

struct LabelRecord {
    using Object = TLabel;
    BoundsRecord Bounds;
    bool Transparent = false;
    TAlignment Alignment = taLeftJustify;
    QString Caption;
    TColor Color = clWhite;
    FontRecord Font;
};

template <class V>
void fields(V& v, LabelRecord& r)
{
    boundsFields(v, r.Bounds);
    v.boolean(r.Transparent);
    v.code(r.Alignment, alignmentCodes, "alignment");
    v.string(r.Caption);
    v.integer(r.Color);
    fontFields(v, r.Font);
}

LabelRecord recordOf(const TLabel& o)
{
    return {boundsOf(o), o.Transparent, o.Alignment, o.Caption, o.Color, fontOf(o.Font)};
}

void add(TDesignModel& m, const LabelRecord& r, bool select)
{
    const BoundsRecord& b = r.Bounds;
    const FontRecord& f = r.Font;
    m.AddLabel(b.Left, b.Top, r.Transparent, f.Style(), f.Color, f.Size, f.Name, f.Height, r.Color,
               r.Caption, r.Alignment, b.Height, b.Width, select);
}

struct RotateLabelRecord {
    using Object = TRotateLabel;
    BoundsRecord Bounds;
    bool Transparent = false;
    QString Caption;
    int Angle = 0;
    TColor Color = clWhite;
    FontRecord Font;
};

template <class V>
void fields(V& v, RotateLabelRecord& r)
{
    boundsFields(v, r.Bounds);
    v.boolean(r.Transparent);
    v.string(r.Caption);
    v.integer(r.Angle);
    v.integer(r.Color);
    fontFields(v, r.Font);
}

RotateLabelRecord recordOf(const TRotateLabel& o)
{
    return {boundsOf(o), o.Transparent, o.Caption, o.Angle(), o.Color, fontOf(o.Font)};
}

void add(TDesignModel& m, const RotateLabelRecord& r, bool select)
{
    const BoundsRecord& b = r.Bounds;
    const FontRecord& f = r.Font;
    m.AddRotateLabel(b.Left, b.Top, r.Transparent, f.Style(), f.Color, f.Size, f.Name, f.Height,
                     r.Color, r.Angle, r.Caption, b.Height, b.Width, select);
}

struct LineRecord {
    using Object = TLine;
    BoundsRecord Bounds;
    TColor PenColor = clBlack;
    int PenWidth = 1;
    TLineType Kind = ltHorizontal;
    TPenStyle PenStyle = psSolid;
};

template <class V>
void fields(V& v, LineRecord& r)
{
    boundsFields(v, r.Bounds);
    v.integer(r.PenColor);
    v.integer(r.PenWidth);
    v.code(r.Kind, lineCodes, "line kind");
    v.code(r.PenStyle, penCodes, "pen style");
}

// The editor only makes the four kinds of the file; any other is stored as the nearest one.
TLineType fileLineKind(TLineType kind)
{
    switch (kind) {
    case ltTop:
    case ltBottom:
        return ltHorizontal;
    case ltLeft:
    case ltRight:
        return ltVertical;
    case ltCustom:
        return ltDownDiagonal;
    default:
        return kind;
    }
}

LineRecord recordOf(const TLine& o)
{
    return {boundsOf(o), o.Pen.Color(), o.Pen.Width(), fileLineKind(o.Line()), o.Pen.Style()};
}

void add(TDesignModel& m, const LineRecord& r, bool select)
{
    const BoundsRecord& b = r.Bounds;
    m.AddLine(b.Left, b.Top, r.Kind, r.PenWidth, r.PenStyle, r.PenColor, b.Height, b.Width, select);
}

struct MemoRecord {
    using Object = TMemo;
    BoundsRecord Bounds;
    bool Border = false; // bsSingle, else bsNone
    TAlignment Alignment = taLeftJustify;
    QStringList Lines;
    TColor Color = clWhite;
    FontRecord Font;
};

template <class V>
void fields(V& v, MemoRecord& r)
{
    boundsFields(v, r.Bounds);
    v.boolean(r.Border);
    v.code(r.Alignment, alignmentCodes, "alignment");
    v.lines(r.Lines);
    v.integer(r.Color);
    fontFields(v, r.Font);
}

MemoRecord recordOf(const TMemo& o)
{
    return {boundsOf(o), o.BorderStyle == bsSingle, o.Alignment, o.Lines, o.Color, fontOf(o.Font)};
}

void add(TDesignModel& m, const MemoRecord& r, bool select)
{
    const BoundsRecord& b = r.Bounds;
    const FontRecord& f = r.Font;
    m.AddMemo(b.Left, b.Top, r.Border ? bsSingle : bsNone, f.Style(), f.Color, f.Size, f.Name,
              f.Height, r.Color, r.Lines, r.Alignment, b.Height, b.Width, select);
}

struct CircleLabelRecord {
    using Object = TCircleLabel;
    BoundsRecord Bounds;
    bool EvenSpacing = false;
    QString Caption;
    int StartingVector = 0;
    int Degrees = 0;
    FontRecord Font;
};

template <class V>
void fields(V& v, CircleLabelRecord& r)
{
    boundsFields(v, r.Bounds);
    v.boolean(r.EvenSpacing);
    v.string(r.Caption);
    v.integer(r.StartingVector);
    v.integer(r.Degrees);
    fontFields(v, r.Font);
}

CircleLabelRecord recordOf(const TCircleLabel& o)
{
    return {boundsOf(o), o.EvenSpaceChars(), o.Caption(), o.StartingVector(), o.Degrees(),
            fontOf(o.Font)};
}

void add(TDesignModel& m, const CircleLabelRecord& r, bool select)
{
    const BoundsRecord& b = r.Bounds;
    const FontRecord& f = r.Font;
    m.AddCircleLabel(b.Left, b.Top, r.EvenSpacing, f.Style(), f.Color, f.Size, f.Name, f.Height,
                     r.Degrees, r.StartingVector, r.Caption, b.Height, b.Width, select);
}

// A barcode stores no size: it follows from the code.
struct BarcodeRecord {
    using Object = TBarcodeObject;
    int Left = 0;
    int Top = 0;
    QString Caption;
    int CodeType = barcode::EAN_8;
    int ModuleWidth = barcode::SC0;
    int Rotation = barcode::rotate_000;
    QString Addon;
    int HeightPercent = 0;
    bool WidthReduce = false;
    bool HumanReadable = false;
    QString FontName;
    int FontScaling = 0;
};

template <class V>
void fields(V& v, BarcodeRecord& r)
{
    v.x(r.Left);
    v.y(r.Top);
    v.string(r.Caption);
    v.range(r.CodeType, barcode::EAN_8, barcode::Postnet_FIM, "barcode type");
    v.range(r.ModuleWidth, barcode::SC0, barcode::SC9, "module width");
    v.range(r.Rotation, barcode::rotate_000, barcode::rotate_270, "rotation");
    v.string(r.Addon);
    v.integer(r.HeightPercent);
    v.boolean(r.WidthReduce);
    v.boolean(r.HumanReadable);
    v.string(r.FontName);
    v.integer(r.FontScaling);
}

BarcodeRecord recordOf(const TBarcodeObject& o)
{
    const TBarcode& b = o.Barcode();
    return {o.Left,
            o.Top,
            b.Bar_Caption(),
            b.Bar_CodeType(),
            b.Bar_ModuleWidth(),
            b.Bar_Rotation(),
            b.Bar_CodeAddon(),
            b.Bar_HeightPercent(),
            b.Bar_WidthReduce(),
            b.Bar_HumanReadable(),
            b.Bar_Fontname(),
            b.Bar_Fontscaling()};
}

void add(TDesignModel& m, const BarcodeRecord& r, bool select)
{
    m.AddBarcode(r.Left, r.Top, r.FontScaling, r.FontName, r.HumanReadable, r.WidthReduce,
                 r.Addon, static_cast<btCodeRotate>(r.Rotation),
                 static_cast<btCodeTypes>(r.CodeType), r.Caption, r.HeightPercent,
                 static_cast<btCodeSizes>(r.ModuleWidth), select);
}

// --- Sections ---

template <class Record>
void readRecord(TDesignValueReader& in, TDesignModel& m, bool select)
{
    Record r;
    fields(in, r);
    try {
        add(m, r, select);
    } catch (const EOverflow& e) {
        // The object refuses a value (a barcode caption too long, a percentage out of range):
        // reported with the place it came from.
        in.fail(e.message());
    }
}

template <class Record>
void writeRecord(TDesignValueWriter& out, const TDesignObject& o)
{
    Record r = recordOf(static_cast<const typename Record::Object&>(o));
    fields(out, r);
}

struct Section {
    void (*read)(TDesignValueReader&, TDesignModel&, bool);
    void (*write)(TDesignValueWriter&, const TDesignObject&);
};

// In the order of TDesignObjectKind, which is the order of the file.
template <class Record>
constexpr Section section()
{
    return {readRecord<Record>, writeRecord<Record>};
}
constexpr std::array<Section, DesignObjectKindCount> sections = {
    section<ImageRecord>(),       section<ShapeRecord>(), section<LabelRecord>(),
    section<RotateLabelRecord>(), section<LineRecord>(),  section<MemoRecord>(),
    section<CircleLabelRecord>(), section<BarcodeRecord>()};

// The number of sections a version holds.
int sectionsOf(int version)
{
    if (version > 7)
        return 8;
    if (version > 4)
        return 7;
    if (version > 3)
        return 6;
    return 4;
}

TextFileWriter designWriter(const QString& path, const TDesignModel& model, TDesignScope scope,
                            const std::vector<TDesignObject*>& selection)
{
    TextFileWriter w(path);
    WriteDesignHeader(w, model.Format());

    std::vector<const TDesignObject*> objects;
    if (scope == TDesignScope::WholeDesign) {
        for (const auto& o : model.Objects())
            objects.push_back(o.get());
    } else {
        for (const TDesignObject* o : selection)
            if (o != nullptr)
                objects.push_back(o);
    }
    TDesignValueWriter out(w);
    for (int s = 0; s < DesignObjectKindCount; ++s) {
        const auto kind = static_cast<TDesignObjectKind>(s);
        const auto count = std::count_if(objects.begin(), objects.end(),
                                         [kind](const TDesignObject* o) { return o->Kind() == kind; });
        out.integer(static_cast<int>(count));
        for (const TDesignObject* o : objects)
            if (o->Kind() == kind)
                sections[static_cast<std::size_t>(s)].write(out, *o);
    }
    return w;
}

} // namespace

void LoadDesignFrom(TDesignModel& model, TextFileReader& reader, bool paste, int gridX, int gridY)
{
    const TDesignHeader header = ReadDesignHeader(reader);
    if (!paste)
        ApplyDesignHeader(header, model.Format(), model.LargeurEtiquettePx,
                          model.HauteurEtiquettePx);
    // In 64 bits: the reader holds each moved position to the file's limit.
    const std::int64_t dx = paste ? std::int64_t{model.NbCollages} * gridX : 0;
    const std::int64_t dy = paste ? std::int64_t{model.NbCollages} * gridY : 0;
    TDesignValueReader in(reader, dx, dy);
    const int count = sectionsOf(header.Version);
    for (int s = 0; s < count; ++s) {
        int records = 0;
        in.integer(records);
        for (int i = 0; i < records; ++i)
            sections[static_cast<std::size_t>(s)].read(in, model, paste);
    }
}

void LoadDesign(TDesignModel& model, const QString& path, bool paste, int gridX, int gridY)
{
    HourGlass busy;
    // Names written on a case-insensitive system may differ in letter case from the file's.
    const QString found = findExisting(path);
    TextFileReader reader(found.isEmpty() ? path : found);
    LoadDesignFrom(model, reader, paste, gridX, gridY);
}

QByteArray DesignFileBytes(const TDesignModel& model, TDesignScope scope,
                           const std::vector<TDesignObject*>& selection)
{
    return designWriter(QString(), model, scope, selection).bytes();
}

void SaveDesign(const TDesignModel& model, const QString& path, TDesignScope scope,
                const std::vector<TDesignObject*>& selection)
{
    HourGlass busy;
    ensureFolder(QFileInfo(path).absolutePath());
    designWriter(path, model, scope, selection).commit();
}

} // namespace design

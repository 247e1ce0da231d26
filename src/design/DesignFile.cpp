#include "DesignFile.h"

#include "barcode/Barcode.h"

#include "platform/Errors.h"
#include "platform/HourGlass.h"
#include "platform/Paths.h"
#include "platform/Rounding.h"
#include "platform/TextFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>

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

template <class E, std::size_t N>
int codeOf(const std::array<E, N>& table, E value, int fallback)
{
    for (std::size_t i = 0; i < N; ++i)
        if (table[i] == value)
            return static_cast<int>(i);
    return fallback;
}

int lineCodeOf(TLineType kind)
{
    // The editor only makes the four kinds of the table; any other is stored as the nearest one.
    switch (kind) {
    case ltTop:
    case ltBottom:
        return 0;
    case ltLeft:
    case ltRight:
        return 1;
    case ltCustom:
        return 3;
    default:
        return codeOf(lineCodes, kind, 0);
    }
}

// --- Reading ---

class RecordReader {
public:
    explicit RecordReader(TextFileReader& r) : m_r(r) {}

    int integer() { return m_r.readInteger(); }
    QString string() { return m_r.readLine(); }
    // Exactly 1 is true; every other number is false.
    bool boolean() { return m_r.readInteger() == 1; }

    // A code that must index its table; a value outside it names the file and line.
    template <class E, std::size_t N>
    E code(const std::array<E, N>& table, const char* what)
    {
        const int v = m_r.readInteger();
        if (v < 0 || v >= static_cast<int>(N))
            fail(QStringLiteral("%1 is not a valid %2 code").arg(v).arg(QLatin1String(what)));
        return table[static_cast<std::size_t>(v)];
    }
    int range(int low, int high, const char* what)
    {
        const int v = m_r.readInteger();
        if (v < low || v > high)
            fail(QStringLiteral("%1 is not a valid %2 code").arg(v).arg(QLatin1String(what)));
        return v;
    }

    struct Font {
        TColor Color = clBlack;
        int Height = 0;
        QString Name;
        int Size = 0;
        TFontStyles Style;
    };
    Font font()
    {
        Font f;
        f.Color = integer();
        f.Height = integer();
        f.Name = string();
        f.Size = integer();
        if (boolean())
            f.Style = f.Style + fsBold;
        if (boolean())
            f.Style = f.Style + fsItalic;
        if (boolean())
            f.Style = f.Style + fsUnderline;
        if (boolean())
            f.Style = f.Style + fsStrikeOut;
        return f;
    }

    [[noreturn]] void fail(const QString& what) const
    {
        throw EConvertError(QStringLiteral("%1 (%2, line %3)")
                                .arg(what, QFileInfo(m_r.fileName()).fileName())
                                .arg(m_r.lineNumber()));
    }

private:
    TextFileReader& m_r;
};

void readImage(RecordReader& in, TDesignModel& m, int dx, int dy, bool select)
{
    const int left = in.integer() + dx;
    const int top = in.integer() + dy;
    const int width = in.integer();
    const int height = in.integer();
    const QString reference = in.string();
    const bool autoSize = in.boolean();
    const bool center = in.boolean();
    const bool stretch = in.boolean();
    const TImageTag tag = DecodeImageTag(in.integer());
    m.AddImage(left, top, tag.Angle, tag.KeepProportions, reference, stretch, center, autoSize,
               height, width, select, /*keepUnreadable=*/true);
}

void readShape(RecordReader& in, TDesignModel& m, int dx, int dy, bool select)
{
    const int left = in.integer() + dx;
    const int top = in.integer() + dy;
    const int width = in.integer();
    const int height = in.integer();
    const TColor brushColor = in.integer();
    const TColor penColor = in.integer();
    const int penWidth = in.integer();
    const TShapeType shape = in.code(shapeCodes, "shape");
    const TBrushStyle brush = in.code(brushCodes, "brush style");
    const TPenStyle pen = in.code(penCodes, "pen style");
    m.AddShape(left, top, shape, penWidth, pen, penColor, brush, brushColor, height, width, select);
}

void readLabel(RecordReader& in, TDesignModel& m, int dx, int dy, bool select)
{
    const int left = in.integer() + dx;
    const int top = in.integer() + dy;
    const int width = in.integer();
    const int height = in.integer();
    const bool transparent = in.boolean();
    const TAlignment alignment = in.code(alignmentCodes, "alignment");
    const QString text = in.string();
    const TColor color = in.integer();
    const auto f = in.font();
    m.AddLabel(left, top, transparent, f.Style, f.Color, f.Size, f.Name, f.Height, color, text,
               alignment, height, width, select);
}

void readRotateLabel(RecordReader& in, TDesignModel& m, int dx, int dy, bool select)
{
    const int left = in.integer() + dx;
    const int top = in.integer() + dy;
    const int width = in.integer();
    const int height = in.integer();
    const bool transparent = in.boolean();
    const QString text = in.string();
    const int angle = in.integer();
    const TColor color = in.integer();
    const auto f = in.font();
    m.AddRotateLabel(left, top, transparent, f.Style, f.Color, f.Size, f.Name, f.Height, color,
                     angle, text, height, width, select);
}

void readLine(RecordReader& in, TDesignModel& m, int dx, int dy, bool select)
{
    const int left = in.integer() + dx;
    const int top = in.integer() + dy;
    const int width = in.integer();
    const int height = in.integer();
    const TColor penColor = in.integer();
    const int penWidth = in.integer();
    const TLineType kind = in.code(lineCodes, "line kind");
    const TPenStyle pen = in.code(penCodes, "pen style");
    m.AddLine(left, top, kind, penWidth, pen, penColor, height, width, select);
}

void readMemo(RecordReader& in, TDesignModel& m, int dx, int dy, bool select)
{
    const int left = in.integer() + dx;
    const int top = in.integer() + dy;
    const int width = in.integer();
    const int height = in.integer();
    const TBorderStyle border = in.boolean() ? bsSingle : bsNone;
    const TAlignment alignment = in.code(alignmentCodes, "alignment");
    const int count = in.integer();
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << in.string();
    const TColor color = in.integer();
    const auto f = in.font();
    m.AddMemo(left, top, border, f.Style, f.Color, f.Size, f.Name, f.Height, color, lines,
              alignment, height, width, select);
}

void readCircleLabel(RecordReader& in, TDesignModel& m, int dx, int dy, bool select)
{
    const int left = in.integer() + dx;
    const int top = in.integer() + dy;
    const int width = in.integer();
    const int height = in.integer();
    const bool even = in.boolean();
    const QString caption = in.string();
    const int startingVector = in.integer();
    const int degrees = in.integer();
    const auto f = in.font();
    m.AddCircleLabel(left, top, even, f.Style, f.Color, f.Size, f.Name, f.Height, degrees,
                     startingVector, caption, height, width, select);
}

void readBarcode(RecordReader& in, TDesignModel& m, int dx, int dy, bool select)
{
    const int left = in.integer() + dx;
    const int top = in.integer() + dy;
    const QString caption = in.string();
    const auto type = static_cast<btCodeTypes>(in.range(barcode::EAN_8, barcode::Postnet_FIM, "barcode type"));
    const auto module = static_cast<btCodeSizes>(in.range(barcode::SC0, barcode::SC9, "module width"));
    const auto rotation = static_cast<btCodeRotate>(in.range(barcode::rotate_000, barcode::rotate_270, "rotation"));
    const QString addon = in.string();
    const int heightPercent = in.integer();
    const bool widthReduce = in.boolean();
    const bool humanReadable = in.boolean();
    const QString fontName = in.string();
    const int fontScaling = in.integer();
    try {
        m.AddBarcode(left, top, fontScaling, fontName, humanReadable, widthReduce, addon, rotation,
                     type, caption, heightPercent, module, select);
    } catch (const EOverflow& e) {
        // The barcode refuses the value (a caption too long, a percentage out of range).
        in.fail(e.message());
    }
}

using SectionReader = void (*)(RecordReader&, TDesignModel&, int, int, bool);
constexpr std::array<SectionReader, DesignObjectKindCount> sectionReaders = {
    readImage, readShape, readLabel, readRotateLabel, readLine, readMemo, readCircleLabel,
    readBarcode};

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

// --- Writing ---

class RecordWriter {
public:
    explicit RecordWriter(TextFileWriter& w) : m_w(w) {}
    void integer(int v) { m_w.writeInteger(v); }
    void boolean(bool v) { m_w.writeBool(v); }
    void string(const QString& s) { m_w.writeLine(s); }
    void bounds(const TDesignObject& o)
    {
        integer(o.Left);
        integer(o.Top);
        integer(o.Width);
        integer(o.Height);
    }
    void font(const TFont& f)
    {
        integer(f.Color());
        integer(f.Height());
        string(f.Name());
        integer(f.Size());
        boolean(f.Style().Contains(fsBold));
        boolean(f.Style().Contains(fsItalic));
        boolean(f.Style().Contains(fsUnderline));
        boolean(f.Style().Contains(fsStrikeOut));
    }

private:
    TextFileWriter& m_w;
};

void writeRecord(RecordWriter& out, const TDesignObject& object)
{
    switch (object.Kind()) {
    case TDesignObjectKind::Image: {
        const auto& o = static_cast<const TImage&>(object);
        out.bounds(o);
        out.string(o.Hint);
        out.boolean(o.AutoSize());
        out.boolean(o.Center);
        out.boolean(o.Stretch);
        out.integer(o.Tag);
        break;
    }
    case TDesignObjectKind::Shape: {
        const auto& o = static_cast<const TShape&>(object);
        out.bounds(o);
        out.integer(o.Brush.Color());
        out.integer(o.Pen.Color());
        out.integer(o.Pen.Width());
        out.integer(codeOf(shapeCodes, o.Shape, 0));
        out.integer(codeOf(brushCodes, o.Brush.Style(), 6));
        out.integer(codeOf(penCodes, o.Pen.Style(), 0));
        break;
    }
    case TDesignObjectKind::Label: {
        const auto& o = static_cast<const TLabel&>(object);
        out.bounds(o);
        out.boolean(o.Transparent);
        out.integer(codeOf(alignmentCodes, o.Alignment, 0));
        out.string(o.Caption);
        out.integer(o.Color);
        out.font(o.Font);
        break;
    }
    case TDesignObjectKind::RotateLabel: {
        const auto& o = static_cast<const TRotateLabel&>(object);
        out.bounds(o);
        out.boolean(o.Transparent);
        out.string(o.Caption);
        out.integer(o.Angle());
        out.integer(o.Color);
        out.font(o.Font);
        break;
    }
    case TDesignObjectKind::Line: {
        const auto& o = static_cast<const TLine&>(object);
        out.bounds(o);
        out.integer(o.Pen.Color());
        out.integer(o.Pen.Width());
        out.integer(lineCodeOf(o.Line()));
        out.integer(codeOf(penCodes, o.Pen.Style(), 0));
        break;
    }
    case TDesignObjectKind::Memo: {
        const auto& o = static_cast<const TMemo&>(object);
        out.bounds(o);
        out.boolean(o.BorderStyle == bsSingle);
        out.integer(codeOf(alignmentCodes, o.Alignment, 0));
        out.integer(static_cast<int>(o.Lines.size()));
        for (const QString& line : o.Lines)
            out.string(line);
        out.integer(o.Color);
        out.font(o.Font);
        break;
    }
    case TDesignObjectKind::CircleLabel: {
        const auto& o = static_cast<const TCircleLabel&>(object);
        out.bounds(o);
        out.boolean(o.EvenSpaceChars());
        out.string(o.Caption());
        out.integer(o.StartingVector());
        out.integer(o.Degrees());
        out.font(o.Font);
        break;
    }
    case TDesignObjectKind::Barcode: {
        const auto& o = static_cast<const TBarcodeObject&>(object);
        const TBarcode& b = o.Barcode();
        out.integer(o.Left);
        out.integer(o.Top);
        out.string(b.Bar_Caption());
        out.integer(b.Bar_CodeType());
        out.integer(b.Bar_ModuleWidth());
        out.integer(b.Bar_Rotation());
        out.string(b.Bar_CodeAddon());
        out.integer(b.Bar_HeightPercent());
        out.boolean(b.Bar_WidthReduce());
        out.boolean(b.Bar_HumanReadable());
        out.string(b.Bar_Fontname());
        out.integer(b.Bar_Fontscaling());
        break;
    }
    }
}

TextFileWriter designWriter(const QString& path, const TDesignModel& model, TDesignScope scope,
                            const std::vector<TDesignObject*>& selection)
{
    TextFileWriter w(path);
    RecordWriter out(w);
    const TCurrentFormat& f = model.Format();
    out.integer(f.LargeurEtiquette);
    out.integer(f.HauteurEtiquette);
    out.string(QStringLiteral("version8"));
    out.string(f.NomFormat);
    out.integer(f.NbColonnes);
    out.integer(f.NbLignes);
    out.integer(f.EcartHorizontal);
    out.integer(f.EcartVertical);
    out.integer(f.MargeGauche);
    out.integer(f.MargeHaut);
    out.integer(f.EtiquetteRonde ? f.LargeurEtiquette : 0);
    out.integer(f.EtiquetteRonde ? f.HauteurEtiquette : 0);

    std::vector<const TDesignObject*> objects;
    if (scope == TDesignScope::Feuille) {
        for (const auto& o : model.Objects())
            objects.push_back(o.get());
    } else {
        for (const TDesignObject* o : selection)
            if (o != nullptr)
                objects.push_back(o);
    }
    for (int section = 0; section < DesignObjectKindCount; ++section) {
        const auto kind = static_cast<TDesignObjectKind>(section);
        const auto count = std::count_if(objects.begin(), objects.end(),
                                         [kind](const TDesignObject* o) { return o->Kind() == kind; });
        out.integer(static_cast<int>(count));
        for (const TDesignObject* o : objects)
            if (o->Kind() == kind)
                writeRecord(out, *o);
    }
    return w;
}

} // namespace

// --- Header ---

TDesignHeader ReadDesignHeader(TextFileReader& reader)
{
    RecordReader in(reader);
    TDesignHeader h;
    h.Width = in.integer();
    h.Height = in.integer();
    const QString versionLine = in.string();
    if (versionLine.size() < 8 || versionLine.at(7) < u'0' || versionLine.at(7) > u'9')
        in.fail(QStringLiteral("'%1' is not a design file version").arg(versionLine));
    h.Version = versionLine.at(7).unicode() - u'0';
    if (h.Version == 7) {
        h.MarginTop = in.integer();
        h.MarginBottom = in.integer();
        h.MarginLeft = in.integer();
        h.MarginRight = in.integer();
        h.GapVertical = in.integer();
        h.GapHorizontal = in.integer();
        h.Orientation = in.integer();
    } else if (h.Version >= 8) {
        h.FormatName = in.string();
        h.Columns = in.integer();
        h.Rows = in.integer();
        h.GapH = in.integer();
        h.GapV = in.integer();
        h.LeftMargin = in.integer();
        h.TopMargin = in.integer();
        h.EllipseWidth = in.integer();
        h.EllipseHeight = in.integer();
    }
    return h;
}

TDesignHeader ReadDesignHeader(const QString& path)
{
    TextFileReader reader(path);
    return ReadDesignHeader(reader);
}

int LabelsOnA4(int pageMm, int labelSize, int gap, int marginA, int marginB)
{
    const double pitch = (labelSize / 10.0 + gap) / 10.0;
    if (pitch == 0)
        return 1;
    const int count = T((gap / 10.0 + pageMm - (marginA + marginB) / 10.0) / pitch);
    return std::min(count, 50);
}

void ApplyDesignHeader(const TDesignHeader& h, TCurrentFormat& f, int& widthPx, int& heightPx,
                       int ppi)
{
    f.EtiquetteRonde = false;
    if (h.Version < 6) {
        f.LargeurEtiquette = R(h.Width * 2540.0 / ppi);
        f.HauteurEtiquette = R(h.Height * 2540.0 / ppi);
        widthPx = h.Width;
        heightPx = h.Height;
    } else if (h.Version < 8) {
        f.LargeurEtiquette = h.Width * 10;
        f.HauteurEtiquette = h.Height * 10;
        widthPx = R(ppi * static_cast<double>(h.Width) / 254);
        heightPx = R(ppi * static_cast<double>(h.Height) / 254);
    } else {
        f.LargeurEtiquette = h.Width;
        f.HauteurEtiquette = h.Height;
        widthPx = R(ppi * static_cast<double>(h.Width) / 2540);
        heightPx = R(ppi * static_cast<double>(h.Height) / 2540);
    }
    if (h.Version == 7) {
        f.MargeHaut = h.MarginTop * 10;
        f.MargeGauche = h.MarginLeft * 10;
        f.EcartVertical = h.GapVertical * 10;
        f.EcartHorizontal = h.GapHorizontal * 10;
        f.Paysage = h.Orientation == 1;
        f.NbColonnes = LabelsOnA4(210, f.LargeurEtiquette, h.GapHorizontal, h.MarginLeft,
                                  h.MarginRight);
        f.NbLignes = LabelsOnA4(297, f.HauteurEtiquette, h.GapVertical, h.MarginTop,
                                h.MarginBottom);
    }
    f.NomFormat.clear();
    if (h.Version >= 8) {
        f.NomFormat = h.FormatName;
        f.NbColonnes = h.Columns;
        f.NbLignes = h.Rows;
        f.EcartHorizontal = h.GapH;
        f.EcartVertical = h.GapV;
        f.MargeGauche = h.LeftMargin;
        f.MargeHaut = h.TopMargin;
        f.EtiquetteRonde = h.EllipseWidth == f.LargeurEtiquette && f.LargeurEtiquette > 0
                           && h.EllipseHeight == f.HauteurEtiquette && f.HauteurEtiquette > 0;
    }
}

// --- Reading and writing whole files ---

void LoadDesignFrom(TDesignModel& model, TextFileReader& reader, bool paste, int gridX, int gridY)
{
    const TDesignHeader header = ReadDesignHeader(reader);
    if (!paste)
        ApplyDesignHeader(header, model.Format(), model.LargeurEtiquettePx,
                          model.HauteurEtiquettePx);
    const int dx = paste ? model.NbCollages * gridX : 0;
    const int dy = paste ? model.NbCollages * gridY : 0;
    RecordReader in(reader);
    const int sections = sectionsOf(header.Version);
    for (int section = 0; section < sections; ++section) {
        const int count = in.integer();
        for (int i = 0; i < count; ++i)
            sectionReaders[static_cast<std::size_t>(section)](in, model, dx, dy, paste);
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

void OpenDesign(TDesignModel& model, const QString& path)
{
    HourGlass busy;
    model.NomDocument = path;
    model.Clear();
    try {
        LoadDesign(model, path, false);
    } catch (...) {
        model.NomDocument.clear();
        throw;
    }
    model.Modifie = false;
}

// --- Files and names ---

QString DesignsFolder(const QString& programFolder)
{
    return joinPath(programFolder, QStringLiteral("perso"));
}

QString TransientDesignPath(const QString& programFolder)
{
    return joinPath(programFolder, QStringLiteral("perso/temp.car"));
}

QString DesignClipboardPath(const QString& programFolder)
{
    return joinPath(programFolder, QStringLiteral("rarozuruz.ppa"));
}

QString SavePath(const QString& programFolder, const QString& nomDocument)
{
    return joinPath(DesignsFolder(programFolder), QFileInfo(withSlashes(nomDocument)).fileName());
}

QString SaveAsPath(const QString& programFolder, const QString& name)
{
    return joinPath(DesignsFolder(programFolder), name + QStringLiteral(".car"));
}

void SaveDesignDocument(TDesignModel& model, const QString& path)
{
    SaveDesign(model, path, TDesignScope::Feuille);
    model.Modifie = false;
}

void SaveCommand(TDesignModel& model, const QString& programFolder,
                 const std::function<void()>& saveAs,
                 const std::function<void(const QString& path)>& saveAndRefresh)
{
    if (model.NomDocument.isEmpty()) {
        if (saveAs)
            saveAs();
        return;
    }
    model.NomDocument = SavePath(programFolder, model.NomDocument);
    if (saveAndRefresh)
        saveAndRefresh(model.NomDocument);
}

bool SaveAsCommand(TDesignModel& model, const QString& programFolder,
                   const std::function<QString(const QString& preset)>& askName,
                   const std::function<void(const QString& path)>& saveAndRefresh)
{
    const QString preset = model.NomDocument.isEmpty() ? QString() : DesignName(model.NomDocument);
    const QString name = askName ? askName(preset) : QString();
    if (name.isEmpty())
        return false;
    model.NomDocument = SaveAsPath(programFolder, name);
    SaveCommand(model, programFolder, {}, saveAndRefresh);
    return true;
}

QString EditingCaption(const QString& applicationTitle, const QString& editingText,
                       const QString& path)
{
    return applicationTitle + editingText + DesignName(path) + u'"';
}

void ReloadDesign(TDesignModel& model, const QString& programFolder)
{
    const QString path = TransientDesignPath(programFolder);
    SaveDesign(model, path, TDesignScope::Feuille);
    model.Clear();
    LoadDesign(model, path, false);
    QFile::remove(path);
}

// --- Clipboard ---

TEditionMenuState EditionMenuState(int selectedCount, const QString& clipboardPath)
{
    TEditionMenuState s;
    s.Cut = selectedCount > 0;
    s.Copy = selectedCount > 0;
    s.Paste = fileExistsAnyCase(clipboardPath);
    return s;
}

void CopyDesign(TDesignModel& model, const std::vector<TDesignObject*>& selection,
                const QString& clipboardPath)
{
    SaveDesign(model, clipboardPath, TDesignScope::Selection, selection);
    model.NbCollages = 0;
}

void CutDesign(TDesignModel& model, const std::vector<TDesignObject*>& selection,
               const QString& clipboardPath, const std::function<void()>& deleteSelection)
{
    CopyDesign(model, selection, clipboardPath);
    if (deleteSelection)
        deleteSelection();
    model.NbCollages = 0;
}

void PasteDesign(TDesignModel& model, const QString& clipboardPath, int gridX, int gridY,
                 const std::function<void()>& emptySelection)
{
    ++model.NbCollages;
    if (emptySelection)
        emptySelection();
    try {
        LoadDesign(model, clipboardPath, true, gridX, gridY);
    } catch (const std::exception&) {
        // A damaged or missing clipboard file pastes what could be read.
    }
    model.Modifie = true;
}

} // namespace design

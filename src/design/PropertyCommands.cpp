#include "PropertyCommands.h"

#include "DesignDocument.h"
#include "DesignFileFormat.h"
#include "ObjectGeometry.h"
#include "Pictures.h"

#include "barcode/Barcode.h"
#include "platform/Rounding.h"
#include "platform/TCanvas.h"

#include <QFileInfo>
#include <QTransform>

#include <algorithm>
#include <cstdint>

namespace design {

using platform::TBrushStyle;
using platform::TColor;
using platform::TFont;
using platform::TPenStyle;

namespace {

bool contains(const std::vector<TDesignObject*>& objects, const TDesignObject* object)
{
    return std::find(objects.begin(), objects.end(), object) != objects.end();
}

// Angles kept in a Tag are 0..359 (the Tag holds 1000 + angle or 2000 + angle).
int normalAngle(int degrees)
{
    return ((degrees % 360) + 360) % 360;
}

// `from` x `to` / `by`, the product formed in 64 bits (a 10 m object times a large picture does
// not fit an int), the quotient rounded halves to even.
int scaled(int from, int to, int by)
{
    return R(static_cast<double>(static_cast<std::int64_t>(from) * to) / by);
}

// The saved form of the objects: a command changed something exactly when it differs.
QByteArray savedForm(const TDesignModel& model, const std::vector<TDesignObject*>& objects)
{
    return DesignFileBytes(model, TDesignScope::Selection, objects);
}

template <class T>
std::vector<TDesignObject*> asObjects(const std::vector<T*>& objects)
{
    return {objects.begin(), objects.end()};
}

} // namespace

TPopupMenuKind PopupMenuOf(const TDesignObject& object)
{
    switch (object.Kind()) {
    case TDesignObjectKind::Image:
        return TPopupMenuKind::Image;
    case TDesignObjectKind::Shape:
        return TPopupMenuKind::Shape;
    case TDesignObjectKind::Label:
        return TPopupMenuKind::Label;
    case TDesignObjectKind::RotateLabel:
        return TPopupMenuKind::RotateLabel;
    case TDesignObjectKind::Line:
        return TPopupMenuKind::Line;
    case TDesignObjectKind::Memo:
        return TPopupMenuKind::Memo;
    case TDesignObjectKind::CircleLabel:
        return TPopupMenuKind::CircleLabel;
    case TDesignObjectKind::Barcode:
        return TPopupMenuKind::Barcode;
    }
    return TPopupMenuKind::None;
}

bool SameClass(const std::vector<TDesignObject*>& selection)
{
    return std::all_of(selection.begin(), selection.end(), [&](const TDesignObject* o) {
        return o->Kind() == selection.front()->Kind();
    });
}

bool IsIconPicture(const TImage& image)
{
    return QFileInfo(image.Hint).suffix().compare(u"ico", Qt::CaseInsensitive) == 0;
}

QSize PictureSize(const TImage& image)
{
    if (!image.Picture().isNull())
        return image.Picture().size();
    if (image.Hint.startsWith(u'<') && image.PlaceholderSize.width() > 0 && image.PlaceholderSize.height() > 0)
        return image.PlaceholderSize;
    return {};
}

QSize TurnedSize(QSize size, int angle)
{
    angle = normalAngle(angle);
    if (angle == 0 || size.isEmpty())
        return size;
    // The same bounds as RotatePicture gives the turned picture.
    QTransform turn;
    turn.rotate(-angle);
    const QRect bounds = turn.mapRect(QRectF(0, 0, size.width(), size.height())).toAlignedRect();
    return {std::max(1, bounds.width()), std::max(1, bounds.height())};
}

TPropertyCommands::TPropertyCommands(TDesignModel& model, TSelectionPort& selection)
    : m_model(model), m_selection(selection)
{
}

TPopupMenuKind TPropertyCommands::RightClick(TDesignObject* clicked)
{
    ObjetPopup = nullptr;
    SelectionMemeClasse = false;
    if (clicked == nullptr || !m_model.Contains(clicked))
        return TPopupMenuKind::None;
    // Only a selection the clicked object belongs to decides the scope: a command on an object
    // outside it acts on that object, never on objects the user did not click.
    const std::vector<TDesignObject*> selection = m_selection.Selection();
    if (selection.size() >= 2 && contains(selection, clicked)) {
        if (!SameClass(selection))
            return TPopupMenuKind::None;
        SelectionMemeClasse = true;
    }
    ObjetPopup = clicked;
    const TPopupMenuKind kind = PopupMenuOf(*clicked);
    if (auto* circle = As<TCircleLabel>(clicked))
        editCircleLabel(*circle);
    else if (auto* barcode = As<TBarcodeObject>(clicked))
        editBarcode(*barcode);
    return kind;
}

template <class T>
T* TPropertyCommands::target() const
{
    // A target freed since the menu opened (a reload) takes no command.
    return m_model.Contains(ObjetPopup) ? As<T>(ObjetPopup) : nullptr;
}

bool TPropertyCommands::onSelection(const TDesignObject* target) const
{
    if (!SelectionMemeClasse)
        return false;
    const std::vector<TDesignObject*> selection = m_selection.Selection();
    return selection.size() >= 2 && contains(selection, target);
}

template <class T>
std::vector<T*> TPropertyCommands::concerned(T* target) const
{
    if (!onSelection(target))
        return {target};
    std::vector<T*> out;
    for (TDesignObject* o : m_selection.Selection())
        if (auto* t = As<T>(o))
            out.push_back(t);
    return out;
}

template <class T, class Set>
bool TPropertyCommands::apply(Set set)
{
    T* t = target<T>();
    if (t == nullptr)
        return false;
    const std::vector<T*> objects = concerned(t);
    const QByteArray before = savedForm(m_model, asObjects(objects));
    if (onSelection(t)) {
        for (T* o : objects) {
            set(*o);
            relayout(*o);
        }
        m_selection.RefreshSelection();
    } else {
        m_selection.Detach();
        set(*t);
        relayout(*t);
        m_selection.Attach(*t);
    }
    finish(t, savedForm(m_model, asObjects(objects)) != before);
    return true;
}

void TPropertyCommands::finish(TDesignObject* target, bool changed)
{
    m_model.ObjetCourant = target;
    RectObjetCourant = target->BoundsRect();
    if (changed)
        m_model.Modifie = true;
}

void TPropertyCommands::relayout(TDesignObject& object)
{
    LayoutObject(object);
    m_selection.Refresh(object);
}

// --- Pictures ---

bool TPropertyCommands::PopImageAutosize()
{
    return apply<TImage>([](TImage& o) {
        o.SetAutoSize(true);
        o.Stretch = false;
        o.Center = false;
    });
}

bool TPropertyCommands::PopImageStretch()
{
    return apply<TImage>([](TImage& o) {
        o.SetAutoSize(false);
        o.Stretch = true;
        o.Center = false;
    });
}

bool TPropertyCommands::PopImageCenter()
{
    return apply<TImage>([](TImage& o) {
        o.SetAutoSize(false);
        o.Stretch = false;
        o.Center = true;
    });
}

bool TPropertyCommands::PopImageProportions()
{
    const TImage* t = target<TImage>();
    if (t == nullptr)
        return false;
    const bool keep = !DecodeImageTag(t->Tag).KeepProportions;
    return apply<TImage>([keep](TImage& o) {
        o.Tag = EncodeImageTag(keep, DecodeImageTag(o.Tag).Angle);
        // An image without a picture has no proportions to keep: its size stays.
        const QSize p = PictureSize(o);
        if (keep && !p.isEmpty())
            o.Height = scaled(o.Width, p.height(), p.width());
    });
}

bool TPropertyCommands::PopImageRemplir()
{
    TImage* t = target<TImage>();
    if (t == nullptr)
        return false;
    const QByteArray before = savedForm(m_model, {t});
    m_selection.Detach();
    t->SetAutoSize(false);
    t->Stretch = true;
    t->Center = false;
    t->Left = 0;
    t->Top = 0;
    const int w = m_model.LargeurEtiquettePx;
    const int h = m_model.HauteurEtiquettePx;
    const QSize p = PictureSize(*t);
    if (DecodeImageTag(t->Tag).KeepProportions && !p.isEmpty()) {
        const double fittedHeight = static_cast<double>(static_cast<std::int64_t>(w) * p.height()) / p.width();
        if (h >= fittedHeight) {
            t->Width = w;
            t->Height = scaled(t->Width, p.height(), p.width());
        } else {
            t->Height = h;
            t->Width = scaled(t->Height, p.width(), p.height());
        }
    } else {
        t->Width = w;
        t->Height = h;
    }
    relayout(*t);
    m_selection.Detach();
    m_model.ObjetCourant = nullptr;
    if (savedForm(m_model, {t}) != before)
        m_model.Modifie = true;
    return true;
}

QImage TPropertyCommands::rereadPicture(const TImage& image) const
{
    if (image.Hint.startsWith(u'<')) {
        const QSize size = image.PlaceholderSize.isEmpty() ? QSize(image.Width, image.Height) : image.PlaceholderSize;
        if (size.isEmpty())
            return {};
        QImage placeholder(size, QImage::Format_RGB32);
        placeholder.fill(Qt::white);
        platform::TCanvas canvas(&placeholder);
        DrawFieldPlaceholder(canvas, platform::Bounds(0, 0, size.width(), size.height()), image.Hint);
        return placeholder;
    }
    const QString file = FindPictureFile(image.Hint, m_model.ProgramFolder, m_model.ExamplesFolder);
    if (!file.isEmpty()) {
        try {
            return LoadPicture(file);
        } catch (const std::exception&) {
            // An unreadable file leaves the picture shown.
        }
    }
    return image.Picture();
}

bool TPropertyCommands::Rotation1Click()
{
    const TImage* t = target<TImage>();
    if (t == nullptr || !Dialogs.ChooseRotation)
        return false;
    const std::optional<int> chosen = Dialogs.ChooseRotation(rereadPicture(*t), DecodeImageTag(t->Tag).Angle);
    if (!chosen)
        return false;
    const int angle = normalAngle(*chosen);
    const auto turn = [this](const QImage& picture, int by) {
        if (by <= 0 || picture.isNull())
            return picture;
        return m_model.RotatePictureHook ? m_model.RotatePictureHook(picture, by) : RotatePicture(picture, by);
    };
    return apply<TImage>([&](TImage& o) {
        const TImageTag old = DecodeImageTag(o.Tag);
        // The angle is absolute. A file read again turns from upright; a picture that cannot be
        // read again (a field code's placeholder, a missing file) turns by the difference only, so
        // that what is shown keeps agreeing with the angle the Tag records.
        const int difference = normalAngle(angle - old.Angle);
        if (o.Hint.startsWith(u'<')) {
            const QSize present = o.PlaceholderSize.isEmpty() ? QSize(o.Width, o.Height) : o.PlaceholderSize;
            o.PlaceholderSize = TurnedSize(present, difference);
        } else {
            const QString file = FindPictureFile(o.Hint, m_model.ProgramFolder, m_model.ExamplesFolder);
            bool reread = false;
            if (!file.isEmpty()) {
                try {
                    o.SetPicture(turn(LoadPicture(file), angle));
                    reread = true;
                } catch (const std::exception&) {
                }
            }
            if (!reread)
                o.SetPicture(turn(o.Picture(), difference));
        }
        o.Tag = EncodeImageTag(old.KeepProportions, angle);
        const QSize p = PictureSize(o);
        if (old.KeepProportions && !p.isEmpty())
            o.Height = scaled(o.Width, p.height(), p.width());
    });
}

template <class T>
bool TPropertyCommands::bringToFront()
{
    T* t = target<T>();
    if (t == nullptr)
        return false;
    const QByteArray before = DesignFileBytes(m_model, TDesignScope::WholeDesign);
    if (onSelection(t)) {
        for (T* o : concerned(t))
            m_model.BringToFront(o);
        m_selection.RefreshSelection();
    } else {
        m_selection.Detach();
        m_model.BringToFront(t);
        m_selection.Attach(*t);
    }
    m_model.ObjetCourant = t;
    RectObjetCourant = t->BoundsRect();
    if (DesignFileBytes(m_model, TDesignScope::WholeDesign) != before)
        m_model.Modifie = true;
    // Every object is made again, kind after kind: the target and the selection are gone.
    ObjetPopup = nullptr;
    SelectionMemeClasse = false;
    m_selection.Detach();
    const bool modified = m_model.Modifie;
    ReloadDesign(m_model, m_model.ProgramFolder);
    m_model.Modifie = modified;
    return true;
}

bool TPropertyCommands::Premierplan1Click()
{
    return bringToFront<TImage>();
}

bool TPropertyCommands::FrontShapeClick()
{
    return bringToFront<TShape>();
}

// --- Texts ---

namespace {

template <class T>
std::optional<QString> enteredText(const TPropertyDialogs& dialogs, const T* target, bool tilted)
{
    if (target == nullptr || !dialogs.EnterText)
        return std::nullopt;
    std::optional<QString> text = dialogs.EnterText(tilted, target->Caption);
    // An empty entry keeps the target's text: a caption is never emptied here.
    if (text && text->isEmpty())
        text = target->Caption;
    return text;
}

} // namespace

bool TPropertyCommands::PopLabelTexte()
{
    const std::optional<QString> text = enteredText(Dialogs, target<TLabel>(), false);
    return text && apply<TLabel>([&](TLabel& o) { o.Caption = *text; });
}

bool TPropertyCommands::PopRotatelTexte()
{
    const std::optional<QString> text = enteredText(Dialogs, target<TRotateLabel>(), true);
    return text && apply<TRotateLabel>([&](TRotateLabel& o) { o.Caption = *text; });
}

namespace {

std::optional<TFont> chosenFont(const TPropertyDialogs& dialogs, const TFont* current)
{
    if (current == nullptr || !dialogs.ChooseFont)
        return std::nullopt;
    return dialogs.ChooseFont(*current);
}

std::optional<TColor> chosenColor(const TPropertyDialogs& dialogs, bool hasTarget, TColor current)
{
    if (!hasTarget || !dialogs.ChooseColor)
        return std::nullopt;
    return dialogs.ChooseColor(current);
}

} // namespace

bool TPropertyCommands::PopLabelPolice()
{
    const TLabel* t = target<TLabel>();
    const std::optional<TFont> font = chosenFont(Dialogs, t ? &t->Font : nullptr);
    return font && apply<TLabel>([&](TLabel& o) { o.Font = *font; });
}

bool TPropertyCommands::PopRotatelPolice()
{
    const TRotateLabel* t = target<TRotateLabel>();
    const std::optional<TFont> font = chosenFont(Dialogs, t ? &t->Font : nullptr);
    return font && apply<TRotateLabel>([&](TRotateLabel& o) { o.Font = *font; });
}

bool TPropertyCommands::PopLabelCouleur()
{
    const TLabel* t = target<TLabel>();
    const std::optional<TColor> color = chosenColor(Dialogs, t != nullptr, t ? t->Color : 0);
    if (!color)
        return false;
    // A coloured text is made opaque, or its new background would not show.
    const bool wasTransparent = t->Transparent;
    apply<TLabel>([&](TLabel& o) { o.Color = *color; });
    if (wasTransparent)
        PopLabelTransparent();
    return true;
}

bool TPropertyCommands::PopRotatelCouleur()
{
    const TRotateLabel* t = target<TRotateLabel>();
    const std::optional<TColor> color = chosenColor(Dialogs, t != nullptr, t ? t->Color : 0);
    if (!color)
        return false;
    const bool wasTransparent = t->Transparent;
    apply<TRotateLabel>([&](TRotateLabel& o) { o.Color = *color; });
    if (wasTransparent)
        PopRotatelTransparent();
    return true;
}

bool TPropertyCommands::PopLabelTransparent()
{
    const TLabel* t = target<TLabel>();
    if (t == nullptr)
        return false;
    const bool on = !t->Transparent;
    return apply<TLabel>([on](TLabel& o) { o.Transparent = on; });
}

bool TPropertyCommands::PopRotatelTransparent()
{
    const TRotateLabel* t = target<TRotateLabel>();
    if (t == nullptr)
        return false;
    const bool on = !t->Transparent;
    return apply<TRotateLabel>([on](TRotateLabel& o) { o.Transparent = on; });
}

bool TPropertyCommands::PopRotatelAngle()
{
    const TRotateLabel* t = target<TRotateLabel>();
    if (t == nullptr || !Dialogs.ChooseAngle)
        return false;
    const std::optional<int> angle = Dialogs.ChooseAngle(t->Angle());
    return angle && apply<TRotateLabel>([&](TRotateLabel& o) { o.SetAngle(*angle); });
}

bool TPropertyCommands::PopLabelAlignment(TAlignment alignment)
{
    return apply<TLabel>([alignment](TLabel& o) { o.Alignment = alignment; });
}

// --- Shapes ---

bool TPropertyCommands::PopShapeCouleurTrait()
{
    const TShape* t = target<TShape>();
    const std::optional<TColor> color = chosenColor(Dialogs, t != nullptr, t ? t->Pen.Color() : 0);
    return color && apply<TShape>([&](TShape& o) { o.Pen.SetColor(*color); });
}

bool TPropertyCommands::PopShapeTrait(TPenStyle style)
{
    return apply<TShape>([style](TShape& o) { o.Pen.SetStyle(style); });
}

bool TPropertyCommands::PopShapeEpaisseur(int width)
{
    return apply<TShape>([width](TShape& o) { o.Pen.SetWidth(width); });
}

bool TPropertyCommands::PopShapeCouleurFond()
{
    const TShape* t = target<TShape>();
    const std::optional<TColor> color = chosenColor(Dialogs, t != nullptr, t ? t->Brush.Color() : 0);
    return color && apply<TShape>([&](TShape& o) { o.Brush.SetColor(*color); });
}

bool TPropertyCommands::PopShapeMotif(TBrushStyle style)
{
    return apply<TShape>([style](TShape& o) { o.Brush.SetStyle(style); });
}

// --- Lines ---

bool TPropertyCommands::PopLineCouleur()
{
    const TLine* t = target<TLine>();
    const std::optional<TColor> color = chosenColor(Dialogs, t != nullptr, t ? t->Pen.Color() : 0);
    return color && apply<TLine>([&](TLine& o) { o.Pen.SetColor(*color); });
}

bool TPropertyCommands::PopLineTrait(TPenStyle style)
{
    return apply<TLine>([style](TLine& o) { o.Pen.SetStyle(style); });
}

bool TPropertyCommands::PopLineEpaisseur(int width)
{
    return apply<TLine>([width](TLine& o) { o.Pen.SetWidth(width); });
}

bool TPropertyCommands::PopLineKind(TLineType kind)
{
    return apply<TLine>([kind](TLine& o) { o.SetLine(kind); });
}

// --- Text blocks ---

bool TPropertyCommands::PopMemoPolice()
{
    const TMemo* t = target<TMemo>();
    const std::optional<TFont> font = chosenFont(Dialogs, t ? &t->Font : nullptr);
    return font && apply<TMemo>([&](TMemo& o) { o.Font = *font; });
}

bool TPropertyCommands::PopMemoCouleur()
{
    const TMemo* t = target<TMemo>();
    const std::optional<TColor> color = chosenColor(Dialogs, t != nullptr, t ? t->Color : 0);
    return color && apply<TMemo>([&](TMemo& o) { o.Color = *color; });
}

bool TPropertyCommands::PopMemoAlignment(TAlignment alignment)
{
    return apply<TMemo>([alignment](TMemo& o) { o.Alignment = alignment; });
}

bool TPropertyCommands::PopMemoBordure()
{
    const TMemo* t = target<TMemo>();
    if (t == nullptr)
        return false;
    const TBorderStyle border = t->BorderStyle == bsSingle ? bsNone : bsSingle;
    return apply<TMemo>([border](TMemo& o) { o.BorderStyle = border; });
}

// --- The dialogs that stand for a menu ---

bool TPropertyCommands::editCircleLabel(TCircleLabel& target)
{
    if (!Dialogs.EditCircleLabel)
        return false;
    TCircleLabel sample;
    sample.SetCaption(target.Caption());
    sample.SetDegrees(target.Degrees());
    sample.SetEvenSpaceChars(target.EvenSpaceChars());
    sample.Font = target.Font;
    sample.SetStartingVector(target.StartingVector());
    sample.Width = target.Width;
    sample.Height = target.Height;
    if (!Dialogs.EditCircleLabel(sample))
        return false;
    return apply<TCircleLabel>([&](TCircleLabel& o) { ApplyCircleLabelDialog(o, sample); });
}

bool TPropertyCommands::editBarcode(TBarcodeObject& target)
{
    if (!Dialogs.EditBarcode)
        return false;
    TBarcodeObject sample;
    ApplyBarcodeDialog(sample, target.Barcode());
    if (!Dialogs.EditBarcode(sample))
        return false;
    return apply<TBarcodeObject>([&](TBarcodeObject& o) { ApplyBarcodeDialog(o, sample.Barcode()); });
}

} // namespace design

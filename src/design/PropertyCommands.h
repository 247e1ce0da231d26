#pragma once

#include "DesignModel.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// The commands of the objects' property menus, on the design model. A right click decides the
// target and whether a command acts on the whole selection; each command then changes one
// property of the objects concerned, makes the target the current object and marks the design
// modified when, and only when, the saved design differs. The selection frame, the views and the
// dialogs are reached through the seams below, so every command runs without a window.
namespace design {

// The selection frame and the surface as the commands need them.
class TSelectionPort {
public:
    virtual ~TSelectionPort() = default;
    // The selected objects in attach order.
    virtual std::vector<TDesignObject*> Selection() const = 0;
    // Empties the selection.
    virtual void Detach() = 0;
    virtual void Attach(TDesignObject& object) = 0;
    // The records of the selection changed: the frame fits them again and the surface repaints.
    virtual void RefreshSelection() = 0;
    // One record changed (its layout has run): its view reads it again.
    virtual void Refresh(TDesignObject& object) = 0;
};

// The dialogs the commands open. Each is preloaded with the target's value and answers the
// value chosen, or nothing for Cancel; a dialog left empty counts as cancelled.
struct TPropertyDialogs {
    std::function<std::optional<platform::TColor>(platform::TColor current)> ChooseColor;
    std::function<std::optional<platform::TFont>(const platform::TFont& current)> ChooseFont;
    // The text-entry dialog; `tilted` picks its prompt ("Tilted text :" or "Simple text :").
    std::function<std::optional<QString>(bool tilted, const QString& current)> EnterText;
    std::function<std::optional<int>(int current)> ChooseAngle;
    // The circular-text and barcode dialogs edit a sample preloaded from the target; true on OK.
    std::function<bool(TCircleLabel& sample)> EditCircleLabel;
    std::function<bool(TBarcodeObject& sample)> EditBarcode;
    // The rotation dialog, shown the picture as it is read again (unturned) and the image's angle.
    std::function<std::optional<int>(const QImage& picture, int angle)> ChooseRotation;
};

// Which menu a right click opens, or which dialog it runs in place of a menu.
enum class TPopupMenuKind { None, Image, Label, RotateLabel, Shape, Line, Memo, CircleLabel, Barcode };
TPopupMenuKind PopupMenuOf(const TDesignObject& object);

// The objects of two or more selected are all of one class.
bool SameClass(const std::vector<TDesignObject*>& selection);

// A picture file whose kind has no size of its own to stretch (an icon).
bool IsIconPicture(const TImage& image);

// The size of the picture an image shows, for its proportions: its picture, else the placeholder
// of a field code; empty for an image without either.
QSize PictureSize(const TImage& image);

// A w x h box turned counter-clockwise by `angle` degrees: the size of the picture turned.
QSize TurnedSize(QSize size, int angle);

class TPropertyCommands {
public:
    TPropertyCommands(TDesignModel& model, TSelectionPort& selection);

    TDesignModel& Model() const { return m_model; }
    TPropertyDialogs Dialogs;

    // Set by the right click: the object clicked, and whether the commands act on the selection
    // (two or more selected objects of one class, the target among them).
    TDesignObject* ObjetPopup = nullptr;
    bool SelectionMemeClasse = false;
    // The bounds of the current object after the last command that made one current.
    platform::TRect RectObjetCourant;

    // The right click on `clicked`: decides the target and the scope and answers the menu to
    // open. A click on an object of a selection that mixes classes opens nothing (None); a
    // click on an object outside the selection acts on that object alone, whatever the
    // selection holds. The circular-text and barcode dialogs run here, in place of a menu.
    TPopupMenuKind RightClick(TDesignObject* clicked);

    // --- Pictures ---
    bool PopImageAutosize();
    bool PopImageStretch();
    bool PopImageCenter();
    bool PopImageProportions();
    // Fills the label with the target alone, which is left unselected.
    bool PopImageRemplir();
    // Turns the pictures to the angle chosen (absolute: a picture is read again before it turns).
    bool Rotation1Click();
    // Moves the target (or the selected pictures) in front of the other pictures, by saving and
    // reading back the design; the selection is empty afterwards and the target is gone.
    bool Premierplan1Click();

    // --- Simple texts and tilted texts (twin commands) ---
    bool PopLabelTexte();
    bool PopRotatelTexte();
    bool PopLabelPolice();
    bool PopRotatelPolice();
    // The colour, then the text made opaque when it was transparent.
    bool PopLabelCouleur();
    bool PopRotatelCouleur();
    bool PopLabelTransparent();
    bool PopRotatelTransparent();
    bool PopRotatelAngle();
    bool PopLabelAlignment(TAlignment alignment);

    // --- Shapes ---
    bool PopShapeCouleurTrait();
    bool PopShapeTrait(platform::TPenStyle style);
    bool PopShapeEpaisseur(int width);
    bool PopShapeCouleurFond();
    bool PopShapeMotif(platform::TBrushStyle style);
    bool FrontShapeClick();

    // --- Lines ---
    bool PopLineCouleur();
    bool PopLineTrait(platform::TPenStyle style);
    bool PopLineEpaisseur(int width);
    bool PopLineKind(TLineType kind);

    // --- Text blocks ---
    bool PopMemoPolice();
    bool PopMemoCouleur();
    bool PopMemoAlignment(TAlignment alignment);
    bool PopMemoBordure();

private:
    template <class T>
    T* target() const;
    // The command acts on the selection: opened on a selection of one class, the target in it.
    bool onSelection(const TDesignObject* target) const;
    template <class T>
    std::vector<T*> concerned(T* target) const;
    // The common pattern: sets the value on the objects concerned, refits, ends the command.
    template <class T, class Set>
    bool apply(Set set);
    void finish(TDesignObject* target, bool changed);
    void relayout(TDesignObject& object);
    bool editCircleLabel(TCircleLabel& target);
    bool editBarcode(TBarcodeObject& target);
    template <class T>
    bool bringToFront();
    QImage rereadPicture(const TImage& image) const;

    TDesignModel& m_model;
    TSelectionPort& m_selection;
};

} // namespace design

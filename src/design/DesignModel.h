#pragma once

#include "DesignObjects.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace platform {
class TCanvas;
}

namespace design {

// The design window's own fields about the design it edits.
struct TDesignFields {
    QString NomDocument;                 // full path of the design file; empty = never saved
    bool Modifie = false;                // changed since loaded or saved
    TDesignObject* ObjetCourant = nullptr; // last object created or selected
    int LargeurEtiquettePx = 0;          // label size in design pixels
    int HauteurEtiquettePx = 0;
    bool FormatModifie = false;          // the sheet format was changed since the design was opened
    int NbCollages = 0;                  // pastes since the last copy or cut
};

// The station's current-format fields: the label of the design in the editor and the sheet it
// was made for. Lengths in 1/100 mm.
struct TCurrentFormat {
    QString NomFormat;
    int LargeurEtiquette = 0;
    int HauteurEtiquette = 0;
    int NbColonnes = 0;
    int NbLignes = 0;
    int EcartHorizontal = 0;
    int EcartVertical = 0;
    int MargeGauche = 0;
    int MargeHaut = 0;
    bool EtiquetteRonde = false;
    // Landscape printing: a station setting that an old (version 7) design header also sets.
    bool Paysage = false;
};

// The design surface around the label (PaintSheet), where nothing prints.
constexpr platform::TColor SurfaceColor = platform::clSilver;

// The design in the editor: its objects in creation order (the stacking order inside each kind,
// the order in the file and the drawing order inside each kind) and the fields above. The
// station's format fields are held by the station and shared by reference.
class TDesignModel : public TDesignFields {
public:
    // The design window's pixels per inch: label sizes in design pixels follow from it.
    static constexpr int DesignPixelsPerInch = 96;

    explicit TDesignModel(TCurrentFormat& format);
    ~TDesignModel();
    TDesignModel(const TDesignModel&) = delete;
    TDesignModel& operator=(const TDesignModel&) = delete;

    TCurrentFormat& Format() { return *m_format; }
    const TCurrentFormat& Format() const { return *m_format; }

    // --- What the windows plug in (all optional) ---
    // A new object is complete: the design window makes its view and gives it the object handlers.
    std::function<void(TDesignObject&)> OnCreated;
    // Creation with the select flag: attach the object to the selection frame.
    std::function<void(TDesignObject&)> OnAttach;
    // An object is about to be freed: drop it from the selection and destroy its view.
    std::function<void(TDesignObject&)> OnFreeing;
    // A picture file exists but cannot be read: the "Unrecognised image format" box, with the
    // reason (PictureErrorReason).
    std::function<void(const QString& reason)> OnUnreadableImage;
    // Turns a picture by a positive angle; by default RotatePicture of Pictures.h.
    std::function<QImage(const QImage&, int)> RotatePictureHook;

    // The two picture roots: program folder and the examples folder (each + "images").
    QString ProgramFolder;
    QString ExamplesFolder;
    // The translated default text of a new text block; such a block opens with it preselected.
    QString BlockOfTextDefault = QStringLiteral("Block of text");

    // --- The objects ---
    const std::vector<std::unique_ptr<TDesignObject>>& Objects() const { return m_objects; }
    int Count() const { return static_cast<int>(m_objects.size()); }
    bool IsEmpty() const { return m_objects.empty(); }
    TDesignObject* Object(int index) const { return m_objects.at(index).get(); }
    int IndexOf(const TDesignObject* object) const;
    bool Contains(const TDesignObject* object) const { return IndexOf(object) >= 0; }
    // The objects of one class, in model order.
    template <class T>
    std::vector<T*> ObjectsOf() const
    {
        std::vector<T*> out;
        for (const auto& o : m_objects)
            if (Is<T>(o.get()))
                out.push_back(static_cast<T*>(o.get()));
        return out;
    }

    // Frees one object (OnFreeing first); ObjetCourant is cleared when it was that object.
    void Free(TDesignObject* object);
    // Frees every object, last to first.
    void Clear();
    // Puts the object last in the model (on top of its kind).
    void BringToFront(TDesignObject* object);

    // --- Creation operations. Each sets the values in the order the object expects, sets Width and
    // Height only when the value given is above 0, makes the object ObjetCourant and attaches it when
    // `select` is set. ---

    // The picture reference is a file name looked up in the two picture folders, or a field code.
    // A file in neither folder still makes an object: it keeps its reference and an empty picture,
    // so saving the design keeps it. A picture that cannot be read runs OnUnreadableImage and makes
    // no object (ObjetCourant becomes nil), except when `keepUnreadable` is set: a design read from
    // a file keeps such an image like a missing one, so the next save does not drop it.
    // Returns the object or nullptr.
    TImage* AddImage(int left, int top, int angle, bool keepProportions, const QString& reference,
                     bool stretch, bool center, bool autoSize, int height, int width, bool select,
                     bool keepUnreadable = false);
    TLabel* AddLabel(int left, int top, bool transparent, platform::TFontStyles fontStyle,
                     platform::TColor fontColor, int fontSize, const QString& fontName,
                     int fontHeight, platform::TColor color, const QString& text,
                     TAlignment alignment, int height, int width, bool select);
    TRotateLabel* AddRotateLabel(int left, int top, bool transparent,
                                 platform::TFontStyles fontStyle, platform::TColor fontColor,
                                 int fontSize, const QString& fontName, int fontHeight,
                                 platform::TColor color, int angle, const QString& text,
                                 int height, int width, bool select);
    TShape* AddShape(int left, int top, TShapeType shape, int penWidth, platform::TPenStyle penStyle,
                     platform::TColor penColor, platform::TBrushStyle brushStyle,
                     platform::TColor brushColor, int height, int width, bool select);
    TLine* AddLine(int left, int top, TLineType kind, int penWidth, platform::TPenStyle penStyle,
                   platform::TColor penColor, int height, int width, bool select);
    TMemo* AddMemo(int left, int top, TBorderStyle borderStyle, platform::TFontStyles fontStyle,
                   platform::TColor fontColor, int fontSize, const QString& fontName,
                   int fontHeight, platform::TColor color, const QStringList& lines,
                   TAlignment alignment, int height, int width, bool select);
    TCircleLabel* AddCircleLabel(int left, int top, bool evenSpacing,
                                 platform::TFontStyles fontStyle, platform::TColor fontColor,
                                 int fontSize, const QString& fontName, int fontHeight,
                                 int degrees, int startingVector, const QString& text, int height,
                                 int width, bool select);
    // Raises the barcode's own range errors (EOverflow) for values it refuses; no object is made.
    TBarcodeObject* AddBarcode(int left, int top, int fontScaling, const QString& fontName,
                               bool humanReadable, bool widthReduce, const QString& addon,
                               barcode::btCodeRotate rotation, barcode::btCodeTypes codeType, const QString& caption,
                               int heightPercent, barcode::btCodeSizes moduleWidth, bool select);

    // The label outline on the design surface: a silver surface framed by a 2-pixel black pen, the
    // label white with a black outline, an ellipse for a round label.
    void PaintSheet(platform::TCanvas& canvas, int surfaceWidth, int surfaceHeight) const;

private:
    template <class T>
    T* adopt(std::unique_ptr<T> object, bool select);

    TCurrentFormat* m_format;
    std::vector<std::unique_ptr<TDesignObject>> m_objects;
};

// --- Placement: the values a new object gets from the tool buttons (select flag false). The
// texts are the design window's translated defaults. ---
TLabel* PlaceLabel(TDesignModel& model, int left, int top, const QString& text);
TRotateLabel* PlaceRotateLabel(TDesignModel& model, int left, int top, const QString& text);
TShape* PlaceShape(TDesignModel& model, int left, int top, TShapeType shape);
TLine* PlaceLine(TDesignModel& model, int left, int top);
TMemo* PlaceMemo(TDesignModel& model, int left, int top, const QString& text);
TCircleLabel* PlaceCircleLabel(TDesignModel& model, int left, int top, const QString& text);
TBarcodeObject* PlaceBarcode(TDesignModel& model, int left, int top);
// A picture chosen through the import dialog: stretched, 65 x 65, keep proportions, angle 0.
TImage* PlaceImage(TDesignModel& model, int left, int top, const QString& reference);

// --- The image Tag: keep-proportions flag and rotation angle in one integer. ---
int EncodeImageTag(bool keepProportions, int angle);
struct TImageTag {
    bool KeepProportions = false;
    int Angle = 0;
    friend bool operator==(const TImageTag&, const TImageTag&) = default;
};
TImageTag DecodeImageTag(int tag);

// A picture's size fitted in a side x side square (thumbnails): one that fits keeps its size,
// otherwise the longer side becomes `side` and the other follows in proportion.
std::pair<int, int> FitInSquare(int width, int height, int side);

// --- Dialog results copied onto an object, through the object's own setters and range checks. ---
void ApplyCircleLabelDialog(TCircleLabel& object, const TCircleLabel& sample);
// Raises the barcode's range errors (EOverflow) like the setters it calls.
void ApplyBarcodeDialog(TBarcodeObject& object, const barcode::TBarcode& sample);

// --- The save question before the design in the editor is replaced or the editor closes. ---
// Other: the box was closed without a button or could not be shown; it counts as Cancel.
enum class TSaveAnswer { Yes, No, Cancel, Other };
struct TConfirmSaveActions {
    // Asks "The document loaded in the editor has been changed. Do you want to save it ?"
    std::function<TSaveAnswer()> Ask;
    // The window's save command (it may end in the save-as dialog and be abandoned there).
    std::function<void()> Save;
    // The station's sheet page: cell (column, row), both 1..50; its count of filled cells; and
    // its clear-page command. Needed only when the format was changed.
    std::function<QString&(int column, int row)> Cell;
    int* NbCasesRemplies = nullptr;
    std::function<void()> ClearPage;
};
// True when the caller may go on: unmodified, No, or Yes and the save went through. Any other
// answer, whatever its value, keeps the changes and stops the caller.
bool ConfirmSave(TDesignModel& model, const TConfirmSaveActions& actions);

// The design's name: the file name of a path without its extension (up to its last "."); empty
// when it has none. The station's model list, its page and the design window all name a saved
// design by it.
QString DesignName(const QString& path);

} // namespace design

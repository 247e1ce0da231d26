#pragma once

#include "DesignTools.h"
#include "TImportImage.h"

#include "design/DesignModel.h"
#include "design/FieldCodes.h"
#include "platform/Graphics.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QMouseEvent;
class QPainter;
class QPlainTextEdit;
class TAligne;
class TGrid;
class THRuler;
class TMemoView;
class TFrameSelection;
class TMultiLang;
class TPreview;
class TPropertyMenus;
class TStretchHandle;
class TVRuler;

namespace Ui {
class TForm1;
}

namespace station {
class TStation;
struct TLigneFormat;
struct TPaperNames;
}

namespace platform {
class TCanvas;
}

namespace design {
class TPropertyCommands;
}

// The label editor: the work surface with the label, its grid and one view per design object;
// the tools that place objects, the selection frame that moves and resizes them, the file and
// edit commands, the sheet-format command and the field-code list under the text block being
// edited. It edits the station's designer model and holds no design state of its own: every
// view reads its record, every edit writes it. Created at start, it lives until the program ends;
// the station hides itself while it is shown.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(station::TStation& station, QWidget* parent = nullptr);
    ~TForm1() override;

    const std::unique_ptr<Ui::TForm1> ui;
    TMultiLang* MultiLang1 = nullptr;
    // The selection frame over the selected views of the surface.
    TStretchHandle* SH = nullptr;
    // The right-click property menus, and the commands their items run on the model and the frame.
    TPropertyMenus* PropertyMenus = nullptr;
    design::TPropertyCommands& PropertyCommands() const { return *m_propertyCommands; }

    design::TDesignModel& Model() const { return *m_model; }
    QString GetText(const QString& key) const;

    // --- What the station window gives (each may stay empty) ---
    // Shows the station again and reselects its list line (the design is read again).
    std::function<void()> ReturnToStation;
    // The merge source the station uses; its switch is turned to the database or back.
    std::function<bool()> DatabaseIsSource;
    std::function<void(bool database)> ChooseMergeSource;
    // The merge source whose codes the field-code list offers.
    std::function<design::MergeSource()> MergeSourceHook;
    // The numbering and dates the station prints with; the design is drawn for the other windows
    // and the live preview with them, as print merges it (none: no numbering, dates empty).
    std::function<design::MergeNumbering()> NumberingHook;
    // After a save of `path`: the station lists its models again, selects the saved one and reads
    // it back into the designer.
    std::function<void(const QString& path)> RefreshModels;
    // The format window as a dialog, showing the design's format (looked up, or added to the
    // custom family, under `unlistedName` when the design has none); true with the row chosen.
    std::function<bool(const QString& unlistedName, station::TLigneFormat& row, station::TPaperNames& names)>
        ChooseFormat;
    // Where the picture tool takes its picture from (none: cancelled); by default the import
    // dialog, offering the merge source's field codes.
    struct TPictureChoice {
        TImportImage::TSource Source = TImportImage::FromFile;
        QString FieldCode;
    };
    std::function<std::optional<TPictureChoice>()> ChoosePictureSource;
    // The picture file for the picture tool (empty: none); by default the picture chooser.
    std::function<QString(const QString& startFolder)> ChoosePictureFile;
    // The name for save-as (empty: cancelled); by default the save dialog.
    std::function<QString(const QString& preset)> AskDesignName;
    // Opens the help page; tests answer in place of the browser.
    std::function<bool(const QUrl&)> OpenHelp;

    // --- Window fields ---
    bool AjoutSelection = false;
    bool CadreEnCours = false;
    QRect CadreSelection; // start and current point of the rubber band, as (x1, y1) - (x2, y2)
    // The text block that last took the keyboard focus: where field codes go. Guarded: a block
    // freed meanwhile leaves it empty.
    QPointer<TMemoView> MemoEnCours;
    platform::TRect RectObjetCourant;
    bool Apercu = true;
    int GrilleX = 8;
    int GrilleY = 8;

    // --- Operations of the window ---
    void FormCreate();
    // Shows the window on the design the station opened: selection tool, scrolled to the top
    // left, nothing selected.
    void ShowForDesign();
    void SizeWorkSurface();
    void SelBtnClick();
    TDesignTool CurrentTool() const;
    void ChooseTool(TDesignTool tool);
    void UpdateAlignPalette();
    void ObjectMouseDown(QWidget* view, QMouseEvent* event);
    void MemoEnter(TMemoView* block);
    void MemoExit(TMemoView* block);
    void MemoChange();
    void InsertFieldCode(const QString& code);
    void FillFieldLists();
    void DeleteObject(design::TDesignObject* object);
    void DeleteSelection();
    void SelectInRect(const platform::TRect& rect);
    void SpeedButton1Click();
    void FormatBtnClick();
    void RepFusClick(bool database);
    void Active1Click();
    void Visible1Click();
    void Aide1Click();

    // The file commands.
    void OpenDesign(const QString& path);
    void LoadDesign(const QString& path, bool paste);
    void SaveDesign(const QString& path);
    void SaveBtnClick();
    void SaveAsClick();
    void CutClick();
    void CopyClick();
    void PasteClick();
    // The save question; true when the window may go on (close, open another design).
    bool ConfirmSave();
    // Draws the design as the renderer does, at the given scale, for the merge source's record.
    void DrawDesign(platform::TCanvas& canvas, platform::TPoint origin, double scaleX, double scaleY, bool outline);

    // The selection: the objects attached to the frame, in attach order.
    std::vector<design::TDesignObject*> Selection() const;
    void Select(design::TDesignObject* object, bool add);
    void EmptySelection();

    QWidget* ViewOf(const design::TDesignObject* object) const;
    design::TDesignObject* ObjectOf(const QWidget* view) const;

    // A picture from the scanner at p: the source chosen, one page scanned into the hidden image
    // control Tampon and saved as the next "scanN.bmp" of the pictures folder, then placed and
    // selected as a picture from a file is. Nothing is placed when no page came or the file was
    // not written (the user is told). True when a picture was placed.
    bool PlaceScannedPicture(QPoint p);

    // Frame snapping: on when `Active1` is checked, inverted while Ctrl is held.
    void ApplyFrameSnapping(bool ctrl = false);

    // The station's folder of the user's pictures, where the picture chooser starts (kept by the
    // station, which writes it at exit); none: the window keeps its own.
    QString* CheminImagesPerso = nullptr;

    // Screen resolution for the pointer position (tests set it; 0: the screen's).
    double ScreenPixelsPerInch = 0;

    // --- The tools around the surface (TForm1Tools.cpp) ---
    // Millimetre rulers below and right of the surface, following its scrolling.
    THRuler* HRuler = nullptr;
    TVRuler* VRuler = nullptr;
    // The alignment palette, the grid dialog and the live preview.
    TAligne* Aligne = nullptr;
    TGrid* Grid = nullptr;
    TPreview* Preview = nullptr;
    // The rulers shown or hidden with the menu's check mark.
    void Rgles1Click();
    // The grid size dialog; OK redraws the grid and snaps with the new steps.
    void Dimensions1Click();
    // The palette button: down shows the palette, up closes it.
    void PaletteBtnClick();
    // Shows the live preview (restored when minimised) for `owner` (none: this window when shown,
    // else the active window) off `keepClear` (this window's surface and palette for itself).
    void PreviewBtnClick(QWidget* owner = nullptr, const QRect& keepClear = {});
    // Draws the live preview now, when it is shown (another record, another merge source).
    void RefreshPreview();

    // --- A change of the design (TForm1Views.cpp) ---
    // The one notice every change of the design raises: an edit, an object added or removed
    // (however: placed, pasted, read by the station), another design opened, a new format. What
    // depends on the label's size follows at once (the views' cut at its edge); the live preview
    // draws once, when the current run of changes is over. Painting the surface draws only.
    void DesignChanged();
    // An edit of the user: the design is modified, and changed.
    void DesignEdited();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setUpPropertyMenus();
    void afterPropertyCommand();
    void connectEvents();
    void setPictures();
    void paintBoxPaint(QPainter& painter, const QRect& exposed);
    void paintBoxMouseDown(QMouseEvent* event);
    void paintBoxMouseMove(QMouseEvent* event);
    void paintBoxMouseUp(QMouseEvent* event);
    void place(TDesignTool tool, QPoint p);
    void placePicture(QPoint p);
    // The "Unrecognised image format" box, the reader's reason on its second line.
    void reportRefusedPicture(const QString& reason);
    void shMouseDown(QMouseEvent* event);
    void shMouseUp(QMouseEvent* event);
    void afterFrameMove();
    void objectCreated(design::TDesignObject& object);
    void objectFreeing(design::TDesignObject& object);
    void stackViews();
    static int surfaceLayer(const design::TDesignObject& object);
    void followLabelSize();
    void updateEditMenu();
    void updateCaption();
    void updateRubberBand(const QRect& before);
    void saveAndRefresh(const QString& path);
    QString programFolder() const;
    QString imagesFolder() const;
    void readSettings();
    void setUpTools();
    void placeRulers();

    station::TStation& m_station;
    std::unique_ptr<TFrameSelection> m_frameSelection;
    std::unique_ptr<design::TPropertyCommands> m_propertyCommands;
    design::TDesignModel* m_model;
    QButtonGroup* m_tools = nullptr;
    QHash<const design::TDesignObject*, QWidget*> m_views;
    QHash<const QWidget*, design::TDesignObject*> m_objects;
    QString m_picturesFolder;
    // The import dialog lives as long as the window, keeping its last choice.
    TImportImage* m_importImage = nullptr;
    // A preview draw is queued for the current run of changes.
    bool m_previewPending = false;
    // The label's size the views were last cut to.
    QSize m_labelSize;
};

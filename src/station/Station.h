#pragma once

#include "ModelList.h"
#include "StationFolders.h"
#include "StationRules.h"
#include "SheetDrawing.h"
#include "SheetFormat.h"
#include "SheetPage.h"
#include "StationSettings.h"

#include "design/DesignModel.h"
#include "design/FieldCodes.h"
#include "design/Numbering.h"

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

// The control station without its window: the folders, the settings, the model list and the
// selected model. The selected model is held open in the designer's model, whose sheet format is
// the current-model format that placing a model on the page is checked against.
namespace station {

class TStation {
public:
    // `settingsFile` is the file the program reads and writes (see UsableSettingsFile).
    TStation(const TStationFolders& folders, const QString& settingsFile);
    TStation(const TStation&) = delete;
    TStation& operator=(const TStation&) = delete;

    const TStationFolders Folders;
    const QString FichierIni;
    TStationSettings Settings;
    // The current-model format, shared with the designer's model.
    design::TCurrentFormat CurrentFormat;
    design::TDesignModel Designer{CurrentFormat};
    TModelList Models;
    int Selected = -1;

    // The creation work: folders made, settings read (windows centred on `screen`). Returns a
    // message when the folders cannot be made.
    QString Start(QSize screen, const QString& defaultImagesFolder);

    // Lists the models of the writable folder, then those shipped in the program folder.
    // Returns the read errors, one per file; the current-model format is not touched.
    QStringList RemplirListeModeles();

    // Opens a design in the designer's model; any error is swallowed (false).
    bool ChargerModele(const QString& path);
    // Selects a model and opens it: its format becomes the current-model format. False when it
    // could not be read (what was read stays, as in the designer).
    bool SelectModel(int index);
    QString SelectedPath() const;
    // After anything that opened other designs for drawing or printing: the selected model is
    // opened again, so the current-model format is its own.
    void ReloadSelected();
    // Runs a pass that opens other designs (thumbnails of a print dialog, a print run) and puts
    // the selected model back afterwards, also when the pass fails.
    void RunModelPass(const std::function<void()>& pass);

    // Deletes the model's file (EInOutError when it cannot) and rebuilds the list. Returns the
    // line to select: the one before when the last line went, else the same index (-1 when the
    // list is empty). Read errors met while rebuilding go to `listErrors`.
    int DeleteModel(int index, QStringList* listErrors = nullptr);

    // The exit: settings, then families and database whatever happened (RunExitSequence).
    QStringList Exit(const TExitSteps& steps) const;

    // --- The sheet page ---
    // Every model placed on it shares one format. Positions are page-image pixels from the
    // sheet's top-left corner at EchellePage pixels per 1/100 mm.
    TSheetPage Planche;
    double EchellePage = 0;
    TPaperNames PaperNames;
    // The last cell hit by a left click: the source of a move.
    TCellPos LastCell;
    // Asked when a model of another format is placed: true clears the page for it. Nobody to
    // ask means no.
    std::function<bool(int filledCells)> ConfirmClearPage;

    // The selected model's name (empty when none).
    QString SelectedName() const;
    // While the page is empty its format is a copy of the current-model format.
    void SuivrePage();
    TSheetGeometry PageGeometry();
    QSize PageImageSize();
    // The selected model may join the page: the formats agree, or the user agreed to clear the
    // page (which then follows the model's format).
    bool FormatCompatible();

    enum class TPageClick { Nothing, Placed, StartMove };
    // Left button: places the selected model in an empty cell; on a filled cell, starts a move
    // when there is somewhere to move to.
    TPageClick LeftClick(QPoint p);
    // Right button: empties a filled cell; the last one clears the page.
    bool RightClick(QPoint p);
    // Drop of the selected model from the list: a drop beside every cell uses the fallback cell.
    bool DropModel(QPoint p);
    // Drop of the last clicked cell's model; a model standing in the target is replaced.
    bool MovePlaced(QPoint p);
    // Places the selected model in every empty cell, rows top to bottom; returns how many.
    int Fill();
    void ClearPage();
    // After the designer saved the design `name` (the designer's format is the current-model
    // format): when the page is in another format, the design no longer fits the cells it stands
    // in and they are emptied. True when any was.
    bool TakeOffPageIfReformatted(const QString& name);
    bool CanFill();

private:
    bool m_started = false;
};

// A new design takes the sheet format chosen in the format window: lengths as the row holds them,
// margins resolved ("99999" centres), counts held to 1..50, round when cells 9 and 10 repeat the
// label size; the label size in design pixels follows. EConvertError on a cell that is not a
// number, before anything is changed.
void AdoptFormat(const TLigneFormat& row, const TPaperNames& names, design::TCurrentFormat& format,
                 int& widthPx, int& heightPx);

// The line selected after deleting line `index` of a list of `countBefore` lines.
int LineAfterDelete(int index, int countBefore);

// Draws the thumbnail of the design: white, or for a round label the `buttonFace` colour with a
// white ellipse filling it; then the design at the thumbnail's scale, outlined, for the record
// `row` of the merge source. A null image when the thumbnail is not visible.
QImage DrawThumbnail(const design::TDesignModel& model, const TThumbnail& thumbnail,
                     const design::MergeSource& source, const design::MergeNumbering& numbering, int row,
                     const QColor& buttonFace);

} // namespace station

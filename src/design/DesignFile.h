#pragma once

#include "DesignModel.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

namespace platform {
class TextFileReader;
}

// The design file: one value per line, CR LF. A header with the label size (and, from version 8,
// the sheet format), then eight sections in a fixed order, one per kind of object, each a count
// followed by that many records. The same format serves the saved designs ("perso/<name>.car"),
// the transient file that regroups objects by kind ("perso/temp.car") and the design clipboard
// ("rarozuruz.ppa"). Files of versions 1 to 8 are read; version 8 is written.
namespace design {

// Which objects a save writes: the whole design, or the selection in its attach order.
enum class TDesignScope { Feuille, Selection };

// The header as it stands in a file, before any of it is applied.
struct TDesignHeader {
    int Version = 8;
    int Width = 0;  // lines 1-2: design pixels below version 6, 1/10 mm in 6-7, 1/100 mm from 8
    int Height = 0;
    // Version 7 (1/10 mm).
    int MarginTop = 0;
    int MarginBottom = 0;
    int MarginLeft = 0;
    int MarginRight = 0;
    int GapVertical = 0;
    int GapHorizontal = 0;
    int Orientation = 0; // 1 = landscape
    // Version 8 and above (1/100 mm).
    QString FormatName;
    int Columns = 0;
    int Rows = 0;
    int GapH = 0;
    int GapV = 0;
    int LeftMargin = 0;
    int TopMargin = 0;
    int EllipseWidth = 0;
    int EllipseHeight = 0;
};

// Reads lines 1 to 3 and the lines of the version's header. The version is the digit that is the
// 8th character of line 3; anything else there is a conversion error.
TDesignHeader ReadDesignHeader(platform::TextFileReader& reader);
TDesignHeader ReadDesignHeader(const QString& path);

// Sets the label size and sheet format from a header, as opening a design does: the format
// fields, and the label size in design pixels at `pixelsPerInch`.
void ApplyDesignHeader(const TDesignHeader& header, TCurrentFormat& format, int& widthPx,
                       int& heightPx, int pixelsPerInch = TDesignModel::DesignPixelsPerInch);

// Labels of w (1/100 mm) with a gap and margins (1/10 mm) that fit across (or down) an A4 page
// side of `pageMm` millimetres, at most 50; 1 when the label and gap add up to nothing.
int LabelsOnA4(int pageMm, int labelSize, int gap, int marginA, int marginB);

// Reads a design file into the model through the creation operations. Without `paste` it also
// sets the label size and format from the header. With `paste` the header is read and ignored,
// every object is moved by NbCollages grid steps and attached to the selection. The model is not
// emptied first. On an error the objects read so far stay and the error passes on.
void LoadDesign(TDesignModel& model, const QString& path, bool paste, int gridX = 8, int gridY = 8);
void LoadDesignFrom(TDesignModel& model, platform::TextFileReader& reader, bool paste,
                    int gridX = 8, int gridY = 8);

// The bytes of a design file for the model (scope Feuille) or the given selection.
QByteArray DesignFileBytes(const TDesignModel& model, TDesignScope scope,
                           const std::vector<TDesignObject*>& selection = {});
// Writes the file through a temporary: it is replaced whole or not at all.
void SaveDesign(const TDesignModel& model, const QString& path, TDesignScope scope,
                const std::vector<TDesignObject*>& selection = {});

// Opening a design in the editor: NomDocument := path, the model emptied and the file read, the
// design unmodified. When reading fails part-way the objects read so far stay, but NomDocument
// is left empty, so that the damaged file is never overwritten without the user naming a file.
void OpenDesign(TDesignModel& model, const QString& path);

// --- Files and names ---
QString DesignsFolder(const QString& programFolder);                     // "perso"
QString TransientDesignPath(const QString& programFolder);               // "perso/temp.car"
QString DesignClipboardPath(const QString& programFolder);               // "rarozuruz.ppa"
// Where save puts a design already named: the designs folder + its file name.
QString SavePath(const QString& programFolder, const QString& nomDocument);
// Where save-as puts a design given a name.
QString SaveAsPath(const QString& programFolder, const QString& name);

// Saves the design whole to `path` and marks it unmodified (the station refresh that follows is
// the window's).
void SaveDesignDocument(TDesignModel& model, const QString& path);

// The save command: a design never saved goes through `saveAs`; otherwise it is saved into the
// designs folder under its file name through `saveAndRefresh` (which saves and refreshes the
// station).
void SaveCommand(TDesignModel& model, const QString& programFolder,
                 const std::function<void()>& saveAs,
                 const std::function<void(const QString& path)>& saveAndRefresh);
// The save-as command: `askName` shows the save-as dialog preset with the design's name and
// answers the name accepted, or an empty text when cancelled. On a name the design is renamed
// and saved as by SaveCommand; false when cancelled.
bool SaveAsCommand(TDesignModel& model, const QString& programFolder,
                   const std::function<QString(const QString& preset)>& askName,
                   const std::function<void(const QString& path)>& saveAndRefresh);
// The design window's caption while it edits `path`: the application title, the translated
// " : editing the document \"", the design name and a closing double quote.
QString EditingCaption(const QString& applicationTitle, const QString& editingText,
                       const QString& path);

// Saves the model to the transient file, empties it and reads it back: the objects come back
// grouped by kind, which is what a bring-to-front needs. The file is deleted after a good read.
void ReloadDesign(TDesignModel& model, const QString& programFolder);

// --- The design clipboard ---
struct TEditionMenuState {
    bool Cut = false;
    bool Copy = false;
    bool Paste = false;
};
TEditionMenuState EditionMenuState(int selectedCount, const QString& clipboardPath);
// Copy: the selection to the clipboard file; the paste counter restarts.
void CopyDesign(TDesignModel& model, const std::vector<TDesignObject*>& selection,
                const QString& clipboardPath);
// Cut: copy, then the window deletes the selection; the paste counter restarts.
void CutDesign(TDesignModel& model, const std::vector<TDesignObject*>& selection,
               const QString& clipboardPath, const std::function<void()>& deleteSelection);
// Paste: one more grid step than the previous paste; the pasted objects are attached (OnAttach).
// Reading errors are swallowed (what was read stays); the design is modified.
void PasteDesign(TDesignModel& model, const QString& clipboardPath, int gridX, int gridY,
                 const std::function<void()>& emptySelection = {});

} // namespace design

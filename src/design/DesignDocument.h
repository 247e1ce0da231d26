#pragma once

#include "DesignFileFormat.h"
#include "DesignModel.h"

#include <QString>

#include <functional>
#include <vector>

// The design window's document commands: open, save, save as, reload, the caption, and the
// design clipboard (a design file that stays between runs) with its Edition menu.
namespace design {

// Opening a design in the editor: NomDocument := path, the model emptied and the file read, the
// design unmodified. When reading fails part-way the objects read so far stay, but NomDocument
// is left empty, so that the damaged file is never overwritten without the user naming a file.
void OpenDesign(TDesignModel& model, const QString& path);

// --- Files and names ---
QString DesignsFolder(const QString& programFolder);                     // "perso"
QString TransientDesignPath(const QString& programFolder);               // "perso/temp.car"
QString DesignClipboardPath(const QString& programFolder);               // "rarozuruz.ppa"
// Where save puts a design already named: the designs folder + its file name.
QString SavePath(const QString& programFolder, const QString& documentPath);
// Where save-as puts a design given a name: an existing design of that name in any letter case,
// else a new ".car" file.
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

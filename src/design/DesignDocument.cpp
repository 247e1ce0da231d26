#include "DesignDocument.h"

#include "platform/HourGlass.h"
#include "platform/Paths.h"

#include <QFile>
#include <QFileInfo>

#include <exception>

namespace design {

using namespace platform;

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

QString SavePath(const QString& programFolder, const QString& documentPath)
{
    return joinPath(DesignsFolder(programFolder), QFileInfo(withSlashes(documentPath)).fileName());
}

QString SaveAsPath(const QString& programFolder, const QString& name)
{
    const QString path = joinPath(DesignsFolder(programFolder), name + QStringLiteral(".car"));
    // A design whose name differs only in letter case is the one the list shows under that name:
    // replace it rather than write a twin beside it.
    const QString existing = findExisting(path);
    return existing.isEmpty() ? path : existing;
}

void SaveDesignDocument(TDesignModel& model, const QString& path)
{
    SaveDesign(model, path, TDesignScope::WholeDesign);
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
    SaveDesign(model, path, TDesignScope::WholeDesign);
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

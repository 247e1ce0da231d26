#include "Station.h"

#include "design/DesignDocument.h"
#include "design/Numbering.h"
#include "design/Pictures.h"
#include "design/PreparedLabel.h"
#include "design/Renderer.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "platform/Rounding.h"
#include "platform/TCanvas.h"
#include "platform/TIniFile.h"

#include <QFile>
#include <QPainter>

namespace station {

TStation::TStation(const TStationFolders& folders, const QString& settingsFile)
    : Folders(folders), FichierIni(settingsFile)
{
    Designer.ProgramFolder = Folders.Writable;
}

QString TStation::Start(QSize screen, const QString& defaultImagesFolder)
{
    const bool made = Folders.CreateFolders();
    const bool copied = Folders.CopyShippedFamilies();
    Settings = ReadStationSettings(platform::TIniFile(FichierIni), screen, defaultImagesFolder);
    CurrentFormat.Paysage = Settings.Paysage;
    if (!made)
        return QStringLiteral("The folders \"perso\" and \"images\" cannot be made in ") + Folders.Writable;
    if (!copied)
        return QStringLiteral("The sheet families cannot be copied into ") + Folders.Writable;
    return {};
}

QStringList TStation::RemplirListeModeles()
{
    QStringList folders{Folders.ModelsFolder()};
    if (Folders.ReadOnlyProgram())
        folders << platform::joinPath(Folders.Program, QStringLiteral("perso"));
    Models = ListModels(folders);
    if (Selected >= Models.Count())
        Selected = Models.Count() - 1;
    return Models.Errors;
}

bool TStation::ChargerModele(const QString& path)
{
    try {
        design::OpenDesign(Designer, path);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool TStation::SelectModel(int index)
{
    if (index < 0 || index >= Models.Count()) {
        Selected = -1;
        return false;
    }
    Selected = index;
    return ChargerModele(Models.Models[static_cast<size_t>(index)].Path);
}

QString TStation::SelectedPath() const
{
    return Selected >= 0 && Selected < Models.Count() ? Models.Models[static_cast<size_t>(Selected)].Path
                                                      : QString();
}

void TStation::ReloadSelected()
{
    const QString path = SelectedPath();
    if (!path.isEmpty())
        ChargerModele(path);
}

void TStation::RunModelPass(const std::function<void()>& pass)
{
    struct Restore {
        TStation& s;
        ~Restore() { s.ReloadSelected(); }
    } restore{*this};
    pass();
}

void AdoptFormat(const TLigneFormat& row, const TPaperNames& names, design::TCurrentFormat& f,
                 int& widthPx, int& heightPx)
{
    design::TCurrentFormat n = f;
    n.NomFormat = row.Nom();
    n.LargeurEtiquette = row.Integer(cfWidth);
    n.HauteurEtiquette = row.Integer(cfHeight);
    n.NbColonnes = row.NbColonnes();
    n.NbLignes = row.NbLignes();
    n.MargeHaut = ComputedMargin(row.Cells[cfMarginTop], TMarginDirection::Hauteur, row, names);
    n.MargeGauche = ComputedMargin(row.Cells[cfMarginLeft], TMarginDirection::Largeur, row, names);
    n.EcartHorizontal = row.Integer(cfGapHorizontal);
    n.EcartVertical = row.Integer(cfGapVertical);
    n.EtiquetteRonde = row.IsRound();
    const int ppi = design::TDesignModel::DesignPixelsPerInch;
    widthPx = platform::R(ppi * static_cast<double>(n.LargeurEtiquette) / 2540);
    heightPx = platform::R(ppi * static_cast<double>(n.HauteurEtiquette) / 2540);
    f = n;
}

int LineAfterDelete(int index, int countBefore)
{
    if (countBefore <= 1)
        return -1;
    return index >= countBefore - 1 ? countBefore - 2 : index;
}

int TStation::DeleteModel(int index, QStringList* listErrors)
{
    if (index < 0 || index >= Models.Count())
        return Selected;
    const int countBefore = Models.Count();
    const QString path = Models.Models[static_cast<size_t>(index)].Path;
    QFile file(path);
    if (!file.remove())
        throw platform::EInOutError(QStringLiteral("%1 cannot be deleted: %2").arg(path, file.errorString()));
    const QStringList errors = RemplirListeModeles();
    if (listErrors != nullptr)
        *listErrors = errors;
    // A shipped example of the same name may show through once the user's own copy is gone.
    const int next = Models.Count() == countBefore ? index : LineAfterDelete(index, countBefore);
    Selected = next < Models.Count() ? next : Models.Count() - 1;
    return Selected;
}

QStringList TStation::Exit(const TExitSteps& steps) const
{
    return RunExitSequence(FichierIni, Settings, steps);
}

QImage DrawThumbnail(const design::TDesignModel& model, const TThumbnail& t,
                     const design::MergeSource& source, const design::MergeNumbering& numbering, int row,
                     const QColor& buttonFace)
{
    if (!t.Visible)
        return {};
    QImage image(t.Width, t.Height, QImage::Format_RGB32);
    if (model.Format().EtiquetteRonde) {
        image.fill(buttonFace);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(0, 0, t.Width, t.Height));
    } else {
        image.fill(Qt::white);
    }
    platform::TCanvas canvas(&image);
    canvas.SetLogPixels(design::TDesignModel::DesignPixelsPerInch,
                        design::TDesignModel::DesignPixelsPerInch);
    design::TPictureCache pictures;
    const design::TFieldMerge merge(source, numbering);
    const design::TPreparedLabel label = design::PrepareLabel(model, merge, row, -1, pictures);
    design::DrawDesign(canvas, model, label, design::TDrawTarget{}, {0, 0}, t.Scale, t.Scale, true);
    return image;
}

QString TStation::SelectedName() const
{
    if (Selected < 0 || Selected >= Models.Count())
        return {};
    return Models.Models[static_cast<size_t>(Selected)].Name;
}

void TStation::SuivrePage()
{
    if (!Planche.IsEmpty())
        return;
    Planche.FormatPage = CurrentFormat;
    Planche.LabelWidthPx = Designer.LargeurEtiquettePx;
    Planche.LabelHeightPx = Designer.HauteurEtiquettePx;
}

TSheetGeometry TStation::PageGeometry()
{
    SuivrePage();
    return SheetGeometry(Planche.FormatPage, EchellePage);
}

QSize TStation::PageImageSize()
{
    SuivrePage();
    return station::PageImageSize(Planche.FormatPage, EchellePage, PaperNames);
}

bool TStation::FormatCompatible()
{
    return Planche.Change([&] {
        SuivrePage();
        if (FormatsAgree(Planche.FormatPage, CurrentFormat))
            return true;
        if (!ConfirmClearPage || !ConfirmClearPage(Planche.NbCasesRemplies()))
            return false;
        Planche.Clear();
        ReloadSelected();
        SuivrePage();
        return true;
    });
}

TStation::TPageClick TStation::LeftClick(QPoint p)
{
    return Planche.Change([&] {
        TCellPos hit = PageGeometry().HitTest(p);
        if (!hit.Valid())
            return TPageClick::Nothing;
        LastCell = hit;
        if (!Planche.Cell(hit.Column, hit.Row).isEmpty()) {
            const TSheetGeometry g = PageGeometry();
            const int cells = g.Columns * g.Rows;
            return cells > 1 && Planche.NbCasesRemplies() < cells ? TPageClick::StartMove : TPageClick::Nothing;
        }
        const QString model = SelectedName();
        if (model.isEmpty() || !FormatCompatible())
            return TPageClick::Nothing;
        // Accepting the question may have given the page another format: the point is looked up
        // again, and lands nowhere when the new cells do not reach it.
        hit = PageGeometry().HitTest(p);
        if (!hit.Valid() || !Planche.Cell(hit.Column, hit.Row).isEmpty())
            return TPageClick::Nothing;
        Planche.SetCell(hit.Column, hit.Row, model);
        LastCell = hit;
        return TPageClick::Placed;
    });
}

bool TStation::RightClick(QPoint p)
{
    return Planche.Change([&] {
        const TCellPos hit = PageGeometry().HitTest(p);
        if (!hit.Valid() || Planche.Cell(hit.Column, hit.Row).isEmpty())
            return false;
        Planche.SetCell(hit.Column, hit.Row, {});
        if (Planche.IsEmpty())
            ClearPage();
        return true;
    });
}

bool TStation::DropModel(QPoint p)
{
    return Planche.Change([&] {
        const QString model = SelectedName();
        if (model.isEmpty())
            return false;
        const bool wasEmpty = Planche.IsEmpty();
        if (!wasEmpty && !FormatCompatible())
            return false;
        const TCellPos cell = DropCell(p, PageImageSize(), PageGeometry());
        if (!cell.Valid())
            return false;
        Planche.SetCell(cell.Column, cell.Row, model);
        if (wasEmpty)
            LastCell = cell;
        return true;
    });
}

bool TStation::MovePlaced(QPoint p)
{
    return Planche.Change([&] {
        if (Planche.IsEmpty())
            return false;
        const QString model = Planche.Cell(LastCell.Column, LastCell.Row);
        if (model.isEmpty())
            return false;
        const TCellPos target = DropCell(p, PageImageSize(), PageGeometry());
        if (!target.Valid())
            return false;
        Planche.SetCell(LastCell.Column, LastCell.Row, {});
        Planche.SetCell(target.Column, target.Row, model);
        return true;
    });
}

int TStation::Fill()
{
    return Planche.Change([&] {
        const QString model = SelectedName();
        if (model.isEmpty() || !FormatCompatible())
            return 0;
        const TSheetGeometry g = PageGeometry();
        int placed = 0;
        for (int r = 1; r <= g.Rows; ++r)
            for (int c = 1; c <= g.Columns; ++c)
                if (Planche.Cell(c, r).isEmpty()) {
                    Planche.SetCell(c, r, model);
                    ++placed;
                }
        return placed;
    });
}

bool TStation::TakeOffPageIfReformatted(const QString& name)
{
    return Planche.Change([&] {
        if (name.isEmpty() || Planche.IsEmpty() || FormatsAgree(Planche.FormatPage, CurrentFormat))
            return false;
        bool removed = false;
        for (int c = 1; c <= MaxPageCells; ++c)
            for (int r = 1; r <= MaxPageCells; ++r)
                if (Planche.Cell(c, r) == name) {
                    Planche.SetCell(c, r, QString());
                    removed = true;
                }
        return removed;
    });
}

void TStation::ClearPage()
{
    Planche.Change([&] {
        Planche.Clear();
        SuivrePage();
    });
}

bool TStation::CanFill()
{
    const TSheetGeometry g = PageGeometry();
    return Planche.NbCasesRemplies() < g.Columns * g.Rows;
}

} // namespace station

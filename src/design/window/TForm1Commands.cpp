#include "TForm1.h"
#include "ui_TForm1.h"

#include "TStretchHandle.h"

#include "design/DesignDocument.h"
#include "design/DesignFileFormat.h"
#include "design/DesignSurface.h"
#include "design/Pictures.h"
#include "design/PreparedLabel.h"
#include "design/Renderer.h"
#include "platform/HourGlass.h"
#include "platform/TCanvas.h"
#include "platform/TStringGrid.h"
#include "platform/window/Application.h"
#include "platform/window/Dialogs.h"
#include "shell/BoiteMessage.h"
#include "station/Station.h"
#include "station/StationRules.h"

#include "MultiLang/MLang.h"

#include <QFileInfo>
#include <QUrl>

#include <vector>

// The design window's commands: files and the design clipboard, the sheet format, help, and the
// drawing of the design for the other windows.
using namespace design;

void TForm1::DrawDesign(platform::TCanvas& canvas, platform::TPoint origin, double scaleX, double scaleY, bool outline)
{
    MergeSource source = MergeSourceHook ? MergeSourceHook() : MergeSource{};
    const TFieldMerge merge(source, NumberingHook ? NumberingHook() : MergeNumbering{});
    TPictureCache pictures;
    // The record shown is the merge source's current one.
    const int row = source.Grille != nullptr ? source.Grille->Row() : 1;
    const TPreparedLabel label = PrepareLabel(*m_model, merge, row, -1, pictures);
    design::DrawDesign(canvas, *m_model, label, TDrawTarget{}, origin, scaleX, scaleY, outline);
}

// --- Commands ---

void TForm1::Active1Click()
{
    m_station.Settings.GrilleAct = ui->Active1->isChecked();
    ApplyFrameSnapping();
}

void TForm1::Visible1Click()
{
    m_station.Settings.GrilleVis = ui->Visible1->isChecked();
    ui->PaintBox->update();
}

void TForm1::Aide1Click()
{
    const QString page = m_station.Folders.ReadPath(station::HelpPage(MultiLang1->ActiveLanguage()));
    if (!QFileInfo::exists(page)) {
        platform::MessageDlg(GetText(QStringLiteral("@NoHelp")) + page, platform::mtError, platform::mbOK);
        return;
    }
    QUrl url = QUrl::fromLocalFile(page);
    url.setFragment(QStringLiteral("context5"));
    if (OpenHelp)
        OpenHelp(url);
}

void TForm1::FormatBtnClick()
{
    if (!ChooseFormat)
        return;
    station::TLigneFormat row;
    station::TPaperNames names;
    if (!ChooseFormat(GetText(QStringLiteral("@8")), row, names))
        return;
    // Every cell is read before anything changes: a bad one leaves the format as it was.
    TCurrentFormat chosen = m_model->Format();
    int widthPx = 0;
    int heightPx = 0;
    station::AdoptFormat(row, names, chosen, widthPx, heightPx);
    const bool differs = !SameFormat(chosen, m_model->Format());
    m_model->Format() = chosen;
    m_model->LargeurEtiquettePx = widthPx;
    m_model->HauteurEtiquettePx = heightPx;
    // Changed since the design was opened: a second OK on the same format keeps the change known.
    m_model->FormatModifie = m_model->FormatModifie || differs;
    if (differs) {
        DesignEdited();
        ui->PaintBox->update();
    }
}

// --- Files ---

void TForm1::updateCaption()
{
    const QString title = platform::Application::Title();
    setWindowTitle(m_model->NomDocument.isEmpty()
                       ? title + GetText(QStringLiteral("@Unnamed"))
                       : EditingCaption(title, GetText(QStringLiteral("@6")), m_model->NomDocument));
}

void TForm1::OpenDesign(const QString& path)
{
    EmptySelection();
    platform::HourGlass busy;
    design::OpenDesign(*m_model, path);
    updateCaption();
    DesignChanged();
    ui->PaintBox->update();
}

void TForm1::LoadDesign(const QString& path, bool paste)
{
    design::LoadDesign(*m_model, path, paste, GrilleX, GrilleY);
    ui->PaintBox->update();
}

void TForm1::SaveDesign(const QString& path)
{
    design::SaveDesign(*m_model, path, TDesignScope::WholeDesign);
}

void TForm1::saveAndRefresh(const QString& path)
{
    SaveDesignDocument(*m_model, path);
    updateCaption();
    if (RefreshModels) {
        EmptySelection();
        RefreshModels(path);
    }
}

void TForm1::SaveBtnClick()
{
    SaveCommand(*m_model, programFolder(), [this] { SaveAsClick(); },
                [this](const QString& path) { saveAndRefresh(path); });
}

void TForm1::SaveAsClick()
{
    SaveAsCommand(*m_model, programFolder(),
                  [this](const QString& preset) { return AskDesignName ? AskDesignName(preset) : QString(); },
                  [this](const QString& path) { saveAndRefresh(path); });
}

void TForm1::updateEditMenu()
{
    const TEditionMenuState state = EditionMenuState(SH->AttachedCount(), DesignClipboardPath(programFolder()));
    ui->Couper1->setEnabled(state.Cut);
    ui->Copier1->setEnabled(state.Copy);
    ui->Coller1->setEnabled(state.Paste);
}

void TForm1::CopyClick()
{
    if (SH->AttachedCount() > 0)
        CopyDesign(*m_model, Selection(), DesignClipboardPath(programFolder()));
    updateEditMenu();
}

void TForm1::CutClick()
{
    if (SH->AttachedCount() > 0)
        CutDesign(*m_model, Selection(), DesignClipboardPath(programFolder()), [this] { DeleteSelection(); });
    updateEditMenu();
}

void TForm1::PasteClick()
{
    const QString clipboard = DesignClipboardPath(programFolder());
    if (!QFileInfo::exists(clipboard))
        return;
    PasteDesign(*m_model, clipboard, GrilleX, GrilleY, [this] { EmptySelection(); });
    if (m_model->ObjetCourant != nullptr)
        RectObjetCourant = m_model->ObjetCourant->BoundsRect();
    ui->PaintBox->update();
    UpdateAlignPalette();
}

bool TForm1::ConfirmSave()
{
    // The station's sheet page, worked on as the question's rule wants it (cells by reference).
    // The cells it emptied are then emptied on the page as one change, which the page tells the
    // station (a page left empty is cleared there); what the save itself did to the page stays.
    station::TSheetPage& page = m_station.Planche;
    constexpr int side = station::MaxPageCells;
    const auto at = [](int c, int r) { return static_cast<size_t>((c - 1) * side + (r - 1)); };
    std::vector<QString> cells(side * side);
    for (int c = 1; c <= side; ++c)
        for (int r = 1; r <= side; ++r)
            cells[at(c, r)] = page.Cell(c, r);
    const std::vector<QString> before = cells;
    int filled = page.NbCasesRemplies();
    TConfirmSaveActions actions;
    actions.Ask = [this] {
        switch (BoiteMessage(GetText(QStringLiteral("@7")), platform::mtConfirmation,
                             platform::mbYes | platform::mbNo | platform::mbCancel)) {
        case platform::mrYes:
            return TSaveAnswer::Yes;
        case platform::mrNo:
            return TSaveAnswer::No;
        case platform::mrCancel:
            return TSaveAnswer::Cancel;
        default:
            return TSaveAnswer::Other;
        }
    };
    actions.Save = [this] { SaveBtnClick(); };
    actions.Cell = [&](int c, int r) -> QString& { return cells[at(c, r)]; };
    actions.NbCasesRemplies = &filled;
    const bool goOn = design::ConfirmSave(*m_model, actions);
    page.Change([&] {
        for (int c = 1; c <= side; ++c)
            for (int r = 1; r <= side; ++r)
                if (cells[at(c, r)] != before[at(c, r)])
                    page.SetCell(c, r, cells[at(c, r)]);
    });
    return goOn;
}

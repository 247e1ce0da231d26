#include "TModEtik.h"
#include "ui_TModEtik.h"

#include "TFormat.h"

#include "design/DesignDocument.h"
#include "design/window/TNumAuto.h"
#include "platform/Errors.h"
#include "platform/HourGlass.h"
#include "platform/window/Dialogs.h"
#include "shell/BoiteMessage.h"
#include "station/DesignFormat.h"

#include <QFileInfo>
#include <QSignalBlocker>

#include <algorithm>

// The station's model list: the designs of "perso" with their sizes, the selected one's
// thumbnail, and the new, edit and delete commands.
namespace station {

void TModEtik::showListErrors(const QStringList& errors)
{
    if (!errors.isEmpty())
        platform::MessageDlg(GetText(QStringLiteral("@6")) + u'\n' + errors.join(u'\n'), platform::mtError,
                             platform::mbOK);
}

void TModEtik::showModels(int row)
{
    {
        const QSignalBlocker quiet(ui->ListBox);
        ui->ListBox->clear();
        for (const TModelEntry& e : Station.Models.Models)
            ui->ListBox->addItem(e.Line());
        ui->ListBox->setCurrentRow(std::min(row, Station.Models.Count() - 1));
    }
    enableModelCommands();
}

void TModEtik::RemplirListeModeles()
{
    QStringList errors;
    {
        platform::HourGlass busy;
        errors = Station.RemplirListeModeles();
        showModels(0);
    }
    showListErrors(errors);
    ListBoxClick();
}

void TModEtik::RefreshAfterDesignSave(const QString& path)
{
    const int remembered = ui->ListBox->currentRow();
    const QString name = design::DesignName(path);
    QStringList errors;
    {
        platform::HourGlass busy;
        errors = Station.RemplirListeModeles();
        const int saved = Station.Models.IndexOf(name);
        showModels(saved >= 0 ? saved : remembered);
    }
    showListErrors(errors);
    // However it was saved, a design in a format other than the page's leaves the page (a
    // plainly wrong print otherwise); the page tells this window, which clears a page left empty
    // as the clear-page command does, and that reselects the line.
    if (!Station.TakeOffPageIfReformatted(name) || !Station.Planche.IsEmpty())
        ListBoxClick();
}

void TModEtik::enableModelCommands()
{
    const bool any = Station.Models.Count() > 0;
    ui->MoinsBtn->setEnabled(any);
    ui->SupprimerItem->setEnabled(any);
    ui->ModifierItem->setEnabled(any && ShowDesigner != nullptr);
    ui->NouveauItem->setEnabled(ShowDesigner != nullptr);
    ui->PlusBtn->setEnabled(ShowDesigner != nullptr);
    ui->Page->setVisible(any);
    EnablePrintCommands();
    EnablePreviewCommands();
    if (!any) {
        ui->FormatLabel->clear();
        ui->Image->hide();
    }
}

void TModEtik::ListBoxClick()
{
    const int row = ui->ListBox->currentRow();
    if (row < 0 || !ConfirmSave())
        return;
    platform::HourGlass busy;
    if (Station.SelectModel(row))
        DessinerVignette();
    else
        ui->Image->hide();
    Station.SuivrePage();
    ui->FormatLabel->setText(Station.Planche.FormatPage.NomFormat);
    drawPage();
}

void TModEtik::ChargerVignette(const QString& path)
{
    if (Station.ChargerModele(path))
        DessinerVignette();
    else
        ui->Image->hide();
}

void TModEtik::DessinerVignette()
{
    const QRect area = ui->Panel->contentsRect();
    const TThumbnail t = ThumbnailGeometry(Station.Designer.LargeurEtiquettePx,
                                           Station.Designer.HauteurEtiquettePx, area.width(), area.height());
    QImage image;
    if (t.Visible) {
        try {
            image = DrawThumbnail(Station.Designer, t, MergeSource(), NumAutoWindow()->Numbering(), MergeRow(),
                                  palette().color(QPalette::Button));
        } catch (const std::exception&) {
            image = QImage();
        }
    }
    if (image.isNull()) {
        ui->Image->hide();
        return;
    }
    ui->Image->setGeometry(area.left() + t.Left, area.top() + t.Top, t.Width, t.Height);
    ui->Image->setPixmap(QPixmap::fromImage(image));
    ui->Image->show();
}

void TModEtik::NouveauModele()
{
    if (!ShowDesigner || !ConfirmSave())
        return;
    TFormat* format = FormatWindow();
    format->UseDialogButtons();
    if (format->exec() != QDialog::Accepted)
        return;
    design::TDesignModel& d = Station.Designer;
    AdoptFormat(format->SelectedFormat(), format->PaperNames(), Station.CurrentFormat,
                d.LargeurEtiquettePx, d.HauteurEtiquettePx);
    d.Clear();
    d.NomDocument.clear();
    d.ObjetCourant = nullptr;
    d.Modifie = false;
    ShowDesigner();
    hide();
}

bool TModEtik::ChooseDesignFormat(const QString& unlistedName, TLigneFormat& row, TPaperNames& names)
{
    TFormat* format = FormatWindow();
    const TFormatPlace place = LocateDesignFormat(format->Families(), Station.CurrentFormat, unlistedName);
    if (place.Family >= 0)
        format->ShowFormat(place.Family, place.Row);
    format->UseDialogButtons();
    if (format->exec() != QDialog::Accepted)
        return false;
    row = format->SelectedFormat();
    names = format->PaperNames();
    return true;
}

void TModEtik::ModifierModele()
{
    const QString path = Station.SelectedPath();
    if (path.isEmpty() || !ShowDesigner || !ConfirmSave())
        return;
    {
        platform::HourGlass busy;
        try {
            design::OpenDesign(Station.Designer, path);
        } catch (const std::exception& error) {
            // The list names a design damaged in its header; one damaged further on is named here.
            const auto* own = dynamic_cast<const platform::Exception*>(&error);
            platform::MessageDlg(GetText(QStringLiteral("@6")) + u'\n' + QFileInfo(path).fileName() + QStringLiteral(": ")
                                     + (own != nullptr ? own->message() : QString::fromUtf8(error.what())),
                                 platform::mtError, platform::mbOK);
            return;
        }
        Station.Designer.Modifie = false;
    }
    ShowDesigner();
    hide();
}

void TModEtik::SupprimerModele()
{
    const int row = ui->ListBox->currentRow();
    if (row < 0 || row >= Station.Models.Count())
        return;
    const QString file = QFileInfo(Station.Models.Models[static_cast<size_t>(row)].Path).fileName();
    if (BoiteMessage(GetText(QStringLiteral("@8")) + file + QStringLiteral("\" ?"), platform::mtConfirmation,
                     platform::mbYes | platform::mbNo)
        != platform::mrYes)
        return;
    QStringList errors;
    const int next = Station.DeleteModel(row, &errors);
    showModels(next);
    showListErrors(errors);
    // The page may have named the deleted model: it is cleared whatever it held (which
    // reselects the line chosen above).
    ClearPageBtnClick();
    if (next < 0)
        drawPage();
}

} // namespace station

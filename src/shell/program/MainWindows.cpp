#include "MainWindows.h"

#include "addressbook/window/MailingChain.h"
#include "addressbook/window/TFiche.h"
#include "addressbook/window/TListe.h"
#include "database/window/TwFiche.h"
#include "database/window/TwForm1.h"
#include "design/window/TForm1.h"
#include "design/window/TNumAuto.h"
#include "design/window/TPreview.h"
#include "imaging/Binding.h"
#include "imaging/window/ImagingDialogs.h"
#include "station/window/TModEtik.h"
#include "ui_TFiche.h"
#include "ui_TwFiche.h"
#include "ui_TModEtik.h"

#include "platform/window/Application.h"
#include "platform/window/QtPrinter.h"

#include <QCoreApplication>
#include <QFileInfo>

MainWindows::~MainWindows()
{
    while (!m_windows.empty())
        m_windows.pop_back();
    imaging::ImgEndBinding();
}

std::unique_ptr<MainWindows> CreateMainWindows()
{
    auto windows = std::make_unique<MainWindows>();
    // The imaging layer shows its messages and the scanner choice in dialogs from now on.
    imaging::installImagingDialogs();
    imaging::ImgStartBinding(QCoreApplication::applicationFilePath());
    // The control station comes first and so becomes the main window; its creation sets the
    // language every later window starts in. The other windows follow in their order as they
    // are built.
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString settings = programFolder + u'/'
                             + QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName()
                             + QStringLiteral(".ini");
    auto* station = windows->Add(std::make_unique<station::TModEtik>(programFolder, settings));
    station->FormCreate();

    // The address book reads the settings the station settled on (a read-only program folder
    // moves them to the user's folder, and the book's file with them).
    auto* liste = windows->Add(std::make_unique<addressbook::TListe>(station->FichierIni));
    auto* fiche = windows->Add(std::make_unique<addressbook::TFiche>(liste, station));
    fiche->Printer = &station->Printer();
    fiche->RunPrintDialog = [station, fiche] { return station->Printer().SetupDialog(fiche).Accepted; };
    // The card's mailing: the wizard's choices 2 and 3 on the book, 4 on the database (wired with
    // the database window below).
    auto* chain = new addressbook::TMailingChain(*station);
    chain->EnableEtikBtn = [fiche](bool enabled) { fiche->ui->EtikBtn->setEnabled(enabled); };
    LinkAddressBook(*station, *liste, *fiche, [chain] { chain->FermerTout(); });
    station->SaveAddressBook = [liste, chain] { return liste->FormDestroy() + chain->WriteSettings(); };
    station->EnableAddressBookCommands();

    // The database window reads the settings the station has just made sure of; the card and the
    // find and replace dialogs come with it.
    auto* base = windows->Add(std::make_unique<database::TwForm1>(station->FichierIni, station->CheminAppli));
    base->OpenAtStart(QCoreApplication::arguments().value(1));
    LinkDatabaseWindow(*station, *base);

    // The mailings read the merge source of the wizard's choice and sort it with its own dialog.
    chain->TrierSource = [chain, liste, base] {
        if (chain->Database) {
            base->SortBtnClick();
            return base->Table.TriFait;
        }
        liste->SortBtnClick();
        return liste->Book.TriFait;
    };
    station->StartMailing = [chain, liste, base](int choice) {
        if (choice == 4)
            chain->EtikBtnClick(choice, &base->Table.Grille, true);
        else
            chain->EtikBtnClick(choice, &liste->Grille(), false);
    };
    station->DatabaseMailing = true;
    auto* designer = windows->Add(std::make_unique<TForm1>(station->Station));
    LinkDesignWindow(*station, *designer);
    // The live preview moves through the merge source with its card's own buttons.
    designer->Preview->CardNavigate = [station, fiche, base](int button) {
        if (station->DatabaseIsSource()) {
            void (database::TwFiche::*const moves[])() = {&database::TwFiche::BeginBtnClick,
                                                            &database::TwFiche::RewBtnClick,
                                                            &database::TwFiche::FFBtnClick,
                                                            &database::TwFiche::EndBtnClick};
            if (base->wFiche != nullptr)
                (base->wFiche->*moves[button])();
            return;
        }
        void (addressbook::TFiche::*const moves[])() = {&addressbook::TFiche::BeginBtnClick,
                                                          &addressbook::TFiche::RewBtnClick,
                                                          &addressbook::TFiche::FFBtnClick,
                                                          &addressbook::TFiche::EndBtnClick};
        (fiche->*moves[button])();
    };
    designer->Preview->CardButtons = [station, fiche, base]() -> std::array<bool, 4> {
        if (station->DatabaseIsSource()) {
            if (base->wFiche == nullptr)
                return {false, false, false, false};
            const auto& card = *base->wFiche->ui;
            return {card.BeginBtn->isEnabled(), card.RewBtn->isEnabled(), card.FFBtn->isEnabled(),
                    card.EndBtn->isEnabled()};
        }
        return {fiche->ui->BeginBtn->isEnabled(), fiche->ui->RewBtn->isEnabled(), fiche->ui->FFBtn->isEnabled(),
                fiche->ui->EndBtn->isEnabled()};
    };
    return windows;
}

void LinkAddressBook(station::TModEtik& station, addressbook::TListe& liste, addressbook::TFiche& fiche,
                     std::function<void()> cardClosed)
{
    // The card's OK keeps what was typed into the record, which the thumbnail then shows.
    fiche.Closed = [&station, cardClosed = std::move(cardClosed)] {
        station.AddressRecordChanged();
        if (cardClosed)
            cardClosed();
    };
    liste.RecordShown = [&station] { station.AddressRecordChanged(); };
    station.AddressBookGrid = &liste.Grille();
    station.ShowAddressCard = [&fiche] { fiche.exec(); };
}

void LinkDatabaseWindow(station::TModEtik& station, database::TwForm1& base)
{
    base.ShowHelp = [&station](int context) { station.ShowHelpContext(context); };
    base.OnRecordShown = [&station] {
        if (station.isVisible() && station.Station.Selected >= 0)
            station.DessinerVignette();
        station.MajBullesFusion();
    };
    base.OnClosed = [&station] {
        station.show();
        station.ListBoxClick();
        station.MajBullesFusion();
    };
    // Opened again while it is already open behind another window, it comes to the front.
    station.SetDatabase(&base.Table, [&base] { platform::ShowInFront(&base); });
    base.Printer = &station.Printer();
    base.RunPrintDialog = [&station](QWidget* parent, bool offerSelection) {
        platform::TSetupOptions options;
        options.OfferSelection = offerSelection;
        return station.Printer().SetupDialog(parent, options);
    };
}

void LinkDesignWindow(station::TModEtik& station, TForm1& designer)
{
    designer.CheminImagesPerso = &station.CheminImagesPerso;
    designer.DatabaseIsSource = [&station] { return station.DatabaseIsSource(); };
    designer.ChooseMergeSource = [&station](bool database) { station.ChoisirSourceFusion(database); };
    designer.MergeSourceHook = [&station] { return station.MergeSource(); };
    designer.NumberingHook = [&station] { return station.NumAutoWindow()->Numbering(); };
    designer.RefreshModels = [&station](const QString& path) { station.RefreshAfterDesignSave(path); };
    designer.ChooseFormat = [&station](const QString& unlisted, station::TLigneFormat& row,
                                       station::TPaperNames& names) {
        return station.ChooseDesignFormat(unlisted, row, names);
    };
    // Closing the designer brings the station back, which reads its selected design again.
    designer.ReturnToStation = [&station] {
        station.show();
        station.ListBoxClick();
    };
    station.ConfirmSave = [&designer] { return designer.ConfirmSave(); };
    station.ShowDesigner = [&designer] { designer.ShowForDesign(); };
    // The station's preview shows the designer's model, which holds the selected design; a newly
    // selected design is drawn again.
    station.ShowPreview = [&designer, &station] { designer.PreviewBtnClick(&station, station.CommandsArea()); };
    station.EnablePreviewCommands();
    QObject::connect(station.ui->ListBox, &QListWidget::currentRowChanged, &designer,
                     [&designer] { designer.DesignChanged(); });
    QObject::connect(station.ui->SwitchBtn, &QToolButton::clicked, &designer, [&designer] {
        if (designer.Preview->isVisible()) {
            designer.Preview->UpdateNavigation();
            designer.RefreshPreview();
        }
    });
}

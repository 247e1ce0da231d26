#include "MailingChain.h"

#include "TChoix.h"
#include "TChoixEtik.h"
#include "TFpPrev.h"
#include "TIMail.h"
#include "ui_TChoix.h"
#include "ui_TIMail.h"

#include "MultiLang/MLang.h"
#include "design/window/TNumAuto.h"
#include "platform/HourGlass.h"
#include "platform/TIniFile.h"
#include "platform/TStringGrid.h"
#include "platform/window/Application.h"
#include "platform/window/Dialogs.h"
#include "platform/window/QtPrinter.h"
#include "station/window/TFormat.h"
#include "station/window/TModEtik.h"
#include "station/window/TPrevis.h"
#include "ui_TModEtik.h"

#include <QSignalBlocker>

namespace addressbook {

TMailingChain::TMailingChain(station::TModEtik& station) : QObject(&station), Station(station)
{
    m_choix = new TChoix(&station);
    m_choixEtik = new TChoixEtik(&station);
    m_imail = new TIMail(&station);
    {
        const platform::TIniFile ini(Station.FichierIni);
        m_imail->FormCreate(ini);
    }

    m_choix->RemplirChoix = [this] { RemplirChoix(); };
    m_choix->TrierSource = [this] { return TrierSource && TrierSource(); };
    m_choix->Suivant = [this] { afterChoix(); };
    m_choix->Annuler = [this] { finish(); };

    m_choixEtik->Choisir = [this](int line) { Station.ui->ListBox->setCurrentRow(line); };
    m_choixEtik->Precedent = [this] {
        RemplirChoix();
        m_choixEtik->close();
        showChoix();
    };
    m_choixEtik->Suivant = [this] {
        if (!CalculerMiseEnPage())
            return;
        MajMessagePlanches();
        m_choixEtik->close();
        showOptions();
    };
    m_choixEtik->Annuler = [this] {
        m_choixEtik->close();
        finish();
    };

    m_imail->MajMessagePlanches = [this] { MajMessagePlanches(); };
    m_imail->Numerotation = [this] { Station.NumAutoWindow()->exec(); };
    m_imail->PremiereEtiquette = [this] { PremiereEtiquette(); };
    m_imail->Apercu = [this] { Previsualiser(); };
    m_imail->Precedent = [this] {
        m_imail->close();
        if (ChoixAssistant == 2) {
            m_formatStep = true;
            Station.FormatWindow()->UseWizardButtons();
            platform::ShowInFront(Station.FormatWindow());
        } else {
            showModelChoice();
        }
    };
    m_imail->Imprimer = [this] {
        m_imail->close();
        // The chain ends whatever the print gives.
        struct End {
            TMailingChain* chain;
            ~End() { chain->finish(); }
        } end{this};
        ImprimerMailing();
    };
    m_imail->Annuler = [this] {
        m_imail->close();
        finish();
    };
    m_imail->Fermeture = [this] {
        station::TPrevis* previs = Station.PrevisWindow();
        if (previs->isVisible())
            previs->close();
    };
    m_imail->ConfigImprimante = [this] {
        Station.RunPrinterSetup();
        // The set-up dialog belongs to the station, which it leaves active when it closes: the
        // options take the keyboard back so Return prints the mailing.
        platform::ShowInFront(m_imail);
        m_imail->ui->OKBtn->setFocus(Qt::ActiveWindowFocusReason);
    };

    station::TFormat* format = Station.FormatWindow();
    connect(format, &station::TFormat::Previous, this, [this] { formatPrevious(); });
    connect(format, &station::TFormat::Next, this, [this] { formatNext(); });
    connect(format, &station::TFormat::Cancelled, this, [this] { formatCancelled(); });
}

TMailingChain::~TMailingChain() = default;

TChoix* TMailingChain::Choix() const
{
    return m_choix;
}

TChoixEtik* TMailingChain::ChoixEtik() const
{
    return m_choixEtik;
}

TIMail* TMailingChain::IMail() const
{
    return m_imail;
}

void TMailingChain::EtikBtnClick(int choice, platform::TStringGrid* grid, bool database)
{
    ChoixAssistant = choice;
    Grille = grid;
    Database = database;
    if (EnableEtikBtn)
        EnableEtikBtn(false);
    RemplirChoix();
    showChoix();
}

void TMailingChain::showChoix()
{
    m_choix->Grille = Grille;
    m_choix->Database = Database;
    m_choix->ui->SortBtn->setEnabled(static_cast<bool>(TrierSource));
    platform::ShowInFront(m_choix);
}

void TMailingChain::RemplirChoix()
{
    if (Grille == nullptr)
        return;
    platform::HourGlass hourGlass;
    TChoiceTexts texts;
    texts.Entry = m_choix->MultiLang1->GetText(QStringLiteral("@9"));
    texts.NoneSelected = m_choix->MultiLang1->GetText(QStringLiteral("@2"));
    texts.OneSelected = m_choix->MultiLang1->GetText(QStringLiteral("@3"));
    texts.ManySelected = m_choix->MultiLang1->GetText(QStringLiteral("@1"));
    const TChoiceList list = addressbook::RemplirChoix(*Grille, Database, texts);
    QListWidget* box = m_choix->ui->ListBox;
    {
        const QSignalBlocker block(box);
        box->clear();
        box->addItems(list.Lines);
        int first = -1;
        for (int k = 0; k < list.Chosen.size(); ++k)
            if (list.Chosen[k]) {
                box->item(k)->setSelected(true);
                if (first < 0)
                    first = k;
            }
        if (first >= 0)
            box->scrollToItem(box->item(first), QAbstractItemView::PositionAtTop);
        else
            box->scrollToTop();
    }
    int count = 0;
    for (bool c : list.Chosen)
        count += c;
    const QString title = m_imail->GetText(Database ? QStringLiteral("@19") : QStringLiteral("@18"));
    m_choix->setWindowTitle(title + SelectionCount(count, texts));
}

void TMailingChain::MarquerSelection()
{
    platform::HourGlass hourGlass;
    Selection = addressbook::MarquerSelection(*Grille, m_choix->Chosen());
}

void TMailingChain::afterChoix()
{
    MarquerSelection();
    m_choix->close();
    if (ChoixAssistant == 2) {
        station::TFormat* format = Station.FormatWindow();
        format->UseWizardButtons();
        m_formatStep = true;
        platform::ShowInFront(format);
    } else {
        showModelChoice();
    }
}

void TMailingChain::showModelChoice()
{
    QStringList lines;
    for (int k = 0; k < Station.ui->ListBox->count(); ++k)
        lines << Station.ui->ListBox->item(k)->text();
    m_choixEtik->Remplir(lines, Station.ui->ListBox->currentRow());
    platform::ShowInFront(m_choixEtik);
}

void TMailingChain::showOptions()
{
    m_imail->SetChoix(ChoixAssistant);
    platform::ShowInFront(m_imail);
}

void TMailingChain::formatPrevious()
{
    if (!m_formatStep)
        return;
    m_formatStep = false;
    RemplirChoix();
    showChoix();
}

void TMailingChain::formatNext()
{
    if (!m_formatStep)
        return;
    if (!CalculerMiseEnPage()) {
        platform::ShowInFront(Station.FormatWindow());
        return;
    }
    m_formatStep = false;
    MajMessagePlanches();
    showOptions();
}

void TMailingChain::formatCancelled()
{
    if (!m_formatStep)
        return;
    m_formatStep = false;
    finish();
}

void TMailingChain::finish()
{
    if (EnableEtikBtn)
        EnableEtikBtn(true);
}

design::TCurrentFormat TMailingChain::currentFormat() const
{
    if (ChoixAssistant == 2) {
        const station::TFormat* format = Station.FormatWindow();
        return MailingFormat(format->SelectedFormat(), format->PaperNames());
    }
    return Station.Station.CurrentFormat;
}

station::TTypePapier TMailingChain::paper() const
{
    const station::TFormat* format = Station.FormatWindow();
    const QString name = ChoixAssistant == 2 ? format->SelectedFormat().Nom() : Station.Station.CurrentFormat.NomFormat;
    return format->TypePapier(name);
}

QSize TMailingChain::pageSize() const
{
    const station::TFormat* format = Station.FormatWindow();
    const design::TCurrentFormat& f = Layout.Format;
    return QSize(format->LargeurPage(f.NomFormat, f.LargeurEtiquette, f.NbColonnes, f.EcartHorizontal),
                 format->HauteurPage(f.NomFormat, f.HauteurEtiquette));
}

bool TMailingChain::CalculerMiseEnPage()
{
    platform::HourGlass hourGlass;
    station::TPrevis* previs = Station.PrevisWindow();
    TFirstLabel first{previs->LigneDepart, previs->ColonneDepart};
    try {
        Layout = addressbook::CalculerMiseEnPage(currentFormat(), Selection, Ppi, first);
    } catch (const platform::Exception& e) {
        platform::MessageDlg(e.message(), platform::mtError);
        return false;
    }
    previs->LigneDepart = first.Ligne;
    previs->ColonneDepart = first.Colonne;
    return true;
}

void TMailingChain::MajMessagePlanches()
{
    TInsertTexts t;
    t.OneSheet = m_imail->GetText(QStringLiteral("@9"));
    t.Insert = m_imail->GetText(QStringLiteral("@10"));
    t.Sheets = m_imail->GetText(QStringLiteral("@11"));
    t.OneRollLabel = m_imail->GetText(QStringLiteral("@12"));
    t.Roll = m_imail->GetText(QStringLiteral("@13"));
    t.RollLabels = m_imail->GetText(QStringLiteral("@14"));
    m_imail->ui->Label1->setText(addressbook::MajMessagePlanches(paper(), m_imail->Series(), Layout.NbFeuilles, t));
    m_imail->SetChoix(ChoixAssistant);
}

TMailingJob TMailingChain::Job() const
{
    TMailingJob job;
    job.Mode = ChoixAssistant == 2 ? TMailingMode::Addresses : TMailingMode::Design;
    job.Layout = Layout;
    job.Grid = Grille;
    job.Database = Database;
    job.Numbering = Station.NumAutoWindow()->Numbering();
    job.Font = m_imail->Police();
    // The address font's height is at its own resolution.
    job.Ppi = job.Font.PixelsPerInch() > 0 ? job.Font.PixelsPerInch() : Ppi;
    job.Cadre = m_imail->ui->Cadre->isChecked();
    job.DesignPath = Station.Station.SelectedPath();
    job.Wysiwyg = Station.PrintOptions().Wysiwyg;
    job.SeriesCopies = m_imail->Series();
    job.Title = platform::Application::Title() + m_imail->GetText(QStringLiteral("@17"));
    return job;
}

void TMailingChain::ImprimerMailing()
{
    const TMailingJob job = Job();
    platform::TPrinter& printer = PrinterSource ? PrinterSource() : Station.Printer();
    addressbook::ImprimerMailing(job, printer);
}

void TMailingChain::Previsualiser()
{
    const TMailingJob job = Job();
    std::unique_ptr<TMailingDesign> design;
    if (job.Mode == TMailingMode::Design)
        design = std::make_unique<TMailingDesign>(job.DesignPath);
    TFpPrev preview(job, design.get(), pageSize(), m_imail);
    if (ShowPreview)
        ShowPreview(preview);
    else
        preview.exec();
}

void TMailingChain::PremiereEtiquette()
{
    station::TPrevis* previs = Station.PrevisWindow();
    previs->SetChoixDepart(true);
    TFirstLabel first{previs->LigneDepart, previs->ColonneDepart};
    first = ClampFirstLabel(first, Layout.Format);
    previs->LigneDepart = first.Ligne;
    previs->ColonneDepart = first.Colonne;
    if (ChoixAssistant == 2) {
        Station.FormatWindow()->Previsualiser();
    } else {
        const design::TCurrentFormat& f = Layout.Format;
        station::TSheetPreview sheet;
        const QSize page = pageSize();
        sheet.LargeurPage = page.width();
        sheet.HauteurPage = page.height();
        sheet.LargeurEtiquette = f.LargeurEtiquette;
        sheet.HauteurEtiquette = f.HauteurEtiquette;
        sheet.MargeHaut = f.MargeHaut;
        sheet.MargeGauche = f.MargeGauche;
        sheet.EcartVertical = f.EcartVertical;
        sheet.EcartHorizontal = f.EcartHorizontal;
        sheet.NbColonnes = f.NbColonnes;
        sheet.NbLignes = f.NbLignes;
        sheet.EtiquetteRonde = f.EtiquetteRonde;
        previs->Remplir(sheet, m_imail->GetText(QStringLiteral("@2")) + f.NomFormat);
    }
    previs->OnFirstLabel = [this] {
        if (CalculerMiseEnPage())
            MajMessagePlanches();
    };
    previs->Montrer(m_imail);
}

QStringList TMailingChain::WriteSettings() const
{
    try {
        platform::TIniFile ini(Station.FichierIni);
        m_imail->WriteSettings(ini);
        ini.UpdateFile();
    } catch (const std::exception& e) {
        return {QString::fromUtf8(e.what())};
    }
    return {};
}

void TMailingChain::FermerTout()
{
    for (QWidget* w : {static_cast<QWidget*>(m_choix.data()), static_cast<QWidget*>(m_choixEtik.data()),
                       static_cast<QWidget*>(m_imail.data())})
        if (w != nullptr && w->isVisible())
            w->hide();
    if (m_formatStep) {
        m_formatStep = false;
        Station.FormatWindow()->hide();
    }
    if (Station.PrevisWindow()->isVisible())
        Station.PrevisWindow()->close();
    finish();
}

} // namespace addressbook

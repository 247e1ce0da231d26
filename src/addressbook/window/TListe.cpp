#include "TListe.h"
#include "ui_TListe.h"

#include "TAsso.h"
#include "TFTri.h"
#include "TFiche.h"
#include "TFind.h"

#include "MultiLang/MLang.h"
#include "addressbook/TextExchange.h"
#include "platform/Errors.h"
#include "platform/HourGlass.h"
#include "platform/TIniFile.h"
#include "platform/TextFile.h"
#include "platform/window/Application.h"
#include "platform/window/WindowPlace.h"
#include "platform/window/Dialogs.h"
#include "shell/BoiteMessage.h"

#include <QFileInfo>
#include <QHeaderView>

namespace addressbook {

TListe::TListe(const QString& settingsFile, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TListe>()), FichierIni(settingsFile)
{
    ui->setupUi(this);
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TListe.txt"));
    MultiLang1->Loaded();
    ui->Grille->setModel(&Book.Grille);
    // One line per record, as many records in view as the height allows.
    ui->Grille->verticalHeader()->setDefaultSectionSize(ui->Grille->fontMetrics().height() + 6);
    // Row 0 holds the titles: the view shows them as its header.
    ui->Grille->setRowHidden(0, true);
    connect(&Book.Grille, &QAbstractItemModel::modelReset, this, [this] { ui->Grille->setRowHidden(0, true); });
    connect(&Book.Grille, &platform::TStringGrid::currentChanged, this,
            [this] { platform::runReportingErrors([this] { AfficherFiche(); }); });
    {
        const TIniFile ini(FichierIni);
        Book.ReadSettings(ini);
    }
    applyColumnWidths();
    Book.NomFichier = QFileInfo(FichierIni).path() + u'/' + QFileInfo(FichierIni).completeBaseName()
                      + QStringLiteral(".rep");
    if (QFileInfo(Book.NomFichier).size() > 0)
        LireRepertoire(Book.NomFichier);
}

TListe::~TListe() = default;

QString TListe::GetText(const QString& key) const
{
    return MultiLang1 != nullptr ? MultiLang1->GetText(key) : key;
}

void TListe::applyColumnWidths()
{
    for (int col = 0; col < ColumnCount; ++col)
        ui->Grille->setColumnWidth(col, Book.ColWidths[static_cast<size_t>(col)]);
}

TFiche* TListe::Fiche() const
{
    return m_fiche;
}

void TListe::SetFiche(TFiche* fiche)
{
    m_fiche = fiche;
}

TFind* TListe::FindDialog()
{
    // The card is modal: the find dialog must be its child to be usable beside it.
    if (m_find.isNull())
        m_find = new TFind(this, m_fiche != nullptr ? static_cast<QWidget*>(m_fiche) : this);
    return m_find;
}

void TListe::CloseFind()
{
    if (!m_find.isNull() && m_find->isVisible())
        m_find->close();
}

void TListe::LireRepertoire(const QString& path)
{
    const QString error = Book.LireRepertoire(path);
    if (!error.isEmpty())
        platform::MessageDlg(GetText(QStringLiteral("@14")) + QFileInfo(path).fileName() + QStringLiteral(".bak\n\n")
                                 + error,
                             platform::mtError, platform::mbOK);
    AfficherFiche();
}

void TListe::AfficherFiche()
{
    const int row = Book.Grille.Row();
    if (row < 1)
        return;
    ui->Grille->setCurrentIndex(Book.Grille.index(row, std::max(0, Book.Grille.Col())));
    if (m_fiche != nullptr)
        m_fiche->ShowEntry(row, Book.NbFiches(), GetText(QStringLiteral("@6")) + QString::number(row) + u'/'
                                                     + QString::number(Book.NbFiches()));
    if (RecordShown)
        RecordShown();
}

void TListe::Ajouter1Click()
{
    Book.Ajouter();
    AfficherFiche();
}

void TListe::Enlever1Click(int top, int bottom)
{
    Book.Enlever(top, bottom);
    AfficherFiche();
    if (m_fiche != nullptr)
        m_fiche->MajOnglets();
    Book.Grille.SetCol(0);
}

void TListe::SortBtnClick()
{
    Book.TriFait = false;
    TFTri dialog(m_fiche != nullptr ? static_cast<QWidget*>(m_fiche) : this);
    dialog.Preselect(Book.ColonneTri);
    if (ExecDialog(dialog) != QDialog::Accepted)
        return;
    Book.TriFait = true;
    if (dialog.SortColumn() >= 0)
        Book.ColonneTri = dialog.SortColumn();
    Trier(Book.ColonneTri);
    Book.Modifie = true;
}

void TListe::Trier(int column)
{
    Book.Trier(column);
    AfficherFiche();
}

void TListe::FindBtnClick()
{
    // Above the card while open, beside it so the hits it shows stay in sight.
    QWidget* owner = m_fiche != nullptr && m_fiche->isVisible() ? static_cast<QWidget*>(m_fiche) : this;
    platform::ShowToolWindow(FindDialog(), owner, owner->frameGeometry());
}

void TListe::Importer1Click()
{
    platform::TOpenDialog dialog;
    dialog.Title = GetText(QStringLiteral("@12"));
    dialog.Filter = GetText(QStringLiteral("@13"));
    dialog.FilterIndex = m_importFilter;
    dialog.InitialDir = QFileInfo(Book.NomFichier).path();
    dialog.Options = platform::ofFileMustExist;
    if (!dialog.Execute())
        return;
    m_importFilter = dialog.FilterIndex;
    {
        platform::HourGlass busy;
        ImportGrille = ReadExchangeRecords(platform::readFileBytes(dialog.FileName), SeparatorOfFilter(m_importFilter));
    }
    if (ImportGrille.isEmpty())
        return;
    TAsso asso(m_fiche != nullptr ? static_cast<QWidget*>(m_fiche) : this);
    asso.Charger(Book.Grille.Rows(0), &ImportGrille);
    if (ExecDialog(asso) != QDialog::Accepted)
        return;
    Book.Importer(ImportGrille, asso.Links);
    AfficherFiche();
    if (m_fiche != nullptr)
        m_fiche->MajOnglets();
}

void TListe::Exporter1Click()
{
    platform::TSaveDialog dialog;
    dialog.Title = GetText(QStringLiteral("@11"));
    dialog.Filter = GetText(QStringLiteral("@13"));
    dialog.FilterIndex = m_exportFilter;
    dialog.InitialDir = QFileInfo(Book.NomFichier).path();
    const QString ext = ExtensionOfFilter(m_exportFilter);
    dialog.FileName = Book.NomFichier.isEmpty() ? QStringLiteral("*") + ext
                                                : QFileInfo(Book.NomFichier).completeBaseName() + ext;
    dialog.Options = platform::ofOverwritePrompt;
    if (!dialog.Execute())
        return;
    m_exportFilter = dialog.FilterIndex;
    const QString name = ExportFileName(dialog.FileName, m_exportFilter);
    // The dialog confirmed the overwrite of the name it was given, not of this one.
    if (name != dialog.FileName && QFileInfo::exists(name)
        && BoiteMessage(name + GetText(QStringLiteral("@16")), platform::mtConfirmation, platform::mbYes | platform::mbNo)
               != platform::mrYes)
        return;
    const QChar separator = SeparatorOfFilter(m_exportFilter);
    const int split = CellsHoldingSeparator(Book.Grille, 1, Book.LastRow(), separator);
    if (split > 0
        && BoiteMessage(QString::number(split) + GetText(QStringLiteral("@15")), platform::mtWarning,
                        platform::mbYes | platform::mbNo)
               != platform::mrYes)
        return;
    platform::HourGlass busy;
    platform::writeFileAtomically(name, ExchangeBytes(Book.Grille, 1, Book.LastRow(), separator));
}

QStringList TListe::FormDestroy()
{
    if (m_destroyed)
        return {};
    m_destroyed = true;
    QStringList failures;
    for (int col = 0; col < ColumnCount; ++col)
        Book.ColWidths[static_cast<size_t>(col)] = ui->Grille->columnWidth(col);
    try {
        TIniFile ini(FichierIni);
        Book.WriteSettings(ini);
        ini.UpdateFile();
    } catch (const std::exception& e) {
        failures << QString::fromUtf8(e.what());
    }
    try {
        Book.EcrireRepertoire(Book.NomFichier);
    } catch (const std::exception& e) {
        failures << QString::fromUtf8(e.what());
    }
    return failures;
}

} // namespace addressbook

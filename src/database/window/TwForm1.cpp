#include "TwForm1.h"
#include "ui_TwForm1.h"

#include "Glyphs.h"
#include "RecordsModel.h"
#include "TwFTri.h"
#include "TwFiche.h"
#include "TwFind.h"
#include "TwReplace.h"
#include "ui_TwFTri.h"

#include "MultiLang/MLang.h"
#include "addressbook/TextExchange.h"
#include "addressbook/window/TAsso.h"
#include "ui_TAsso.h"
#include "platform/TextFile.h"
#include "platform/Errors.h"
#include "platform/HourGlass.h"
#include "platform/TIniFile.h"
#include "platform/TPrinter.h"
#include "platform/window/Application.h"
#include "platform/window/Dialogs.h"
#include "platform/window/WindowPlace.h"
#include "shell/BoiteMessage.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QStyle>

namespace database {

namespace {

const QString Section_LastFile = QStringLiteral("wDernierFichier");
const QString Section_Options = QStringLiteral("wOptions");
const QString Section_Main = QStringLiteral("wMainW");
const QString Section_Card = QStringLiteral("wFiche");
const QString Section_Columns = QStringLiteral("wColonnes");
const QString Key_ShowCard = QStringLiteral("Montrer fiche au démarrage");

} // namespace

TwForm1::TwForm1(const QString& settingsFile, const QString& programFolder, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TwForm1>()), FichierIni(settingsFile), CheminAppli(programFolder)
{
    ui->setupUi(this);
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TwForm1.txt"));
    MultiLang1->Loaded();
    setIcons();
    m_records = new TRecordsModel(Table, this);
    ui->Grille->setModel(m_records);
    ui->Grille->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    ui->Grille->horizontalHeader()->setDefaultSectionSize(DefaultColWidth);
    ui->Grille->horizontalHeader()->setHighlightSections(false);
    ui->Grille->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ui->Grille->verticalHeader()->setDefaultSectionSize(std::max(16, fontMetrics().height() + 4));
    ui->Grille->horizontalHeader()->viewport()->installEventFilter(this);
    // The field names stand in the header, bold as the card's captions.
    QFont headerFont = ui->Grille->horizontalHeader()->font();
    headerFont.setBold(true);
    ui->Grille->horizontalHeader()->setFont(headerFont);

    Table.New(GetText(QStringLiteral("@4")));
    Associate = [this](const QStringList& titles, const QList<QStringList>& records, QList<int>& links) {
        addressbook::TAsso dialog(this);
        dialog.Charger(titles, &records);
        dialog.ui->Label2->setText(GetText(QStringLiteral("@18")));
        dialog.ui->Label1->setText(GetText(QStringLiteral("@19")));
        if (dialog.exec() != QDialog::Accepted)
            return false;
        links = dialog.Links;
        return true;
    };
    wFiche = new TwFiche(this, FichierIni);
    wFind = new TwFind(this);
    wReplace = new TwReplace(this);
    connectEvents();
    readSettings();
    SetCaptionHead(GetText(QStringLiteral("@3")));
    TableReplaced();
}

TwForm1::~TwForm1()
{
    // The windows and views reading the table go before it does (the table is a member, the
    // children would otherwise outlive it).
    delete wFiche;
    delete wFind;
    delete wReplace;
    ui->Grille->setModel(nullptr);
    delete m_records;
}

QString TwForm1::GetText(const QString& key) const
{
    return MultiLang1 != nullptr ? MultiLang1->GetText(key) : key;
}

void TwForm1::setIcons()
{
    QStyle* s = style();
    const QColor ink = palette().color(QPalette::ButtonText);
    ui->NewButton->setIcon(s->standardIcon(QStyle::SP_FileIcon));
    ui->OpenBtn->setIcon(s->standardIcon(QStyle::SP_DialogOpenButton));
    ui->SaveBtn->setIcon(s->standardIcon(QStyle::SP_DialogSaveButton));
    ui->SortBtn->setIcon(GlyphIcon(QStringLiteral("A-Z"), ink));
    ui->PrintBtn->setIcon(PrinterIcon(ink));
    ui->FindBtn->setIcon(s->standardIcon(QStyle::SP_FileDialogContentsView));
    ui->ReplaceBtn->setIcon(GlyphIcon(QStringLiteral("a\u2192b"), ink));
    ui->ImportBtn->setIcon(s->standardIcon(QStyle::SP_ArrowDown));
    ui->ExportBtn->setIcon(s->standardIcon(QStyle::SP_ArrowUp));
    ui->PlusBtn->setIcon(GlyphIcon(QStringLiteral("+"), QColor(0, 128, 0)));
    ui->MoinsBtn->setIcon(GlyphIcon(QStringLiteral("\u2212"), QColor(176, 0, 0)));
    ui->FicheBtn->setIcon(s->standardIcon(QStyle::SP_FileDialogDetailedView));
    ui->CPlusBtn->setIcon(GlyphIcon(QStringLiteral("+|"), QColor(0, 128, 0)));
    ui->CMoinsBtn->setIcon(GlyphIcon(QStringLiteral("\u2212|"), QColor(176, 0, 0)));
    ui->HelpBtn->setIcon(s->standardIcon(QStyle::SP_MessageBoxQuestion));
}

void TwForm1::connectEvents()
{
    const auto run = [this](void (TwForm1::*handler)()) {
        return [this, handler] { platform::runReportingErrors([this, handler] { (this->*handler)(); }); };
    };
    const std::pair<QToolButton*, void (TwForm1::*)()> buttons[] = {
        {ui->NewButton, &TwForm1::Nouveau1Click},   {ui->OpenBtn, &TwForm1::Ouvrir1Click},
        {ui->SaveBtn, &TwForm1::Enregistrer1Click}, {ui->SortBtn, &TwForm1::SortBtnClick},
        {ui->PrintBtn, &TwForm1::PrintBtnClick},    {ui->FindBtn, &TwForm1::FindBtnClick},
        {ui->ReplaceBtn, &TwForm1::Remplacer1Click}, {ui->ImportBtn, &TwForm1::ImportBtnClick},
        {ui->ExportBtn, &TwForm1::ExportBtnClick},  {ui->PlusBtn, &TwForm1::Ajouter1Click},
        {ui->MoinsBtn, &TwForm1::Enlever1Click},    {ui->FicheBtn, &TwForm1::FicheBtnClick},
        {ui->CPlusBtn, &TwForm1::CPlusBtnClick},    {ui->CMoinsBtn, &TwForm1::CMoinsBtnClick},
        {ui->HelpBtn, &TwForm1::Aide1Click},
    };
    for (const auto& [button, handler] : buttons)
        connect(button, &QToolButton::clicked, this, run(handler));
    const std::pair<QAction*, void (TwForm1::*)()> actions[] = {
        {ui->Nouveau1, &TwForm1::Nouveau1Click},
        {ui->Ouvrir1, &TwForm1::Ouvrir1Click},
        {ui->Enregistrer1, &TwForm1::Enregistrer1Click},
        {ui->Enregistrersous1, &TwForm1::Enregistrersous1Click},
        {ui->Trier1, &TwForm1::SortBtnClick},
        {ui->Imprimer1, &TwForm1::PrintBtnClick},
        {ui->Rechercher1, &TwForm1::FindBtnClick},
        {ui->Remplacer1, &TwForm1::Remplacer1Click},
        {ui->Importer1, &TwForm1::ImportBtnClick},
        {ui->Exporter1, &TwForm1::ExportBtnClick},
        {ui->Copierstructure1, &TwForm1::Copierstructure1Click},
        {ui->Quitter1, &TwForm1::Quitter1Click},
        {ui->Ajouter1, &TwForm1::Ajouter1Click},
        {ui->Dupliquer1, &TwForm1::Dupliquer1Click},
        {ui->Enlever1, &TwForm1::Enlever1Click},
        {ui->Touteffacer1, &TwForm1::Touteffacer1Click},
        {ui->Voir1, &TwForm1::FicheBtnClick},
        {ui->CAjouter1, &TwForm1::CPlusBtnClick},
        {ui->CEnlever1, &TwForm1::CMoinsBtnClick},
        {ui->Aide1, &TwForm1::Aide1Click},
    };
    for (const auto& [action, handler] : actions) {
        // The commands' keys hold in the whole window, over the grid's own (Ctrl+A, Ctrl+Del).
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        connect(action, &QAction::triggered, this, run(handler));
    }
    // F1 opens the help on the database, here and on the card (a tool window of this one shares
    // its shortcuts).
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this, nullptr, nullptr, Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this, run(&TwForm1::Aide1Click));
    connect(&Table.Grille, &platform::TStringGrid::currentChanged, this, [this] { gridCurrentChanged(); });
    connect(ui->Grille->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { viewCurrentChanged(); });
    connect(m_records, &QAbstractItemModel::modelReset, this, [this] {
        // A reset drops the view's current cell; the table's stays.
        const QSignalBlocker quiet(this);
        gridCurrentChanged();
    });
    m_records->CellEdited = [this](int, int) { AfficherFiche(); };
    connect(ui->Grille->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int col, int, int size) {
        if (!m_syncing && col < Table.ColWidths.size())
            Table.ColWidths[col] = size;
    });
    connect(ui->Grille->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this,
            [this](int col) { platform::runReportingErrors([this, col] { FitFieldWidth(col); }); });
}

bool TwForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->Grille->horizontalHeader()->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton && mouse->buttons() == Qt::RightButton
            && mouse->modifiers() == Qt::NoModifier) {
            const int col = ui->Grille->horizontalHeader()->logicalIndexAt(mouse->position().toPoint());
            if (col >= 0)
                platform::runReportingErrors([this, col] { RenameField(col); });
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- Settings and start ---

void TwForm1::readSettings()
{
    const TIniFile ini(FichierIni);
    // Only a name until OpenAtStart reads the file: the table stays unnamed (and is never saved
    // over that file) unless the reading succeeds.
    m_lastFile = ini.ReadString(Section_LastFile, QStringLiteral("Fichier"), {});
    ui->Montrerficheaudmarrage->setChecked(ini.ReadBool(Section_Options, Key_ShowCard, false));
    QSize screen(800, 600);
    if (const QScreen* s = QGuiApplication::primaryScreen())
        screen = s->availableGeometry().size();
    const auto read = [&ini](const char* key, int otherwise) {
        return ini.ReadInteger(Section_Main, QLatin1String(key), otherwise);
    };
    platform::RestoreWindowPlace(this, {read("x", 0), read("y", 0), read("w", screen.width()), read("h", screen.height()),
                                        ini.ReadBool(Section_Main, QStringLiteral("Maxi"), false)});
}

void TwForm1::writeSettings()
{
    TIniFile ini(FichierIni);
    ini.EraseSection(Section_LastFile);
    ini.WriteString(Section_LastFile, QStringLiteral("Fichier"), Table.NomFichier);
    ini.EraseSection(Section_Columns);
    ini.EraseSection(Section_Options);
    ini.WriteBool(Section_Options, Key_ShowCard, ui->Montrerficheaudmarrage->isChecked());
    ini.EraseSection(Section_Main);
    const platform::TWindowPlace place = platform::SaveWindowPlace(this);
    ini.WriteInteger(Section_Main, QStringLiteral("x"), place.X);
    ini.WriteInteger(Section_Main, QStringLiteral("y"), place.Y);
    ini.WriteInteger(Section_Main, QStringLiteral("w"), place.W);
    ini.WriteInteger(Section_Main, QStringLiteral("h"), place.H);
    ini.WriteBool(Section_Main, QStringLiteral("Maxi"), place.Maxi);
    ini.EraseSection(Section_Card);
    const platform::TWindowPlace card = platform::SaveWindowPlace(wFiche);
    ini.WriteInteger(Section_Card, QStringLiteral("x"), card.X);
    ini.WriteInteger(Section_Card, QStringLiteral("y"), card.Y);
    ini.UpdateFile();
}

void TwForm1::OpenAtStart(const QString& commandLineFile)
{
    const QString name = commandLineFile.isEmpty() ? m_lastFile : commandLineFile;
    const QFileInfo file(name);
    // A remembered file that is gone, empty or damaged leaves the new, unnamed table: the exit
    // must not write it over the file.
    if (!name.isEmpty() && file.exists() && file.size() > 0)
        LireBase(name);
}

void TwForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Typing goes into the records at once, without a click on the grid first.
    ui->Grille->setFocus(Qt::ActiveWindowFocusReason);
    if (ui->Montrerficheaudmarrage->isChecked())
        wFiche->show();
}

void TwForm1::closeEvent(QCloseEvent* event)
{
    bool allowed = false;
    EnFermeture = true;
    platform::runReportingErrors([this, &allowed] { allowed = ConfirmerEnregistrement(); });
    EnFermeture = false;
    if (!allowed) {
        event->ignore();
        return;
    }
    platform::runReportingErrors([this] { writeSettings(); });
    wFiche->close();
    wFind->close();
    wReplace->close();
    event->accept();
    if (OnClosed)
        OnClosed();
}

// --- The grid and the card ---

void TwForm1::gridCurrentChanged()
{
    const int row = Table.Grille.Row();
    const int col = Table.Grille.Col();
    if (row >= 1) {
        m_syncing = true;
        const QModelIndex index = m_records->index(TRecordsModel::viewRow(row), col);
        ui->Grille->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        ui->Grille->scrollTo(index);
        m_syncing = false;
    }
    AfficherFiche();
}

void TwForm1::viewCurrentChanged()
{
    if (m_syncing)
        return;
    const QModelIndex index = ui->Grille->selectionModel()->currentIndex();
    if (!index.isValid())
        return;
    // Moving the current cell is a click on the grid: the card follows.
    Table.Grille.SetCol(index.column());
    Table.Grille.SetRow(TRecordsModel::tableRow(index.row()));
}

void TwForm1::GoTo(int col, int row)
{
    Table.Grille.SetCol(col);
    Table.Grille.SetRow(row);
}

std::pair<int, int> TwForm1::SelectedRows() const
{
    const QItemSelection selection = ui->Grille->selectionModel()->selection();
    int first = Table.Grille.Row();
    int last = first;
    if (!selection.isEmpty()) {
        first = TRecordsModel::tableRow(selection.first().top());
        last = TRecordsModel::tableRow(selection.first().bottom());
        for (const QItemSelectionRange& r : selection) {
            first = std::min(first, TRecordsModel::tableRow(r.top()));
            last = std::max(last, TRecordsModel::tableRow(r.bottom()));
        }
    }
    return {std::max(1, first), std::max(1, last)};
}

std::pair<int, int> TwForm1::SelectedCols() const
{
    const QItemSelection selection = ui->Grille->selectionModel()->selection();
    int first = Table.Grille.Col();
    int last = first;
    if (!selection.isEmpty()) {
        first = selection.first().left();
        last = selection.first().right();
        for (const QItemSelectionRange& r : selection) {
            first = std::min(first, r.left());
            last = std::max(last, r.right());
        }
    }
    return {first, last};
}

void TwForm1::SelectRows(int first, int last)
{
    const QItemSelection rows(m_records->index(TRecordsModel::viewRow(first), 0),
                              m_records->index(TRecordsModel::viewRow(last), Table.ColCount() - 1));
    ui->Grille->selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
}

void TwForm1::AfficherFiche()
{
    wFiche->ShowRecord();
    if (OnRecordShown)
        OnRecordShown();
}

void TwForm1::applyWidths()
{
    m_syncing = true;
    for (int c = 0; c < Table.ColCount(); ++c)
        ui->Grille->setColumnWidth(c, std::max(0, Table.ColWidths.value(c, DefaultColWidth)));
    m_syncing = false;
}

void TwForm1::enableSort()
{
    const bool many = Table.NbFiches() != 1;
    ui->SortBtn->setEnabled(many);
    ui->Trier1->setEnabled(many);
}

void TwForm1::SetCaptionHead(const QString& head)
{
    setWindowTitle(head);
    MajTitre();
}

void TwForm1::MajTitre()
{
    setWindowTitle(CaptionWithCount(windowTitle(), Table.NbFiches(), GetText(QStringLiteral("@1")),
                                    GetText(QStringLiteral("@2")), Today()));
    enableSort();
}

void TwForm1::TableReplaced()
{
    applyWidths();
    wFiche->ApplyLayout();
    gridCurrentChanged();
    wFiche->OrdreTabulation();
    MajTitre();
}

// --- Files ---

bool TwForm1::LireBase(const QString& path)
{
    try {
        platform::HourGlass busy;
        Table.Read(path);
    } catch (const platform::Exception& e) {
        platform::MessageDlg(GetText(QStringLiteral("@NotRead")) + e.message(), platform::mtError, platform::mbOK);
        return false;
    }
    SetCaptionHead(GetText(QStringLiteral("@8")) + CaptionFileName(path) + QStringLiteral(" ("));
    TableReplaced();
    return true;
}

bool TwForm1::ConfirmerEnregistrement()
{
    if (!Table.Modifie)
        return true;
    switch (BoiteMessage(GetText(QStringLiteral("@9")), platform::mtConfirmation,
                         platform::mbYes | platform::mbNo | platform::mbCancel)) {
    case platform::mrYes:
        Enregistrer1Click();
        return !Table.Modifie;
    case platform::mrNo:
        if (EnFermeture) {
            // The table stays the merge source after the window closes: it must match its file.
            Table.Modifie = false;
            const QString name = Table.NomFichier;
            if (name.isEmpty() || !QFileInfo::exists(name) || !LireBase(name)) {
                Table.New(GetText(QStringLiteral("@4")));
                SetCaptionHead(GetText(QStringLiteral("@3")));
                TableReplaced();
            }
        }
        return true;
    default:
        return false;
    }
}

void TwForm1::Nouveau1Click()
{
    if (!ConfirmerEnregistrement())
        return;
    Table.New(GetText(QStringLiteral("@4")));
    SetCaptionHead(GetText(QStringLiteral("@3")));
    TableReplaced();
}

void TwForm1::Ouvrir1Click()
{
    if (!ConfirmerEnregistrement())
        return;
    platform::TOpenDialog dialog;
    dialog.Filter = GetText(QStringLiteral("@Filter"));
    dialog.InitialDir = CheminAppli;
    dialog.Options = platform::ofFileMustExist | platform::ofPathMustExist;
    if (dialog.Execute())
        LireBase(dialog.FileName);
}

bool TwForm1::saveTo(const QString& path)
{
    try {
        platform::HourGlass busy;
        Table.SaveTo(path);
    } catch (const platform::Exception& e) {
        platform::MessageDlg(GetText(QStringLiteral("@NotSaved")) + e.message(), platform::mtError, platform::mbOK);
        return false;
    }
    return true;
}

void TwForm1::Enregistrer1Click()
{
    if (Table.NomFichier.isEmpty()) {
        Enregistrersous1Click();
        return;
    }
    saveTo(Table.NomFichier);
}

void TwForm1::Enregistrersous1Click()
{
    platform::TSaveDialog dialog;
    dialog.Filter = GetText(QStringLiteral("@Filter"));
    dialog.DefaultExt = QStringLiteral("FIC");
    dialog.InitialDir = CheminAppli;
    dialog.Options = platform::ofOverwritePrompt;
    if (!dialog.Execute())
        return;
    if (saveTo(dialog.FileName))
        SetCaptionHead(GetText(QStringLiteral("@7")) + CaptionFileName(dialog.FileName) + QStringLiteral(" ("));
}

void TwForm1::Copierstructure1Click()
{
    if (!ConfirmerEnregistrement())
        return;
    Table.CopyStructure();
    SetCaptionHead(GetText(QStringLiteral("@3")));
    AfficherFiche();
}

void TwForm1::Quitter1Click()
{
    close();
}

// --- Records and fields ---

void TwForm1::Ajouter1Click()
{
    Table.AddRecord();
    MajTitre();
    AfficherFiche();
}

void TwForm1::Dupliquer1Click()
{
    Table.Duplicate();
    MajTitre();
    AfficherFiche();
}

void TwForm1::Enlever1Click()
{
    const auto [first, last] = SelectedRows();
    const QString question = GetText(first == last ? QStringLiteral("@5") : QStringLiteral("@6"));
    if (BoiteMessage(question, platform::mtConfirmation, platform::mbYes | platform::mbNo) != platform::mrYes)
        return;
    {
        platform::HourGlass busy;
        Table.DeleteRecords(first, last);
    }
    MajTitre();
    gridCurrentChanged();
}

void TwForm1::Touteffacer1Click()
{
    if (BoiteMessage(GetText(QStringLiteral("@17")), platform::mtConfirmation, platform::mbYes | platform::mbNo)
        != platform::mrYes)
        return;
    Table.EraseAll();
    // The card shows the emptied record, so that no stale edit writes old text back.
    gridCurrentChanged();
}

void TwForm1::CPlusBtnClick()
{
    if (!Table.AddField(GetText(QStringLiteral("@4")))) {
        platform::MessageDlg(GetText(QStringLiteral("@14")), platform::mtInformation, platform::mbOK);
        return;
    }
    applyWidths();
    wFiche->OrdreTabulation();
    gridCurrentChanged();
}

void TwForm1::CMoinsBtnClick()
{
    const auto [first, last] = SelectedCols();
    const QString question = GetText(first == last ? QStringLiteral("@15") : QStringLiteral("@16"));
    if (BoiteMessage(question, platform::mtConfirmation, platform::mbYes | platform::mbNo) != platform::mrYes)
        return;
    {
        platform::HourGlass busy;
        Table.DeleteFields(first, last);
    }
    applyWidths();
    gridCurrentChanged();
    wFiche->OrdreTabulation();
}

void TwForm1::RenameField(int col)
{
    QString name = Table.FieldName(col);
    if (platform::InputQuery(GetText(QStringLiteral("@12")), GetText(QStringLiteral("@13")), name)
        && Table.RenameField(col, name))
        AfficherFiche();
}

void TwForm1::FitFieldWidth(int col)
{
    const QFontMetrics metrics(ui->Grille->font());
    int widest = 0;
    for (int r = 1; r < Table.RowCount(); ++r)
        widest = std::max(widest, metrics.horizontalAdvance(Table.Grille.Cell(col, r)));
    Table.FitWidth(col, widest);
    applyWidths();
    AfficherFiche();
}

// --- Other commands ---

void TwForm1::SortBtnClick()
{
    Table.TriFait = false;
    TwFTri dialog(this);
    for (int c = 0; c < Table.ColCount(); ++c)
        dialog.ui->ComboBox->addItem(Table.FieldName(c));
    dialog.ui->ComboBox->setCurrentIndex(Table.ColonneTri >= 0 && Table.ColonneTri < Table.ColCount() ? Table.ColonneTri
                                                                                                    : 0);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int column = dialog.ui->ComboBox->currentIndex();
    Table.TriFait = true;
    Trier(column);
    Table.ColonneTri = column;
    Table.Modifie = true;
}

void TwForm1::Trier(int column)
{
    if (Table.NbFiches() < 2)
        return;
    {
        platform::HourGlass busy;
        Table.Sort(column);
    }
    GoTo(0, 1);
    AfficherFiche();
}

void TwForm1::FindBtnClick()
{
    platform::ShowInFront(wFind);
}

void TwForm1::Remplacer1Click()
{
    platform::ShowInFront(wReplace);
}

void TwForm1::FicheBtnClick()
{
    platform::ShowInFront(wFiche);
}

void TwForm1::ImportBtnClick()
{
    platform::TOpenDialog dialog;
    dialog.Title = GetText(QStringLiteral("@ImportTitle"));
    dialog.Filter = GetText(QStringLiteral("@ExchangeFilter"));
    dialog.FilterIndex = m_exchangeFilter;
    dialog.InitialDir = CheminAppli;
    dialog.Options = platform::ofFileMustExist | platform::ofPathMustExist;
    if (!dialog.Execute())
        return;
    m_exchangeFilter = dialog.FilterIndex;
    QList<QStringList> records;
    try {
        platform::HourGlass busy;
        records = addressbook::ReadExchangeRecords(platform::readFileBytes(dialog.FileName),
                                                   addressbook::SeparatorOfFilter(dialog.FilterIndex));
    } catch (const platform::Exception& e) {
        platform::MessageDlg(GetText(QStringLiteral("@NotImported")) + e.message(), platform::mtError, platform::mbOK);
        return;
    }
    if (records.isEmpty())
        return;
    QStringList titles;
    for (int c = 0; c < Table.ColCount(); ++c)
        titles << Table.FieldName(c);
    QList<int> links;
    if (!Associate || !Associate(titles, records, links))
        return;
    {
        platform::HourGlass busy;
        Table.Import(std::move(records), links);
    }
    SetCaptionHead(Table.NomFichier.isEmpty()
                       ? GetText(QStringLiteral("@3"))
                       : GetText(QStringLiteral("@7")) + CaptionFileName(Table.NomFichier) + QStringLiteral(" ("));
    gridCurrentChanged();
}

void TwForm1::ExportBtnClick()
{
    platform::TSaveDialog dialog;
    dialog.Title = GetText(QStringLiteral("@20"));
    dialog.Filter = GetText(QStringLiteral("@ExchangeFilter"));
    dialog.FilterIndex = m_exchangeFilter;
    dialog.InitialDir = CheminAppli;
    dialog.Options = platform::ofOverwritePrompt;
    const QString extension = addressbook::ExtensionOfFilter(m_exchangeFilter);
    dialog.FileName = Table.NomFichier.isEmpty() ? u'*' + extension
                                                 : addressbook::ExportFileName(Table.NomFichier, m_exchangeFilter);
    if (!dialog.Execute())
        return;
    m_exchangeFilter = dialog.FilterIndex;
    // The name written is the one whose overwrite was confirmed: a changed extension that names
    // another existing file is asked about again.
    const QString file = addressbook::ExportFileName(dialog.FileName, dialog.FilterIndex);
    if (file != dialog.FileName && QFileInfo::exists(file)
        && BoiteMessage(QFileInfo(file).fileName() + GetText(QStringLiteral("@Overwrite")), platform::mtConfirmation,
                        platform::mbYes | platform::mbNo)
               != platform::mrYes)
        return;
    try {
        platform::HourGlass busy;
        platform::writeFileAtomically(file, Table.ExportBytes(addressbook::SeparatorOfFilter(dialog.FilterIndex)));
    } catch (const platform::Exception& e) {
        platform::MessageDlg(GetText(QStringLiteral("@NotExported")) + e.message(), platform::mtError, platform::mbOK);
    }
}

void TwForm1::PrintBtnClick()
{
    if (Printer == nullptr || !RunPrintDialog)
        return;
    const platform::TSetupChoice choice = RunPrintDialog(this, true);
    if (!choice.Accepted)
        return;
    platform::TFontDialog fontDialog;
    fontDialog.Font = platform::fromDialogFont(ui->Grille->font(), platform::TFont());
    if (!fontDialog.Execute())
        return;
    platform::HourGlass busy;
    const bool selection = choice.Range == platform::prSelection;
    const auto [firstRow, lastRow] = selection ? SelectedRows() : std::pair(1, Table.RowCount() - 1);
    const auto [firstCol, lastCol] = selection ? SelectedCols() : std::pair(0, Table.ColCount() - 1);
    const QString title = windowTitle() + (selection ? GetText(QStringLiteral("@11")) : QString());
    const QStringList lines = TableListLines(Table, firstRow, lastRow, firstCol, lastCol, title);
    Printer->SetTitle(GetText(QStringLiteral("@7")));
    PrintListLines(lines, fontDialog.Font, *Printer, choice.Range);
}

void TwForm1::Aide1Click()
{
    if (ShowHelp)
        ShowHelp(4);
}

} // namespace database

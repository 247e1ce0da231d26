#include "TFiche.h"
#include "ui_TFiche.h"

#include "TFind.h"
#include "TListe.h"

#include "MultiLang/MLang.h"
#include "addressbook/CardPrint.h"
#include "addressbook/CardRules.h"
#include "addressbook/GridFind.h"
#include "design/Dates.h"
#include "platform/HourGlass.h"
#include "platform/TPrinter.h"
#include "platform/window/Application.h"
#include "platform/window/WindowPlace.h"
#include "shell/BoiteMessage.h"

#include <QDate>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStyle>

namespace addressbook {

TFiche::TFiche(TListe* liste, QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TFiche>()), Liste(liste)
{
    ui->setupUi(this);
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        ui->TabSet->addTab(QString(QChar(letter)));
    ui->TabSet->setShape(QTabBar::RoundedSouth);
    ui->TabSet->setExpanding(false);
    ui->TabSet->setUsesScrollButtons(false);
    ui->TabSet->setDrawBase(false);
    // The 26 letters share the card's width, as narrow tabs.
    ui->TabSet->setStyleSheet(QStringLiteral("QTabBar::tab { width: 13px; padding: 3px 2px; }"));
    ui->EtikBtn->hide();
    ui->CopyBtn->hide();
    m_edits = {ui->Nom, ui->Prenom, ui->Civil->lineEdit(), ui->Adresse1, ui->Adresse2, ui->CP, ui->Ville, ui->Pays,
               ui->Fonction, ui->Societe, ui->Tel, ui->Fax, ui->Notes, ui->Tel2, ui->Portable, ui->Internet};
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TFiche.txt"));
    MultiLang1->Loaded();
    ui->Notes->setToolTip(MultiLang1->GetText(QStringLiteral("@3")));
    ui->Civil->setCurrentIndex(-1);
    setIcons();
    connectEvents();
    Liste->SetFiche(this);
    RunPrintDialog = [] { return true; };
    ui->PrintBtn->setEnabled(false);
    platform::KeepWindowPlace(this);
}

TFiche::~TFiche() = default;

void TFiche::setIcons()
{
    const QStyle* s = style();
    ui->BeginBtn->setIcon(s->standardIcon(QStyle::SP_MediaSkipBackward));
    ui->RewBtn->setIcon(s->standardIcon(QStyle::SP_MediaSeekBackward));
    ui->FFBtn->setIcon(s->standardIcon(QStyle::SP_MediaSeekForward));
    ui->EndBtn->setIcon(s->standardIcon(QStyle::SP_MediaSkipForward));
    ui->PlusBtn->setIcon(s->standardIcon(QStyle::SP_FileIcon));
    ui->MoinsBtn->setIcon(s->standardIcon(QStyle::SP_TrashIcon));
    ui->PrintBtn->setIcon(QIcon::fromTheme(QStringLiteral("document-print"), s->standardIcon(QStyle::SP_ComputerIcon)));
    ui->SortBtn->setIcon(s->standardIcon(QStyle::SP_ArrowDown));
    ui->FindBtn->setIcon(s->standardIcon(QStyle::SP_FileDialogContentsView));
    ui->ImportBtn->setIcon(s->standardIcon(QStyle::SP_DialogOpenButton));
    ui->ExportBtn->setIcon(s->standardIcon(QStyle::SP_DialogSaveButton));
    ui->EtikBtn->setIcon(s->standardIcon(QStyle::SP_FileDialogListView));
}

void TFiche::connectEvents()
{
    const auto run = [this](auto handler) {
        return [this, handler] { platform::runReportingErrors([this, handler] { (this->*handler)(); }); };
    };
    for (int column = 0; column < 16; ++column)
        connect(m_edits[static_cast<size_t>(column)], &QLineEdit::textChanged, this,
                [this, column] { platform::runReportingErrors([this, column] { ModifieListe(column); }); });
    connect(ui->BeginBtn, &QToolButton::clicked, this, run(&TFiche::BeginBtnClick));
    connect(ui->EndBtn, &QToolButton::clicked, this, run(&TFiche::EndBtnClick));
    connect(ui->FFBtn, &QToolButton::clicked, this, run(&TFiche::FFBtnClick));
    connect(ui->RewBtn, &QToolButton::clicked, this, run(&TFiche::RewBtnClick));
    connect(ui->TabSet, &QTabBar::currentChanged, this,
            [this](int index) { platform::runReportingErrors([this, index] { TabSetChange(index); }); });
    connect(ui->PlusBtn, &QToolButton::clicked, this, [this] { platform::runReportingErrors([this] { Liste->Ajouter1Click(); }); });
    connect(ui->MoinsBtn, &QToolButton::clicked, this, run(&TFiche::MoinsBtnClick));
    connect(ui->SortBtn, &QToolButton::clicked, this, [this] { platform::runReportingErrors([this] { Liste->SortBtnClick(); }); });
    connect(ui->FindBtn, &QToolButton::clicked, this, [this] { platform::runReportingErrors([this] { Liste->FindBtnClick(); }); });
    connect(ui->ImportBtn, &QToolButton::clicked, this, [this] { platform::runReportingErrors([this] { Liste->Importer1Click(); }); });
    connect(ui->ExportBtn, &QToolButton::clicked, this, [this] { platform::runReportingErrors([this] { Liste->Exporter1Click(); }); });
    connect(ui->PrintBtn, &QToolButton::clicked, this, run(&TFiche::PrintBtnClick));
    connect(ui->CloseBtn, &QPushButton::clicked, this, &QDialog::accept);
    ui->Notes->installEventFilter(this);
}

QLineEdit* TFiche::FieldEdit(int column) const
{
    return column >= 0 && column < 16 ? m_edits[static_cast<size_t>(column)] : nullptr;
}

void TFiche::ShowEntry(int row, int count, const QString& caption)
{
    m_row = row;
    setWindowTitle(caption);
    for (int column = 0; column < 16; ++column) {
        QLineEdit* edit = m_edits[static_cast<size_t>(column)];
        const QSignalBlocker quiet(edit);
        edit->setText(Liste->Grille().Cell(column, row));
    }
    const QString name = Liste->Grille().Cell(Nom, row);
    m_nameLetter = LetterOf(name);
    ChoisirOnglet(name);
    ui->BeginBtn->setEnabled(row > 1);
    ui->RewBtn->setEnabled(row > 1);
    ui->FFBtn->setEnabled(row < count);
    ui->EndBtn->setEnabled(row < count);
}

void TFiche::ModifieListe(int column)
{
    QLineEdit* edit = m_edits[static_cast<size_t>(column)];
    QString text = edit->text();
    if (text.contains(u'\r') || text.contains(u'\n')) {
        // A pasted line break would shift the book's file: the field keeps one line.
        const int caret = edit->cursorPosition();
        const QSignalBlocker quiet(edit);
        text = SingleLine(text);
        edit->setText(text);
        edit->setCursorPosition(std::min<int>(caret, static_cast<int>(text.size())));
    }
    Liste->Book.ModifierCellule(column, m_row, text);
    if (column != Nom)
        return;
    // A tab is refreshed whenever the first letter of a name changes, not only when the name
    // is emptied: renaming the only Q name would otherwise leave tab Q showing.
    const int letter = LetterOf(text);
    if (letter != m_nameLetter) {
        m_nameLetter = letter;
        MajOnglets();
    }
    ChoisirOnglet(text);
}

void TFiche::MajOnglets()
{
    platform::HourGlass busy;
    const std::array<bool, 26> used = LettersInUse(Liste->Grille());
    for (int l = 0; l < 26; ++l)
        ui->TabSet->setTabText(l, used[static_cast<size_t>(l)] ? QString(QChar(u'A' + l)) : QString());
}

void TFiche::ChoisirOnglet(const QString& name)
{
    MajOngletEnCours = true;
    const int letter = name.isEmpty() ? 0 : LetterOf(name);
    if (letter >= 0) {
        ui->TabSet->setCurrentIndex(letter);
        m_tab = letter;
        if (!name.isEmpty())
            ui->TabSet->setTabText(letter, QString(QChar(u'A' + letter)));
    }
    MajOngletEnCours = false;
}

void TFiche::BeginBtnClick()
{
    Liste->Grille().SetCol(0);
    Liste->Grille().SetRow(1);
}

void TFiche::EndBtnClick()
{
    Liste->Grille().SetCol(0);
    Liste->Grille().SetRow(Liste->Book.LastRow());
}

void TFiche::FFBtnClick()
{
    Liste->Grille().SetRow(NextEntryRow(Liste->Grille(), m_row, ui->TabSet->currentIndex()));
}

void TFiche::RewBtnClick()
{
    Liste->Grille().SetRow(PreviousEntryRow(Liste->Grille(), m_row, ui->TabSet->currentIndex()));
}

void TFiche::TabSetChange(int index)
{
    if (MajOngletEnCours)
        return;
    const int row = FirstRowOfLetter(Liste->Grille(), index);
    if (row < 0) {
        // No name under this letter: the tab change is refused.
        MajOngletEnCours = true;
        ui->TabSet->setCurrentIndex(m_tab);
        MajOngletEnCours = false;
        return;
    }
    m_tab = index;
    Liste->Grille().SetRow(row);
}

void TFiche::MoinsBtnClick()
{
    if (BoiteMessage(MultiLang1->GetText(QStringLiteral("@1")), platform::mtConfirmation, platform::mbYes | platform::mbNo)
        != platform::mrYes)
        return;
    Liste->Enlever1Click(m_row, m_row);
}

void TFiche::NotesKeyDown()
{
    const TDateInsertion d =
        InsertDate(ui->Notes->text(), ui->Notes->cursorPosition(), design::ShortDateString(QDate::currentDate()));
    ui->Notes->setText(d.Text);
    ui->Notes->setCursorPosition(d.Caret);
}

void TFiche::PrintBtnClick()
{
    if (Printer == nullptr || !RunPrintDialog || !RunPrintDialog())
        return;
    Printer->SetTitle(platform::Application::Title() + MultiLang1->GetText(QStringLiteral("@2")));
    QImage image;
    {
        // The card's picture without its buttons and tabs.
        ui->Panel1->hide();
        ui->TabSet->hide();
        image = grab().toImage();
        ui->Panel1->show();
        ui->TabSet->show();
    }
    platform::HourGlass busy;
    PrintCardImage(image, logicalDpiX(), *Printer);
}

void TFiche::HighlightText(const QString& needle)
{
    for (int column : {Civil, Prenom, Nom, Societe, Fonction, Adresse1, Adresse2, CP, Ville, Pays, Tel, Tel2, Portable, Fax,
                       Internet, Notes}) {
        QLineEdit* edit = m_edits[static_cast<size_t>(column)];
        const qsizetype at = UpperAscii(edit->text()).indexOf(needle);
        if (at < 0)
            continue;
        // The combo box shows the text selected without taking the focus. The card is not
        // raised: the find dialog that asked stays above it, its Next button in reach.
        if (column != Civil)
            edit->setFocus();
        edit->setSelection(static_cast<int>(at), static_cast<int>(needle.size()));
    }
}

void TFiche::done(int r)
{
    Liste->CloseFind();
    if (Closed)
        Closed();
    QDialog::done(r);
}

void TFiche::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    ui->PrintBtn->setEnabled(Printer != nullptr);
    platform::runReportingErrors([this] {
        Liste->AfficherFiche();
        MajOnglets();
    });
}

bool TFiche::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->Notes && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F12) {
        platform::runReportingErrors([this] { NotesKeyDown(); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace addressbook

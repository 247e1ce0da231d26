#include "TFormat.h"

#include "PrevisPort.h"

#include "MultiLang/MLang.h"
#include "platform/Paths.h"
#include "platform/TIniFile.h"
#include "platform/TStringGrid.h"
#include "platform/window/Application.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>

namespace station {

namespace {

// Fixed layout in pixels: the station places Cancel right under OK (top 42), the wizard at the
// top (8), so the buttons keep absolute positions.
constexpr int LargeurFenetre = 424;
constexpr int HauteurFenetre = 300;
constexpr int XBoutons = 304;
constexpr int LargeurBouton = 112;
constexpr int HauteurBouton = 26;
constexpr int HautCancelDialogue = 42;
constexpr int HautCancelAssistant = 8;

QPushButton* bouton(QWidget* parent, const char* name, const QString& text, int top)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    b->setGeometry(XBoutons, top, LargeurBouton, HauteurBouton);
    return b;
}

QLabel* etiquette(QWidget* parent, const char* name, const QString& text, const QRect& r)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(r);
    return l;
}

} // namespace

TFormat::TFormat(QWidget* parent) : TFormat(parent, platform::programFolder(), platform::settingsFilePath()) {}

TFormat::TFormat(QWidget* parent, const QString& dossier, const QString& fichierIni) : QDialog(parent)
{
    construire();
    traduire();
    charger(dossier, fichierIni);
}

TFormat::~TFormat() = default;

void TFormat::construire()
{
    setObjectName(QStringLiteral("Format"));
    // The design-time texts are the French ones; the table switches them to the active language.
    setWindowTitle(QStringLiteral("Format des étiquettes"));
    setFixedSize(LargeurFenetre, HauteurFenetre);

    Label1 = etiquette(this, "Label1", QStringLiteral("Famille :"), QRect(8, 8, 288, 16));
    ComboBox = new QComboBox(this);
    ComboBox->setObjectName(QStringLiteral("ComboBox"));
    ComboBox->setGeometry(8, 26, 288, 26);
    Label3 = etiquette(this, "Label3", QStringLiteral("Formats :"), QRect(8, 58, 288, 16));
    ListBox = new QListWidget(this);
    ListBox->setObjectName(QStringLiteral("ListBox"));
    ListBox->setGeometry(8, 76, 288, 164);
    Label4 = etiquette(this, "Label4", QStringLiteral("Papier :"), QRect(8, 246, 80, 18));
    Label2 = etiquette(this, "Label2", QString(), QRect(90, 246, 206, 18));
    Label5 = etiquette(this, "Label5", QStringLiteral("L'unité de mesure est le millimètre"),
                       QRect(8, 272, 408, 18));

    OKBtn = bouton(this, "OKBtn", QStringLiteral("OK"), 8);
    CancelBtn = bouton(this, "CancelBtn", QStringLiteral("Annuler"), HautCancelDialogue);
    NewBtn = bouton(this, "NewBtn", QStringLiteral("Créer"), 84);
    ModifBtn = bouton(this, "ModifBtn", QStringLiteral("Modifier"), 116);
    DeleteBtn = bouton(this, "DeleteBtn", QStringLiteral("Supprimer"), 148);
    BitBtn1 = bouton(this, "BitBtn1", QStringLiteral("&Prévisualisation"), 180);
    BitBtn2 = bouton(this, "BitBtn2", QStringLiteral("<&Précédent"), 214);
    BitBtn3 = bouton(this, "BitBtn3", QStringLiteral("&Suivant>"), 246);
    OKBtn->setDefault(true);

    // activated and currentRowChanged come from the user; the window's own selections are made
    // with signals blocked and call ListBoxClick themselves, as the handlers did. A bad cell met
    // while handling a user action shows the error box there instead of unwinding through the
    // list's own code.
    const auto sur = [this](auto* emetteur, auto signal, void (TFormat::*handler)()) {
        connect(emetteur, signal, this, [this, handler] {
            platform::runReportingErrors([this, handler] { (this->*handler)(); });
        });
    };
    sur(ComboBox, &QComboBox::activated, &TFormat::ComboBoxChange);
    sur(ListBox, &QListWidget::currentRowChanged, &TFormat::ListBoxClick);
    sur(ListBox, &QListWidget::itemDoubleClicked, &TFormat::ListBoxDblClick);
    sur(NewBtn, &QPushButton::clicked, &TFormat::NewBtnClick);
    sur(ModifBtn, &QPushButton::clicked, &TFormat::ModifBtnClick);
    sur(DeleteBtn, &QPushButton::clicked, &TFormat::DeleteBtnClick);
    sur(BitBtn1, &QPushButton::clicked, &TFormat::BitBtn1Click);
    sur(BitBtn2, &QPushButton::clicked, &TFormat::BitBtn2Click);
    sur(BitBtn3, &QPushButton::clicked, &TFormat::BitBtn3Click);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    ModeDialogue();
    BitBtn1->setEnabled(false);
}

void TFormat::traduire()
{
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TFormat.txt"));
    MultiLang1->Loaded();
}

void TFormat::charger(const QString& dossier, const QString& fichierIni)
{
    const QStringList erreurs = m_familles.Charger(dossier, GetText(QStringLiteral("@4")));
    if (!erreurs.isEmpty())
        platform::Application::ShowError(erreurs.join(u'\n'));

    {
        const QSignalBlocker bloque(ComboBox);
        ComboBox->clear();
        for (int n = 0; n < m_familles.Count(); ++n)
            ComboBox->addItem(m_familles.Famille(n).Nom);
    }
    const TDernierFormat dernier = LireDernierFormat(platform::TIniFile(fichierIni));
    {
        const QSignalBlocker bloque(ComboBox);
        ComboBox->setCurrentIndex(IndexValide(dernier.Famille, ComboBox->count()));
    }
    ActiverBoutons();
    RemplirListeFormats();
    selectionnerFormat(IndexValide(dernier.Format, ListBox->count()));
}

QString TFormat::GetText(const QString& key) const
{
    return MultiLang1 != nullptr ? MultiLang1->GetText(key) : key;
}

TNomsPapier TFormat::NomsPapier() const
{
    TNomsPapier n;
    n.Paravent12 = GetText(QStringLiteral("@1"));
    n.Paravent6 = GetText(QStringLiteral("@2"));
    n.Rouleau = GetText(QStringLiteral("@3"));
    n.FormatParDefaut = GetText(QStringLiteral("@4"));
    return n;
}

TTypePapier TFormat::TypePapier(const QString& nom) const
{
    return station::TypePapier(nom, NomsPapier());
}

QString TFormat::NomPapier(TTypePapier type) const
{
    return station::NomPapier(type, NomsPapier());
}

QString TFormat::NomPapierFormat(const QString& nom) const
{
    return NomPapier(TypePapier(nom));
}

int TFormat::LargeurPage(const QString& nom, int largeurEtiquette, int colonnes, int ecartHorizontal) const
{
    return station::LargeurPage(nom, largeurEtiquette, colonnes, ecartHorizontal, NomsPapier());
}

int TFormat::HauteurPage(const QString& nom, int hauteurEtiquette) const
{
    return station::HauteurPage(nom, hauteurEtiquette, NomsPapier());
}

QString TFormat::CalculerMarge(const QString& valeur, TDirectionMarge direction) const
{
    return station::CalculerMarge(valeur, direction, LigneSelectionnee(), NomsPapier());
}

platform::TStringGrid* TFormat::GrilleCourante() const
{
    return m_familles.Grille(IndexValide(ComboBox->currentIndex(), m_familles.Count()));
}

TLigneFormat TFormat::LigneSelectionnee() const
{
    const platform::TStringGrid* grille = GrilleCourante();
    const int row = ListBox->currentRow();
    if (grille == nullptr || row < 0)
        return {};
    return TLigneFormat::DeGrille(*grille, row);
}

void TFormat::MettreFormatParDefaut(platform::TStringGrid& grille) const
{
    station::MettreFormatParDefaut(grille, GetText(QStringLiteral("@4")));
}

void TFormat::LireFamilleFormats(const QString& path, platform::TStringGrid& grille) const
{
    station::LireFamilleFormats(path, grille, GetText(QStringLiteral("@4")));
}

void TFormat::RemplirListeFormats()
{
    const QSignalBlocker bloque(ListBox);
    ListBox->clear();
    if (const platform::TStringGrid* grille = GrilleCourante())
        for (int r = 0; r < grille->RowCount(); ++r)
            ListBox->addItem(grille->Cell(cfNom, r));
}

bool TFormat::famillePersoChoisie() const
{
    return m_familles.Count() > 0 && ComboBox->currentIndex() == m_familles.IndexPerso();
}

void TFormat::ActiverBoutons()
{
    const bool perso = famillePersoChoisie();
    NewBtn->setEnabled(perso && m_editeur != nullptr);
    ModifBtn->setEnabled(perso && m_editeur != nullptr);
    DeleteBtn->setEnabled(perso);
}

void TFormat::selectionnerFormat(int index)
{
    {
        const QSignalBlocker bloque(ListBox);
        ListBox->setCurrentRow(index);
    }
    ListBoxClick();
}

void TFormat::Previsualiser()
{
    if (m_previs == nullptr)
        return;
    const TLigneFormat ligne = LigneSelectionnee();
    const TApercuPlanche apercu = RemplirApercu(ligne, NomsPapier());
    m_previs->Remplir(apercu, GetText(QStringLiteral("@9")) + ligne.Nom());
}

void TFormat::ComboBoxChange()
{
    ActiverBoutons();
    RemplirListeFormats();
    selectionnerFormat(0);
}

void TFormat::ListBoxClick()
{
    const QListWidgetItem* item = ListBox->currentItem();
    Label2->setText(NomPapierFormat(item != nullptr ? item->text() : QString()));
    if (m_previs != nullptr && m_previs->EstVisible())
        Previsualiser();
}

void TFormat::ListBoxDblClick()
{
    ModifBtnClick();
}

void TFormat::NewBtnClick()
{
    if (NewBtn->isEnabled() && m_editeur)
        m_editeur(true);
}

void TFormat::ModifBtnClick()
{
    if (ModifBtn->isEnabled() && m_editeur)
        m_editeur(false);
}

void TFormat::DeleteBtnClick()
{
    // Only the custom family may lose formats, whoever calls.
    platform::TStringGrid* grille = GrilleCourante();
    if (!famillePersoChoisie() || grille == nullptr)
        return;
    const int suivant = SupprimerFormat(*grille, ListBox->currentRow(), GetText(QStringLiteral("@4")));
    RemplirListeFormats();
    selectionnerFormat(suivant);
}

void TFormat::BitBtn1Click()
{
    if (m_previs == nullptr)
        return;
    m_previs->SetChoixDepart(false);
    Previsualiser();
    m_previs->Montrer();
}

void TFormat::BitBtn2Click()
{
    done(QDialog::Accepted);
    emit Precedent();
}

void TFormat::BitBtn3Click()
{
    done(QDialog::Accepted);
    emit Suivant();
}

void TFormat::ModeDialogue()
{
    BitBtn2->hide();
    BitBtn3->hide();
    OKBtn->show();
    CancelBtn->move(XBoutons, HautCancelDialogue);
}

void TFormat::ModeAssistant()
{
    BitBtn2->show();
    BitBtn3->show();
    OKBtn->hide();
    CancelBtn->move(XBoutons, HautCancelAssistant);
}

QStringList TFormat::EnregistrerFamilles() const
{
    return m_familles.Ecrire();
}

void TFormat::EcrireDernierFormat(platform::TIniFile& ini) const
{
    station::EcrireDernierFormat(ini, {ComboBox->currentIndex(), ListBox->currentRow()});
}

void TFormat::SetPrevis(TPrevisPort* previs)
{
    m_previs = previs;
    BitBtn1->setEnabled(m_previs != nullptr);
}

void TFormat::SetEditeur(std::function<void(bool)> editeur)
{
    m_editeur = std::move(editeur);
    ActiverBoutons();
}

void TFormat::done(int r)
{
    if (m_previs != nullptr && m_previs->EstVisible())
        m_previs->Fermer();
    QDialog::done(r);
    if (r == QDialog::Rejected)
        emit Annule();
}

void TFormat::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    platform::runReportingErrors([this] { ListBoxClick(); });
}

} // namespace station

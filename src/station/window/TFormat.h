#pragma once

#include "station/FormatFamilies.h"
#include "station/SheetFormat.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class TMultiLang;

namespace platform {
class TIniFile;
class TStringGrid;
}

namespace station {

class TPrevisPort;

// The format window: lists the sheet-format families and their formats, holds every family in
// memory from start to exit, and answers the page-geometry questions of the station, the sheet
// page, the print loop, the preview and the mailing for the selected format. The station shows
// it as a modal dialog; the mailing shows it as a wizard step.
class TFormat : public QDialog {
    Q_OBJECT
public:
    // Reads every family of `dossier` and the remembered selection from `fichierIni`.
    explicit TFormat(QWidget* parent, const QString& dossier, const QString& fichierIni);
    explicit TFormat(QWidget* parent = nullptr);
    ~TFormat() override;

    TMultiLang* MultiLang1 = nullptr;

    QComboBox* ComboBox = nullptr;  // families
    QListWidget* ListBox = nullptr; // formats of the selected family
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr; // paper of the selected format
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr; // the length unit
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* NewBtn = nullptr;
    QPushButton* ModifBtn = nullptr;
    QPushButton* DeleteBtn = nullptr;
    QPushButton* BitBtn1 = nullptr; // preview
    QPushButton* BitBtn2 = nullptr; // wizard: previous
    QPushButton* BitBtn3 = nullptr; // wizard: next

    // Run-time texts of the window's table in the active language.
    QString GetText(const QString& key) const;
    TNomsPapier NomsPapier() const;

    TTypePapier TypePapier(const QString& nom) const;
    QString NomPapier(TTypePapier type) const;
    QString NomPapierFormat(const QString& nom) const;
    int LargeurPage(const QString& nom, int largeurEtiquette, int colonnes, int ecartHorizontal) const;
    int HauteurPage(const QString& nom, int hauteurEtiquette) const;
    // The margin of the selected format: `valeur` itself, or the centring margin for "99999".
    QString CalculerMarge(const QString& valeur, TDirectionMarge direction) const;

    // The family grids, "Grille0", "Grille1", ... in family-list order.
    int NbFamilles() const { return m_familles.Count(); }
    platform::TStringGrid* Grille(int famille) const { return m_familles.Grille(famille); }
    const TFamillesFormats& Familles() const { return m_familles; }
    // The grid of the family selected in the family list.
    platform::TStringGrid* GrilleCourante() const;
    // The row of the current grid at the format list's selected index.
    TLigneFormat LigneSelectionnee() const;

    void MettreFormatParDefaut(platform::TStringGrid& grille) const;
    void LireFamilleFormats(const QString& path, platform::TStringGrid& grille) const;
    void RemplirListeFormats();
    void ActiverBoutons();
    void Previsualiser();

    void ComboBoxChange();
    void ListBoxClick();
    void ListBoxDblClick();
    void NewBtnClick();
    void ModifBtnClick();
    void DeleteBtnClick();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();

    // Button dress: the station's modal dialog (OK and Cancel) or the mailing's wizard step.
    void ModeDialogue();
    void ModeAssistant();

    // Writes every family to its file; returns one message per family that could not be written.
    QStringList EnregistrerFamilles() const;
    // The "Dernier format" section of the settings file, from the two lists' selections.
    void EcrireDernierFormat(platform::TIniFile& ini) const;

    // The sheet preview, owned elsewhere; none disables the preview button.
    void SetPrevis(TPrevisPort* previs);
    // The format editor: called with true to create a format, false to change the selected one.
    // Until one is given, Create and Modify stay disabled.
    void SetEditeur(std::function<void(bool creer)> editeur);

signals:
    void Precedent();
    void Suivant();
    // Every way out that is not OK or a wizard step: the mailing enables its button again.
    void Annule();

public slots:
    void done(int r) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void construire();
    void traduire();
    void charger(const QString& dossier, const QString& fichierIni);
    void selectionnerFormat(int index);
    bool famillePersoChoisie() const;

    TFamillesFormats m_familles;
    TPrevisPort* m_previs = nullptr;
    std::function<void(bool)> m_editeur;
};

} // namespace station

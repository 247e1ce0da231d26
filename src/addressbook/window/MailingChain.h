#pragma once

#include "addressbook/MailingLayout.h"
#include "addressbook/MailingPrint.h"

#include <QObject>
#include <QPointer>

#include <functional>

namespace platform {
class TPrinter;
class TStringGrid;
}

namespace station {
class TModEtik;
}

namespace addressbook {

class TChoix;
class TChoixEtik;
class TIMail;

// The mailing as the record card runs it: the chain of dialogs (records, then the sheet format
// or the design, then the options), the mailing fields they compute and the print and preview.
// The dialogs are made with the chain, stay until the end of the run and show one at a time;
// every way out of the chain gives the card its mailing button back.
class TMailingChain : public QObject {
    Q_OBJECT
public:
    explicit TMailingChain(station::TModEtik& station);
    ~TMailingChain() override;

    station::TModEtik& Station;
    TChoix* Choix() const;
    TChoixEtik* ChoixEtik() const;
    TIMail* IMail() const;

    // The mailing fields.
    int ChoixAssistant = 2; // 2 address labels, 3 and 4 designs
    platform::TStringGrid* Grille = nullptr;
    bool Database = false;
    TMailingSelection Selection;
    TMailingLayout Layout;
    // Pixels per inch of the card window.
    int Ppi = 96;

    // The card's mailing button, enabled again when the chain ends.
    std::function<void(bool enabled)> EnableEtikBtn;
    // The sort dialog of the merge source; true when a sort was made.
    std::function<bool()> TrierSource;
    // The printer of the mailing (the station's unless given).
    std::function<platform::TPrinter&()> PrinterSource;
    // Shows the preview modally (tests answer in its place).
    std::function<void(QDialog&)> ShowPreview;

    // Starts the chain on a merge grid for a wizard choice.
    void EtikBtnClick(int choice, platform::TStringGrid* grid, bool database);
    void RemplirChoix();
    void MarquerSelection();
    // The layout from the sheet format of the choice; false (with the message shown) for a
    // format that cannot hold labels.
    bool CalculerMiseEnPage();
    void MajMessagePlanches();
    // What the print and the preview take from the chain.
    TMailingJob Job() const;
    void ImprimerMailing();
    void Previsualiser();
    void PremiereEtiquette();
    // The options' settings ([Options] "Cadre", [Police]) into the settings file, at exit; the
    // failure's message, if any.
    QStringList WriteSettings() const;
    // Closing the card closes every dialog of the chain.
    void FermerTout();

private:
    void finish();
    void showChoix();
    void afterChoix();
    void showModelChoice();
    void showOptions();
    void formatPrevious();
    void formatNext();
    void formatCancelled();
    design::TCurrentFormat currentFormat() const;
    station::TTypePapier paper() const;
    QSize pageSize() const;

    QPointer<TChoix> m_choix;
    QPointer<TChoixEtik> m_choixEtik;
    QPointer<TIMail> m_imail;
    bool m_formatStep = false;
};

} // namespace addressbook

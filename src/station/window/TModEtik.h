#pragma once

#include "station/SheetPrint.h"
#include "station/Station.h"

#include <QMainWindow>
#include <QPointer>
#include <QUrl>

#include <functional>
#include <memory>

class QDrag;
class QMouseEvent;
class TMultiLang;
class TNumAuto;

namespace platform {
class QtPrinter;
class TStringGrid;
}

namespace database {
class DbTable;
}

namespace design {
struct MergeSource;
}

namespace Ui {
class TModEtik;
}

namespace station {

class TAssistant;
class TFormat;
class TPrevis;

// The control station: the program's main window. It lists the label designs of "perso" with
// their sizes and the selected one's thumbnail, switches the merge source, adopts a sheet format
// for a new design and starts the other windows. It reads its settings when it starts (FormCreate)
// and writes the whole settings file, the sheet families and the open database when it closes.
class TModEtik : public QMainWindow {
    Q_OBJECT
public:
    // `folders` says where files are read and written; `settingsFile` is the settings file wanted
    // (in a read-only program folder, a copy in the writable folder is used instead).
    TModEtik(const TStationFolders& folders, const QString& settingsFile, QWidget* parent = nullptr);
    // The program folder as the launcher knows it; the per-user data folder takes the writes when
    // it cannot be written.
    TModEtik(const QString& programFolder, const QString& settingsFile, QWidget* parent = nullptr);
    ~TModEtik() override;

    const std::unique_ptr<Ui::TModEtik> ui;
    TMultiLang* MultiLang1 = nullptr;
    TStation Station;

    // The creation work, before any other window is created: folders, settings, English for every
    // window from now on, the caption. Safe to call once only.
    void FormCreate();
    // The exit (also run by closing the window): returns the failures, already shown together.
    QStringList FormClose();

    // Program-wide paths and state read by the other windows.
    QString CheminAppli;
    QString FichierIni;
    QString CheminExemples;
    QString CheminImagesPerso;
    double EchellePage = 0;
    bool PremiereFois = true;
    bool& Paysage() { return Station.CurrentFormat.Paysage; }
    QString FichierAide;

    // The other windows, as they come: the format window and the numbering dialog are made by the
    // station when nobody gave them.
    void SetFormatWindow(TFormat* format);
    TFormat* FormatWindow();
    // The sheet preview, made with the station; the format window shows its formats in it.
    TPrevis* PrevisWindow();
    void SetNumAuto(TNumAuto* numAuto);
    TNumAuto* NumAutoWindow();

    // What the design window will answer; until it exists, any design may be left.
    std::function<bool()> ConfirmSave = [] { return true; };
    // Shows the design window on the designer's model (new and edit model); while none is given
    // those commands stay disabled.
    std::function<void()> ShowDesigner;
    // Shows the live preview of the selected design; while none is given the preview commands
    // stay disabled (EnablePreviewCommands follows it).
    std::function<void()> ShowPreview;
    // The menu and the tool bar, on the screen: what a tool window opened from here leaves clear.
    QRect CommandsArea() const;
    void EnablePreviewCommands();
    // The design window's format command: the format window as a dialog on the designer's format
    // (found in the families, or added to the custom family under `unlistedName`); true on OK, with
    // the row chosen and the paper names.
    bool ChooseDesignFormat(const QString& unlistedName, TLigneFormat& row, TPaperNames& names);
    // Shows the address-book card modally; the first start's welcome leads to it, so the
    // welcome waits (and the first start stays first) until the card is there.
    std::function<void()> ShowAddressCard;
    // The address book's grid, once the book exists: the merge source while the switch is up,
    // read in place (its current row is the record the thumbnail shows).
    const platform::TStringGrid* AddressBookGrid = nullptr;
    // Writes the address book's settings keys and file at exit, after the station's own pass;
    // answers the failures.
    std::function<QStringList()> SaveAddressBook;
    // The address-book commands follow ShowAddressCard: enabled once it is given.
    void EnableAddressBookCommands();
    // The address-book command: the book becomes the merge source, then its card is shown.
    void FicheBtnClick();
    // The active database and the command showing its window: the database commands are
    // enabled once they are given. The table is the merge source while the switch is down and is
    // saved at exit when it has a file.
    void SetDatabase(database::DbTable* table, std::function<void()> show);
    database::DbTable* Database() const { return m_database; }
    void BddBtnClick();
    // What labels are merged with now, and the record they show.
    design::MergeSource MergeSource() const;
    int MergeRow() const;
    // Opens the help page of a context.
    void ShowHelpContext(int context);
    // The program's printer, shared by every print and the printer setup.
    platform::QtPrinter& Printer();
    // Runs the printer setup dialog on Printer(); true when confirmed. Tests answer in its place.
    std::function<bool()> RunPrinterSetup;
    // Opens a help page; tests answer in place of the browser.
    static std::function<bool(const QUrl&)>& OpenUrlHook();

    QString GetText(const QString& key) const;

    void RemplirListeModeles();
    // After the designer saved `path`: the list is rebuilt, the saved design's line selected
    // (else the line that was), and the selection handler reads that design into the designer.
    void RefreshAfterDesignSave(const QString& path);
    void ListBoxClick();
    bool ChargerModele(const QString& path) { return Station.ChargerModele(path); }
    void ChargerVignette(const QString& path);
    void DessinerVignette();
    void SwitchBtnClick();
    void MajBulleRepertoire();
    // The address book's current record moved, or was edited in its card: the thumbnail (once
    // the first start is over and while it shows) and the hint show the record as it now is.
    void AddressRecordChanged();
    void MajBullesFusion();
    void MajTitre();
    // The selected model may join the page (asking to clear it when its format differs);
    // false for a name that is not the selected model's.
    bool FormatCompatible(const QString& modelName);
    void DessinerPage();
    void ClearPageBtnClick();
    void FillBtnClick();
    void ActiverPage();
    void DesactiverPage();
    // Drags of a model from the list and of a placed model within the page carry these types.
    static const QString ModelMime;
    static const QString CellMime;
    // Runs a drag; tests answer in place of the platform's drag loop.
    static std::function<void(QDrag&)>& DragHook();

    // Commands.
    void NouveauModele();
    void SupprimerModele();
    void ModifierModele();
    void ChoisirSourceFusion(bool database);
    void NumerotationClick();
    void AideClick();
    void AProposClick();
    // The print of the sheet page through the print dialog.
    void PrintBtnClick();
    // The station's printer setup: portrait before and after the dialog, the model reselected.
    void ConfigBtnClick();
    // The print dialog's printer setup: the same, landscape dropped and a changed design saved.
    void PrintDialSetupClick();
    // The printing wizard: the page's print, or a mailing started through StartMailing once the
    // merge source is the one the choice reads (2 and 3 the address book, 4 the database).
    void AssistantClick();
    TAssistant* AssistantWindow();
    // Starts the mailing chain for wizard choice 2, 3 or 4; until it is given, the wizard offers
    // the page only.
    std::function<void(int choice)> StartMailing;
    // The database can feed a mailing (choice 4).
    bool DatabaseMailing = false;
    // The print commands follow the page: enabled while a cell is filled.
    void EnablePrintCommands();
    // What a print and the print dialog's picture take from the station.
    TSheetPrintOptions PrintOptions();

    bool DatabaseIsSource() const;

    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectEvents();
    void setIcons();
    void showSwitchGlyph(bool database);
    void firstShow();
    void enableModelCommands();
    // Fills the list from the station's models and selects `row` (held to the last line), quietly:
    // the caller reselects.
    void showModels(int row);
    void layoutProportionally();
    void drawPage();
    void pageMouseDown(QMouseEvent* event);
    bool pageDragEvent(QEvent* event);
    void afterPageChange();
    void startDrag(const QString& mime, const QString& text);
    QPoint pagePoint(QPointF widgetPos) const;
    QPoint m_listPress{-1, -1};
    THintTexts hintTexts() const;
    void showListErrors(const QStringList& errors);
    TPrinterInfo printerInfo();

    database::DbTable* m_database = nullptr;
    std::function<void()> m_showDatabase;
    QPointer<TFormat> m_format;
    QPointer<TPrevis> m_previs;
    QPointer<TAssistant> m_assistant;
    QPointer<TNumAuto> m_numAuto;
    std::unique_ptr<platform::QtPrinter> m_printer;
    bool m_created = false;
    bool m_shown = false;
    bool m_closing = false;
    bool m_exitDone = false;
    bool m_sizing = false;
    QSize m_lastSize{640, 480};
};

} // namespace station

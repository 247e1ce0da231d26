#pragma once

#include "database/DbTable.h"

#include <QDate>
#include <QMainWindow>

#include <functional>
#include <memory>

class TMultiLang;

namespace platform {
class TPrinter;
struct TSetupChoice;
}

namespace Ui {
class TwForm1;
}

namespace database {

class TwFiche;
class TwFind;
class TwReplace;
class TRecordsModel;

// The database window: the active table in a grid, its file, record and field commands, sort,
// import and export. It lives for the whole run (closing only hides it) and its table is the
// merge source while the station's switch is down. The card and the find and replace dialogs
// belong to it.
class TwForm1 : public QMainWindow {
    Q_OBJECT
public:
    // Reads its settings (and the card's) from `settingsFile`; `programFolder` is where the file
    // dialogs open.
    TwForm1(const QString& settingsFile, const QString& programFolder, QWidget* parent = nullptr);
    ~TwForm1() override;

    const std::unique_ptr<Ui::TwForm1> ui;
    TMultiLang* MultiLang1 = nullptr;
    DbTable Table;
    TwFiche* wFiche = nullptr;
    TwFind* wFind = nullptr;
    TwReplace* wReplace = nullptr;
    QString FichierIni;
    QString CheminAppli;
    bool EnFermeture = false;

    // Hooks of the windows around: the station's thumbnail and hints and the live preview follow
    // the current record; closing shows the station again; help opens a page by its context.
    std::function<void()> OnRecordShown;
    std::function<void()> OnClosed;
    std::function<void(int context)> ShowHelp;
    // The fields association of an import: for each field of the table (`titles`), the field of
    // the file's records it takes (-1 for none). False when the user cancels.
    std::function<bool(const QStringList& titles, const QList<QStringList>& records, QList<int>& links)> Associate;
    // The program's printer, which every print shares (the station's): the list print uses the
    // printer or file last chosen anywhere, and its own choice holds for the next prints. Without
    // one the list and card prints do nothing.
    platform::TPrinter* Printer = nullptr;
    // The print dialog on that printer, over `parent`; offering the grid's selection when asked,
    // it says whether only the selection is printed.
    std::function<platform::TSetupChoice(QWidget* parent, bool offerSelection)> RunPrintDialog;
    // Today, for the caption; tests set a day.
    std::function<QDate()> Today = [] { return QDate::currentDate(); };

    QString GetText(const QString& key) const;

    // Start: the remembered file (or the command line's) is read when it exists and is not
    // empty; otherwise, or when it cannot be read, the table stays new and unnamed.
    void OpenAtStart(const QString& commandLineFile = {});

    // File commands.
    void Nouveau1Click();
    void Ouvrir1Click();
    void Enregistrer1Click();
    void Enregistrersous1Click();
    void Copierstructure1Click();
    void Quitter1Click();
    // Reads a table file; on failure says why and keeps the table as it was. True when read.
    bool LireBase(const QString& path);
    // May the caller replace the table? Asks to save a modified table.
    bool ConfirmerEnregistrement();

    // Records and fields.
    void Ajouter1Click();
    void Dupliquer1Click();
    void Enlever1Click();
    void Touteffacer1Click();
    void CPlusBtnClick();
    void CMoinsBtnClick();
    void RenameField(int col);
    void FitFieldWidth(int col);

    // Other commands.
    void SortBtnClick();
    void Trier(int column);
    void FindBtnClick();
    void Remplacer1Click();
    void FicheBtnClick();
    void ImportBtnClick();
    void ExportBtnClick();
    void PrintBtnClick();
    void Aide1Click();

    // Shows the current record on the card and tells the windows that follow it.
    void AfficherFiche();
    void MajTitre();
    // Replaces the caption's part before the count: "@3", or a "@7"/"@8" text with the file name.
    void SetCaptionHead(const QString& head);
    // Applies the table's widths and the card's layout after the table was replaced.
    void TableReplaced();

    // The grid's selected record rows and fields (the current cell when nothing is selected).
    std::pair<int, int> SelectedRows() const;
    std::pair<int, int> SelectedCols() const;
    // Selects whole record rows first..last in the grid.
    void SelectRows(int first, int last);
    // Moves the grid's current cell (and so the card).
    void GoTo(int col, int row);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectEvents();
    void setIcons();
    void readSettings();
    void writeSettings();
    void gridCurrentChanged();
    void viewCurrentChanged();
    void applyWidths();
    void enableSort();
    bool saveTo(const QString& path);

    TRecordsModel* m_records = nullptr;
    bool m_syncing = false;
    int m_exchangeFilter = 2; // the file dialogs of import and export keep their filter
    QString m_lastFile; // the file of the last run, from the settings
};

} // namespace database

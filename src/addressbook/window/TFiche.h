#pragma once

#include <QDialog>

#include <array>
#include <functional>
#include <memory>

class QLineEdit;
class TMultiLang;

namespace Ui {
class TFiche;
}

namespace platform {
class TPrinter;
}

namespace addressbook {

class TListe;

// The record card: one entry of the address book in its 16 fields, with the moves between
// entries (by initial letter, or through the A-Z tabs) and the book's commands. Every change in
// a field goes at once into the book. The station shows it modally.
class TFiche : public QDialog {
    Q_OBJECT
public:
    explicit TFiche(TListe* liste, QWidget* parent = nullptr);
    ~TFiche() override;
    const std::unique_ptr<Ui::TFiche> ui;
    TMultiLang* MultiLang1 = nullptr;
    TListe* const Liste;
    // True while the program itself selects a tab: the tab handler then leaves the entry alone.
    bool MajOngletEnCours = false;

    // The printer and its dialog (true on OK); without a printer the print button is disabled.
    platform::TPrinter* Printer = nullptr;
    std::function<bool()> RunPrintDialog;
    // Run when the card closes (the station refreshes its address-book hint).
    std::function<void()> Closed;

    // The row shown; kept as a number, never read back from the translated caption.
    int NumeroFiche() const { return m_row; }
    // Shows a record: caption, fields, its letter's tab, the moves that lead somewhere.
    void ShowEntry(int row, int count, const QString& caption);
    // The edit of a book column (Civil is the combo box's edit).
    QLineEdit* FieldEdit(int column) const;

    void ModifieListe(int column);
    void MajOnglets();
    void ChoisirOnglet(const QString& name);
    void BeginBtnClick();
    void EndBtnClick();
    void FFBtnClick();
    void RewBtnClick();
    void TabSetChange(int index);
    void MoinsBtnClick();
    void NotesKeyDown();
    void PrintBtnClick();
    // Selects the first occurrence of an upper-cased text in every field holding it (find).
    void HighlightText(const QString& needle);

public slots:
    void done(int r) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectEvents();
    void setIcons();
    int m_row = 1;
    int m_tab = 0;
    int m_nameLetter = -1;
    std::array<QLineEdit*, 16> m_edits{};
};

} // namespace addressbook

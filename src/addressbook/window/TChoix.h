#pragma once

#include <QDialog>
#include <QList>

#include <functional>
#include <memory>

class TMultiLang;

namespace Ui {
class TChoix;
}

namespace platform {
class TStringGrid;
}

namespace addressbook {

// The record choice of a mailing: one line per record of the merge grid, the chosen ones
// selected, and the copies of one chosen record at a time. Copies are written to the grid at
// once; the marks when the choice is confirmed (or before a sort, so that it keeps them).
class TChoix : public QDialog {
    Q_OBJECT
public:
    explicit TChoix(QWidget* parent = nullptr);
    ~TChoix() override;
    const std::unique_ptr<Ui::TChoix> ui;
    TMultiLang* MultiLang1 = nullptr;

    // The merge grid whose records are listed, and whether it is the database.
    platform::TStringGrid* Grille = nullptr;
    bool Database = false;
    QString TitreChoix;
    // The line whose copies are shown: always a chosen line, or -1.
    int FicheCourante = -1;

    // The chain around the dialog: the list refilled from the grid, the source's sort dialog
    // (true when a sort was made), the next step and the way out.
    std::function<void()> RemplirChoix;
    std::function<bool()> TrierSource;
    std::function<void()> Suivant;
    std::function<void()> Annuler;

    QList<bool> Chosen() const;
    int ChosenCount() const;

    void FormShow();
    void MajTitre();
    void MontrerCopies();
    void ListBoxClick();
    void ListBoxRightClick(int line);
    void ToutClick();
    void RienBtnClick();
    void SpinEditChange(int value);
    void SortBtnClick();
    void OKBtnClick();
    void CancelBtnClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectEvents();
    QString text(const char* key) const;
    int topLine() const;
    bool m_closingByCancel = false;
};

} // namespace addressbook

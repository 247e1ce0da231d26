#pragma once

#include "database/TableSearch.h"

#include <QDialog>

#include <memory>

class TMultiLang;

namespace Ui {
class TwFind;
}

namespace database {

class TwForm1;

// The database's find dialog: goes from cell to cell holding the text, moving the grid there and
// selecting the text on the card. It stays open beside the database window.
class TwFind : public QDialog {
    Q_OBJECT
public:
    explicit TwFind(TwForm1* owner);
    ~TwFind() override;

    const std::unique_ptr<Ui::TwFind> ui;
    TMultiLang* MultiLang1 = nullptr;
    TFindCursor Cursor;
    QString DernierTexte;

    QString GetText(const QString& key) const;
    void EditChange();
    void FindBtnClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    TwForm1* m_owner;
};

// Selects the first occurrence of `needle` in every card edit of the table's fields that holds
// it; the last of them is left active.
void SelectOnCard(TwForm1& owner, const QString& needle);

} // namespace database

#pragma once

#include "database/TableSearch.h"
#include "platform/HourGlass.h"
#include "platform/window/Dialogs.h"

#include <QDialog>

#include <memory>
#include <optional>

class QPushButton;

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

// What the find and replace dialogs share. The find button is enabled for a text and captioned
// `findCaption` again whenever the text differs from the last one, which it then becomes.
void FindTextChanged(QPushButton& findBtn, QString& lastText, const QString& text, const QString& findCaption);

// The next cell holding `needle` after the cursor, searched under the hourglass; the user is told
// `notFound` when there is none.
template <class Cursor>
std::optional<TCellHit> FindNextCell(Cursor& cursor, const platform::TStringGrid& grid, const QString& needle,
                                     const QString& notFound)
{
    std::optional<TCellHit> hit;
    {
        platform::HourGlass busy;
        hit = cursor.FindNext(grid, needle);
    }
    if (!hit)
        platform::MessageDlg(notFound, platform::mtInformation, platform::mbOK);
    return hit;
}

// Selects the first occurrence of `needle` in every card edit of the table's fields that holds
// it; the last of them is left active.
void SelectOnCard(TwForm1& owner, const QString& needle);

} // namespace database

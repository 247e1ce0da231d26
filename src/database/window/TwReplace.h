#pragma once

#include "database/TableSearch.h"

#include <QDialog>

#include <memory>

class TMultiLang;

namespace Ui {
class TwReplace;
}

namespace database {

class TwForm1;

// The database's replace dialog: from occurrence to occurrence within the cells, replacing the
// one found or every one in a single pass over the table.
class TwReplace : public QDialog {
    Q_OBJECT
public:
    explicit TwReplace(TwForm1* owner);
    ~TwReplace() override;

    const std::unique_ptr<Ui::TwReplace> ui;
    TMultiLang* MultiLang1 = nullptr;
    TReplaceCursor Cursor;
    int NbRemplacements = 0;
    bool RemplacerTout = false;
    // The find text after its last change (the replacement text has no part in it).
    QString DernierTexte;

    QString GetText(const QString& key) const;
    void EditChange();
    void ReplacementChange();
    void FindBtnClick();
    void ReplaceBtnClick();
    void AllReplaceBtnClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void startOver();
    TwForm1* m_owner;
};

} // namespace database

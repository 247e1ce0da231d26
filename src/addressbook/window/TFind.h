#pragma once

#include "addressbook/GridFind.h"

#include <QDialog>

#include <memory>

class TMultiLang;

namespace Ui {
class TFind;
}

namespace addressbook {

class TListe;

// The find dialog: finds a text in the address book's records, one hit after the other, and
// shows each on the record card with the text selected. Not modal; a child of the card.
class TFind : public QDialog {
    Q_OBJECT
public:
    TFind(TListe* liste, QWidget* parent = nullptr);
    ~TFind() override;
    const std::unique_ptr<Ui::TFind> ui;
    TMultiLang* MultiLang1 = nullptr;
    TFindState State;

    void EditChange();
    void FindBtnClick();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    TListe* m_liste;
};

} // namespace addressbook

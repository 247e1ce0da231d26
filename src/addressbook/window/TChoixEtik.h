#pragma once

#include <QDialog>

#include <functional>
#include <memory>

class TMultiLang;

namespace Ui {
class TChoixEtik;
}

namespace addressbook {

// The model choice of a mailing: the station's designs, the one picked becoming the station's
// selected design.
class TChoixEtik : public QDialog {
    Q_OBJECT
public:
    explicit TChoixEtik(QWidget* parent = nullptr);
    ~TChoixEtik() override;
    const std::unique_ptr<Ui::TChoixEtik> ui;
    TMultiLang* MultiLang1 = nullptr;

    // The chain: a line picked (its index in the station's list), previous, next, cancel.
    std::function<void(int line)> Choisir;
    std::function<void()> Precedent;
    std::function<void()> Suivant;
    std::function<void()> Annuler;

    // The station's design list and its selected line.
    void Remplir(const QStringList& lines, int selected);
    void ListBoxClick();
};

} // namespace addressbook

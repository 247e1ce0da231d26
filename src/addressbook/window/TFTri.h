#pragma once

#include <QDialog>

#include <memory>

class TMultiLang;

namespace Ui {
class TFTri;
}

namespace addressbook {

// The sort dialog: the column to sort the address book on, among the seven the list offers.
class TFTri : public QDialog {
    Q_OBJECT
public:
    explicit TFTri(QWidget* parent = nullptr);
    ~TFTri() override;
    const std::unique_ptr<Ui::TFTri> ui;
    TMultiLang* MultiLang1 = nullptr;

    // Selects the item of a sort column; a column the list does not offer selects none.
    void Preselect(int column);
    // The chosen item's column; -1 when none is chosen.
    int SortColumn() const;
};

} // namespace addressbook

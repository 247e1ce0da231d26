#pragma once

#include <QDialog>

#include <memory>

class TMultiLang;

namespace Ui {
class TwFTri;
}

namespace database {

// The sort dialog of the database window: the field to sort on.
class TwFTri : public QDialog {
    Q_OBJECT
public:
    explicit TwFTri(QWidget* parent = nullptr);
    ~TwFTri() override;

    const std::unique_ptr<Ui::TwFTri> ui;
    TMultiLang* MultiLang1 = nullptr;
};

} // namespace database

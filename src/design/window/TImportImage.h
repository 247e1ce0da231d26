#pragma once

#include <QDialog>

#include <memory>

class TMultiLang;

namespace Ui {
class TImportImage;
}

// Where a new picture comes from: a file, a scanner, or a field of the merge source whose code
// becomes the picture's reference. The code list is usable only with the field choice.
class TImportImage : public QDialog {
    Q_OBJECT
public:
    explicit TImportImage(QWidget* parent = nullptr);
    ~TImportImage() override;

    const std::unique_ptr<Ui::TImportImage> ui;
    TMultiLang* MultiLang1 = nullptr;

    enum TSource { FromFile, FromScanner, FromField };
    TSource Source() const;
    // The field code chosen (with FromField).
    QString FieldCode() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void sourceChange();
};

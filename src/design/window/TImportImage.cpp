#include "TImportImage.h"
#include "ui_TImportImage.h"

#include "MultiLang/MLang.h"

TImportImage::TImportImage(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TImportImage>())
{
    ui->setupUi(this);
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TImportImage.txt"));
    MultiLang1->Loaded();
    for (QRadioButton* b : {ui->RadioButton1, ui->RadioButton2, ui->RadioButton3})
        connect(b, &QRadioButton::toggled, this, [this] { sourceChange(); });
    connect(ui->OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    sourceChange();
}

TImportImage::~TImportImage() = default;

void TImportImage::sourceChange()
{
    ui->ComboBox->setEnabled(ui->RadioButton3->isChecked());
}

void TImportImage::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    sourceChange();
}

TImportImage::TSource TImportImage::Source() const
{
    if (ui->RadioButton3->isChecked())
        return FromField;
    if (ui->RadioButton2->isChecked())
        return FromScanner;
    return FromFile;
}

QString TImportImage::FieldCode() const
{
    return ui->ComboBox->currentText();
}

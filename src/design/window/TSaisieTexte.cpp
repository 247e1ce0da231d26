#include "TSaisieTexte.h"
#include "ui_TSaisieTexte.h"

#include "FieldCodeEdits.h"

#include "MultiLang/MLang.h"

TSaisieTexte::TSaisieTexte(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TSaisieTexte>())
{
    ui->setupUi(this);
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TSaisieTexte.txt"));
    MultiLang1->Loaded();
    connect(ui->ComboBox, &QComboBox::activated, this, [this] { InsererCode(); });
    connect(ui->OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TSaisieTexte::~TSaisieTexte() = default;

void TSaisieTexte::Prepare(const QString& caption, const QString& prompt, const QString& text,
                           const QStringList& codes)
{
    setWindowTitle(caption);
    ui->Label1->setText(prompt);
    ui->Edit1->setText(text);
    ui->ComboBox->clear();
    ui->ComboBox->addItems(codes);
    ui->ComboBox->setCurrentIndex(codes.isEmpty() ? -1 : 0);
}

QString TSaisieTexte::TakeText(const QString& old)
{
    if (exec() != QDialog::Accepted || ui->Edit1->text().isEmpty())
        return old;
    return ui->Edit1->text();
}

void TSaisieTexte::InsererCode()
{
    if (ui->ComboBox->currentIndex() >= 0)
        InsertFieldCodeAtCaret(ui->Edit1, ui->ComboBox->currentText());
}

void TSaisieTexte::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    ui->Edit1->setFocus();
}

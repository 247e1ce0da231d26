#include "TAssistant.h"
#include "ui_TAssistant.h"

#include "MultiLang/MLang.h"
#include "platform/window/WindowPlace.h"
#include "station/StationRules.h"

namespace station {

TAssistant::TAssistant(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TAssistant>())
{
    ui->setupUi(this);
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TAssistant.txt"));
    MultiLang1->Loaded();
    connect(ui->OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    for (QRadioButton* b : {ui->RadioButton1, ui->RadioButton2, ui->RadioButton3, ui->RadioButton4})
        connect(b, &QRadioButton::toggled, this, [this] { ui->OKBtn->setEnabled(true); });
    platform::KeepWindowPlace(this);
}

TAssistant::~TAssistant() = default;

int TAssistant::Choix() const
{
    if (ui->RadioButton2->isChecked())
        return 2;
    if (ui->RadioButton3->isChecked())
        return 3;
    if (ui->RadioButton4->isChecked())
        return 4;
    return 1;
}

void TAssistant::SetChoix(int choice)
{
    QRadioButton* buttons[] = {ui->RadioButton1, ui->RadioButton2, ui->RadioButton3, ui->RadioButton4};
    buttons[std::clamp(choice, 1, 4) - 1]->setChecked(true);
}

void TAssistant::FormShow()
{
    const TWizardChoices w = ChoixAssistant(Choix(), PagePrintable, MailingAvailable, DesignSelected, DatabaseAvailable);
    ui->RadioButton1->setEnabled(w.Enabled[1]);
    ui->RadioButton2->setEnabled(w.Enabled[2]);
    ui->Label2->setEnabled(w.Enabled[2]);
    ui->RadioButton3->setEnabled(w.Enabled[3]);
    ui->Label3->setEnabled(w.Enabled[3]);
    ui->RadioButton4->setEnabled(w.Enabled[4]);
    ui->Label4->setEnabled(w.Enabled[4]);
    SetChoix(w.Checked);
    ui->OKBtn->setEnabled(w.CanConfirm());
}

void TAssistant::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

} // namespace station

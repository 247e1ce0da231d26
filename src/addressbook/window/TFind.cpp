#include "TFind.h"
#include "ui_TFind.h"

#include "TFiche.h"
#include "TListe.h"

#include "MultiLang/MLang.h"
#include "platform/HourGlass.h"
#include "platform/window/Application.h"
#include "platform/window/Dialogs.h"

namespace addressbook {

TFind::TFind(TListe* liste, QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TFind>()), m_liste(liste)
{
    ui->setupUi(this);
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TFind.txt"));
    MultiLang1->Loaded();
    // Help pages are not shipped yet.
    ui->HelpBtn->hide();
    connect(ui->Edit, &QLineEdit::textChanged, this, [this] { EditChange(); });
    connect(ui->FindBtn, &QPushButton::clicked, this,
            [this] { platform::runReportingErrors([this] { FindBtnClick(); }); });
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::close);
    EditChange();
}

TFind::~TFind() = default;

void TFind::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    ui->Edit->clear();
    ui->Edit->setFocus();
}

void TFind::hideEvent(QHideEvent* event)
{
    State.Restart();
    ui->FindBtn->setText(MultiLang1->GetText(QStringLiteral("@1")));
    QDialog::hideEvent(event);
}

void TFind::EditChange()
{
    const QString text = ui->Edit->text();
    ui->FindBtn->setEnabled(!text.isEmpty());
    if (text != State.DernierTexte)
        ui->FindBtn->setText(MultiLang1->GetText(QStringLiteral("@1")));
    State.DernierTexte = text;
    State.Restart();
}

void TFind::FindBtnClick()
{
    const QString text = ui->Edit->text();
    TFindHit hit;
    {
        platform::HourGlass busy;
        hit = FindNext(m_liste->Grille(), State, text);
    }
    if (!hit.Found()) {
        platform::MessageDlg(MultiLang1->GetText(QStringLiteral("@3")), platform::mtInformation, platform::mbOK);
        ui->FindBtn->setText(MultiLang1->GetText(QStringLiteral("@1")));
        return;
    }
    if (text == State.DernierTexte)
        ui->FindBtn->setText(MultiLang1->GetText(QStringLiteral("@2")));
    m_liste->Grille().SetCol(hit.Col);
    m_liste->Grille().SetRow(hit.Row);
    if (TFiche* fiche = m_liste->Fiche())
        fiche->HighlightText(UpperAscii(text));
}

} // namespace addressbook

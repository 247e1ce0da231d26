#include "TwReplace.h"
#include "ui_TwReplace.h"

#include "TwFiche.h"
#include "TwFind.h"
#include "TwForm1.h"

#include "MultiLang/MLang.h"
#include "platform/HourGlass.h"
#include "platform/window/Application.h"
#include "platform/window/Dialogs.h"

#include <QLineEdit>

namespace database {

TwReplace::TwReplace(TwForm1* owner)
    : QDialog(owner, Qt::Tool), ui(std::make_unique<Ui::TwReplace>()), m_owner(owner)
{
    ui->setupUi(this);
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TwReplace.txt"));
    MultiLang1->Loaded();
    setModal(false);
    ui->FindBtn->setEnabled(false);
    ui->ReplaceBtn->setEnabled(false);
    ui->AllReplaceBtn->setEnabled(false);
    const auto run = [this](void (TwReplace::*handler)()) {
        return [this, handler] { platform::runReportingErrors([this, handler] { (this->*handler)(); }); };
    };
    connect(ui->Edit, &QLineEdit::textChanged, this, [this] { EditChange(); });
    connect(ui->Edit1, &QLineEdit::textChanged, this, [this] { ReplacementChange(); });
    connect(ui->FindBtn, &QPushButton::clicked, this, run(&TwReplace::FindBtnClick));
    connect(ui->ReplaceBtn, &QPushButton::clicked, this, run(&TwReplace::ReplaceBtnClick));
    connect(ui->AllReplaceBtn, &QPushButton::clicked, this, run(&TwReplace::AllReplaceBtnClick));
    connect(ui->Button3, &QPushButton::clicked, this, &QWidget::close);
}

TwReplace::~TwReplace() = default;

QString TwReplace::GetText(const QString& key) const
{
    return MultiLang1 != nullptr ? MultiLang1->GetText(key) : key;
}

void TwReplace::startOver()
{
    Cursor.Reset();
    RemplacerTout = false;
    ui->ReplaceBtn->setEnabled(false);
    ui->AllReplaceBtn->setEnabled(false);
}

void TwReplace::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    ui->ReplaceBtn->setEnabled(false);
    ui->AllReplaceBtn->setEnabled(false);
    RemplacerTout = false;
    if (m_owner->wFind->isVisible())
        m_owner->wFind->close();
    ui->Edit->setFocus();
}

void TwReplace::closeEvent(QCloseEvent* event)
{
    startOver();
    ui->FindBtn->setText(GetText(QStringLiteral("@1")));
    QDialog::closeEvent(event);
}

void TwReplace::EditChange()
{
    FindTextChanged(*ui->FindBtn, DernierTexte, ui->Edit->text(), GetText(QStringLiteral("@1")));
    startOver();
}

void TwReplace::ReplacementChange()
{
    // A new replacement starts the search again from the first record.
    startOver();
}

void TwReplace::FindBtnClick()
{
    const QString needle = ui->Edit->text();
    const std::optional<TCellHit> hit =
        FindNextCell(Cursor, m_owner->Table.Grille, needle, GetText(QStringLiteral("@3")));
    if (!hit) {
        startOver();
        ui->FindBtn->setText(GetText(QStringLiteral("@1")));
        return;
    }
    ++NbRemplacements;
    ui->ReplaceBtn->setEnabled(true);
    ui->AllReplaceBtn->setEnabled(true);
    if (needle == DernierTexte)
        ui->FindBtn->setText(GetText(QStringLiteral("@2")));
    m_owner->GoTo(hit->Col, hit->Row);
    m_owner->wFiche->SelectInEdit(hit->Col, hit->Pos - 1, static_cast<int>(needle.size()));
}

void TwReplace::ReplaceBtnClick()
{
    const QString replacement = ui->Edit1->text();
    if (!Cursor.Replace(m_owner->Table, ui->Edit->text(), replacement)) {
        // The cell no longer holds what was found there: nothing to replace until the next find.
        ui->ReplaceBtn->setEnabled(false);
        return;
    }
    m_owner->AfficherFiche();
    m_owner->wFiche->SelectInEdit(Cursor.LastHit->Col, Cursor.PosTrouvee - 1, static_cast<int>(replacement.size()));
}

void TwReplace::AllReplaceBtnClick()
{
    // The run goes through the table in one go, without handing events to the user in between,
    // so no record or field can be removed under it.
    RemplacerTout = true;
    TReplaceCursor::TReplaceAll result;
    {
        platform::HourGlass busy;
        result = Cursor.ReplaceAll(m_owner->Table, ui->Edit->text(), ui->Edit1->text());
    }
    NbRemplacements = result.Count;
    if (result.Last)
        m_owner->GoTo(result.Last->Col, result.Last->Row);
    m_owner->AfficherFiche();
    platform::MessageDlg(GetText(QStringLiteral("@4")) + QString::number(NbRemplacements)
                             + GetText(NbRemplacements < 2 ? QStringLiteral("@6") : QStringLiteral("@5")),
                         platform::mtInformation, platform::mbOK);
    startOver();
    ui->FindBtn->setText(GetText(QStringLiteral("@1")));
}

} // namespace database

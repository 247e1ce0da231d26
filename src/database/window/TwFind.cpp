#include "TwFind.h"
#include "ui_TwFind.h"

#include "TwFiche.h"
#include "TwForm1.h"
#include "TwReplace.h"

#include "MultiLang/MLang.h"
#include "platform/window/Application.h"

#include <QLineEdit>

namespace database {

void SelectOnCard(TwForm1& owner, const QString& needle)
{
    for (int i = 0; i < owner.Table.ColCount(); ++i) {
        const int p = FindInText(owner.wFiche->Edits[static_cast<size_t>(i)]->text(), needle, 1);
        if (p > 0)
            owner.wFiche->SelectInEdit(i, p - 1, static_cast<int>(needle.size()));
    }
}

TwFind::TwFind(TwForm1* owner) : QDialog(owner, Qt::Tool), ui(std::make_unique<Ui::TwFind>()), m_owner(owner)
{
    ui->setupUi(this);
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TwFind.txt"));
    MultiLang1->Loaded();
    setModal(false);
    ui->FindBtn->setEnabled(false);
    connect(ui->Edit, &QLineEdit::textChanged, this, [this] { EditChange(); });
    connect(ui->FindBtn, &QPushButton::clicked, this, [this] { platform::runReportingErrors([this] { FindBtnClick(); }); });
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->HelpBtn, &QPushButton::clicked, this, [this] { m_owner->Aide1Click(); });
}

TwFind::~TwFind() = default;

QString TwFind::GetText(const QString& key) const
{
    return MultiLang1 != nullptr ? MultiLang1->GetText(key) : key;
}

void TwFind::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_owner->wReplace->isVisible())
        m_owner->wReplace->close();
    ui->Edit->setFocus();
}

void TwFind::closeEvent(QCloseEvent* event)
{
    Cursor.Reset();
    ui->FindBtn->setText(GetText(QStringLiteral("@1")));
    QDialog::closeEvent(event);
}

void FindTextChanged(QPushButton& findBtn, QString& lastText, const QString& text, const QString& findCaption)
{
    findBtn.setEnabled(!text.isEmpty());
    if (text != lastText)
        findBtn.setText(findCaption);
    lastText = text;
}

void TwFind::EditChange()
{
    FindTextChanged(*ui->FindBtn, DernierTexte, ui->Edit->text(), GetText(QStringLiteral("@1")));
    Cursor.Reset();
}

void TwFind::FindBtnClick()
{
    const QString needle = ui->Edit->text();
    const std::optional<TCellHit> hit =
        FindNextCell(Cursor, m_owner->Table.Grille, needle, GetText(QStringLiteral("@3")));
    if (!hit) {
        ui->FindBtn->setText(GetText(QStringLiteral("@1")));
        return;
    }
    if (needle == DernierTexte)
        ui->FindBtn->setText(GetText(QStringLiteral("@2")));
    m_owner->GoTo(hit->Col, hit->Row);
    SelectOnCard(*m_owner, needle);
}

} // namespace database

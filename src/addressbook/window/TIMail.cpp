#include "TIMail.h"
#include "ui_TIMail.h"

#include "MultiLang/MLang.h"
#include "platform/TIniFile.h"
#include "platform/window/Application.h"
#include "platform/window/Dialogs.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QStyle>

namespace addressbook {

TIMail::TIMail(QWidget* parent) : QDialog(parent, Qt::Tool), ui(std::make_unique<Ui::TIMail>())
{
    ui->setupUi(this);
    ui->Image1->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(40, 40));
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TIMail.txt"));
    MultiLang1->Loaded();
    m_police.SetPixelsPerInch(96);
    m_police.SetName(QStringLiteral("arial"));
    m_police.SetSize(9);
    const auto step = [this](std::function<void()> TIMail::*hook) {
        return [this, hook] {
            platform::runReportingErrors([this, hook] {
                if (this->*hook)
                    (this->*hook)();
            });
        };
    };
    connect(ui->FontBtn, &QPushButton::clicked, this, [this] { platform::runReportingErrors([this] { FontBtnClick(); }); });
    connect(ui->SpinEdit, &QSpinBox::valueChanged, this,
            [this] { platform::runReportingErrors([this] { SpinEditChange(); }); });
    connect(ui->FirstBtn, &QPushButton::clicked, this, step(&TIMail::PremiereEtiquette));
    connect(ui->BitBtn1, &QPushButton::clicked, this, step(&TIMail::Apercu));
    connect(ui->BitBtn2, &QPushButton::clicked, this, step(&TIMail::Precedent));
    connect(ui->OKBtn, &QPushButton::clicked, this, step(&TIMail::Imprimer));
    connect(ui->CancelBtn, &QPushButton::clicked, this, step(&TIMail::Annuler));
    connect(ui->Button1, &QPushButton::clicked, this, step(&TIMail::ConfigImprimante));
    ui->Image1->installEventFilter(this);
}

TIMail::~TIMail() = default;

QString TIMail::GetText(const QString& key) const
{
    return MultiLang1->GetText(key);
}

void TIMail::SetPolice(const platform::TFont& font)
{
    m_police = font;
    ui->Police->setFont(platform::toDialogFont(m_police));
}

void TIMail::FormCreate(const platform::TIniFile& ini)
{
    ui->Cadre->setChecked(ini.ReadInteger(QStringLiteral("Options"), QStringLiteral("Cadre"), 0) != 0);
    const QString s = QStringLiteral("Police");
    platform::TFont f;
    f.SetPixelsPerInch(96);
    f.SetColor(ini.ReadInteger(s, QStringLiteral("couleur"), 0));
    f.SetHeight(ini.ReadInteger(s, QStringLiteral("hauteur"), -12));
    f.SetName(ini.ReadString(s, QStringLiteral("nom"), QStringLiteral("arial")));
    f.SetSize(ini.ReadInteger(s, QStringLiteral("taille"), 9));
    platform::TFontStyles style;
    if (ini.ReadInteger(s, QStringLiteral("gras"), 0) != 0)
        style = style + platform::fsBold;
    if (ini.ReadInteger(s, QStringLiteral("italique"), 0) != 0)
        style = style + platform::fsItalic;
    if (ini.ReadInteger(s, QStringLiteral("souligné"), 0) != 0)
        style = style + platform::fsUnderline;
    if (ini.ReadInteger(s, QStringLiteral("barré"), 0) != 0)
        style = style + platform::fsStrikeOut;
    f.SetStyle(style);
    SetPolice(f);
}

void TIMail::WriteSettings(platform::TIniFile& ini) const
{
    ini.WriteInteger(QStringLiteral("Options"), QStringLiteral("Cadre"), ui->Cadre->isChecked() ? 1 : 0);
    const QString s = QStringLiteral("Police");
    ini.WriteInteger(s, QStringLiteral("couleur"), static_cast<int>(m_police.Color()));
    ini.WriteInteger(s, QStringLiteral("hauteur"), m_police.Height());
    ini.WriteString(s, QStringLiteral("nom"), m_police.Name());
    ini.WriteInteger(s, QStringLiteral("taille"), m_police.Size());
    const platform::TFontStyles style = m_police.Style();
    ini.WriteInteger(s, QStringLiteral("gras"), style.Contains(platform::fsBold) ? 1 : 0);
    ini.WriteInteger(s, QStringLiteral("italique"), style.Contains(platform::fsItalic) ? 1 : 0);
    ini.WriteInteger(s, QStringLiteral("souligné"), style.Contains(platform::fsUnderline) ? 1 : 0);
    ini.WriteInteger(s, QStringLiteral("barré"), style.Contains(platform::fsStrikeOut) ? 1 : 0);
}

void TIMail::SetChoix(int choice)
{
    m_choice = choice;
    setWindowTitle(GetText(choice == 2 ? QStringLiteral("@3") : choice == 3 ? QStringLiteral("@4") : QStringLiteral("@5")));
    ui->FontBtn->setText(GetText(choice == 2 ? QStringLiteral("@15") : QStringLiteral("@16")));
    ui->FontBtn->setToolTip(QString());
}

int TIMail::Series() const
{
    return std::max(1, ui->SpinEdit->value());
}

void TIMail::FontBtnClick()
{
    if (m_choice != 2) {
        if (Numerotation)
            Numerotation();
        return;
    }
    platform::TFontDialog dialog;
    dialog.Font = m_police;
    if (dialog.Execute())
        SetPolice(dialog.Font);
}

void TIMail::SpinEditChange()
{
    if (MajMessagePlanches)
        MajMessagePlanches();
}

void TIMail::closeEvent(QCloseEvent* event)
{
    QDialog::closeEvent(event);
    if (Fermeture)
        Fermeture();
}

bool TIMail::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->Image1 && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        platform::runReportingErrors([this] {
            if (ConfigImprimante)
                ConfigImprimante();
        });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace addressbook

#include "TGrid.h"
#include "ui_TGrid.h"

#include "MultiLang/MLang.h"
#include "platform/TIniFile.h"

TGrid::TGrid(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TGrid>())
{
    ui->setupUi(this);
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TGrid.txt"));
    MultiLang1->Loaded();
    connectEvents();
}

TGrid::~TGrid() = default;

void TGrid::connectEvents()
{
    connect(ui->ScrollBar1, &QScrollBar::valueChanged, this, [this] { ScrollBar1Change(); });
    connect(ui->ScrollBar2, &QScrollBar::valueChanged, this, [this] { ScrollBar2Change(); });
    connect(ui->OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

int TGrid::GrilleX() const
{
    return ui->ScrollBar1->value();
}

int TGrid::GrilleY() const
{
    return ui->ScrollBar2->value();
}

void TGrid::ScrollBar1Change()
{
    ui->Label2->setText(QString::number(GrilleX()) + MultiLang1->GetText(QStringLiteral("@1")));
}

void TGrid::ScrollBar2Change()
{
    ui->Label4->setText(QString::number(GrilleY()) + MultiLang1->GetText(QStringLiteral("@1")));
}

void TGrid::ReadSettings(const platform::TIniFile& ini)
{
    const QString section = QStringLiteral("Options");
    ui->ScrollBar1->setValue(ini.ReadInteger(section, QStringLiteral("GrilleX"), 8));
    ui->ScrollBar2->setValue(ini.ReadInteger(section, QStringLiteral("GrilleY"), 8));
    ui->Label2->setText(QString::number(GrilleX()));
    ui->Label4->setText(QString::number(GrilleY()));
}

void TGrid::WriteSettings(platform::TIniFile& ini) const
{
    ini.WriteInteger(QStringLiteral("Options"), QStringLiteral("GrilleX"), GrilleX());
    ini.WriteInteger(QStringLiteral("Options"), QStringLiteral("GrilleY"), GrilleY());
}

bool TGrid::Execute()
{
    ScrollBar1Change();
    ScrollBar2Change();
    const int keptX = GrilleX();
    const int keptY = GrilleY();
    ui->OKBtn->setFocus();
    if (exec() == QDialog::Accepted)
        return true;
    ui->ScrollBar1->setValue(keptX);
    ui->ScrollBar2->setValue(keptY);
    return false;
}

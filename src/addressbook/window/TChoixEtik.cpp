#include "TChoixEtik.h"
#include "ui_TChoixEtik.h"

#include "MultiLang/MLang.h"
#include "platform/window/Application.h"
#include "shell/TTabListBox.h"
#include "station/StationRules.h"

#include <QSignalBlocker>

#include <algorithm>
#include <cmath>

namespace addressbook {

TChoixEtik::TChoixEtik(QWidget* parent) : QDialog(parent, Qt::Tool), ui(std::make_unique<Ui::TChoixEtik>())
{
    ui->setupUi(this);
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TChoixEtik.txt"));
    MultiLang1->Loaded();
    const auto step = [this](std::function<void()> TChoixEtik::*hook) {
        return [this, hook] {
            platform::runReportingErrors([this, hook] {
                if (this->*hook)
                    (this->*hook)();
            });
        };
    };
    connect(ui->ListBox, &QListWidget::currentRowChanged, this,
            [this] { platform::runReportingErrors([this] { ListBoxClick(); }); });
    connect(ui->BitBtn2, &QPushButton::clicked, this, step(&TChoixEtik::Precedent));
    connect(ui->BitBtn3, &QPushButton::clicked, this, step(&TChoixEtik::Suivant));
    connect(ui->CancelBtn, &QPushButton::clicked, this, step(&TChoixEtik::Annuler));
}

TChoixEtik::~TChoixEtik() = default;

void TChoixEtik::Remplir(const QStringList& lines, int selected)
{
    const QSignalBlocker block(ui->ListBox);
    ui->ListBox->clear();
    ui->ListBox->addItems(lines);
    // The sizes stand in one column: at the station's stop, or past the longest name.
    const QFontMetrics metrics = ui->ListBox->fontMetrics();
    int widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line.section(u'\t', 0, 0)));
    const int width = std::max(1, ui->ListBox->width());
    const int pastNames = int(std::ceil((widest + 2 * metrics.averageCharWidth()) * 100.0 / width));
    // A list's stops reach at most twice its width.
    ui->ListBox->SetTabPercentages(QString::number(std::min(std::max(pastNames, station::TabStopPercent(width)), 200)));
    ui->ListBox->setCurrentRow(selected);
    ui->BitBtn3->setEnabled(selected >= 0);
}

void TChoixEtik::ListBoxClick()
{
    const int line = ui->ListBox->currentRow();
    ui->BitBtn3->setEnabled(line >= 0);
    if (line >= 0 && Choisir)
        Choisir(line);
}

} // namespace addressbook

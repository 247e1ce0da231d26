#include "TChoixD.h"
#include "ui_TChoixD.h"

#include "design/Dates.h"
#include "MultiLang/MLang.h"
#include "platform/Errors.h"

TChoixD::TChoixD(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TChoixD>())
{
    ui->setupUi(this);
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TChoixD.txt"));
    MultiLang1->Loaded();
    connectEvents();
    calendarChange();
}

TChoixD::~TChoixD() = default;

void TChoixD::connectEvents()
{
    connect(ui->OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->PreviousYearBtn, &QPushButton::clicked, this, [this] { moveBy(0, -1); });
    connect(ui->PreviousMonthBtn, &QPushButton::clicked, this, [this] { moveBy(-1, 0); });
    connect(ui->NextMonthBtn, &QPushButton::clicked, this, [this] { moveBy(1, 0); });
    connect(ui->NextYearBtn, &QPushButton::clicked, this, [this] { moveBy(0, 1); });
    connect(ui->NowBtn, &QPushButton::clicked, this, [this] { SetDate(QDate::currentDate()); });
    connect(ui->Calendar1, &QCalendarWidget::selectionChanged, this, [this] { calendarChange(); });
    connect(ui->Calendar1, &QCalendarWidget::currentPageChanged, this, [this] { calendarChange(); });
    // A double click (or Enter) on a day closes with OK.
    connect(ui->Calendar1, &QCalendarWidget::activated, this, [this] { accept(); });
}

QDate TChoixD::Date() const
{
    return ui->Calendar1->selectedDate();
}

void TChoixD::SetDate(const QDate& date)
{
    if (!date.isValid())
        return;
    ui->Calendar1->setSelectedDate(date);
    ui->Calendar1->setCurrentPage(date.year(), date.month());
    calendarChange();
}

void TChoixD::moveBy(int months, int years)
{
    // The calendar keeps a day of the new month, the last one when the day is too high for it.
    const QDate d = Date();
    try {
        SetDate(years != 0 ? design::DecalerAns(years, d) : design::DecalerMois(months, d));
    } catch (const platform::EConvertError&) {
        // past the first or last year of the calendar: stay where we are
    }
}

void TChoixD::calendarChange()
{
    const QDate d = Date();
    ui->Titre->setText(d.isValid() ? design::FormatDate(QStringLiteral("mmmm yyyy"), d) : QString());
}

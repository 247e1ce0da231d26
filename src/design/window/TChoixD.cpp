#include "TChoixD.h"

#include "design/Dates.h"
#include "MultiLang/MLang.h"
#include "platform/Errors.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* button(QWidget* parent, const char* name)
{
    auto* b = new QPushButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

TChoixD::TChoixD(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ChoixD"));
    auto* layout = new QVBoxLayout(this);

    // The title is placed by hand, centred on the window whatever the month's name.
    Titre = new QLabel(this);
    Titre->setObjectName(QStringLiteral("Titre"));
    QFont f = Titre->font();
    f.setBold(true);
    Titre->setFont(f);
    layout->addSpacing(Titre->sizeHint().height() + 4);

    auto* nav = new QHBoxLayout;
    PreviousYearBtn = button(this, "PreviousYearBtn");
    PreviousMonthBtn = button(this, "PreviousMonthBtn");
    NowBtn = button(this, "NowBtn");
    NextMonthBtn = button(this, "NextMonthBtn");
    NextYearBtn = button(this, "NextYearBtn");
    nav->addWidget(PreviousYearBtn);
    nav->addWidget(PreviousMonthBtn);
    nav->addStretch();
    nav->addWidget(NowBtn);
    nav->addStretch();
    nav->addWidget(NextMonthBtn);
    nav->addWidget(NextYearBtn);
    layout->addLayout(nav);

    Calendar1 = new QCalendarWidget(this);
    Calendar1->setObjectName(QStringLiteral("Calendar1"));
    Calendar1->setFirstDayOfWeek(Qt::Monday);
    Calendar1->setNavigationBarVisible(false);
    Calendar1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    layout->addWidget(Calendar1);

    auto* buttons = new QHBoxLayout;
    OKBtn = button(this, "OKBtn");
    OKBtn->setDefault(true);
    CancelBtn = button(this, "CancelBtn");
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    layout->addLayout(buttons);

    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(PreviousYearBtn, &QPushButton::clicked, this, [this] { moveBy(0, -1); });
    connect(PreviousMonthBtn, &QPushButton::clicked, this, [this] { moveBy(-1, 0); });
    connect(NextMonthBtn, &QPushButton::clicked, this, [this] { moveBy(1, 0); });
    connect(NextYearBtn, &QPushButton::clicked, this, [this] { moveBy(0, 1); });
    connect(NowBtn, &QPushButton::clicked, this, [this] { SetDate(QDate::currentDate()); });
    connect(Calendar1, &QCalendarWidget::selectionChanged, this, [this] { calendarChange(); });
    connect(Calendar1, &QCalendarWidget::currentPageChanged, this, [this] { calendarChange(); });
    // A double click (or Enter) on a day closes with OK.
    connect(Calendar1, &QCalendarWidget::activated, this, [this] { accept(); });

    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TChoixD.txt"));
    MultiLang1->Loaded();
    calendarChange();
}

QDate TChoixD::Date() const
{
    return Calendar1->selectedDate();
}

void TChoixD::SetDate(const QDate& date)
{
    if (!date.isValid())
        return;
    Calendar1->setSelectedDate(date);
    Calendar1->setCurrentPage(date.year(), date.month());
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
    Titre->setText(d.isValid() ? design::FormatDate(QStringLiteral("mmmm yyyy"), d) : QString());
    placeTitle();
}

void TChoixD::placeTitle()
{
    Titre->adjustSize();
    Titre->move((width() - Titre->width()) / 2, 4);
}

void TChoixD::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    placeTitle();
}

#pragma once

#include <QDate>
#include <QDialog>

class QCalendarWidget;
class QLabel;
class QPushButton;
class TMultiLang;

// "Calendar": picks the reference date of a date stamp. A month calendar with weeks starting on
// Monday, buttons for the previous and next year and month and for today, and the month shown as
// a title centred over it. A double click on a day closes it with OK.
class TChoixD : public QDialog {
    Q_OBJECT
public:
    explicit TChoixD(QWidget* parent = nullptr);

    QDate Date() const;
    void SetDate(const QDate& date);

    TMultiLang* MultiLang1 = nullptr;
    QLabel* Titre = nullptr;
    QCalendarWidget* Calendar1 = nullptr;
    QPushButton* PreviousYearBtn = nullptr;
    QPushButton* PreviousMonthBtn = nullptr;
    QPushButton* NextMonthBtn = nullptr;
    QPushButton* NextYearBtn = nullptr;
    QPushButton* NowBtn = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void calendarChange();
    void placeTitle();
    void moveBy(int months, int years);
};

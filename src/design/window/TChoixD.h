#pragma once

#include <QDate>
#include <QDialog>

#include <memory>

class TMultiLang;

namespace Ui {
class TChoixD;
}

// "Calendar": picks the reference date of a date stamp. A month calendar with weeks starting on
// Monday, buttons for the previous and next year and month and for today, and the month shown as
// a title centred over it. A double click on a day closes it with OK.
class TChoixD : public QDialog {
    Q_OBJECT
public:
    explicit TChoixD(QWidget* parent = nullptr);
    ~TChoixD() override;

    QDate Date() const;
    void SetDate(const QDate& date);

    // The controls, by their names (resources/ui/TChoixD.ui).
    const std::unique_ptr<Ui::TChoixD> ui;
    TMultiLang* MultiLang1 = nullptr;

private:
    void connectEvents();
    void calendarChange();
    void moveBy(int months, int years);
};

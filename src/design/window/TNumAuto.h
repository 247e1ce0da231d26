#pragma once

#include "design/Numbering.h"

#include <QDate>
#include <QDialog>
#include <QString>

#include <memory>

class QComboBox;
class TMultiLang;

namespace Ui {
class TNumAuto;
}

namespace platform {
class TIniFile;
}

// "Automatic numbering - Date": the settings of "<Autonum>", "<Date1>" and "<Date2>". Its
// controls are the settings: the merge reads them through Numbering(), the settings file
// through Settings(). Created once at start, hidden; the station, the print dialog and the mailing
// options show it.
class TNumAuto : public QDialog {
    Q_OBJECT
public:
    // Reads [NumAuto] and [Dateurs] of the settings file; `today` is the date of the start of the
    // run (a run past midnight keeps it until a reference date is chosen again).
    TNumAuto(QWidget* parent, const QString& settingsFile, const QDate& today = QDate::currentDate());
    ~TNumAuto() override;

    // Fills a format list with the date in each of the six patterns and selects that list's
    // stored format index.
    void RemplirFormats(QComboBox* list, const QDate& date);
    // The pattern of the list's selected index; an index outside 0-5 gives `previous`.
    QString FormatChoisi(QComboBox* list, const QString& previous = {}) const;
    // The printed date of a stamp from the controls. Throws EConvertError outside years 1-9999.
    QString CalculerDate1() const;
    QString CalculerDate2() const;

    // The settings as the controls hold them (for the settings writer at exit).
    design::NumberingSettings Settings() const;
    void WriteSettings(platform::TIniFile& ini) const;
    // What the merge needs: numbering rule, start number and the two printed dates.
    design::MergeNumbering Numbering() const;

    // Shows the date picker on a stamp's reference date (the Button1/Button2 handlers).
    void Button1Click();
    void Button2Click();
    // The picker's answer, without showing it (what Button1/2 do after OK).
    void SetReferenceDate(int stamp, const QDate& date);

    QDate DateReference1;
    QDate DateReference2;
    int FormatDate1 = 0;
    int FormatDate2 = 0;

    // The controls, by their names (resources/ui/TNumAuto.ui).
    const std::unique_ptr<Ui::TNumAuto> ui;
    TMultiLang* MultiLang1 = nullptr;

signals:
    // The dialog was closed: the station reselects its design so the thumbnail shows new dates.
    void closed();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    struct Stamp;
    Stamp& stamp(int i);
    const Stamp& stamp(int i) const;
    design::DateStampSettings stampSettings(int i) const;
    void connectEvents();
    void applySettings(const design::NumberingSettings& s);
    void numberingChoice();
    void offsetChoice(int i);
    void recompute(int i);
    void pickDate(int i);

    std::unique_ptr<Stamp> m_stamps[2];
};

#include "design/window/TChoixD.h"
#include "design/window/TNumAuto.h"
#include "ui_TChoixD.h"
#include "ui_TNumAuto.h"

#include "MultiLang/MLBase.h"
#include "design/Dates.h"
#include "platform/TIniFile.h"
#include "platform/window/Application.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The program runs in English; day and month names follow the locale.
class NumberingDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_language = GlobalLanguage();
        SetGlobalLanguage(1);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        platform::Application::SetErrorHook([this](const QString& m) { errors << m; });
    }
    void TearDown() override
    {
        platform::Application::SetErrorHook({});
        QLocale::setDefault(QLocale::system());
        SetGlobalLanguage(m_language);
    }
    QString ini(const QByteArray& content)
    {
        const QString path = dir.filePath("pravolis.ini");
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(content);
        return path;
    }

    QTemporaryDir dir;
    QStringList errors;
    int m_language = 0;
};

const QDate Today(2024, 3, 15);

} // namespace

TEST_F(NumberingDialog, CreationFromDefaults)
{
    TNumAuto d(nullptr, dir.filePath("missing.ini"), Today);
    EXPECT_EQ(d.windowTitle(), "Automatic numbering - Date");
    EXPECT_TRUE(d.ui->Label1->text().startsWith("You can put <Autonum> on the labels"));
    EXPECT_TRUE(d.ui->RadioButton2->isChecked());
    EXPECT_TRUE(d.ui->SpinEdit->isEnabled());
    EXPECT_EQ(d.ui->SpinEdit->value(), 1);
    EXPECT_TRUE(d.ui->RadioButton3->isChecked());
    EXPECT_TRUE(d.ui->SpinEdit1->isEnabled());
    EXPECT_FALSE(d.ui->SpinEdit2->isEnabled());
    EXPECT_FALSE(d.ui->Label6->isEnabled());
    EXPECT_EQ(d.ui->ComboBox1->count(), 6);
    EXPECT_EQ(d.ui->ComboBox1->itemText(5), "Friday 15 March 2024");
    EXPECT_EQ(d.ui->Label8->text(), "15/03/24");
    EXPECT_EQ(d.ui->Label14->text(), "15/03/24");
    EXPECT_EQ(d.ui->Label4->text(), "days");
    const design::MergeNumbering n = d.Numbering();
    EXPECT_FALSE(n.ByRow);
    EXPECT_EQ(n.FirstNumber, 1);
    EXPECT_EQ(n.Date1, "15/03/24");
}

TEST_F(NumberingDialog, CreationFromRememberedSettings)
{
    TNumAuto d(nullptr,
               ini("[NumAuto]\r\nMéthode=1\r\nDébut=10\r\n[Dateurs]\r\nMemo1=1\r\nDate1=31/01/2023\r\n"
                   "DateFormat1=4\r\ndecal1=2\r\nmdecal1=1\r\nMemo2=1\r\nDate2=not a date\r\ndecal2=9\r\n"
                   "jdecal2=-1\r\nadecal2=1\r\nDateFormat2=3\r\n"),
               Today);
    // Numbering by record position: no start number to choose.
    EXPECT_TRUE(d.ui->RadioButton1->isChecked());
    EXPECT_FALSE(d.ui->SpinEdit->isEnabled());
    EXPECT_FALSE(d.ui->Label3->isEnabled());
    EXPECT_FALSE(d.ui->CheckBox1->isEnabled());
    EXPECT_TRUE(d.Numbering().ByRow);
    EXPECT_EQ(d.Numbering().FirstNumber, 10);

    EXPECT_TRUE(d.ui->RadioButton4->isChecked());
    EXPECT_TRUE(d.ui->SpinEdit2->isEnabled());
    EXPECT_FALSE(d.ui->SpinEdit1->isEnabled());
    EXPECT_EQ(d.FormatDate1, 4);
    EXPECT_EQ(d.ui->Label8->text(), "28 February 2023");

    // A damaged date falls back to today; kind 9 leaves the window's own choice (days).
    EXPECT_EQ(d.DateReference2, Today);
    EXPECT_TRUE(d.ui->RadioButton6->isChecked());
    EXPECT_EQ(d.ui->Label10->text(), "day");
    EXPECT_EQ(d.ui->Label12->text(), "year");
    EXPECT_EQ(d.ui->Label14->text(), "14-03-2024");
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(NumberingDialog, EventsRecomputeThePrintedDate)
{
    TNumAuto d(nullptr, dir.filePath("missing.ini"), Today);
    d.ui->SpinEdit1->setValue(-2);
    EXPECT_EQ(d.ui->Label4->text(), "days");
    EXPECT_EQ(d.ui->Label8->text(), "13/03/24");
    d.ui->SpinEdit1->setValue(-1);
    EXPECT_EQ(d.ui->Label4->text(), "day");
    d.ui->ComboBox1->setCurrentIndex(2);
    EXPECT_EQ(d.FormatDate1, 2);
    EXPECT_EQ(d.ui->Label8->text(), "14/03/2024");

    // Years: offset 0 keeps 29 February, 1 year turns it into 28 February.
    d.SetReferenceDate(0, QDate(2024, 2, 29));
    EXPECT_EQ(d.ui->ComboBox1->currentIndex(), 2);
    QTest::mouseClick(d.ui->RadioButton5, Qt::LeftButton);
    ASSERT_TRUE(d.ui->RadioButton5->isChecked());
    EXPECT_TRUE(d.ui->SpinEdit3->isEnabled());
    EXPECT_FALSE(d.ui->SpinEdit1->isEnabled());
    EXPECT_EQ(d.ui->Label8->text(), "29/02/2024");
    d.ui->SpinEdit3->setValue(1);
    EXPECT_EQ(d.ui->Label6->text(), "year");
    EXPECT_EQ(d.ui->Label8->text(), "28/02/2025");

    // An unreadable entry counts as 0.
    d.ui->SpinEdit3->findChild<QLineEdit*>()->setText("");
    EXPECT_EQ(d.ui->Label8->text(), "29/02/2024");

    // Out of the calendar: the text stays, the error is reported.
    d.ui->SpinEdit3->setValue(9000);
    EXPECT_EQ(d.ui->Label8->text(), "29/02/2024");
    EXPECT_EQ(errors.size(), 1);

    d.ui->RadioButton1->setChecked(true);
    EXPECT_FALSE(d.ui->SpinEdit->isEnabled());
    d.ui->RadioButton2->setChecked(true);
    EXPECT_TRUE(d.ui->SpinEdit->isEnabled());
}

TEST_F(NumberingDialog, SettingsWrittenAtExitReadBack)
{
    QString path;
    {
        TNumAuto d(nullptr, dir.filePath("missing.ini"), Today);
        d.ui->memo1->setChecked(true);
        d.SetReferenceDate(0, QDate(2001, 12, 31));
        d.ui->RadioButton4->setChecked(true);
        d.ui->SpinEdit2->setValue(-3);
        d.ui->ComboBox1->setCurrentIndex(5);
        d.ui->SpinEdit->setValue(42);
        path = dir.filePath("out.ini");
        platform::TIniFile out(path);
        d.WriteSettings(out);
        out.UpdateFile();
    }
    TNumAuto back(nullptr, path, QDate(2030, 1, 1));
    EXPECT_EQ(back.DateReference1, QDate(2001, 12, 31));
    EXPECT_EQ(back.DateReference2, QDate(2030, 1, 1));
    EXPECT_TRUE(back.ui->RadioButton4->isChecked());
    EXPECT_EQ(back.ui->SpinEdit2->value(), -3);
    EXPECT_EQ(back.ui->SpinEdit->value(), 42);
    EXPECT_EQ(back.ui->Label8->text(), "Sunday 30 September 2001");
}

TEST_F(NumberingDialog, DatePicker)
{
    TChoixD p;
    p.resize(400, 300);
    p.show();
    p.SetDate(QDate(2024, 1, 31));
    EXPECT_EQ(p.ui->Titre->text(), "January 2024");
    EXPECT_EQ(p.ui->Calendar1->firstDayOfWeek(), Qt::Monday);
    QTest::mouseClick(p.ui->NextMonthBtn, Qt::LeftButton);
    EXPECT_EQ(p.Date(), QDate(2024, 2, 29));
    EXPECT_EQ(p.ui->Titre->text(), "February 2024");
    // The title's letters stand centred on the window, whatever the month's name.
    QCoreApplication::processEvents();
    const QImage window = p.grab().toImage();
    const QRect titleRow = p.ui->Titre->geometry();
    int left = window.width(), right = -1;
    for (int y = titleRow.top(); y <= titleRow.bottom(); ++y)
        for (int x = 0; x < window.width(); ++x)
            if (qGray(window.pixel(x, y)) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_GE(right, left);
    EXPECT_NEAR((left + right + 1) / 2.0, p.width() / 2.0, 1.0);
    QTest::mouseClick(p.ui->NextYearBtn, Qt::LeftButton);
    EXPECT_EQ(p.Date(), QDate(2025, 2, 28));
    QTest::mouseClick(p.ui->PreviousYearBtn, Qt::LeftButton);
    QTest::mouseClick(p.ui->PreviousMonthBtn, Qt::LeftButton);
    EXPECT_EQ(p.Date(), QDate(2024, 1, 28));
    QTest::mouseClick(p.ui->NowBtn, Qt::LeftButton);
    EXPECT_EQ(p.Date(), QDate::currentDate());
    EXPECT_EQ(p.ui->NowBtn->text(), "Today");
    // Choosing a day (double click or Enter) closes the picker with OK.
    emit p.ui->Calendar1->activated(QDate(2024, 5, 1));
    EXPECT_EQ(p.result(), QDialog::Accepted);
}

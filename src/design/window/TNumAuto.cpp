#include "TNumAuto.h"
#include "ui_TNumAuto.h"

#include "TChoixD.h"

#include "design/Dates.h"
#include "MultiLang/MLang.h"
#include "platform/Errors.h"
#include "platform/TIniFile.h"
#include "platform/window/Application.h"

#include <QSignalBlocker>

namespace {

// The value the computations use: what the box shows, 0 when that cannot be read.
int readValue(const QSpinBox* box)
{
    bool ok = false;
    const int v = box->cleanText().trimmed().toInt(&ok);
    return ok ? v : 0;
}

} // namespace

// The controls of one date stamp, so that both stamps share their handlers.
struct TNumAuto::Stamp {
    QPushButton* button;
    QComboBox* combo;
    QRadioButton* kinds[3];
    OffsetSpinEdit* spins[3];
    QLabel* units[3];
    QLabel* printed;
    QCheckBox* memorise;
    QDate* reference;
    int* format;
};

TNumAuto::TNumAuto(QWidget* parent, const QString& settingsFile, const QDate& today)
    : QDialog(parent), ui(std::make_unique<Ui::TNumAuto>())
{
    ui->setupUi(this);
    m_stamps[0] = std::make_unique<Stamp>(Stamp{
        ui->Button1, ui->ComboBox1, {ui->RadioButton3, ui->RadioButton4, ui->RadioButton5},
        {ui->SpinEdit1, ui->SpinEdit2, ui->SpinEdit3}, {ui->Label4, ui->Label5, ui->Label6},
        ui->Label8, ui->memo1, &DateReference1, &FormatDate1});
    m_stamps[1] = std::make_unique<Stamp>(Stamp{
        ui->Button2, ui->ComboBox2, {ui->RadioButton6, ui->RadioButton7, ui->RadioButton8},
        {ui->SpinEdit4, ui->SpinEdit5, ui->SpinEdit6}, {ui->Label10, ui->Label11, ui->Label12},
        ui->Label14, ui->Memo2, &DateReference2, &FormatDate2});
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TNumAuto.txt"));
    MultiLang1->Loaded();
    ui->Label1->setText(MultiLang1->GetText(QStringLiteral("@1")));
    connectEvents();
    const platform::TIniFile ini(settingsFile);
    applySettings(design::ReadNumberingSettings(ini, today));
}

TNumAuto::~TNumAuto() = default;

TNumAuto::Stamp& TNumAuto::stamp(int i)
{
    return *m_stamps[i];
}

const TNumAuto::Stamp& TNumAuto::stamp(int i) const
{
    return *m_stamps[i];
}

void TNumAuto::connectEvents()
{
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->RadioButton1, &QRadioButton::toggled, this, [this] { numberingChoice(); });
    connect(ui->RadioButton2, &QRadioButton::toggled, this, [this] { numberingChoice(); });
    for (int i = 0; i < 2; ++i) {
        Stamp& st = stamp(i);
        for (int k = 0; k < 3; ++k) {
            connect(st.kinds[k], &QRadioButton::toggled, this, [this, i](bool on) {
                if (on)
                    offsetChoice(i);
            });
            auto changed = [this, i, k] {
                Stamp& s = stamp(i);
                const int v = readValue(s.spins[k]);
                if (k == 0)
                    s.units[0]->setText(MultiLang1->GetText(design::DayUnitKey(v)));
                else if (k == 2)
                    s.units[2]->setText(MultiLang1->GetText(design::YearUnitKey(v)));
                recompute(i);
            };
            // The spin box reports values set from code; its edit reports typing, including
            // entries that cannot be read.
            connect(st.spins[k], &QSpinBox::textChanged, this, changed);
            connect(st.spins[k]->edit(), &QLineEdit::textChanged, this, [this, i, k, changed] {
                bool readable = false;
                stamp(i).spins[k]->cleanText().trimmed().toInt(&readable);
                if (!readable)
                    changed();
            });
        }
        connect(st.combo, &QComboBox::currentIndexChanged, this, [this, i](int index) {
            recompute(i);
            *stamp(i).format = index;
        });
        connect(st.button, &QPushButton::clicked, this, [this, i] { pickDate(i); });
    }
}

void TNumAuto::applySettings(const design::NumberingSettings& s)
{
    (s.ByRow ? ui->RadioButton1 : ui->RadioButton2)->setChecked(true);
    numberingChoice();
    ui->SpinEdit->setValue(s.FirstNumber);
    ui->CheckBox1->setChecked(s.ContinueOverCopies);
    for (int i = 0; i < 2; ++i) {
        const design::DateStampSettings& d = s.Stamps[i];
        Stamp& st = stamp(i);
        st.memorise->setChecked(d.Memorise);
        *st.reference = d.DateReference;
        *st.format = d.FormatDate;
        RemplirFormats(st.combo, d.DateReference);
        // A kind other than 1-3 leaves the buttons as the window has them.
        if (d.OffsetKind >= design::OffsetDays && d.OffsetKind <= design::OffsetYears)
            st.kinds[d.OffsetKind - 1]->setChecked(true);
        offsetChoice(i);
        st.spins[0]->setValue(d.DayOffset);
        st.spins[1]->setValue(d.MonthOffset);
        st.spins[2]->setValue(d.YearOffset);
        st.units[0]->setText(MultiLang1->GetText(design::DayUnitKey(d.DayOffset)));
        st.units[2]->setText(MultiLang1->GetText(design::YearUnitKey(d.YearOffset)));
        recompute(i);
    }
}

void TNumAuto::numberingChoice()
{
    // Numbering by the record's position needs no start number.
    const bool byOrder = !ui->RadioButton1->isChecked();
    ui->Label3->setEnabled(byOrder);
    ui->SpinEdit->setEnabled(byOrder);
    ui->CheckBox1->setEnabled(byOrder);
}

void TNumAuto::offsetChoice(int i)
{
    Stamp& st = stamp(i);
    for (int k = 0; k < 3; ++k) {
        const bool on = st.kinds[k]->isChecked();
        st.spins[k]->setEnabled(on);
        st.units[k]->setEnabled(on);
    }
    recompute(i);
}

void TNumAuto::recompute(int i)
{
    // A date out of the calendar's range keeps the previous text and reports the error.
    platform::runReportingErrors([&] { stamp(i).printed->setText(i == 0 ? CalculerDate1() : CalculerDate2()); });
}

void TNumAuto::RemplirFormats(QComboBox* list, const QDate& date)
{
    const QSignalBlocker quiet(list);
    list->clear();
    for (int k = 0; k < design::DatePatternCount; ++k) {
        QString text;
        try {
            text = design::FormatDate(design::DatePattern(k), date);
        } catch (const platform::EConvertError&) {
            // an invalid date leaves the entry empty
        }
        list->addItem(text);
    }
    const int stored = list == ui->ComboBox2 ? FormatDate2 : FormatDate1;
    list->setCurrentIndex(stored >= 0 && stored < design::DatePatternCount ? stored : 0);
}

QString TNumAuto::FormatChoisi(QComboBox* list, const QString& previous) const
{
    const int index = list->currentIndex();
    if (index < 0 || index >= design::DatePatternCount)
        return previous;
    return design::DatePattern(index);
}

design::DateStampSettings TNumAuto::stampSettings(int i) const
{
    const Stamp& st = stamp(i);
    design::DateStampSettings d;
    d.Memorise = st.memorise->isChecked();
    d.DateReference = *st.reference;
    d.FormatDate = *st.format;
    d.OffsetKind = 0;
    for (int k = 0; k < 3; ++k)
        if (st.kinds[k]->isChecked())
            d.OffsetKind = k + 1;
    d.DayOffset = readValue(st.spins[0]);
    d.MonthOffset = readValue(st.spins[1]);
    d.YearOffset = readValue(st.spins[2]);
    return d;
}

QString TNumAuto::CalculerDate1() const
{
    design::DateStampSettings d = stampSettings(0);
    return design::FormatDate(FormatChoisi(ui->ComboBox1, design::DatePattern(0)), design::StampDate(d));
}

QString TNumAuto::CalculerDate2() const
{
    design::DateStampSettings d = stampSettings(1);
    return design::FormatDate(FormatChoisi(ui->ComboBox2, design::DatePattern(0)), design::StampDate(d));
}

design::NumberingSettings TNumAuto::Settings() const
{
    design::NumberingSettings s;
    s.ByRow = ui->RadioButton1->isChecked();
    s.FirstNumber = ui->SpinEdit->value();
    s.ContinueOverCopies = ui->CheckBox1->isChecked();
    s.Stamps[0] = stampSettings(0);
    s.Stamps[1] = stampSettings(1);
    return s;
}

void TNumAuto::WriteSettings(platform::TIniFile& ini) const
{
    design::WriteNumberingSettings(ini, Settings());
}

design::MergeNumbering TNumAuto::Numbering() const
{
    return {ui->RadioButton1->isChecked(), ui->SpinEdit->value(), ui->Label8->text(), ui->Label14->text()};
}

void TNumAuto::SetReferenceDate(int i, const QDate& date)
{
    Stamp& st = stamp(i);
    *st.reference = date;
    RemplirFormats(st.combo, date);
    recompute(i);
}

void TNumAuto::pickDate(int i)
{
    TChoixD picker(this);
    picker.SetDate(*stamp(i).reference);
    if (picker.exec() == QDialog::Accepted)
        SetReferenceDate(i, picker.Date());
}

void TNumAuto::Button1Click()
{
    pickDate(0);
}

void TNumAuto::Button2Click()
{
    pickDate(1);
}

void TNumAuto::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    emit closed();
}

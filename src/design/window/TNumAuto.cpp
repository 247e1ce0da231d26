#include "TNumAuto.h"

#include "TChoixD.h"

#include "design/Dates.h"
#include "MultiLang/MLang.h"
#include "platform/Errors.h"
#include "platform/TIniFile.h"
#include "platform/window/Application.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <climits>

namespace {

// The offsets have no bounds. An entry that cannot be read (empty, a lone sign) counts as 0 and
// becomes 0 when the user leaves the box.
class OffsetSpinEdit : public QSpinBox {
public:
    explicit OffsetSpinEdit(QWidget* parent) : QSpinBox(parent) { setRange(INT_MIN, INT_MAX); }
    // The edit itself: the spin box stays silent while its text cannot be read.
    QLineEdit* edit() const { return lineEdit(); }
    void fixup(QString& input) const override
    {
        bool ok = false;
        input.trimmed().toInt(&ok);
        if (!ok)
            input = QStringLiteral("0");
    }
};

// The value the computations use: what the box shows, 0 when that cannot be read.
int readValue(const QSpinBox* box)
{
    bool ok = false;
    const int v = box->cleanText().trimmed().toInt(&ok);
    return ok ? v : 0;
}

template <class W>
W* named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

// The controls of one date stamp, so that both stamps share their handlers.
struct TNumAuto::Stamp {
    QPushButton* button = nullptr;
    QComboBox* combo = nullptr;
    QRadioButton* kinds[3] = {};
    QSpinBox* spins[3] = {};
    QLabel* units[3] = {};
    QLabel* printed = nullptr;
    QCheckBox* memorise = nullptr;
    QDate* reference = nullptr;
    int* format = nullptr;
};

TNumAuto::TNumAuto(QWidget* parent, const QString& settingsFile, const QDate& today) : QDialog(parent)
{
    setObjectName(QStringLiteral("NumAuto"));
    m_stamps[0] = std::make_unique<Stamp>();
    m_stamps[1] = std::make_unique<Stamp>();
    buildControls();
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TNumAuto.txt"));
    MultiLang1->Loaded();
    Label1->setText(MultiLang1->GetText(QStringLiteral("@1")));
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

void TNumAuto::buildControls()
{
    auto* layout = new QVBoxLayout(this);

    GroupBox1 = named(new QGroupBox(this), "GroupBox1");
    auto* numbering = new QGridLayout(GroupBox1);
    Label1 = named(new QLabel(GroupBox1), "Label1");
    Label1->setWordWrap(true);
    RadioButton1 = named(new QRadioButton(GroupBox1), "RadioButton1");
    RadioButton2 = named(new QRadioButton(GroupBox1), "RadioButton2");
    Label3 = named(new QLabel(GroupBox1), "Label3");
    SpinEdit = named(new QSpinBox(GroupBox1), "SpinEdit");
    SpinEdit->setRange(INT_MIN, INT_MAX);
    CheckBox1 = named(new QCheckBox(GroupBox1), "CheckBox1");
    auto* rule = new QButtonGroup(GroupBox1);
    rule->addButton(RadioButton1);
    rule->addButton(RadioButton2);
    numbering->addWidget(Label1, 0, 0, 1, 3);
    numbering->addWidget(RadioButton1, 1, 0, 1, 3);
    numbering->addWidget(RadioButton2, 2, 0, 1, 3);
    numbering->addWidget(Label3, 3, 0);
    numbering->addWidget(SpinEdit, 3, 1);
    numbering->addWidget(CheckBox1, 4, 0, 1, 3);
    layout->addWidget(GroupBox1);

    auto* dates = new QHBoxLayout;
    GroupBox2 = buildStamp(0);
    GroupBox3 = buildStamp(1);
    dates->addWidget(GroupBox2);
    dates->addWidget(GroupBox3);
    layout->addLayout(dates);

    BitBtn1 = named(new QPushButton(this), "BitBtn1");
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    layout->addLayout(buttons);

    Stamp& a = stamp(0);
    Button1 = a.button;
    ComboBox1 = a.combo;
    RadioButton3 = a.kinds[0];
    RadioButton4 = a.kinds[1];
    RadioButton5 = a.kinds[2];
    SpinEdit1 = a.spins[0];
    SpinEdit2 = a.spins[1];
    SpinEdit3 = a.spins[2];
    Label4 = a.units[0];
    Label5 = a.units[1];
    Label6 = a.units[2];
    Label8 = a.printed;
    memo1 = a.memorise;
    Stamp& b = stamp(1);
    Button2 = b.button;
    ComboBox2 = b.combo;
    RadioButton6 = b.kinds[0];
    RadioButton7 = b.kinds[1];
    RadioButton8 = b.kinds[2];
    SpinEdit4 = b.spins[0];
    SpinEdit5 = b.spins[1];
    SpinEdit6 = b.spins[2];
    Label10 = b.units[0];
    Label11 = b.units[1];
    Label12 = b.units[2];
    Label14 = b.printed;
    Memo2 = b.memorise;
    Label2 = GroupBox2->findChild<QLabel*>(QStringLiteral("Label2"));
    Label7 = GroupBox2->findChild<QLabel*>(QStringLiteral("Label7"));
    Label9 = GroupBox3->findChild<QLabel*>(QStringLiteral("Label9"));
    Label13 = GroupBox3->findChild<QLabel*>(QStringLiteral("Label13"));
}

QGroupBox* TNumAuto::buildStamp(int i)
{
    // Control names of stamp 1 and stamp 2, as the translation table and the callers know them.
    static const char* const group[2] = {"GroupBox2", "GroupBox3"};
    static const char* const button[2] = {"Button1", "Button2"};
    static const char* const formatLabel[2] = {"Label2", "Label9"};
    static const char* const combo[2] = {"ComboBox1", "ComboBox2"};
    static const char* const kinds[2][3] = {{"RadioButton3", "RadioButton4", "RadioButton5"},
                                            {"RadioButton6", "RadioButton7", "RadioButton8"}};
    static const char* const spins[2][3] = {{"SpinEdit1", "SpinEdit2", "SpinEdit3"},
                                            {"SpinEdit4", "SpinEdit5", "SpinEdit6"}};
    static const char* const units[2][3] = {{"Label4", "Label5", "Label6"},
                                            {"Label10", "Label11", "Label12"}};
    static const char* const printedCaption[2] = {"Label7", "Label13"};
    static const char* const printed[2] = {"Label8", "Label14"};
    static const char* const memorise[2] = {"memo1", "Memo2"};

    Stamp& st = stamp(i);
    st.reference = i == 0 ? &DateReference1 : &DateReference2;
    st.format = i == 0 ? &FormatDate1 : &FormatDate2;

    auto* box = named(new QGroupBox(this), group[i]);
    auto* grid = new QGridLayout(box);
    st.button = named(new QPushButton(box), button[i]);
    grid->addWidget(st.button, 0, 0, 1, 3);
    grid->addWidget(named(new QLabel(box), formatLabel[i]), 1, 0);
    st.combo = named(new QComboBox(box), combo[i]);
    grid->addWidget(st.combo, 1, 1, 1, 2);
    auto* kindGroup = new QButtonGroup(box);
    for (int k = 0; k < 3; ++k) {
        st.kinds[k] = named(new QRadioButton(box), kinds[i][k]);
        kindGroup->addButton(st.kinds[k]);
        st.spins[k] = named(new OffsetSpinEdit(box), spins[i][k]);
        st.units[k] = named(new QLabel(box), units[i][k]);
        grid->addWidget(st.kinds[k], 2 + k, 0);
        grid->addWidget(st.spins[k], 2 + k, 1);
        grid->addWidget(st.units[k], 2 + k, 2);
    }
    // The window as laid out: days chosen until the settings say otherwise.
    st.kinds[0]->setChecked(true);
    grid->addWidget(named(new QLabel(box), printedCaption[i]), 5, 0, 1, 3);
    st.printed = named(new QLabel(box), printed[i]);
    st.printed->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(st.printed, 6, 0, 1, 3);
    st.memorise = named(new QCheckBox(box), memorise[i]);
    grid->addWidget(st.memorise, 7, 0, 1, 3);
    return box;
}

void TNumAuto::connectEvents()
{
    connect(RadioButton1, &QRadioButton::toggled, this, [this] { numberingChoice(); });
    connect(RadioButton2, &QRadioButton::toggled, this, [this] { numberingChoice(); });
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
            connect(static_cast<OffsetSpinEdit*>(st.spins[k])->edit(), &QLineEdit::textChanged, this,
                    [this, i, k, changed] {
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
    (s.ByRow ? RadioButton1 : RadioButton2)->setChecked(true);
    numberingChoice();
    SpinEdit->setValue(s.FirstNumber);
    CheckBox1->setChecked(s.ContinueOverCopies);
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
    const bool byOrder = !RadioButton1->isChecked();
    Label3->setEnabled(byOrder);
    SpinEdit->setEnabled(byOrder);
    CheckBox1->setEnabled(byOrder);
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
    const int stored = list == ComboBox2 ? FormatDate2 : FormatDate1;
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
    return design::FormatDate(FormatChoisi(ComboBox1, design::DatePattern(0)), design::StampDate(d));
}

QString TNumAuto::CalculerDate2() const
{
    design::DateStampSettings d = stampSettings(1);
    return design::FormatDate(FormatChoisi(ComboBox2, design::DatePattern(0)), design::StampDate(d));
}

design::NumberingSettings TNumAuto::Settings() const
{
    design::NumberingSettings s;
    s.ByRow = RadioButton1->isChecked();
    s.FirstNumber = SpinEdit->value();
    s.ContinueOverCopies = CheckBox1->isChecked();
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
    return {RadioButton1->isChecked(), SpinEdit->value(), Label8->text(), Label14->text()};
}

void TNumAuto::SetDateReference(int i, const QDate& date)
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
        SetDateReference(i, picker.Date());
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

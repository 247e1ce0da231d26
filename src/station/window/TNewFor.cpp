#include "TNewFor.h"
#include "ui_TNewFor.h"

#include "PreviewPort.h"

#include "MultiLang/MLang.h"
#include "platform/window/Application.h"
#include "shell/BoiteMessage.h"

#include <QButtonGroup>
#include <QEvent>
#include <QSignalBlocker>

namespace station {

TNewFor::TNewFor(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TNewFor>())
{
    ui->setupUi(this);
    m_papers = ui->paperGroup;
    // A paper's id in the group is its paper type.
    QRadioButton* const radios[] = {ui->RadioButton1, ui->RadioButton2, ui->RadioButton3,
                                    ui->RadioButton4, ui->RadioButton5};
    for (int tag = 0; tag < 5; ++tag)
        m_papers->setId(radios[tag], tag);
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TNewFor.txt"));
    MultiLang1->Loaded();
    connectEvents();
    SetPreview(nullptr);
}

TNewFor::~TNewFor() = default;

void TNewFor::connectEvents()
{
    const auto reporting = [](auto f) { return [f] { platform::runReportingErrors(f); }; };
    connect(m_papers, &QButtonGroup::idClicked, this, reporting([this] { PaperClick(); }));
    ui->Edit1->installEventFilter(this);
    for (QLineEdit* edit : millimetreEdits())
        edit->installEventFilter(this);
    connect(ui->Edit1, &QLineEdit::textChanged, this, reporting([this] { Edit1Change(); }));
    connect(ui->SpinEdit1, &QSpinBox::valueChanged, this, reporting([this] { SpinEditChange(1); }));
    connect(ui->SpinEdit2, &QSpinBox::valueChanged, this, reporting([this] { SpinEditChange(2); }));
    connect(ui->RoundCB, &QCheckBox::clicked, this, reporting([this] { RoundCBClick(); }));
    connect(ui->BitBtn1, &QPushButton::clicked, this, reporting([this] { BitBtn1Click(); }));
    connect(ui->OKBtn, &QPushButton::clicked, this, reporting([this] { OKBtnClick(); }));
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

QList<QLineEdit*> TNewFor::millimetreEdits() const
{
    return {ui->FloatEdit1, ui->FloatEdit2, ui->FloatEdit3, ui->FloatEdit4, ui->FloatEdit5, ui->FloatEdit6};
}

void TNewFor::SetPaperNames(const TPaperNames& names)
{
    m_paperNames = names;
}

void TNewFor::SetPreview(TPreviewPort* preview)
{
    m_preview = preview;
    ui->BitBtn1->setEnabled(m_preview != nullptr);
}

void TNewFor::Charger(const TLigneFormat& row)
{
    const TEditorFields f = EditorFieldsFromRow(row, m_paperNames);
    {
        const QSignalBlocker quiet(ui->Edit1);
        ui->Edit1->setText(f.Name);
    }
    m_papers->setExclusive(false);
    for (QAbstractButton* radio : m_papers->buttons())
        radio->setChecked(false);
    m_papers->setExclusive(true);
    m_papers->button(TypePapier(f.Name, m_paperNames))->setChecked(true);
    ui->FloatEdit1->setText(f.Width);
    ui->FloatEdit2->setText(f.Height);
    ui->FloatEdit3->setText(f.MarginTop);
    ui->FloatEdit4->setText(f.MarginLeft);
    ui->FloatEdit5->setText(f.GapHorizontal);
    ui->FloatEdit6->setText(f.GapVertical);
    {
        const QSignalBlocker quiet1(ui->SpinEdit1);
        const QSignalBlocker quiet2(ui->SpinEdit2);
        ui->SpinEdit1->setValue(f.Columns);
        ui->SpinEdit2->setValue(f.Rows);
    }
    ui->RoundCB->setChecked(f.Round);
}

TEditorFields TNewFor::Fields() const
{
    TEditorFields f;
    f.Name = ui->Edit1->text();
    f.Width = ui->FloatEdit1->text();
    f.Height = ui->FloatEdit2->text();
    f.MarginTop = ui->FloatEdit3->text();
    f.MarginLeft = ui->FloatEdit4->text();
    f.GapHorizontal = ui->FloatEdit5->text();
    f.GapVertical = ui->FloatEdit6->text();
    f.Columns = ui->SpinEdit1->value();
    f.Rows = ui->SpinEdit2->value();
    f.Round = ui->RoundCB->isChecked();
    return f;
}

TTypePapier TNewFor::SupportChoisi() const
{
    const int id = m_papers->checkedId();
    return id < 0 ? tpA4 : static_cast<TTypePapier>(id);
}

void TNewFor::PrefixerNom()
{
    const QSignalBlocker quiet(ui->Edit1);
    ui->Edit1->setText(station::PrefixerNom(ui->Edit1->text(), NomPapier(SupportChoisi(), m_paperNames)));
    Edit1Change();
}

void TNewFor::adaptToPaper()
{
    const TPaperFields f = AdaptToPaper(SupportChoisi(), ui->SpinEdit1->value());
    if (f.Count) {
        const QSignalBlocker quiet1(ui->SpinEdit1);
        const QSignalBlocker quiet2(ui->SpinEdit2);
        ui->SpinEdit1->setValue(*f.Count);
        ui->SpinEdit2->setValue(*f.Count);
    }
    if (!f.Margins.isEmpty()) {
        ui->FloatEdit3->setText(f.Margins);
        ui->FloatEdit4->setText(f.Margins);
    }
    if (!f.GapHorizontal.isEmpty())
        ui->FloatEdit5->setText(f.GapHorizontal);
    for (QWidget* w : {static_cast<QWidget*>(ui->SpinEdit1), static_cast<QWidget*>(ui->ColumnsLabel),
                       static_cast<QWidget*>(ui->SpinEdit2), static_cast<QWidget*>(ui->RowsLabel)})
        w->setEnabled(f.CountsEnabled);
    for (QWidget* w : {static_cast<QWidget*>(ui->FloatEdit3), static_cast<QWidget*>(ui->TopMarginLabel),
                       static_cast<QWidget*>(ui->FloatEdit4), static_cast<QWidget*>(ui->LeftMarginLabel)})
        w->setEnabled(f.MarginsEnabled);
    ui->FloatEdit5->setEnabled(f.GapHorizontalEnabled);
    ui->GapHorizontalLabel->setEnabled(f.GapHorizontalEnabled);
}

void TNewFor::refreshPreview()
{
    if (m_preview != nullptr && m_preview->EstVisible() && isVisible())
        Previsualiser();
}

void TNewFor::Previsualiser()
{
    if (m_preview == nullptr)
        return;
    const TEditorFields f = Fields();
    m_preview->Remplir(EditorPreview(f, m_paperNames), MultiLang1->GetText(QStringLiteral("@1")) + f.Name);
}

void TNewFor::PaperClick()
{
    PrefixerNom();
    adaptToPaper();
    refreshPreview();
}

void TNewFor::Edit1Exit()
{
    PrefixerNom();
}

void TNewFor::Edit1Change()
{
    if (m_preview != nullptr && m_preview->EstVisible())
        Previsualiser();
}

void TNewFor::FloatEditExit(QLineEdit* edit)
{
    edit->setText(CheckedMillimetreText(edit->text()));
    refreshPreview();
}

void TNewFor::SpinEditChange(int which)
{
    QSpinBox* spin = which == 1 ? ui->SpinEdit1 : ui->SpinEdit2;
    if (spin->value() != CheckedCount(spin->value()))
        spin->setValue(CheckedCount(spin->value()));
    const TTypePapier paper = SupportChoisi();
    if (which == 1 && (paper == tpContinuous12 || paper == tpContinuous6))
        ui->FloatEdit5->setText(ContinuousGap(spin->value()));
    refreshPreview();
}

void TNewFor::RoundCBClick()
{
    refreshPreview();
}

void TNewFor::BitBtn1Click()
{
    if (m_preview == nullptr)
        return;
    m_preview->SetChoixDepart(false);
    Previsualiser();
    m_preview->Montrer(this);
}

void TNewFor::OKBtnClick()
{
    PrefixerNom();
    for (QLineEdit* edit : millimetreEdits())
        edit->setText(CheckedMillimetreText(edit->text()));
    SpinEditChange(1);
    SpinEditChange(2);
    // Sizes of 0 or below divide by zero downstream; lengths past the range overflow the pages.
    QLineEdit* culprit = nullptr;
    switch (CheckEditorFields(Fields())) {
    case TEditorRefusal::None:
        accept();
        return;
    case TEditorRefusal::LabelSize:
        BoiteMessage(MultiLang1->GetText(QStringLiteral("@2")), 0, platform::mbOK);
        culprit = MillimetreHundredths(ui->FloatEdit1->text()).value_or(0) <= 0 ? ui->FloatEdit1 : ui->FloatEdit2;
        break;
    case TEditorRefusal::OutOfRange:
        BoiteMessage(MultiLang1->GetText(QStringLiteral("@3")), 0, platform::mbOK);
        for (QLineEdit* edit : millimetreEdits())
            if (qAbs(MillimetreHundredths(edit->text()).value_or(0)) > MaxEditorLength && culprit == nullptr)
                culprit = edit;
        break;
    }
    if (culprit != nullptr) {
        culprit->setFocus();
        culprit->selectAll();
    }
}

void TNewFor::done(int r)
{
    if (m_preview != nullptr && m_preview->EstVisible())
        m_preview->Fermer();
    QDialog::done(r);
}

void TNewFor::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    adaptToPaper();
}

bool TNewFor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        if (watched == ui->Edit1)
            platform::runReportingErrors([this] { Edit1Exit(); });
        else if (auto* edit = qobject_cast<QLineEdit*>(watched); edit != nullptr && millimetreEdits().contains(edit))
            platform::runReportingErrors([this, edit] { FloatEditExit(edit); });
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace station

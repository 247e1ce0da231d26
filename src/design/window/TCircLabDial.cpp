#include "TCircLabDial.h"
#include "ui_TCircLabDial.h"

#include "FieldCodeEdits.h"
#include "ObjectViews.h"

#include "MultiLang/MLang.h"
#include "design/DesignModel.h"
#include "platform/window/Dialogs.h"

#include <QSignalBlocker>

namespace {

QString degrees(int value)
{
    return QString::number(value) + QChar(0x00B0);
}

} // namespace

TCircLabDial::TCircLabDial(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TCircLabDial>())
{
    ui->setupUi(this);
    m_view = new TCircleLabelView(nullptr, ui->previewSurface);
    m_view->move(4, 4);
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TCircLabDial.txt"));
    MultiLang1->Loaded();
    connectEvents();
    previewChanged();
}

TCircLabDial::~TCircLabDial() = default;

design::TCircleLabel& TCircLabDial::CircleLabel() const
{
    return m_view->Label();
}

void TCircLabDial::connectEvents()
{
    connect(ui->CheckBox1, &QCheckBox::toggled, this, [this] { CheckBox1Click(); });
    connect(ui->ArcScrollBar, &QScrollBar::valueChanged, this, [this] { ArcScrollBarScroll(); });
    connect(ui->StartScrollBar, &QScrollBar::valueChanged, this, [this] { StartScrollBarScroll(); });
    connect(ui->FontBtn, &QPushButton::clicked, this, [this] { FontBtnClick(); });
    connect(ui->Texte, &QLineEdit::textChanged, this, [this] { TexteChange(); });
    connect(ui->ComboBox, &QComboBox::activated, this, [this] { InsertFieldCode(); });
    connect(ui->OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TCircLabDial::Load(const design::TCircleLabel& object)
{
    design::ApplyCircleLabelDialog(CircleLabel(), object);
    previewChanged();
}

void TCircLabDial::SetFieldCodes(const QStringList& codes)
{
    ui->ComboBox->clear();
    ui->ComboBox->addItems(codes);
}

void TCircLabDial::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TCircLabDial::FormShow()
{
    const design::TCircleLabel& c = CircleLabel();
    m_loading = true;
    ui->CheckBox1->setChecked(c.EvenSpaceChars());
    ui->ArcScrollBar->setValue(c.Degrees());
    ui->ArcLabel->setText(degrees(c.Degrees()));
    ui->StartScrollBar->setValue(c.StartingVector());
    ui->StartLabel->setText(degrees(c.StartingVector()));
    ui->Texte->setText(c.Caption());
    m_loading = false;
    enableArc();
    ui->Texte->setFocus();
    ui->Texte->setCursorPosition(ui->Texte->text().size());
    ui->ComboBox->setCurrentIndex(ui->ComboBox->count() > 0 ? 0 : -1);
}

void TCircLabDial::enableArc()
{
    const bool on = ui->CheckBox1->isChecked();
    ui->ArcScrollBar->setEnabled(on);
    ui->ArcLabel->setEnabled(on);
    ui->Label2->setEnabled(on);
}

void TCircLabDial::CheckBox1Click()
{
    enableArc();
    if (m_loading)
        return;
    CircleLabel().SetEvenSpaceChars(ui->CheckBox1->isChecked());
    previewChanged();
}

void TCircLabDial::ArcScrollBarScroll()
{
    if (m_loading)
        return;
    CircleLabel().SetDegrees(ui->ArcScrollBar->value());
    ui->ArcLabel->setText(degrees(CircleLabel().Degrees()));
    previewChanged();
}

void TCircLabDial::StartScrollBarScroll()
{
    if (m_loading)
        return;
    CircleLabel().SetStartingVector(ui->StartScrollBar->value());
    ui->StartLabel->setText(degrees(CircleLabel().StartingVector()));
    previewChanged();
}

void TCircLabDial::FontBtnClick()
{
    platform::TFontDialog dialog;
    dialog.Font = CircleLabel().Font;
    if (!dialog.Execute())
        return;
    CircleLabel().Font = dialog.Font;
    previewChanged();
}

void TCircLabDial::TexteChange()
{
    if (m_loading)
        return;
    CircleLabel().SetCaption(ui->Texte->text());
    previewChanged();
}

void TCircLabDial::InsertFieldCode()
{
    if (ui->ComboBox->currentIndex() >= 0)
        InsertFieldCodeAtCaret(ui->Texte, ui->ComboBox->currentText());
}

void TCircLabDial::previewChanged()
{
    m_view->Refresh();
    ui->previewSurface->resize(std::max(m_view->width() + 8, 250), std::max(m_view->height() + 8, 250));
}

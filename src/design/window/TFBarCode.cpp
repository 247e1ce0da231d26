#include "TFBarCode.h"
#include "ui_TFBarCode.h"

#include "FieldCodeEdits.h"

#include "MultiLang/MLang.h"
#include "barcode/Barcode.h"
#include "design/DesignModel.h"
#include "design/ObjectGeometry.h"
#include "design/PreparedLabel.h"
#include "design/Renderer.h"
#include "platform/TCanvas.h"
#include "platform/window/Dialogs.h"

#include <QButtonGroup>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPainter>
#include <QVBoxLayout>

TBarcodePreview::TBarcodePreview(QWidget* parent)
    : QWidget(parent), m_record(std::make_unique<design::TBarcodeObject>())
{
    Refresh();
}

TBarcodePreview::~TBarcodePreview() = default;

void TBarcodePreview::Refresh()
{
    design::LayoutBarcode(*m_record);
    update();
}

void TBarcodePreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!m_record->Barcode().LastError().isEmpty())
        return;
    // Centred in the preview; a symbol larger than the preview shows its top-left part.
    const int x = std::max(0, (width() - m_record->Width) / 2);
    const int y = std::max(0, (height() - m_record->Height) / 2);
    painter.translate(x, y);
    platform::TCanvas canvas(&painter);
    try {
        design::DrawObject(canvas, design::PrepareAsDesigned(*m_record), {});
    } catch (const std::exception&) {
        // Nothing is drawn: the message under the preview tells why.
    }
}

TFBarCode::TFBarCode(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TFBarCode>())
{
    ui->setupUi(this);
    m_preview = new TBarcodePreview(ui->PreviewPanel);
    auto* previewLayout = new QVBoxLayout(ui->PreviewPanel);
    previewLayout->setContentsMargins(2, 2, 2, 2);
    previewLayout->addWidget(m_preview);
    m_types = new QButtonGroup(this);
    const QRadioButton* const typeButtons[] = {ui->Radio0, ui->Radio1, ui->Radio2, ui->Radio3, ui->Radio4,
                                               ui->Radio5, ui->Radio6, ui->Radio7, ui->Radio8, ui->Radio9};
    for (int tag = 0; tag < 10; ++tag)
        m_types->addButton(const_cast<QRadioButton*>(typeButtons[tag]), tag);
    m_moduleWidths = new QButtonGroup(this);
    const QRadioButton* const widths[] = {ui->ModuleWidth0, ui->ModuleWidth1, ui->ModuleWidth2, ui->ModuleWidth3,
                                          ui->ModuleWidth4, ui->ModuleWidth5, ui->ModuleWidth6, ui->ModuleWidth7,
                                          ui->ModuleWidth8, ui->ModuleWidth9};
    for (int i = 0; i < 10; ++i)
        m_moduleWidths->addButton(const_cast<QRadioButton*>(widths[i]), i);
    m_rotations = new QButtonGroup(this);
    m_rotations->addButton(ui->Rotation0, 0);
    m_rotations->addButton(ui->Rotation1, 1);
    m_rotations->addButton(ui->Rotation2, 2);
    m_rotations->addButton(ui->Rotation3, 3);
    // Linux has no separate list of printer fonts: the printer gets the same fonts as the screen.
    ui->FontCombo->addItems(QFontDatabase::families());
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TFBarCode.txt"));
    MultiLang1->Loaded();
    connectEvents();
    FormShow();
}

TFBarCode::~TFBarCode() = default;

barcode::TBarcode& TFBarCode::Barcode1() const
{
    return m_preview->Record().Barcode();
}

void TFBarCode::connectEvents()
{
    using barcode::TBarcode;
    connect(m_types, &QButtonGroup::idClicked, this, [this](int tag) { RGCodetypClick(tag); });
    connect(m_moduleWidths, &QButtonGroup::idClicked, this,
            [this](int i) { change([i](TBarcode& b) { b.SetBar_ModuleWidth(i); }); });
    connect(m_rotations, &QButtonGroup::idClicked, this,
            [this](int i) { change([i](TBarcode& b) { b.SetBar_Rotation(i); }); });
    connect(ui->SE_HeightPerCent, &QSpinBox::valueChanged, this,
            [this](int v) { change([v](TBarcode& b) { b.SetBar_HeightPercent(v); }); });
    connect(ui->SpinEdit1, &QSpinBox::valueChanged, this,
            [this](int v) { change([v](TBarcode& b) { b.SetBar_Fontscaling(v); }); });
    connect(ui->Edit1, &QLineEdit::textChanged, this,
            [this](const QString& t) { change([t](TBarcode& b) { b.SetBar_Caption(t); }); });
    connect(ui->Edit2, &QLineEdit::textChanged, this,
            [this](const QString& t) { change([t](TBarcode& b) { b.SetBar_CodeAddon(t); }); });
    connect(ui->FontCombo, &QComboBox::currentTextChanged, this,
            [this](const QString& t) { change([t](TBarcode& b) { b.SetBar_Fontname(t); }); });
    connect(ui->CB_WidthReduce, &QCheckBox::toggled, this,
            [this](bool on) { change([on](TBarcode& b) { b.SetBar_WidthReduce(on); }); });
    connect(ui->CB_HumanReadable, &QCheckBox::toggled, this,
            [this](bool on) { change([on](TBarcode& b) { b.SetBar_HumanReadable(on); }); });
    connect(ui->ComboBox1, &QComboBox::activated, this, [this] { InsertFieldCode(1); });
    connect(ui->ComboBox2, &QComboBox::activated, this, [this] { InsertFieldCode(2); });
    connect(ui->OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TFBarCode::change(const std::function<void(barcode::TBarcode&)>& set)
{
    if (m_loading)
        return;
    try {
        set(Barcode1());
    } catch (const std::exception& e) {
        const auto* ours = dynamic_cast<const platform::Exception*>(&e);
        platform::MessageDlg(ours != nullptr ? ours->message() : QString::fromUtf8(e.what()),
                             platform::mtError, platform::mbOK);
        // The barcode kept its value: the controls show it again.
        showControls();
    }
    afterChange();
}

void TFBarCode::afterChange()
{
    m_preview->Refresh();
    ui->ErrorLabel->setText(Barcode1().LastError());
}

void TFBarCode::Load(const design::TBarcodeObject& object)
{
    design::ApplyBarcodeDialog(m_preview->Record(), object.Barcode());
    FormShow();
}

void TFBarCode::SetFieldCodes(const QStringList& codes)
{
    for (QComboBox* list : {ui->ComboBox1, ui->ComboBox2}) {
        list->clear();
        list->addItems(codes);
    }
}

void TFBarCode::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TFBarCode::FormShow()
{
    showControls();
    ui->RGModulewidth->setTitle(MultiLang1->GetText(QStringLiteral("@100")));
    ui->RGRotation->setTitle(MultiLang1->GetText(QStringLiteral("@101")));
    afterChange();
}

void TFBarCode::showControls()
{
    const barcode::TBarcode& b = Barcode1();
    m_loading = true;
    if (QAbstractButton* type = m_types->button(static_cast<int>(b.Bar_CodeType())))
        type->setChecked(true);
    else if (QAbstractButton* checked = m_types->checkedButton()) {
        m_types->setExclusive(false);
        checked->setChecked(false);
        m_types->setExclusive(true);
    }
    if (QAbstractButton* w = m_moduleWidths->button(static_cast<int>(b.Bar_ModuleWidth())))
        w->setChecked(true);
    if (QAbstractButton* r = m_rotations->button(static_cast<int>(b.Bar_Rotation())))
        r->setChecked(true);
    ui->SE_HeightPerCent->setValue(b.Bar_HeightPercent());
    ui->SpinEdit1->setValue(b.Bar_Fontscaling());
    ui->Edit1->setText(b.Bar_Caption());
    ui->Edit2->setText(b.Bar_CodeAddon());
    ui->CB_WidthReduce->setChecked(b.Bar_WidthReduce());
    ui->CB_HumanReadable->setChecked(b.Bar_HumanReadable());
    // A name the list lacks may still print through the family the system substitutes for it
    // (a metric-compatible twin of a Windows font): that family is the one shown.
    const auto find = [this](const QString& name) {
        const int exact = ui->FontCombo->findText(name, Qt::MatchFixedString);
        return exact >= 0 ? exact : ui->FontCombo->findText(QFontInfo(QFont(name)).family(), Qt::MatchFixedString);
    };
    int font = ui->FontCombo->findText(b.Bar_Fontname(), Qt::MatchFixedString);
    if (font < 0)
        font = find(QStringLiteral("Arial"));
    ui->FontCombo->setCurrentIndex(font < 0 && ui->FontCombo->count() > 0 ? 0 : font);
    m_loading = false;
    // A font missing here stays the barcode's until another is chosen: the design keeps the
    // font it was made with (a design from another system names fonts this one lacks).
    enableAddon();
}

void TFBarCode::enableAddon()
{
    const int tag = m_types->checkedId();
    const bool addon = tag == 1 || tag == 2;
    for (QWidget* w : {static_cast<QWidget*>(ui->Label3), static_cast<QWidget*>(ui->Edit2),
                       static_cast<QWidget*>(ui->Label4), static_cast<QWidget*>(ui->ComboBox2)})
        w->setEnabled(addon);
}

void TFBarCode::RGCodetypClick(int tag)
{
    change([tag](barcode::TBarcode& b) { b.SetBar_CodeType(tag); });
    enableAddon();
}

void TFBarCode::InsertFieldCode(int edit)
{
    QComboBox* list = edit == 2 ? ui->ComboBox2 : ui->ComboBox1;
    if (list->currentIndex() >= 0)
        InsertFieldCodeAtCaret(edit == 2 ? ui->Edit2 : ui->Edit1, list->currentText());
}

#include "TFormat.h"
#include "ui_TFormat.h"

#include "PreviewPort.h"
#include "TNewFor.h"

#include "MultiLang/MLang.h"
#include "platform/Paths.h"
#include "platform/TIniFile.h"
#include "platform/TStringGrid.h"
#include "platform/window/Application.h"

#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>

namespace station {

TFormat::TFormat(QWidget* parent) : TFormat(parent, platform::programFolder(), platform::settingsFilePath()) {}

TFormat::TFormat(QWidget* parent, const QString& folder, const QString& settingsFile)
    : QDialog(parent), ui(std::make_unique<Ui::TFormat>())
{
    ui->setupUi(this);
    m_cancelDialogPos = ui->CancelBtn->pos();
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TFormat.txt"));
    MultiLang1->Loaded();
    connectEvents();
    UseDialogButtons();
    m_editor = [this](bool create) { EditerFormat(create); };
    load(folder, settingsFile);
}

TFormat::~TFormat() = default;

void TFormat::connectEvents()
{
    // activated and currentRowChanged come from the user; the window's own selections are made
    // with signals blocked and call ListBoxClick themselves, as the handlers did. A bad cell met
    // while handling a user action shows the error box there instead of unwinding through the
    // list's own code.
    const auto onUser = [this](auto* sender, auto signal, void (TFormat::*handler)()) {
        connect(sender, signal, this, [this, handler] {
            platform::runReportingErrors([this, handler] { (this->*handler)(); });
        });
    };
    onUser(ui->ComboBox, &QComboBox::activated, &TFormat::ComboBoxChange);
    onUser(ui->ListBox, &QListWidget::currentRowChanged, &TFormat::ListBoxClick);
    onUser(ui->ListBox, &QListWidget::itemDoubleClicked, &TFormat::ListBoxDblClick);
    onUser(ui->NewBtn, &QPushButton::clicked, &TFormat::NewBtnClick);
    onUser(ui->ModifBtn, &QPushButton::clicked, &TFormat::ModifBtnClick);
    onUser(ui->DeleteBtn, &QPushButton::clicked, &TFormat::DeleteBtnClick);
    onUser(ui->BitBtn1, &QPushButton::clicked, &TFormat::BitBtn1Click);
    onUser(ui->BitBtn2, &QPushButton::clicked, &TFormat::BitBtn2Click);
    onUser(ui->BitBtn3, &QPushButton::clicked, &TFormat::BitBtn3Click);
    connect(ui->OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormat::load(const QString& folder, const QString& settingsFile)
{
    const QStringList errors = m_families.Load(folder, GetText(QStringLiteral("@4")));
    if (!errors.isEmpty())
        platform::Application::ShowError(errors.join(u'\n'));

    {
        const QSignalBlocker quiet(ui->ComboBox);
        ui->ComboBox->clear();
        for (int n = 0; n < m_families.Count(); ++n)
            ui->ComboBox->addItem(m_families.Family(n).Name);
    }
    const TLastFormat last = ReadLastFormat(platform::TIniFile(settingsFile));
    {
        const QSignalBlocker quiet(ui->ComboBox);
        ui->ComboBox->setCurrentIndex(ValidIndex(last.Family, ui->ComboBox->count()));
    }
    ActiverBoutons();
    RemplirListeFormats();
    selectFormat(ValidIndex(last.Format, ui->ListBox->count()));
}

QString TFormat::GetText(const QString& key) const
{
    return MultiLang1 != nullptr ? MultiLang1->GetText(key) : key;
}

TPaperNames TFormat::PaperNames() const
{
    TPaperNames n;
    n.Continuous12 = GetText(QStringLiteral("@1"));
    n.Continuous6 = GetText(QStringLiteral("@2"));
    n.Roll = GetText(QStringLiteral("@3"));
    n.DefaultFormat = GetText(QStringLiteral("@4"));
    return n;
}

TTypePapier TFormat::TypePapier(const QString& name) const
{
    return station::TypePapier(name, PaperNames());
}

QString TFormat::NomPapier(TTypePapier type) const
{
    return station::NomPapier(type, PaperNames());
}

QString TFormat::NomPapierFormat(const QString& name) const
{
    return NomPapier(TypePapier(name));
}

int TFormat::LargeurPage(const QString& name, int labelWidth, int columns, int horizontalGap) const
{
    return station::LargeurPage(name, labelWidth, columns, horizontalGap, PaperNames());
}

int TFormat::HauteurPage(const QString& name, int labelHeight) const
{
    return station::HauteurPage(name, labelHeight, PaperNames());
}

QString TFormat::CalculerMarge(const QString& value, TMarginDirection direction) const
{
    return station::CalculerMarge(value, direction, SelectedFormat(), PaperNames());
}

platform::TStringGrid* TFormat::GrilleCourante() const
{
    return m_families.Grid(ValidIndex(ui->ComboBox->currentIndex(), m_families.Count()));
}

TLigneFormat TFormat::SelectedFormat() const
{
    const platform::TStringGrid* grid = GrilleCourante();
    const int row = ui->ListBox->currentRow();
    if (grid == nullptr || row < 0)
        return {};
    return TLigneFormat::FromGrid(*grid, row);
}

void TFormat::MettreFormatParDefaut(platform::TStringGrid& grid) const
{
    station::MettreFormatParDefaut(grid, GetText(QStringLiteral("@4")));
}

void TFormat::LireFamilleFormats(const QString& path, platform::TStringGrid& grid) const
{
    station::LireFamilleFormats(path, grid, GetText(QStringLiteral("@4")));
}

void TFormat::RemplirListeFormats()
{
    const QSignalBlocker quiet(ui->ListBox);
    ui->ListBox->clear();
    if (const platform::TStringGrid* grid = GrilleCourante())
        for (int r = 0; r < grid->RowCount(); ++r)
            ui->ListBox->addItem(grid->Cell(cfName, r));
}

bool TFormat::customFamilyChosen() const
{
    return m_families.Count() > 0 && ui->ComboBox->currentIndex() == m_families.CustomIndex();
}

void TFormat::ActiverBoutons()
{
    const bool custom = customFamilyChosen();
    ui->NewBtn->setEnabled(custom && m_editor != nullptr);
    ui->ModifBtn->setEnabled(custom && m_editor != nullptr);
    ui->DeleteBtn->setEnabled(custom);
}

void TFormat::selectFormat(int index)
{
    {
        const QSignalBlocker quiet(ui->ListBox);
        ui->ListBox->setCurrentRow(index);
    }
    ListBoxClick();
}

void TFormat::Previsualiser()
{
    if (m_preview == nullptr)
        return;
    const TLigneFormat format = SelectedFormat();
    const TSheetPreview sheet = FillSheetPreview(format, PaperNames());
    m_preview->Remplir(sheet, GetText(QStringLiteral("@9")) + format.Nom());
}

void TFormat::ShowFormat(int family, int row)
{
    {
        const QSignalBlocker quiet(ui->ComboBox);
        ui->ComboBox->setCurrentIndex(family);
    }
    ComboBoxChange();
    selectFormat(row);
}

void TFormat::ComboBoxChange()
{
    ActiverBoutons();
    RemplirListeFormats();
    selectFormat(0);
}

void TFormat::ListBoxClick()
{
    const QListWidgetItem* item = ui->ListBox->currentItem();
    ui->Label2->setText(NomPapierFormat(item != nullptr ? item->text() : QString()));
    if (m_preview != nullptr && m_preview->EstVisible())
        Previsualiser();
}

void TFormat::ListBoxDblClick()
{
    ModifBtnClick();
}

void TFormat::NewBtnClick()
{
    if (ui->NewBtn->isEnabled() && m_editor)
        m_editor(true);
}

void TFormat::ModifBtnClick()
{
    if (ui->ModifBtn->isEnabled() && m_editor)
        m_editor(false);
}

void TFormat::DeleteBtnClick()
{
    // Only the custom family may lose formats, whoever calls.
    platform::TStringGrid* grid = GrilleCourante();
    if (!customFamilyChosen() || grid == nullptr)
        return;
    const int next = DeleteFormat(*grid, ui->ListBox->currentRow(), GetText(QStringLiteral("@4")));
    RemplirListeFormats();
    selectFormat(next);
}

void TFormat::BitBtn1Click()
{
    if (m_preview == nullptr)
        return;
    m_preview->SetChoixDepart(false);
    Previsualiser();
    m_preview->Montrer(this);
}

void TFormat::BitBtn2Click()
{
    done(QDialog::Accepted);
    emit Previous();
}

void TFormat::BitBtn3Click()
{
    done(QDialog::Accepted);
    emit Next();
}

void TFormat::UseDialogButtons()
{
    ui->BitBtn2->hide();
    ui->BitBtn3->hide();
    ui->OKBtn->show();
    ui->CancelBtn->move(m_cancelDialogPos);
}

void TFormat::UseWizardButtons()
{
    ui->BitBtn2->show();
    ui->BitBtn3->show();
    ui->OKBtn->hide();
    ui->CancelBtn->move(ui->OKBtn->pos());
}

QStringList TFormat::SaveFamilies() const
{
    return m_families.Write();
}

void TFormat::WriteLastFormat(platform::TIniFile& ini) const
{
    station::WriteLastFormat(ini, {ui->ComboBox->currentIndex(), ui->ListBox->currentRow()});
}

void TFormat::SetPreview(TPreviewPort* preview)
{
    m_preview = preview;
    ui->BitBtn1->setEnabled(m_preview != nullptr);
}

void TFormat::SetEditor(std::function<void(bool)> editor)
{
    m_editor = std::move(editor);
    ActiverBoutons();
}

void TFormat::EditerFormat(bool create)
{
    platform::TStringGrid* grid = GrilleCourante();
    if (grid == nullptr || !customFamilyChosen())
        return;
    TNewFor editor(this);
    editor.setWindowTitle(GetText(create ? QStringLiteral("@7") : QStringLiteral("@8")));
    editor.SetPaperNames(PaperNames());
    editor.SetPreview(m_preview);
    editor.Charger(SelectedFormat());
    const bool ok = editor.exec() == QDialog::Accepted;
    if (m_preview != nullptr && m_preview->EstVisible())
        m_preview->Fermer();
    if (!ok)
        return;

    const TLigneFormat row = editor.Ligne();
    int index = ui->ListBox->currentRow();
    if (create || index < 0) {
        index = grid->RowCount();
        grid->SetRowCount(index + 1);
    }
    row.ToGrid(*grid, index);
    RemplirListeFormats();
    selectFormat(index);
}

void TFormat::done(int r)
{
    if (m_preview != nullptr && m_preview->EstVisible())
        m_preview->Fermer();
    QDialog::done(r);
    if (r == QDialog::Rejected)
        emit Cancelled();
}

void TFormat::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    platform::runReportingErrors([this] { ListBoxClick(); });
}

} // namespace station

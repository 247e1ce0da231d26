#include "TChoix.h"
#include "ui_TChoix.h"

#include "addressbook/MailingLayout.h"
#include "MultiLang/MLang.h"
#include "platform/TStringGrid.h"
#include "platform/window/Application.h"
#include "platform/window/Dialogs.h"
#include "platform/window/WindowPlace.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QSignalBlocker>

namespace addressbook {

TChoix::TChoix(QWidget* parent) : QDialog(parent, Qt::Tool), ui(std::make_unique<Ui::TChoix>())
{
    ui->setupUi(this);
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TChoix.txt"));
    MultiLang1->Loaded();
    connectEvents();
    platform::KeepWindowPlace(this);
}

TChoix::~TChoix() = default;

QString TChoix::text(const char* key) const
{
    return MultiLang1->GetText(QString::fromLatin1(key));
}

void TChoix::connectEvents()
{
    const auto run = [this](void (TChoix::*handler)()) {
        return [this, handler] { platform::runReportingErrors([this, handler] { (this->*handler)(); }); };
    };
    connect(ui->ListBox, &QListWidget::itemSelectionChanged, this, run(&TChoix::ListBoxClick));
    connect(ui->Tout, &QPushButton::clicked, this, run(&TChoix::ToutClick));
    connect(ui->RienBtn, &QPushButton::clicked, this, run(&TChoix::RienBtnClick));
    connect(ui->SortBtn, &QPushButton::clicked, this, run(&TChoix::SortBtnClick));
    connect(ui->OKBtn, &QPushButton::clicked, this, run(&TChoix::OKBtnClick));
    connect(ui->CancelBtn, &QPushButton::clicked, this, run(&TChoix::CancelBtnClick));
    connect(ui->SpinEdit, &QSpinBox::valueChanged, this,
            [this](int value) { platform::runReportingErrors([this, value] { SpinEditChange(value); }); });
    ui->ListBox->viewport()->installEventFilter(this);
}

QList<bool> TChoix::Chosen() const
{
    QList<bool> chosen;
    for (int k = 0; k < ui->ListBox->count(); ++k)
        chosen.append(ui->ListBox->item(k)->isSelected());
    return chosen;
}

int TChoix::ChosenCount() const
{
    return static_cast<int>(ui->ListBox->selectedItems().size());
}

int TChoix::topLine() const
{
    const QListWidgetItem* top = ui->ListBox->itemAt(QPoint(2, 2));
    return top != nullptr ? ui->ListBox->row(top) : 0;
}

void TChoix::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TChoix::FormShow()
{
    TitreChoix = text(Database ? "@6" : "@5");
    MajTitre();
    FicheCourante = addressbook::FicheCourante(topLine(), Chosen());
    MontrerCopies();
}

void TChoix::MajTitre()
{
    TChoiceTexts t;
    t.NoneSelected = text("@2");
    t.OneSelected = text("@3");
    t.ManySelected = text("@1");
    setWindowTitle(TitreChoix + SelectionCount(ChosenCount(), t));
}

void TChoix::MontrerCopies()
{
    const bool any = ChosenCount() > 0;
    for (QWidget* w : {static_cast<QWidget*>(ui->Label2), static_cast<QWidget*>(ui->SpinEdit),
                       static_cast<QWidget*>(ui->Label4), static_cast<QWidget*>(ui->Label1)})
        w->setVisible(any);
    const QList<bool> chosen = Chosen();
    if (!any || FicheCourante < 0 || FicheCourante >= chosen.size() || !chosen[FicheCourante])
        return;
    ui->Label2->setText(ui->ListBox->item(FicheCourante)->text());
    const int copies = Grille != nullptr ? Grille->CopiesOf(FicheCourante + 1) : 1;
    const QSignalBlocker block(ui->SpinEdit);
    ui->SpinEdit->setValue(copies);
    ui->Label4->setText(text(copies == 1 ? "@7" : "@8"));
}

void TChoix::ListBoxClick()
{
    MajTitre();
    FicheCourante = addressbook::FicheCourante(ui->ListBox->currentRow(), Chosen());
    MontrerCopies();
}

void TChoix::ListBoxRightClick(int line)
{
    FicheCourante = addressbook::FicheCourante(line, Chosen());
    MontrerCopies();
}

void TChoix::ToutClick()
{
    {
        const QSignalBlocker block(ui->ListBox);
        ui->ListBox->selectAll();
    }
    ui->ListBox->scrollToTop();
    MajTitre();
    FicheCourante = addressbook::FicheCourante(0, Chosen());
    MontrerCopies();
}

void TChoix::RienBtnClick()
{
    {
        const QSignalBlocker block(ui->ListBox);
        ui->ListBox->clearSelection();
    }
    ui->ListBox->scrollToTop();
    MajTitre();
    FicheCourante = -1;
    MontrerCopies();
}

void TChoix::SpinEditChange(int value)
{
    const QList<bool> chosen = Chosen();
    // Only the record shown takes the copies.
    if (Grille == nullptr || FicheCourante < 0 || FicheCourante >= chosen.size() || !chosen[FicheCourante])
        return;
    value = std::max(1, value);
    ui->Label4->setText(text(value == 1 ? "@7" : "@8"));
    const int row = FicheCourante + 1;
    if (Grille->Copies.size() <= row)
        Grille->Copies.resize(Grille->RowCount(), 1);
    Grille->Copies[row] = value;
}

void TChoix::SortBtnClick()
{
    if (Grille == nullptr)
        return;
    MarquerSelection(*Grille, Chosen());
    if (!TrierSource || !TrierSource())
        return;
    if (RemplirChoix)
        RemplirChoix();
    MajTitre();
    FicheCourante = addressbook::FicheCourante(topLine(), Chosen());
    MontrerCopies();
}

void TChoix::OKBtnClick()
{
    if (ChosenCount() == 0) {
        platform::MessageDlg(text("@4"), platform::mtWarning);
        return;
    }
    if (Suivant)
        Suivant();
}

void TChoix::CancelBtnClick()
{
    m_closingByCancel = true;
    close();
    m_closingByCancel = false;
    if (Annuler)
        Annuler();
}

void TChoix::closeEvent(QCloseEvent* event)
{
    // Only Cancel leaves with nothing chosen.
    if (!m_closingByCancel && ChosenCount() == 0) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

bool TChoix::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->ListBox->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            const QListWidgetItem* item = ui->ListBox->itemAt(mouse->position().toPoint());
            const int line = item != nullptr ? ui->ListBox->row(item) : -1;
            platform::runReportingErrors([this, line] { ListBoxRightClick(line); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace addressbook

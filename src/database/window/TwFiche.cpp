#include "TwFiche.h"
#include "ui_TwFiche.h"

#include "Glyphs.h"
#include "TwForm1.h"

#include "MultiLang/MLang.h"
#include "addressbook/CardPrint.h"
#include "database/CardLayout.h"
#include "database/DbTable.h"
#include "platform/TIniFile.h"
#include "platform/TPrinter.h"
#include "platform/window/Application.h"
#include "platform/window/WindowPlace.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace database {

TwFiche::TwFiche(TwForm1* owner, const QString& settingsFile)
    : QWidget(owner, Qt::Tool), ui(std::make_unique<Ui::TwFiche>()), m_owner(owner)
{
    ui->setupUi(this);
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TwFiche.txt"));
    MultiLang1->Loaded();
    QStyle* s = style();
    ui->BeginBtn->setIcon(s->standardIcon(QStyle::SP_MediaSkipBackward));
    ui->RewBtn->setIcon(s->standardIcon(QStyle::SP_MediaSeekBackward));
    ui->FFBtn->setIcon(s->standardIcon(QStyle::SP_MediaSeekForward));
    ui->EndBtn->setIcon(s->standardIcon(QStyle::SP_MediaSkipForward));
    ui->PlusBtn->setIcon(GlyphIcon(QStringLiteral("+"), QColor(0, 128, 0)));
    ui->MoinsBtn->setIcon(GlyphIcon(QStringLiteral("\u2212"), QColor(176, 0, 0)));
    ui->FindBtn->setIcon(s->standardIcon(QStyle::SP_FileDialogContentsView));
    ui->PrintBtn->setIcon(PrinterIcon(palette().color(QPalette::ButtonText)));
    for (QToolButton* b : {ui->BeginBtn, ui->RewBtn, ui->FFBtn, ui->EndBtn, ui->PlusBtn, ui->MoinsBtn, ui->FindBtn,
                           ui->PrintBtn, ui->CopyBtn})
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    // Kept for its place in the tool bar; it does nothing.
    ui->CopyBtn->hide();
    ui->Panel1->setFixedHeight(33);
    QFont bold = font();
    bold.setBold(true);
    for (int i = 0; i < MaxFields; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setFont(bold);
        label->setCursor(Qt::SizeAllCursor);
        label->installEventFilter(this);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        Labels[static_cast<size_t>(i)] = label;
        Edits[static_cast<size_t>(i)] = edit;
    }
    const TIniFile ini(settingsFile);
    platform::RestoreWindowPlace(this, {ini.ReadInteger(QStringLiteral("wFiche"), QStringLiteral("x"), 100),
                                        ini.ReadInteger(QStringLiteral("wFiche"), QStringLiteral("y"), 30), width(),
                                        height()});
    connectEvents();
}

TwFiche::~TwFiche() = default;

QString TwFiche::GetText(const QString& key) const
{
    return MultiLang1 != nullptr ? MultiLang1->GetText(key) : key;
}

void TwFiche::connectEvents()
{
    const auto run = [this](void (TwFiche::*handler)()) {
        return [this, handler] { platform::runReportingErrors([this, handler] { (this->*handler)(); }); };
    };
    connect(ui->BeginBtn, &QToolButton::clicked, this, run(&TwFiche::BeginBtnClick));
    connect(ui->RewBtn, &QToolButton::clicked, this, run(&TwFiche::RewBtnClick));
    connect(ui->FFBtn, &QToolButton::clicked, this, run(&TwFiche::FFBtnClick));
    connect(ui->EndBtn, &QToolButton::clicked, this, run(&TwFiche::EndBtnClick));
    connect(ui->PlusBtn, &QToolButton::clicked, this, run(&TwFiche::PlusBtnClick));
    connect(ui->MoinsBtn, &QToolButton::clicked, this, run(&TwFiche::MoinsBtnClick));
    connect(ui->FindBtn, &QToolButton::clicked, this, run(&TwFiche::FindBtnClick));
    connect(ui->PrintBtn, &QToolButton::clicked, this, run(&TwFiche::PrintBtnClick));
    for (int i = 0; i < MaxFields; ++i) {
        // Only what the user types changes the cell: showing a record sets the texts too.
        connect(Edits[static_cast<size_t>(i)], &QLineEdit::textEdited, this,
                [this, i] { platform::runReportingErrors([this, i] { ModifieListe(i); }); });
    }
}

void TwFiche::placeField(int field, QPoint captionPos)
{
    const auto k = static_cast<size_t>(field);
    Labels[k]->move(captionPos);
    Edits[k]->move(captionPos.x(), captionPos.y() + CardEditBelow);
}

void TwFiche::ApplyLayout()
{
    const TCardLayout& card = m_owner->Table.Card;
    for (int i = 0; i < MaxFields; ++i)
        placeField(i, {card.Left[static_cast<size_t>(i)], card.Top[static_cast<size_t>(i)]});
    resize(std::max(card.Width, 120), std::max(card.Height, 80));
}

void TwFiche::ShowRecord()
{
    const DbTable& t = m_owner->Table;
    NumeroFiche = std::clamp(t.Grille.Row(), 1, t.RowCount() - 1);
    setWindowTitle(m_owner->GetText(QStringLiteral("@10")) + QString::number(NumeroFiche) + u'/'
                   + QString::number(t.NbFiches()));
    for (int i = 0; i < MaxFields; ++i) {
        const auto k = static_cast<size_t>(i);
        const bool shown = i < t.ColCount();
        Labels[k]->setVisible(shown);
        Edits[k]->setVisible(shown);
        if (!shown)
            continue;
        Edits[k]->resize(std::max(0, t.ColWidths.value(i, DefaultColWidth)) + 10, Edits[k]->sizeHint().height());
        if (Edits[k]->text() != t.Grille.Cell(i, NumeroFiche))
            Edits[k]->setText(t.Grille.Cell(i, NumeroFiche));
        Labels[k]->setText(t.FieldName(i));
        Labels[k]->adjustSize();
    }
    const bool first = NumeroFiche <= 1;
    const bool last = NumeroFiche >= t.RowCount() - 1;
    ui->BeginBtn->setEnabled(!first);
    ui->RewBtn->setEnabled(!first);
    ui->FFBtn->setEnabled(!last);
    ui->EndBtn->setEnabled(!last);
}

void TwFiche::OrdreTabulation()
{
    const std::vector<int> order = CardTabOrder(m_owner->Table.Card);
    for (size_t i = 1; i < order.size(); ++i)
        setTabOrder(Edits[static_cast<size_t>(order[i - 1])], Edits[static_cast<size_t>(order[i])]);
}

void TwFiche::ModifieListe(int field)
{
    // The row the card shows, checked again by the table: a record deleted meanwhile is not
    // written into.
    m_owner->Table.SetCell(field, NumeroFiche, Edits[static_cast<size_t>(field)]->text());
}

void TwFiche::SelectInEdit(int field, int start, int length)
{
    QLineEdit* edit = Edits[static_cast<size_t>(field)];
    raise();
    edit->setFocus();
    edit->setSelection(start, length);
}

void TwFiche::BeginBtnClick()
{
    m_owner->GoTo(0, 1);
}

void TwFiche::EndBtnClick()
{
    m_owner->GoTo(0, m_owner->Table.RowCount() - 1);
}

void TwFiche::FFBtnClick()
{
    m_owner->GoTo(0, std::min(m_owner->Table.Grille.Row() + 1, m_owner->Table.RowCount() - 1));
}

void TwFiche::RewBtnClick()
{
    m_owner->GoTo(0, std::max(1, m_owner->Table.Grille.Row() - 1));
}

void TwFiche::PlusBtnClick()
{
    m_owner->Ajouter1Click();
    Edits[0]->setFocus();
}

void TwFiche::MoinsBtnClick()
{
    m_owner->SelectRows(NumeroFiche, NumeroFiche);
    m_owner->Enlever1Click();
}

void TwFiche::FindBtnClick()
{
    m_owner->FindBtnClick();
}

void TwFiche::PrintBtnClick()
{
    platform::TPrinter* printer = m_owner->Printer;
    if (printer == nullptr || !m_owner->RunPrintDialog || !m_owner->RunPrintDialog(this, false).Accepted)
        return;
    printer->SetTitle(GetText(QStringLiteral("@1")));
    // The card's image without its tool bar.
    ui->Panel1->hide();
    const QImage image = grab().toImage();
    ui->Panel1->show();
    addressbook::PrintCardImage(image, logicalDpiX(), *printer);
}

bool TwFiche::captionMouse(int field, QEvent* event)
{
    const auto* mouse = static_cast<QMouseEvent*>(event);
    QLabel* label = Labels[static_cast<size_t>(field)];
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (mouse->button() != Qt::LeftButton) {
            m_owner->RenameField(field);
            return true;
        }
        Deplacement = true;
        DebutX = mouse->position().toPoint().x();
        DebutY = mouse->position().toPoint().y();
        // A caption taken is a layout changed, whether or not it moves.
        m_owner->Table.Modifie = true;
        return true;
    case QEvent::MouseMove:
        if (Deplacement)
            placeField(field, DragCaption(label->pos(), {DebutX, DebutY}, mouse->position().toPoint()));
        return true;
    case QEvent::MouseButtonRelease: {
        if (!Deplacement)
            return true;
        Deplacement = false;
        const QPoint settled = SnapCaption(label->pos());
        placeField(field, settled);
        TCardLayout& card = m_owner->Table.Card;
        card.Left[static_cast<size_t>(field)] = settled.x();
        card.Top[static_cast<size_t>(field)] = settled.y();
        OrdreTabulation();
        return true;
    }
    default:
        return false;
    }
}

bool TwFiche::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseMove || type == QEvent::MouseButtonRelease) {
        for (int i = 0; i < MaxFields; ++i) {
            if (watched == Labels[static_cast<size_t>(i)]) {
                bool handled = true;
                platform::runReportingErrors([&] { handled = captionMouse(i, event); });
                return handled;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

// The card is a window of its own rather than a dialog, so the keys a dialog gives its buttons
// are given here: Escape closes, Return presses the focused button.
void TwFiche::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Escape) {
            close();
            return;
        }
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            if (auto* button = qobject_cast<QAbstractButton*>(focusWidget()); button != nullptr && button->isEnabled()) {
                button->click();
                return;
            }
        }
    }
    QWidget::keyPressEvent(event);
}

void TwFiche::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ui->Panel1->setGeometry(0, 0, width(), 33);
    // The size the user gives the card is saved with the table.
    if (isVisible()) {
        m_owner->Table.Card.Width = width();
        m_owner->Table.Card.Height = height();
    }
}

void TwFiche::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        platform::runReportingErrors([this] {
            m_owner->AfficherFiche();
            OrdreTabulation();
        });
    }
}

} // namespace database

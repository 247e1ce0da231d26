#include "TFpPrev.h"
#include "ui_TFpPrev.h"

#include "MultiLang/MLang.h"
#include "platform/HourGlass.h"
#include "platform/Rounding.h"
#include "platform/window/Application.h"

#include <QCloseEvent>
#include <QResizeEvent>
#include <QPixmap>
#include <QScrollBar>
#include <QStyle>

namespace addressbook {

TFpPrev::TFpPrev(const TMailingJob& job, const TMailingDesign* design, QSize page, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TFpPrev>()), m_job(job), m_design(design), m_page(page)
{
    ui->setupUi(this);
    ui->BeginBtn->setArrowType(Qt::LeftArrow);
    ui->RewBtn->setIcon(style()->standardIcon(QStyle::SP_MediaSeekBackward));
    ui->FFBtn->setIcon(style()->standardIcon(QStyle::SP_MediaSeekForward));
    ui->EndBtn->setArrowType(Qt::RightArrow);
    ui->Zoom1Btn->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    ui->BeginBtn->setIcon(style()->standardIcon(QStyle::SP_MediaSkipBackward));
    ui->EndBtn->setIcon(style()->standardIcon(QStyle::SP_MediaSkipForward));
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TFpPrev.txt"));
    MultiLang1->Loaded();
    m_scrollSize = ui->ScrollBox1->size();
    m_bevelSize = ui->Bevel1->size();
    const auto run = [this](void (TFpPrev::*handler)()) {
        return [this, handler] { platform::runReportingErrors([this, handler] { (this->*handler)(); }); };
    };
    connect(ui->BeginBtn, &QToolButton::clicked, this, run(&TFpPrev::BeginBtnClick));
    connect(ui->RewBtn, &QToolButton::clicked, this, run(&TFpPrev::RewBtnClick));
    connect(ui->FFBtn, &QToolButton::clicked, this, run(&TFpPrev::FFBtnClick));
    connect(ui->EndBtn, &QToolButton::clicked, this, run(&TFpPrev::EndBtnClick));
    connect(ui->Zoom1Btn, &QToolButton::toggled, this,
            [this](bool down) { platform::runReportingErrors([this, down] { Zoom1BtnClick(down); }); });
    connect(ui->ExitBtn, &QPushButton::clicked, this, &QDialog::close);
    CalculerMiseEnPage();
}

TFpPrev::~TFpPrev() = default;

void TFpPrev::CalculerMiseEnPage()
{
    Layout = CalculerMiseEnPagePreview(m_job, ui->Bevel1->width(), m_page.width(), m_page.height());
    Echelle = Layout.Echelle;
    NbPages = Layout.NbPages;
    const QRect frame = ui->Bevel1->rect();
    ui->Page->setGeometry(frame.left() + (frame.width() - Layout.Page.width()) / 2,
                          frame.top() + (frame.height() - Layout.Page.height()) / 2, Layout.Page.width(),
                          Layout.Page.height());
}

void TFpPrev::DessinerFeuille(int sheet)
{
    platform::HourGlass hourGlass;
    CalculerMiseEnPage();
    ui->BeginBtn->setEnabled(sheet > 1);
    ui->RewBtn->setEnabled(sheet > 1);
    ui->FFBtn->setEnabled(sheet < NbPages);
    ui->EndBtn->setEnabled(sheet < NbPages);
    setWindowTitle(MultiLang1->GetText(QStringLiteral("@1")) + QString::number(sheet) + u'/' + QString::number(NbPages));
    ui->Page->setPixmap(QPixmap::fromImage(addressbook::DessinerFeuille(m_job, m_design, Layout, sheet, PrinterInfo())));
}

void TFpPrev::AjusterDefilement()
{
    QScrollBar* h = ui->ScrollBox1->horizontalScrollBar();
    QScrollBar* v = ui->ScrollBox1->verticalScrollBar();
    if (!ui->Zoom1Btn->isChecked()) {
        h->setValue(0);
        v->setValue(0);
        return;
    }
    CalculerMiseEnPage();
    // The page stands in the middle of its square frame: scroll to it when the window is
    // smaller than the page.
    const QSize view = ui->ScrollBox1->viewport()->size();
    const QRect page = ui->Page->geometry();
    h->setValue(view.width() < page.width() ? page.left() : (h->maximum() + h->minimum()) / 2);
    v->setValue(view.height() < page.height() ? page.top() : (v->maximum() + v->minimum()) / 2);
}

void TFpPrev::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (PremierAffichage)
        PageCourante = 1;
    AjusterDefilement();
    DessinerFeuille(PageCourante);
}

void TFpPrev::closeEvent(QCloseEvent* event)
{
    PremierAffichage = true;
    QDialog::closeEvent(event);
}

void TFpPrev::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    // The scroll box takes the window but for the row of buttons under it.
    const int buttonsTop = height() - 44;
    ui->ScrollBox1->setGeometry(8, 8, width() - 16, buttonsTop - 20);
    for (QWidget* w : {static_cast<QWidget*>(ui->BeginBtn), static_cast<QWidget*>(ui->RewBtn),
                       static_cast<QWidget*>(ui->FFBtn), static_cast<QWidget*>(ui->EndBtn),
                       static_cast<QWidget*>(ui->Zoom1Btn)})
        w->move(w->x(), buttonsTop);
    ui->ExitBtn->move(width() - 8 - ui->ExitBtn->width(), buttonsTop);
}

void TFpPrev::BeginBtnClick()
{
    PageCourante = 1;
    DessinerFeuille(PageCourante);
}

void TFpPrev::RewBtnClick()
{
    if (PageCourante > 1)
        --PageCourante;
    DessinerFeuille(PageCourante);
}

void TFpPrev::FFBtnClick()
{
    if (PageCourante < NbPages)
        ++PageCourante;
    DessinerFeuille(PageCourante);
}

void TFpPrev::EndBtnClick()
{
    PageCourante = std::max(1, NbPages);
    DessinerFeuille(PageCourante);
}

void TFpPrev::Zoom1BtnClick(bool down)
{
    if (down) {
        m_normalBounds = geometry();
        ui->Zoom1Btn->setToolTip(MultiLang1->GetText(QStringLiteral("@2")));
        setWindowState(windowState() | Qt::WindowMaximized);
        // A square frame as large as the largest sheet at the screen's own resolution: the
        // page shows at its real size.
        const int side = platform::R(logicalDpiX() * static_cast<double>(station::TailleMaxPlanche) / 2540) + 16;
        ui->Bevel1->resize(side, side);
    } else {
        ui->Zoom1Btn->setToolTip(MultiLang1->GetText(QStringLiteral("@3")));
        setWindowState(windowState() & ~Qt::WindowMaximized);
        setGeometry(m_normalBounds);
        ui->ScrollBox1->resize(m_scrollSize);
        ui->Bevel1->resize(m_bevelSize);
    }
    PremierAffichage = false;
    AjusterDefilement();
    DessinerFeuille(PageCourante);
}

} // namespace addressbook

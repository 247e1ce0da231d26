#include "TFAngle.h"
#include "ui_TFAngle.h"

#include "ObjectViews.h"

#include "MultiLang/MLang.h"
#include "platform/TColor.h"

#include <QShowEvent>

using namespace design;
using namespace platform;

TFAngle::TFAngle(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TFAngle>())
{
    ui->setupUi(this);
    setUpSamples();
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TFAngle.txt"));
    MultiLang1->Loaded();
    connectEvents();
    ui->OKBtn->setFocus();
}

TFAngle::~TFAngle() = default;

void TFAngle::setUpSamples()
{
    // The samples are tilted-text records: the layout gives each its place, the record its angle
    // and look (a tilted text sizes itself to its caption, which the translation table sets).
    const std::pair<TRotateLabelView*, int> samples[] = {
        {ui->RotateLabel1, 0}, {ui->RotateLabel2, 90}, {ui->RotateLabel3, 180},
        {ui->RotateLabel4, 270}, {ui->RotateLabel5, 45}};
    for (const auto& [view, angle] : samples) {
        TRotateLabel& label = view->Label();
        label.SetBounds(view->x(), view->y(), view->width(), view->height());
        label.SetAngle(angle);
        label.Font.SetName(QStringLiteral("Arial"));
        label.Font.SetHeight(-11);
        label.Font.SetStyle(TFontStyles{fsBold});
        label.Font.SetColor(clBlack);
        label.Color = clBtnFace;
        label.Transparent = false;
        view->Refresh();
    }
}

void TFAngle::connectEvents()
{
    connect(ui->RotateLabel1, &TDesignObjectView::Click, this, &TFAngle::RotateLabel1Click);
    connect(ui->RotateLabel2, &TDesignObjectView::Click, this, &TFAngle::RotateLabel2Click);
    connect(ui->RotateLabel3, &TDesignObjectView::Click, this, &TFAngle::RotateLabel3Click);
    connect(ui->RotateLabel4, &TDesignObjectView::Click, this, &TFAngle::RotateLabel4Click);
    connect(ui->RotateLabel5, &TDesignObjectView::Click, this, &TFAngle::RotateLabel5Click);
    connect(ui->ScrollBar, &QScrollBar::valueChanged, this, &TFAngle::ScrollBarChange);
    connect(ui->OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TFAngle::highlight(TRotateLabelView* chosen)
{
    for (TRotateLabelView* view :
         {ui->RotateLabel1, ui->RotateLabel2, ui->RotateLabel3, ui->RotateLabel4, ui->RotateLabel5}) {
        view->Label().Color = view == chosen ? clYellow : clBtnFace;
        view->Refresh();
    }
}

void TFAngle::RotateLabel1Click()
{
    highlight(ui->RotateLabel1);
    Angle = 0;
}

void TFAngle::RotateLabel2Click()
{
    highlight(ui->RotateLabel2);
    Angle = 90;
}

void TFAngle::RotateLabel3Click()
{
    highlight(ui->RotateLabel3);
    Angle = 180;
}

void TFAngle::RotateLabel4Click()
{
    highlight(ui->RotateLabel4);
    Angle = 270;
}

void TFAngle::RotateLabel5Click()
{
    highlight(ui->RotateLabel5);
    Angle = 359 - ui->ScrollBar->value();
}

void TFAngle::ScrollBarChange()
{
    RotateLabel5Click();
    const int angle = 359 - ui->ScrollBar->value();
    TRotateLabel& label = ui->RotateLabel5->Label();
    label.SetAngle(angle);
    label.Caption = QString::number(angle) + MultiLang1->GetText(QStringLiteral("@1"));
    ui->RotateLabel5->Refresh();
    Angle = angle;
}

void TFAngle::FormShow()
{
    switch (Angle) {
    case 0:
        RotateLabel1Click();
        return;
    case 90:
        RotateLabel2Click();
        return;
    case 180:
        RotateLabel3Click();
        return;
    case 270:
        RotateLabel4Click();
        return;
    default:
        break;
    }
    if (Angle % 90 != 0) {
        ui->ScrollBar->setValue(359 - Angle);
        RotateLabel5Click();
    }
}

void TFAngle::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

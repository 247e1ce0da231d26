#include "TFAngle.h"

#include "ObjectViews.h"

#include "MultiLang/MLang.h"
#include "platform/TColor.h"

#include <QFrame>
#include <QShowEvent>
#include <QPushButton>
#include <QScrollBar>

using namespace design;
using namespace platform;

namespace {

TRotateLabelView* sample(QWidget* parent, const char* name, const QString& caption, int angle,
                         QRect bounds)
{
    auto* view = new TRotateLabelView(nullptr, parent);
    view->setObjectName(QString::fromLatin1(name));
    TRotateLabel& label = view->Label();
    label.SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
    label.Caption = caption;
    label.SetAngle(angle);
    label.Font.SetName(QStringLiteral("Arial"));
    label.Font.SetHeight(-11);
    label.Font.SetStyle(TFontStyles{fsBold});
    label.Font.SetColor(clBlack);
    label.Color = clBtnFace;
    label.Transparent = false;
    view->Refresh();
    return view;
}

QFrame* bevel(QWidget* parent, const char* name, QRect bounds)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setGeometry(bounds);
    return frame;
}

} // namespace

TFAngle::TFAngle(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FAngle"));
    setWindowTitle(QStringLiteral("Slope of the text"));
    setFixedSize(258, 344);

    Bevel1 = bevel(this, "Bevel1", QRect(8, 8, 241, 289));
    Bevel2 = bevel(this, "Bevel2", QRect(24, 176, 209, 105));
    RotateLabel1 = sample(this, "RotateLabel1", QStringLiteral("Horizontal 1"), 0, QRect(24, 16, 73, 73));
    RotateLabel2 = sample(this, "RotateLabel2", QStringLiteral("Vertical 1"), 90, QRect(168, 22, 60, 60));
    RotateLabel3 = sample(this, "RotateLabel3", QStringLiteral("Horizontal 2"), 180, QRect(24, 96, 73, 73));
    RotateLabel4 = sample(this, "RotateLabel4", QStringLiteral("Vertical 2"), 270, QRect(168, 102, 60, 60));
    RotateLabel5 = sample(this, "RotateLabel5", QStringLiteral("45 degrees"), 45, QRect(65, 200, 64, 64));

    ScrollBar = new QScrollBar(Qt::Vertical, this);
    ScrollBar->setObjectName(QStringLiteral("ScrollBar"));
    ScrollBar->setGeometry(161, 189, 16, 81);
    ScrollBar->setRange(0, 359);
    ScrollBar->setSingleStep(1);
    ScrollBar->setPageStep(10);
    ScrollBar->setValue(314);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(80, 308, 77, 27);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(172, 308, 77, 27);

    connect(RotateLabel1, &TDesignObjectView::Click, this, &TFAngle::RotateLabel1Click);
    connect(RotateLabel2, &TDesignObjectView::Click, this, &TFAngle::RotateLabel2Click);
    connect(RotateLabel3, &TDesignObjectView::Click, this, &TFAngle::RotateLabel3Click);
    connect(RotateLabel4, &TDesignObjectView::Click, this, &TFAngle::RotateLabel4Click);
    connect(RotateLabel5, &TDesignObjectView::Click, this, &TFAngle::RotateLabel5Click);
    connect(ScrollBar, &QScrollBar::valueChanged, this, &TFAngle::ScrollBarChange);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TFAngle.txt"));
    MultiLang1->Loaded();
    OKBtn->setFocus();
}

void TFAngle::highlight(TRotateLabelView* chosen)
{
    for (TRotateLabelView* view : {RotateLabel1, RotateLabel2, RotateLabel3, RotateLabel4, RotateLabel5}) {
        view->Label().Color = view == chosen ? clYellow : clBtnFace;
        view->Refresh();
    }
}

void TFAngle::RotateLabel1Click()
{
    highlight(RotateLabel1);
    Angle = 0;
}

void TFAngle::RotateLabel2Click()
{
    highlight(RotateLabel2);
    Angle = 90;
}

void TFAngle::RotateLabel3Click()
{
    highlight(RotateLabel3);
    Angle = 180;
}

void TFAngle::RotateLabel4Click()
{
    highlight(RotateLabel4);
    Angle = 270;
}

void TFAngle::RotateLabel5Click()
{
    highlight(RotateLabel5);
    Angle = 359 - ScrollBar->value();
}

void TFAngle::ScrollBarChange()
{
    RotateLabel5Click();
    const int angle = 359 - ScrollBar->value();
    TRotateLabel& label = RotateLabel5->Label();
    label.SetAngle(angle);
    label.Caption = QString::number(angle) + MultiLang1->GetText(QStringLiteral("@1"));
    RotateLabel5->Refresh();
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
        ScrollBar->setValue(359 - Angle);
        RotateLabel5Click();
    }
}

void TFAngle::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

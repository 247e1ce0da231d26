#include "TRotImage.h"
#include "ui_TRotImage.h"

#include "MultiLang/MLang.h"
#include "design/DesignModel.h"
#include "design/Pictures.h"
#include "design/PreviewGeometry.h"
#include "imaging/window/TPMultiImage.h"
#include "platform/HourGlass.h"

#include <QMouseEvent>

namespace {

constexpr int PanelSide = 73;
const QColor aqua(0, 255, 255);

} // namespace

TRotImage::TRotImage(const QImage& picture, int angle, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TRotImage>()), Angle(angle)
{
    ui->setupUi(this);
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TRotImage.txt"));
    MultiLang1->Loaded();
    // The thumbnail stays within four fifths of a panel.
    const auto [w, h] = design::FitInSquare(picture.width(), picture.height(), PanelSide * 4 / 5);
    if (!picture.isNull())
        m_thumbnail = picture.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (int i = 0; i < 5; ++i) {
        panel(i)->installEventFilter(this);
        image(i)->installEventFilter(this);
    }
    connect(ui->ScrollBar, &QScrollBar::valueChanged, this, [this] { ScrollBarChange(); });
    connect(ui->OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    FormShow();
}

TRotImage::~TRotImage() = default;

QFrame* TRotImage::panel(int i) const
{
    QFrame* const panels[] = {ui->Panel1, ui->Panel2, ui->Panel3, ui->Panel4, ui->Panel6};
    return panels[i];
}

TPMultiImage* TRotImage::image(int i) const
{
    TPMultiImage* const images[] = {ui->PMultiImage1, ui->PMultiImage2, ui->PMultiImage3, ui->PMultiImage4, ui->PMultiImage5};
    return images[i];
}

void TRotImage::showPicture(int i, const imaging::Bitmap& picture)
{
    image(i)->SetPicture(picture);
    image(i)->setGeometry(design::FitThumbnailInPanel(picture.image.size(), QSize(PanelSide, PanelSide)));
}

void TRotImage::FormShow()
{
    const platform::HourGlass hourGlass;
    // The presets are the thumbnail turned by their own controls.
    const imaging::Bitmap thumbnail{m_thumbnail, 0};
    for (int i = 0; i < 4; ++i) {
        TPMultiImage& control = *image(i);
        control.SetStretch(true);
        control.RotateBackColor = platform::clWhite;
        control.SetPicture(thumbnail);
        if (i > 0 && !m_thumbnail.isNull())
            control.RotateImage(0, 0, i * 90, 0, 0);
        showPicture(i, control.Picture());
    }
    image(4)->SetStretch(true);
    const int angle = Angle;
    m_loading = true;
    if (angle % 90 != 0) {
        ui->ScrollBar->setValue(359 - angle);
        ui->Label1->setText(QString::number(359 - ui->ScrollBar->value()) + QChar(0x00B0));
        m_loading = false;
        SelectPanel(4);
        return;
    }
    // A free angle of 45 is offered but not chosen; the angle stays the picture's own.
    ui->ScrollBar->setValue(314);
    ui->Label1->setText(QStringLiteral("45") + QChar(0x00B0));
    m_loading = false;
    SelectPanel(((angle % 360 + 360) % 360) / 90);
}

void TRotImage::SelectPanel(int selected)
{
    m_selected = selected;
    for (int i = 0; i < 5; ++i) {
        QPalette p = panel(i)->palette();
        p.setColor(QPalette::Window, i == selected ? aqua : palette().color(QPalette::Button));
        panel(i)->setPalette(p);
    }
    if (selected == 4) {
        Angle = 359 - ui->ScrollBar->value();
        PreviewFreeAngle(Angle, aqua);
    } else {
        Angle = selected * 90;
        PreviewFreeAngle(359 - ui->ScrollBar->value(), palette().color(QPalette::Button));
    }
}

void TRotImage::ScrollBarChange()
{
    if (m_loading)
        return;
    ui->Label1->setText(QString::number(359 - ui->ScrollBar->value()) + QChar(0x00B0));
    SelectPanel(4);
}

void TRotImage::PreviewFreeAngle(int angle, const QColor& background)
{
    if (m_thumbnail.isNull())
        return;
    // Turned by the hidden work control on the panel's colour.
    TPMultiImage& work = *ui->PMultiImage6;
    work.SetPicture(imaging::Bitmap{m_thumbnail, 0});
    work.RotateBackColor = platform::RGB(background.red(), background.green(), background.blue());
    work.RotateImage(0, 0, angle, 0, 0);
    showPicture(4, work.Picture());
}

bool TRotImage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        for (int i = 0; i < 5; ++i)
            if (watched == panel(i) || watched == image(i)) {
                SelectPanel(i);
                return true;
            }
    }
    return QDialog::eventFilter(watched, event);
}

#include "TPrintDial.h"

#include "ui_TPrintDial.h"

#include "PrinterIcons.h"

#include "MultiLang/MLang.h"
#include "platform/window/Application.h"
#include "station/StationRules.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>

namespace station {

TPrintDial::TPrintDial(const TSheetPage& page, const TStationFolders& folders, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TPrintDial>()), m_page(page), m_folders(folders)
{
    ui->setupUi(this);
    ui->Image1->setPixmap(PrinterSetupIcon().pixmap(32, 32));
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TPrintDial.txt"));
    MultiLang1->Loaded();
    m_echelle = static_cast<double>(ui->Bevel2->width() - 16) / TailleMaxPlanche;
    connectEvents();
}

TPrintDial::~TPrintDial() = default;

void TPrintDial::connectEvents()
{
    const auto run = [this](void (TPrintDial::*handler)()) {
        return [this, handler] { platform::runReportingErrors([this, handler] { (this->*handler)(); }); };
    };
    connect(ui->NumBtn, &QPushButton::clicked, this, run(&TPrintDial::NumBtnClick));
    connect(ui->OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    for (QWidget* w : {static_cast<QWidget*>(ui->Image1), static_cast<QWidget*>(ui->Label2),
                       static_cast<QWidget*>(ui->Label3)})
        w->installEventFilter(this);
}

bool TPrintDial::eventFilter(QObject* watched, QEvent* event)
{
    // The link is a Tab stop: Space or Return on it opens the set-up as a click does, and the
    // Return does not fall through to the default button.
    if (event->type() == QEvent::KeyPress && watched == ui->Image1) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
            platform::runReportingErrors([this] { ConfigClick(); });
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        (watched == ui->Image1 || watched == ui->Label2 || watched == ui->Label3)) {
        platform::runReportingErrors([this] { ConfigClick(); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TPrintDial::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
    ui->NumBtn->setEnabled(true);
    // The keyboard starts on the default button, so the style marks it as a native dialog does.
    ui->OKBtn->setFocus(Qt::ActiveWindowFocusReason);
    DessinerPlanche();
}

int TPrintDial::Copies() const
{
    return ui->SpinEdit->value();
}

void TPrintDial::NumBtnClick()
{
    if (NumberingClick)
        NumberingClick();
    DessinerPlanche();
}

void TPrintDial::ConfigClick()
{
    if (PrinterSetupClick)
        PrinterSetupClick();
    DessinerPlanche();
}

void TPrintDial::DessinerPlanche()
{
    const QSizeF paper = PaperSource ? PaperSource() : QSizeF(21000, 29700);
    const QImage image =
        DrawSheetPicture(m_page, m_folders, static_cast<int>(paper.width()), static_cast<int>(paper.height()),
                         m_echelle, PrintableSource ? PrintableSource() : QRectF(),
                         OptionsSource ? OptionsSource() : TSheetPrintOptions{});
    // Centred in the frame.
    const QSize frame = ui->Bevel2->size();
    ui->Page->setGeometry((frame.width() - image.width()) / 2, (frame.height() - image.height()) / 2,
                          image.width(), image.height());
    ui->Page->setPixmap(QPixmap::fromImage(image));
}

} // namespace station

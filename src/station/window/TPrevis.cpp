#include "TPrevis.h"
#include "ui_TPrevis.h"

#include "MultiLang/MLang.h"
#include "platform/window/Application.h"
#include "platform/window/WindowPlace.h"
#include "station/StationRules.h"

#include <QMouseEvent>

namespace station {

TPrevis::TPrevis(QWidget* parent) : QDialog(parent, Qt::Tool), ui(std::make_unique<Ui::TPrevis>())
{
    ui->setupUi(this);
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TPrevis.txt"));
    // The page's hint is set from the table: a row for the page itself would put a text in
    // place of its picture.
    MultiLang1->AfterLanguageChanged = [this](TBaseMultiLang*, int) {
        ui->Page->setToolTip(MultiLang1->GetText(QStringLiteral("@1")));
    };
    MultiLang1->Loaded();
    ui->Page->setToolTip(MultiLang1->GetText(QStringLiteral("@1")));
    connectEvents();
    Echelle = (ui->Bevel1->width() - 16) / static_cast<double>(TailleMaxPlanche);
    DessinerPlanche();
}

TPrevis::~TPrevis() = default;

void TPrevis::connectEvents()
{
    ui->Page->installEventFilter(this);
}

void TPrevis::Remplir(const TSheetPreview& apercu, const QString& caption)
{
    Sheet = apercu;
    setWindowTitle(caption);
    DessinerPlanche();
}

void TPrevis::Montrer(QWidget* owner)
{
    // Beside the dialog that asked rather than over its list and buttons, each time it opens; a
    // modal dialog (the format window, its editor) takes it as its own, so it takes clicks.
    if (!isVisible())
        adjustSize();
    platform::ShowToolWindow(this, owner, owner != nullptr ? owner->window()->frameGeometry() : QRect());
}

void TPrevis::DessinerPlanche()
{
    const TCellPos first = ChoixDepart ? TCellPos{ColonneDepart, LigneDepart} : TCellPos{};
    const QImage image = station::DessinerPlanche(Sheet, Echelle, CurrentPrinterInfo(), first);
    const QRect frame = ui->Bevel1->geometry();
    ui->Page->setGeometry(frame.left() + (frame.width() - image.width()) / 2,
                          frame.top() + (frame.height() - image.height()) / 2, image.width(), image.height());
    ui->Page->setPixmap(QPixmap::fromImage(image));
}

void TPrevis::PageMouseDown(QPoint p)
{
    if (!ChoixDepart)
        return;
    const TCellPos cell = SheetGeometry(Sheet, Echelle).HitTest(p);
    if (!cell.Valid())
        return;
    ColonneDepart = cell.Column;
    LigneDepart = cell.Row;
    DessinerPlanche();
    if (OnFirstLabel)
        OnFirstLabel();
}

bool TPrevis::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->Page && event->type() == QEvent::MouseButtonPress) {
        const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
        platform::runReportingErrors([this, p] { PageMouseDown(p); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace station

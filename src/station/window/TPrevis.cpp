#include "TPrevis.h"
#include "ui_TPrevis.h"

#include "MultiLang/MLang.h"
#include "platform/window/Application.h"
#include "platform/window/WindowPlace.h"
#include "station/StationRules.h"

#include <QApplication>
#include <QMouseEvent>

namespace station {

TPrevis::TPrevis(QWidget* parent) : QDialog(parent, Qt::Tool), ui(std::make_unique<Ui::TPrevis>()), m_home(parent)
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

void TPrevis::Montrer()
{
    // A modal dialog (the format window, its editor) leaves every window that is not its own
    // behind it and deaf to the user: the preview it opens becomes its child, in front and usable.
    attachTo(QApplication::activeModalWidget());
    platform::ShowInFront(this);
}

void TPrevis::attachTo(QWidget* owner)
{
    if (owner == nullptr || owner == this)
        owner = m_home;
    if (parentWidget() != owner) {
        if (parentWidget() != nullptr && parentWidget() != m_home)
            parentWidget()->removeEventFilter(this);
        setParent(owner, windowFlags());
        // Back to its own window when the dialog goes, before the dialog can take it along.
        if (owner != nullptr && owner != m_home)
            owner->installEventFilter(this);
    }
    if (owner == nullptr || owner == m_home || isVisible())
        return;
    // Beside the dialog rather than over its buttons.
    adjustSize();
    platform::PlaceBeside(this, owner);
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
    if (watched == parentWidget() && watched != m_home && event->type() == QEvent::Hide) {
        hide();
        attachTo(m_home);
        return false;
    }
    if (watched == ui->Page && event->type() == QEvent::MouseButtonPress) {
        const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
        platform::runReportingErrors([this, p] { PageMouseDown(p); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace station

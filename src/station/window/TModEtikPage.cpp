#include "TModEtik.h"
#include "ui_TModEtik.h"

#include "TAssistant.h"
#include "TFormat.h"
#include "TPrintDial.h"

#include "MultiLang/MLang.h"
#include "design/window/TNumAuto.h"
#include "platform/window/Application.h"
#include "platform/window/Dialogs.h"
#include "platform/window/QtPrinter.h"

#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QStyle>

// The station's sheet page (placing, moving, removing, filling and clearing the models on it)
// and its print, with the program's printer and the printing wizard.
namespace station {

void TModEtik::drawPage()
{
    if (!ui->Page->isVisible() || EchellePage <= 0 || Station.Selected < 0) {
        ui->Page->clear();
        return;
    }
    DessinerPage();
}

void TModEtik::DessinerPage()
{
    Station.EchellePage = EchellePage;
    Station.PaperNames = FormatWindow()->PaperNames();
    const QSize size = Station.PageImageSize();
    const QImage image
        = station::DessinerPage(Station.Planche, size, EchellePage, CurrentPrinterInfo(), logicalDpiY());
    ui->Page->setPixmap(QPixmap::fromImage(image));
    ui->FormatLabel->setText(Station.Planche.FormatPage.NomFormat);
    ui->FillBtn->setEnabled(Station.Selected >= 0 && Station.CanFill());
}

bool TModEtik::FormatCompatible(const QString& modelName)
{
    if (modelName.isEmpty() || modelName != Station.SelectedName())
        return false;
    return Station.FormatCompatible();
}

void TModEtik::ActiverPage()
{
    ui->ClearPageBtn->setEnabled(true);
    ui->EffacerItem->setEnabled(true);
    EnablePrintCommands();
    ui->Page->setToolTip(GetText(QStringLiteral("@5")));
}

void TModEtik::DesactiverPage()
{
    ui->ClearPageBtn->setEnabled(false);
    ui->EffacerItem->setEnabled(false);
    EnablePrintCommands();
    ui->Page->setToolTip(GetText(QStringLiteral("@4")));
}

void TModEtik::afterPageChange()
{
    if (Station.Planche.IsEmpty()) {
        // An emptied page follows the selected model's format again and is sized for it.
        Station.SuivrePage();
        ui->FillBtn->setEnabled(false);
        DesactiverPage();
        ListBoxClick();
        return;
    }
    ActiverPage();
    drawPage();
}

void TModEtik::ClearPageBtnClick()
{
    Station.ClearPage();
}

void TModEtik::FillBtnClick()
{
    Station.EchellePage = EchellePage;
    Station.Fill();
}

std::function<void(QDrag&)>& TModEtik::DragHook()
{
    static std::function<void(QDrag&)> hook = [](QDrag& drag) { drag.exec(Qt::MoveAction | Qt::CopyAction); };
    return hook;
}

const QString TModEtik::ModelMime = QStringLiteral("application/x-pravolis-model");
const QString TModEtik::CellMime = QStringLiteral("application/x-pravolis-page-cell");

void TModEtik::startDrag(const QString& mime, const QString& text)
{
    auto* drag = new QDrag(ui->Page);
    auto* data = new QMimeData;
    data->setData(mime, text.toUtf8());
    drag->setMimeData(data);
    DragHook()(*drag);
    drag->deleteLater();
}

QPoint TModEtik::pagePoint(QPointF widgetPos) const
{
    // The page image stands centred in its label.
    const QSize image = ui->Page->pixmap().size();
    const QRect at = QStyle::alignedRect(layoutDirection(), Qt::AlignCenter, image, ui->Page->contentsRect());
    return widgetPos.toPoint() - at.topLeft();
}

void TModEtik::pageMouseDown(QMouseEvent* event)
{
    if (Station.Selected < 0)
        return;
    Station.EchellePage = EchellePage;
    const QPoint p = pagePoint(event->position());
    if (event->button() == Qt::RightButton) {
        Station.RightClick(p);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    // A placed model is drawn as the page tells it.
    switch (Station.LeftClick(p)) {
    case TStation::TPageClick::Placed:
        break;
    case TStation::TPageClick::StartMove:
        startDrag(CellMime, Station.Planche.Cell(Station.LastCell.Column, Station.LastCell.Row));
        break;
    case TStation::TPageClick::Nothing:
        drawPage();
        break;
    }
}

bool TModEtik::pageDragEvent(QEvent* event)
{
    auto* drag = static_cast<QDropEvent*>(event);
    const QMimeData* data = drag->mimeData();
    const bool fromList = data->hasFormat(ModelMime);
    const bool fromPage = data->hasFormat(CellMime) && !Station.Planche.IsEmpty();
    if (!fromList && !fromPage) {
        drag->ignore();
        return true;
    }
    drag->setDropAction(fromList ? Qt::CopyAction : Qt::MoveAction);
    drag->accept();
    if (event->type() != QEvent::Drop)
        return true;
    Station.EchellePage = EchellePage;
    const QPoint p = pagePoint(drag->position());
    // A drop that changed nothing still redraws: the format question may have been answered.
    if (!(fromList ? Station.DropModel(p) : Station.MovePlaced(p)))
        drawPage();
    return true;
}

TAssistant* TModEtik::AssistantWindow()
{
    if (m_assistant == nullptr)
        m_assistant = new TAssistant(this);
    return m_assistant;
}

void TModEtik::AssistantClick()
{
    TAssistant* wizard = AssistantWindow();
    wizard->PagePrintable = ui->PrintBtn->isEnabled();
    wizard->MailingAvailable = static_cast<bool>(StartMailing);
    wizard->DesignSelected = Station.Selected >= 0;
    wizard->DatabaseAvailable = DatabaseMailing;
    if (wizard->exec() != QDialog::Accepted)
        return;
    const int choice = wizard->Choix();
    if (choice == 1) {
        PrintBtnClick();
        return;
    }
    if (!StartMailing)
        return;
    // The address book feeds choices 2 and 3, the database choice 4.
    ChoisirSourceFusion(choice == 4);
    StartMailing(choice);
}

platform::QtPrinter& TModEtik::Printer()
{
    if (!m_printer)
        m_printer = std::make_unique<platform::QtPrinter>();
    return *m_printer;
}

TPrinterInfo TModEtik::printerInfo()
{
    platform::QtPrinter& printer = Printer();
    if (!printer.Configured())
        return {};
    // As the sheets print: in the orientation of the station's format.
    const platform::TPrinterOrientation o = Paysage() ? platform::poLandscape : platform::poPortrait;
    const platform::TPoint offset = printer.PrintingOffsetFor(o);
    return {printer.PixelsPerInchX(), printer.PixelsPerInchY(), printer.PageSizeFor(o), QPoint(offset.X, offset.Y)};
}

void TModEtik::EnablePrintCommands()
{
    // Nothing to print on an empty page.
    const bool any = !Station.Planche.IsEmpty();
    ui->PrintBtn->setEnabled(any);
    ui->ImprimerItem->setEnabled(any);
}

TSheetPrintOptions TModEtik::PrintOptions()
{
    TSheetPrintOptions o;
    o.CutLines = ui->coupe->isChecked();
    o.Wysiwyg = ui->wysiwyg->isChecked();
    o.Orientation = Paysage() ? platform::poLandscape : platform::poPortrait;
    o.Title = platform::Application::Title();
    o.Numbering = NumAutoWindow()->Numbering();
    // Printed as the thumbnail shows them: with the merge source's current record.
    o.Source = MergeSource();
    o.Record = MergeRow();
    return o;
}

void TModEtik::ConfigBtnClick()
{
    RunPrinterSetup();
    ListBoxClick();
}

void TModEtik::PrintDialSetupClick()
{
    ConfigBtnClick();
    Paysage() = false;
    SaveAfterPrinterSetup(Station.Designer);
}

void TModEtik::PrintBtnClick()
{
    if (Station.Planche.IsEmpty())
        return;
    platform::QtPrinter& printer = Printer();
    TPrintDial dial(Station.Planche, Station.Folders, this);
    dial.PaperSource = [this] {
        const design::TCurrentFormat& f = Station.Planche.FormatPage;
        const TPaperNames names = FormatWindow()->PaperNames();
        return QSizeF(LargeurPage(f.NomFormat, f.LargeurEtiquette, ClampLabelCount(f.NbColonnes),
                                  f.EcartHorizontal, names),
                      HauteurPage(f.NomFormat, f.HauteurEtiquette, names));
    };
    dial.PrintableSource = [] {
        const TArea100 a = PrintableArea100(CurrentPrinterInfo());
        return QRectF(QPointF(a.Left, a.Top), QPointF(a.Right, a.Bottom));
    };
    dial.OptionsSource = [this] { return PrintOptions(); };
    dial.NumberingClick = [this] { NumAutoWindow()->exec(); };
    dial.PrinterSetupClick = [this] { PrintDialSetupClick(); };
    if (dial.exec() != QDialog::Accepted)
        return;
    TSheetPrintOptions options = PrintOptions();
    options.Copies = dial.Copies();
    const TSheetPrintResult result = PrintSheetPage(Station.Planche, Station.Folders, printer, options);
    if (!result.Unreadable.isEmpty())
        platform::MessageDlg(dial.MultiLang1->GetText(QStringLiteral("@1")) + QStringLiteral("\n\n") +
                                 result.Unreadable.join(QLatin1Char('\n')),
                             platform::mtWarning);
}

} // namespace station

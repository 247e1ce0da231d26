#include "TModEtik.h"
#include "ui_TModEtik.h"

#include "TAssistant.h"
#include "TFormat.h"
#include "TPrevis.h"
#include "TPrintDial.h"
#include "shell/TAboutBox.h"
#include "ui_TFormat.h"

#include "MultiLang/MLang.h"
#include "database/DbTable.h"
#include "design/DesignDocument.h"
#include "station/DesignFormat.h"
#include "design/window/TNumAuto.h"
#include "platform/Errors.h"
#include "platform/HourGlass.h"
#include "platform/Paths.h"
#include "platform/Rounding.h"
#include "platform/TStringGrid.h"
#include "platform/window/Application.h"
#include "platform/window/Dialogs.h"
#include "platform/window/QtPrinter.h"
#include "platform/window/WindowPlace.h"
#include "shell/BoiteMessage.h"
#include "shell/SystemQueries.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>

namespace station {

namespace {

QSize screenSize()
{
    if (const QScreen* s = QGuiApplication::primaryScreen())
        return s->geometry().size();
    return {1024, 768};
}

} // namespace

TModEtik::TModEtik(const QString& programFolder, const QString& settingsFile, QWidget* parent)
    : TModEtik(TStationFolders::Resolve(programFolder, platform::userDataFolder()), settingsFile, parent)
{
}

TModEtik::TModEtik(const TStationFolders& folders, const QString& settingsFile, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TModEtik>()),
      Station(folders, UsableSettingsFile(settingsFile, folders))
{
    ui->setupUi(this);
    setIcons();
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TModEtik.txt"));
    MultiLang1->AfterLanguageChanged = [this](TBaseMultiLang*, int language) {
        FichierAide = HelpPage(language);
        if (isVisible())
            RemplirListeModeles();
        MajTitre();
        ui->Page->setToolTip(GetText(Station.Planche.IsEmpty() ? QStringLiteral("@4") : QStringLiteral("@5")));
        // The captions change length with the language: the window never gets narrower than its
        // tool bar, so no caption is cut short.
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
        ui->mainLayout->getContentsMargins(&left, &top, &right, &bottom);
        setMinimumWidth(ui->ToolBarPanel->sizeHint().width() + left + right);
    };
    MultiLang1->Loaded();
    FichierAide = HelpPage(MultiLang1->ActiveLanguage());
    connectEvents();
    CheminAppli = Station.Folders.Program;
    FichierIni = Station.FichierIni;
    // The commands whose windows come with later versions of the program.
    for (QWidget* w : {static_cast<QWidget*>(ui->BddBtn)})
        w->setEnabled(false);
    for (QAction* a : {ui->BaseItem})
        a->setEnabled(false);
    EnableAddressBookCommands();
    EnablePreviewCommands();
    ui->FillBtn->setEnabled(false);
    Station.ConfirmClearPage = [this](int filled) {
        return BoiteMessage(GetText(IncompatibleQuestionKey(filled)) + GetText(QStringLiteral("@11")),
                            platform::mtWarning, platform::mbYes | platform::mbNo)
               == platform::mrYes;
    };
    RunPrinterSetup = [this] { return Printer().SetupDialog(this); };
    // The sheet drawings outline what this window's printer can reach.
    PrinterInfoSource() = [this] { return printerInfo(); };
    DesactiverPage();
    enableModelCommands();
}

TModEtik::~TModEtik()
{
    PrinterInfoSource() = DefaultPrinterInfo;
}

std::function<bool(const QUrl&)>& TModEtik::OpenUrlHook()
{
    static std::function<bool(const QUrl&)> hook = [](const QUrl& url) {
        return QDesktopServices::openUrl(url);
    };
    return hook;
}

void TModEtik::setIcons()
{
    QStyle* s = style();
    ui->PlusBtn->setIcon(s->standardIcon(QStyle::SP_FileIcon));
    ui->MoinsBtn->setIcon(s->standardIcon(QStyle::SP_TrashIcon));
    ui->PreviewBtn->setIcon(s->standardIcon(QStyle::SP_FileDialogContentsView));
    ui->FicheBtn->setIcon(s->standardIcon(QStyle::SP_DirHomeIcon));
    ui->BddBtn->setIcon(s->standardIcon(QStyle::SP_DriveHDIcon));
    ui->EtikBtn->setIcon(s->standardIcon(QStyle::SP_FileDialogListView));
    ui->ClearPageBtn->setIcon(s->standardIcon(QStyle::SP_DialogResetButton));
    ui->ConfigBtn->setIcon(s->standardIcon(QStyle::SP_ComputerIcon));
    ui->PrintBtn->setIcon(s->standardIcon(QStyle::SP_DialogSaveButton));
    ui->HelpBtn->setIcon(s->standardIcon(QStyle::SP_MessageBoxQuestion));
    ui->AProposBtn->setIcon(s->standardIcon(QStyle::SP_MessageBoxInformation));
    ui->SwitchBtn->setArrowType(Qt::LeftArrow);
}

void TModEtik::connectEvents()
{
    const auto run = [this](auto handler) {
        return [this, handler] { platform::runReportingErrors([this, handler] { (this->*handler)(); }); };
    };
    connect(ui->ListBox, &QListWidget::currentRowChanged, this, run(&TModEtik::ListBoxClick));
    connect(ui->ListBox, &QListWidget::itemDoubleClicked, this, run(&TModEtik::ModifierModele));
    auto* del = new QShortcut(QKeySequence::Delete, ui->ListBox, nullptr, nullptr, Qt::WidgetShortcut);
    connect(del, &QShortcut::activated, this, run(&TModEtik::SupprimerModele));
    ui->Panel->installEventFilter(this);
    ui->Image->installEventFilter(this);
    ui->Page->installEventFilter(this);
    ui->Page->setAcceptDrops(true);
    ui->ListBox->viewport()->installEventFilter(this);
    connect(ui->FillBtn, &QPushButton::clicked, this, run(&TModEtik::FillBtnClick));
    connect(ui->ClearPageBtn, &QToolButton::clicked, this, run(&TModEtik::ClearPageBtnClick));
    connect(ui->EffacerItem, &QAction::triggered, this, run(&TModEtik::ClearPageBtnClick));

    connect(ui->PlusBtn, &QToolButton::clicked, this, run(&TModEtik::NouveauModele));
    connect(ui->NouveauItem, &QAction::triggered, this, run(&TModEtik::NouveauModele));
    connect(ui->MoinsBtn, &QToolButton::clicked, this, run(&TModEtik::SupprimerModele));
    connect(ui->SupprimerItem, &QAction::triggered, this, run(&TModEtik::SupprimerModele));
    connect(ui->ModifierItem, &QAction::triggered, this, run(&TModEtik::ModifierModele));
    connect(ui->SwitchBtn, &QToolButton::clicked, this, run(&TModEtik::SwitchBtnClick));
    connect(ui->BddBtn, &QToolButton::clicked, this, run(&TModEtik::BddBtnClick));
    connect(ui->BaseItem, &QAction::triggered, this, run(&TModEtik::BddBtnClick));
    connect(ui->RepFus, &QAction::triggered, this, [this] { ChoisirSourceFusion(false); });
    connect(ui->BasFus, &QAction::triggered, this, [this] { ChoisirSourceFusion(true); });
    const auto showCard = [this] {
        if (ShowAddressCard)
            platform::runReportingErrors([this] { ShowAddressCard(); });
    };
    connect(ui->FicheBtn, &QToolButton::clicked, this, showCard);
    connect(ui->RepertoireItem, &QAction::triggered, this, showCard);
    const auto showPreview = [this] {
        if (ShowPreview)
            platform::runReportingErrors(ShowPreview);
    };
    connect(ui->PreviewBtn, &QToolButton::clicked, this, showPreview);
    connect(ui->ApercuItem, &QAction::triggered, this, showPreview);
    connect(ui->NumerotationItem, &QAction::triggered, this, run(&TModEtik::NumerotationClick));
    connect(ui->HelpBtn, &QToolButton::clicked, this, run(&TModEtik::AideClick));
    connect(ui->AideItem, &QAction::triggered, this, run(&TModEtik::AideClick));
    connect(ui->AProposBtn, &QToolButton::clicked, this, run(&TModEtik::AProposClick));
    connect(ui->AProposItem, &QAction::triggered, this, run(&TModEtik::AProposClick));
    connect(ui->QuitterItem, &QAction::triggered, this, &QWidget::close);
    connect(ui->PrintBtn, &QToolButton::clicked, this, run(&TModEtik::PrintBtnClick));
    connect(ui->ImprimerItem, &QAction::triggered, this, run(&TModEtik::PrintBtnClick));
    connect(ui->ConfigBtn, &QToolButton::clicked, this, run(&TModEtik::ConfigBtnClick));
    connect(ui->ConfigItem, &QAction::triggered, this, run(&TModEtik::ConfigBtnClick));
    connect(ui->EtikBtn, &QToolButton::clicked, this, run(&TModEtik::AssistantClick));
    connect(ui->AssistantItem, &QAction::triggered, this, run(&TModEtik::AssistantClick));
    connect(ui->CartesMenu, &QMenu::aboutToShow, this, [this] {
        ui->SupprimerItem->setEnabled(Station.Models.Count() > 0);
    });
}

QString TModEtik::GetText(const QString& key) const
{
    return MultiLang1 != nullptr ? MultiLang1->GetText(key) : key;
}

THintTexts TModEtik::hintTexts() const
{
    THintTexts t;
    t.RepFichAct = GetText(QStringLiteral("@RepFichAct"));
    t.Repert = GetText(QStringLiteral("@Repert"));
    t.BasDonn = GetText(QStringLiteral("@basdonn"));
    t.FichAct = GetText(QStringLiteral("@fichact"));
    t.SansNom = GetText(QStringLiteral("@SANSNOM"));
    t.DatabaseInUse = GetText(QStringLiteral("@1"));
    t.InUseForMerging = GetText(QStringLiteral("@2"));
    t.AddressBookInUse = GetText(QStringLiteral("@3"));
    return t;
}

void TModEtik::FormCreate()
{
    if (m_created)
        return;
    m_created = true;
    platform::Application::SetTitle(QStringLiteral("Pravolis"));
    const QSize screen = screenSize();
    resize(640, 480);
    move((screen.width() - 640) / 2, (screen.height() - 480) / 2);
    CheminExemples = LecteurCDROM() + QStringLiteral("/exemples/");
    Station.Designer.ExamplesFolder = CheminExemples;
    const QString folderError = Station.Start(screen, QDir::homePath());
    if (!folderError.isEmpty())
        platform::Application::ShowError(GetText(QStringLiteral("@NoFolders")) + folderError);

    const TStationSettings& s = Station.Settings;
    if (s.Main.Maxi) {
        setWindowState(windowState() | Qt::WindowMaximized);
    } else {
        platform::RestoreWindowPlace(this, QRect(s.Main.X, s.Main.Y, s.Main.W, s.Main.H));
    }
    m_lastSize = size();
    ui->coupe->setChecked(s.Coupe);
    ui->wysiwyg->setChecked(s.Wysiwyg);
    ui->SwitchBtn->setChecked(s.Switch);
    PremiereFois = s.FirstTime;
    CheminImagesPerso = s.CheminImagesPerso;

    // Every window from now on starts in English; the language menu is not offered.
    SetGlobalLanguage(1);
    MajTitre();
}

void TModEtik::MajTitre()
{
    const QString title = platform::Application::Title();
    setWindowTitle(title + GetText(QStringLiteral("@Panel")));
    ui->CartesMenu->setTitle(u'&' + title);
}

void TModEtik::SetFormatWindow(TFormat* format)
{
    m_format = format;
    if (format != nullptr)
        format->SetPreview(PrevisWindow());
}

TFormat* TModEtik::FormatWindow()
{
    if (m_format.isNull())
        SetFormatWindow(new TFormat(this, Station.Folders.Writable, FichierIni));
    return m_format;
}

TPrevis* TModEtik::PrevisWindow()
{
    if (m_previs.isNull())
        m_previs = new TPrevis(this);
    return m_previs;
}

void TModEtik::SetNumAuto(TNumAuto* numAuto)
{
    m_numAuto = numAuto;
}

TNumAuto* TModEtik::NumAutoWindow()
{
    if (m_numAuto.isNull())
        m_numAuto = new TNumAuto(this, FichierIni);
    return m_numAuto;
}

void TModEtik::EnablePreviewCommands()
{
    ui->PreviewBtn->setEnabled(ShowPreview != nullptr);
    ui->ApercuItem->setEnabled(ShowPreview != nullptr);
}

void TModEtik::EnableAddressBookCommands()
{
    const bool card = ShowAddressCard != nullptr;
    ui->FicheBtn->setEnabled(card);
    ui->RepertoireItem->setEnabled(card);
}

bool TModEtik::DatabaseIsSource() const
{
    return ui->SwitchBtn->isChecked();
}

void TModEtik::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        platform::runReportingErrors([this] { firstShow(); });
    }
    MajBulleRepertoire();
}

void TModEtik::firstShow()
{
    if (!m_created)
        FormCreate();
    EnableAddressBookCommands();
    SwitchBtnClick();
    if (PremiereFois && ShowAddressCard) {
        platform::MessageDlg(GetText(QStringLiteral("@13")) + GetText(QStringLiteral("@14")),
                             platform::mtInformation, platform::mbOK);
        ShowAddressCard();
        PremiereFois = false;
        Station.Settings.FirstTime = false;
    }
    RemplirListeModeles();
    MajBulleRepertoire();
    MajBullesFusion();
    ui->ListBox->setFocus();
    layoutProportionally();
}

void TModEtik::showListErrors(const QStringList& errors)
{
    if (!errors.isEmpty())
        platform::MessageDlg(GetText(QStringLiteral("@6")) + u'\n' + errors.join(u'\n'), platform::mtError,
                             platform::mbOK);
}

void TModEtik::RemplirListeModeles()
{
    QStringList errors;
    {
        platform::HourGlass busy;
        errors = Station.RemplirListeModeles();
        const QSignalBlocker quiet(ui->ListBox);
        ui->ListBox->clear();
        for (const TModelEntry& e : Station.Models.Models)
            ui->ListBox->addItem(e.Line());
        ui->ListBox->setCurrentRow(Station.Models.Count() > 0 ? 0 : -1);
    }
    enableModelCommands();
    showListErrors(errors);
    ListBoxClick();
}

void TModEtik::RefreshAfterDesignSave(const QString& path)
{
    const int remembered = ui->ListBox->currentRow();
    const QString name = design::DesignName(path).toUpper();
    QStringList errors;
    {
        platform::HourGlass busy;
        errors = Station.RemplirListeModeles();
        const QSignalBlocker quiet(ui->ListBox);
        ui->ListBox->clear();
        int row = -1;
        for (int i = 0; i < Station.Models.Count(); ++i) {
            const TModelEntry& e = Station.Models.Models[static_cast<size_t>(i)];
            ui->ListBox->addItem(e.Line());
            if (row < 0 && design::DesignName(e.Path).toUpper() == name)
                row = i;
        }
        if (row < 0)
            row = std::min(remembered, Station.Models.Count() - 1);
        ui->ListBox->setCurrentRow(row);
    }
    enableModelCommands();
    showListErrors(errors);
    ListBoxClick();
}

void TModEtik::enableModelCommands()
{
    const bool any = Station.Models.Count() > 0;
    ui->MoinsBtn->setEnabled(any);
    ui->SupprimerItem->setEnabled(any);
    ui->ModifierItem->setEnabled(any && ShowDesigner != nullptr);
    ui->NouveauItem->setEnabled(ShowDesigner != nullptr);
    ui->PlusBtn->setEnabled(ShowDesigner != nullptr);
    ui->Page->setVisible(any);
    EnablePrintCommands();
    if (!any) {
        ui->FormatLabel->clear();
        ui->Image->hide();
    }
}

void TModEtik::ListBoxClick()
{
    const int row = ui->ListBox->currentRow();
    if (row < 0 || !ConfirmSave())
        return;
    platform::HourGlass busy;
    if (Station.SelectModel(row))
        DessinerVignette();
    else
        ui->Image->hide();
    Station.SuivrePage();
    ui->FormatLabel->setText(Station.Planche.FormatPage.NomFormat);
    drawPage();
}

void TModEtik::ChargerVignette(const QString& path)
{
    if (Station.ChargerModele(path))
        DessinerVignette();
    else
        ui->Image->hide();
}

void TModEtik::DessinerVignette()
{
    const QRect area = ui->Panel->contentsRect();
    const TThumbnail t = ThumbnailGeometry(Station.Designer.LargeurEtiquettePx,
                                           Station.Designer.HauteurEtiquettePx, area.width(), area.height());
    QImage image;
    if (t.Visible) {
        try {
            image = DrawThumbnail(Station.Designer, t, MergeSource(), NumAutoWindow()->Numbering(), MergeRow(),
                                  palette().color(QPalette::Button));
        } catch (const std::exception&) {
            image = QImage();
        }
    }
    if (image.isNull()) {
        ui->Image->hide();
        return;
    }
    ui->Image->setGeometry(area.left() + t.Left, area.top() + t.Top, t.Width, t.Height);
    ui->Image->setPixmap(QPixmap::fromImage(image));
    ui->Image->show();
}

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
        ClearPageBtnClick();
        return;
    }
    ActiverPage();
    drawPage();
}

void TModEtik::ClearPageBtnClick()
{
    Station.ClearPage();
    ui->FillBtn->setEnabled(false);
    DesactiverPage();
    ListBoxClick();
}

void TModEtik::FillBtnClick()
{
    Station.EchellePage = EchellePage;
    Station.Fill();
    afterPageChange();
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
        if (Station.RightClick(p))
            afterPageChange();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    switch (Station.LeftClick(p)) {
    case TStation::TPageClick::Placed:
        afterPageChange();
        break;
    case TStation::TPageClick::StartMove:
        startDrag(CellMime, Station.Planche.Cell(Station.LastCell.Column, Station.LastCell.Row));
        break;
    case TStation::TPageClick::Nothing:
        // A "Yes" to the format question may have changed the page without placing anything.
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
    const bool changed = fromList ? Station.DropModel(p) : Station.MovePlaced(p);
    if (changed)
        afterPageChange();
    else
        drawPage();
    return true;
}

void TModEtik::SwitchBtnClick()
{
    const bool down = DatabaseIsSource();
    ui->SwitchBtn->setArrowType(down ? Qt::RightArrow : Qt::LeftArrow);
    ui->RepFus->setChecked(!down);
    ui->BasFus->setChecked(down);
    MajBullesFusion();
    if (m_shown)
        ListBoxClick();
}

void TModEtik::ChoisirSourceFusion(bool database)
{
    ui->SwitchBtn->setChecked(database);
    platform::runReportingErrors([this] { SwitchBtnClick(); });
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

void TModEtik::MajBulleRepertoire()
{
    QString firstName;
    QString surname;
    if (AddressBookGrid != nullptr) {
        // Columns 1 and 0 of the book: the first name and the surname.
        firstName = AddressBookGrid->Cell(1, AddressBookGrid->Row());
        surname = AddressBookGrid->Cell(0, AddressBookGrid->Row());
    }
    ui->FicheBtn->setToolTip(AddressBookHint(firstName, surname, hintTexts()));
}

void TModEtik::SetDatabase(database::DbTable* table, std::function<void()> show)
{
    m_database = table;
    m_showDatabase = std::move(show);
    const bool usable = m_database != nullptr && m_showDatabase != nullptr;
    ui->BddBtn->setEnabled(usable);
    ui->BaseItem->setEnabled(usable);
    MajBullesFusion();
}

void TModEtik::BddBtnClick()
{
    if (!m_showDatabase)
        return;
    ChoisirSourceFusion(true);
    hide();
    m_showDatabase();
}

design::MergeSource TModEtik::MergeSource() const
{
    if (DatabaseIsSource() && m_database != nullptr)
        return design::MergeSource{&m_database->Grille, true};
    if (!DatabaseIsSource() && AddressBookGrid != nullptr)
        return design::MergeSource{AddressBookGrid, false};
    return design::MergeSource{};
}

int TModEtik::MergeRow() const
{
    const platform::TStringGrid* grid = MergeSource().Grille;
    return grid != nullptr ? std::max(1, grid->Row()) : 1;
}

void TModEtik::MajBullesFusion()
{
    const THintTexts t = hintTexts();
    const QString name = DatabaseName(m_database != nullptr ? m_database->NomFichier : QString(), t);
    const QString firstField
        = m_database != nullptr ? m_database->Grille.Cell(0, std::max(1, m_database->Grille.Row())) : QString();
    ui->BddBtn->setToolTip(DatabaseHint(name, firstField, t));
    ui->SwitchBtn->setToolTip(SwitchHint(DatabaseIsSource(), name, t));
}

void TModEtik::NouveauModele()
{
    if (!ShowDesigner || !ConfirmSave())
        return;
    TFormat* format = FormatWindow();
    format->UseDialogButtons();
    if (format->exec() != QDialog::Accepted)
        return;
    design::TDesignModel& d = Station.Designer;
    AdoptFormat(format->SelectedFormat(), format->PaperNames(), Station.CurrentFormat,
                d.LargeurEtiquettePx, d.HauteurEtiquettePx);
    d.Clear();
    d.NomDocument.clear();
    d.ObjetCourant = nullptr;
    d.Modifie = false;
    ShowDesigner();
    hide();
}

bool TModEtik::ChooseDesignFormat(const QString& unlistedName, TLigneFormat& row, TPaperNames& names)
{
    TFormat* format = FormatWindow();
    const TFormatPlace place = LocateDesignFormat(format->Families(), Station.CurrentFormat, unlistedName);
    if (place.Family >= 0)
        format->ShowFormat(place.Family, place.Row);
    format->UseDialogButtons();
    if (format->exec() != QDialog::Accepted)
        return false;
    row = format->SelectedFormat();
    names = format->PaperNames();
    return true;
}

void TModEtik::ModifierModele()
{
    const QString path = Station.SelectedPath();
    if (path.isEmpty() || !ShowDesigner || !ConfirmSave())
        return;
    {
        platform::HourGlass busy;
        try {
            design::OpenDesign(Station.Designer, path);
        } catch (const std::exception&) {
            platform::MessageDlg(GetText(QStringLiteral("@6")), platform::mtError, platform::mbOK);
            return;
        }
        Station.Designer.Modifie = false;
    }
    ShowDesigner();
    hide();
}

void TModEtik::SupprimerModele()
{
    const int row = ui->ListBox->currentRow();
    if (row < 0 || row >= Station.Models.Count())
        return;
    const QString file = QFileInfo(Station.Models.Models[static_cast<size_t>(row)].Path).fileName();
    if (BoiteMessage(GetText(QStringLiteral("@8")) + file + QStringLiteral("\" ?"), platform::mtConfirmation,
                     platform::mbYes | platform::mbNo)
        != platform::mrYes)
        return;
    QStringList errors;
    const int next = Station.DeleteModel(row, &errors);
    {
        const QSignalBlocker quiet(ui->ListBox);
        ui->ListBox->clear();
        for (const TModelEntry& e : Station.Models.Models)
            ui->ListBox->addItem(e.Line());
        ui->ListBox->setCurrentRow(next);
    }
    enableModelCommands();
    showListErrors(errors);
    if (next >= 0)
        ListBoxClick();
    else
        drawPage();
}

void TModEtik::NumerotationClick()
{
    NumAutoWindow()->exec();
    if (Station.Selected >= 0)
        DessinerVignette();
}

void TModEtik::AProposClick()
{
    TAboutBox about(this);
    about.exec();
}

void TModEtik::AideClick()
{
    ShowHelpContext(3);
}

void TModEtik::ShowHelpContext(int context)
{
    const QString page = Station.Folders.ReadPath(FichierAide);
    if (!QFileInfo::exists(page)) {
        platform::MessageDlg(GetText(QStringLiteral("@NoHelp")) + page, platform::mtError, platform::mbOK);
        return;
    }
    QUrl url = QUrl::fromLocalFile(page);
    url.setFragment(QStringLiteral("context%1").arg(context));
    OpenUrlHook()(url);
}

bool TModEtik::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->Page) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            platform::runReportingErrors([&] { pageMouseDown(static_cast<QMouseEvent*>(event)); });
            return true;
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop: {
            bool handled = true;
            platform::runReportingErrors([&] { handled = pageDragEvent(event); });
            return handled;
        }
        default:
            break;
        }
    }
    if (watched == ui->ListBox->viewport()
        && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease
            || event->type() == QEvent::MouseMove)) {
        // A model dragged from the list onto the page: the pressed line is the selected model.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton)
            m_listPress = mouse->position().toPoint();
        else if (event->type() == QEvent::MouseButtonRelease)
            m_listPress = {-1, -1};
        else if (event->type() == QEvent::MouseMove && (mouse->buttons() & Qt::LeftButton) && m_listPress.x() >= 0
                 && (mouse->position().toPoint() - m_listPress).manhattanLength()
                        >= QApplication::startDragDistance()
                 && Station.Selected >= 0) {
            m_listPress = {-1, -1};
            platform::runReportingErrors([this] { startDrag(ModelMime, Station.SelectedName()); });
            return true;
        }
    }
    if ((watched == ui->Panel || watched == ui->Image) && event->type() == QEvent::MouseButtonDblClick)
        platform::runReportingErrors([this] { ModifierModele(); });
    else if (watched == ui->Panel && event->type() == QEvent::Resize && Station.Selected >= 0)
        DessinerVignette();
    return QMainWindow::eventFilter(watched, event);
}

void TModEtik::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (m_sizing)
        return;
    const QScreen* screen = this->screen();
    const bool narrowScreen = screen != nullptr && screen->geometry().width() == 640;
    if (!narrowScreen && isVisible() && !m_closing && !isMaximized() && !isFullScreen()) {
        const QSize target = KeepFourThirds(m_lastSize, size());
        m_lastSize = target;
        if (target != size()) {
            m_sizing = true;
            resize(target);
            m_sizing = false;
        }
    }
    // Laid out whether or not the window kept its proportions, so the page scale always
    // matches the frame it is drawn in.
    layoutProportionally();
}

void TModEtik::layoutProportionally()
{
    const int side = std::max(120, ThumbnailPanelSide(height()));
    ui->Panel->setFixedSize(side, side);
    ui->ListBox->setFixedWidth(side);
    ui->FillBtn->setFixedWidth(side);
    ui->ListBox->SetTabPercentages(QString::number(TabStopPercent(side)));
    // The frame fills the height below the tool bar and its label, square, within the width left.
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    ui->mainLayout->getContentsMargins(&left, &top, &right, &bottom);
    const int client = centralWidget()->height() - top - bottom;
    const int below = client - ui->ToolBarPanel->sizeHint().height() - ui->mainLayout->spacing()
                      - ui->FormatLabel->sizeHint().height() - ui->pageLayout->spacing();
    const int available = centralWidget()->width() - left - right - side - ui->bodyLayout->spacing();
    const int frame = std::max(120, std::min(below, available));
    ui->Bevel1->setFixedSize(frame, frame);
    EchellePage = PageScale(frame);
    ui->ListBox->viewport()->update();
    drawPage();
}

void TModEtik::closeEvent(QCloseEvent* event)
{
    if (!m_exitDone && !ConfirmSave()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

QStringList TModEtik::FormClose()
{
    if (m_exitDone)
        return {};
    m_exitDone = true;
    m_closing = true;
    TStationSettings& s = Station.Settings;
    s.Main.Maxi = isMaximized();
    if (!s.Main.Maxi) {
        // A maximised window keeps the place it had before, to go back to.
        s.Main.X = pos().x();
        s.Main.Y = pos().y();
        s.Main.W = width();
        s.Main.H = height();
    }
    s.Coupe = ui->coupe->isChecked();
    s.Wysiwyg = ui->wysiwyg->isChecked();
    s.Switch = DatabaseIsSource();
    s.FirstTime = PremiereFois;
    s.CheminImagesPerso = CheminImagesPerso;
    TExitSteps steps;
    if (!m_format.isNull()) {
        s.LastFormat = {m_format->ui->ComboBox->currentIndex(), m_format->ui->ListBox->currentRow()};
        steps.WriteFamilies = [format = m_format] { return format->SaveFamilies(); };
    }
    if (!m_numAuto.isNull())
        steps.WriteNumbering = [numAuto = m_numAuto](platform::TIniFile& ini) { numAuto->WriteSettings(ini); };
    if (m_database != nullptr) {
        // Saved without asking whenever it has a file; a table whose file failed to read was
        // never named after it, so this never writes over a file it did not come from.
        steps.SaveDatabase = [table = m_database] {
            if (!table->NomFichier.isEmpty())
                table->SaveTo(table->NomFichier);
        };
    }
    QStringList failures = Station.Exit(steps);
    if (SaveAddressBook)
        failures << SaveAddressBook();
    if (!failures.isEmpty())
        platform::MessageDlg(GetText(QStringLiteral("@ExitErrors")) + u'\n' + failures.join(u'\n'),
                             platform::mtError, platform::mbOK);
    return failures;
}

} // namespace station

namespace station {

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
    return {printer.PixelsPerInchX(), printer.PixelsPerInchY(), QSize(printer.PageWidth(), printer.PageHeight()),
            QPoint(printer.PrintingOffset().X, printer.PrintingOffset().Y)};
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
    o.Title = platform::Application::Title();
    o.Numbering = NumAutoWindow()->Numbering();
    return o;
}

void TModEtik::ConfigBtnClick()
{
    platform::QtPrinter& printer = Printer();
    printer.SetOrientation(platform::poPortrait);
    RunPrinterSetup();
    printer.SetOrientation(platform::poPortrait);
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
    printer.SetOrientation(Paysage() ? platform::poLandscape : platform::poPortrait);
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

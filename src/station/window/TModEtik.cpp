#include "TModEtik.h"
#include "ui_TModEtik.h"

#include "PrinterIcons.h"
#include "TFormat.h"
#include "TPrevis.h"
#include "shell/TAboutBox.h"

#include "MultiLang/MLang.h"
#include "database/DbTable.h"
#include "design/window/TNumAuto.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "platform/TStringGrid.h"
#include "platform/window/Application.h"
#include "platform/window/Dialogs.h"
#include "platform/window/QtPrinter.h"
#include "shell/BoiteMessage.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMouseEvent>
#include <QScreen>
#include <QShortcut>
#include <QStyle>

#include <algorithm>

// The station window: its making, its commands' wiring, the merge source, the other windows it
// starts and its proportional layout. The model list, the sheet page with its print, and the
// settings with the exit have files of their own.
namespace station {

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
    // Whoever changes the page (this window, the design window's save question), the page's
    // commands, hint and picture follow it here.
    Station.Planche.Changed = [this] { afterPageChange(); };
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
    // The sheets are set up upright (the orientation is each print's own), in a dialog named for
    // what it does.
    RunPrinterSetup = [this] {
        platform::TSetupOptions options;
        options.Orientation = platform::poPortrait;
        options.SetupTitle = ui->ConfigBtn->toolTip();
        return Printer().SetupDialog(this, options).Accepted;
    };
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
    ui->ConfigBtn->setIcon(PrinterSetupIcon());
    ui->PrintBtn->setIcon(PrintIcon());
    ui->HelpBtn->setIcon(s->standardIcon(QStyle::SP_MessageBoxQuestion));
    ui->AProposBtn->setIcon(s->standardIcon(QStyle::SP_MessageBoxInformation));
    showSwitchGlyph(false);
}

// The tool button's own arrow is drawn at the style's small indicator size, lost among the
// tool bar's icons: the arrow is the style's arrow icon, at the tool bar's icon size.
void TModEtik::showSwitchGlyph(bool database)
{
    ui->SwitchBtn->setIcon(style()->standardIcon(database ? QStyle::SP_ArrowRight : QStyle::SP_ArrowLeft));
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
    connect(ui->FicheBtn, &QToolButton::clicked, this, run(&TModEtik::FicheBtnClick));
    connect(ui->RepertoireItem, &QAction::triggered, this, run(&TModEtik::FicheBtnClick));
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

QRect TModEtik::CommandsArea() const
{
    const QRect frame = frameGeometry();
    const int bottom = ui->ToolBarPanel->mapToGlobal(QPoint(0, ui->ToolBarPanel->height())).y();
    return {frame.topLeft(), QPoint(frame.right(), bottom - 1)};
}

void TModEtik::EnablePreviewCommands()
{
    // The preview shows the selected model: with none, there is nothing to show.
    const bool usable = ShowPreview != nullptr && Station.Models.Count() > 0;
    ui->PreviewBtn->setEnabled(usable);
    ui->ApercuItem->setEnabled(usable);
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

void TModEtik::setVisible(bool visible)
{
    QMainWindow::setVisible(visible);
    // The first show's work runs once the window is on the screen, so that a first start's
    // welcome and card come over the station, not over an empty screen.
    if (visible && isVisible() && !m_shown) {
        m_shown = true;
        platform::runReportingErrors([this] { firstShow(); });
    }
}

void TModEtik::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    MajBulleRepertoire();
}

void TModEtik::firstShow()
{
    if (!m_created)
        FormCreate();
    EnableAddressBookCommands();
    // The station is on the screen under the first start's welcome: its commands are as the
    // windows given by now allow.
    enableModelCommands();
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

void TModEtik::SwitchBtnClick()
{
    const bool down = DatabaseIsSource();
    showSwitchGlyph(down);
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

void TModEtik::AddressRecordChanged()
{
    if (!PremiereFois && isVisible() && ui->Image->isVisible())
        DessinerVignette();
    MajBulleRepertoire();
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

void TModEtik::FicheBtnClick()
{
    if (!ShowAddressCard || !ConfirmSave())
        return;
    // The card's entry is what labels are then merged with.
    ChoisirSourceFusion(false);
    ShowAddressCard();
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

} // namespace station

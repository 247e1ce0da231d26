#include "TForm1.h"
#include "ui_TForm1.h"

#include "FieldCodeEdits.h"
#include "FrameSelection.h"
#include "ObjectViews.h"
#include "TAligne.h"
#include "TPreview.h"
#include "TPropertyMenus.h"
#include "TStretchHandle.h"

#include "MultiLang/MLang.h"
#include "design/DesignSurface.h"
#include "design/Renderer.h"
#include "platform/Errors.h"
#include "platform/HourGlass.h"
#include "platform/Rounding.h"
#include "platform/TCanvas.h"
#include "platform/window/Application.h"
#include "platform/window/Dialogs.h"
#include "platform/window/WindowPlace.h"
#include "station/Station.h"
#include "station/StationRules.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTextCursor>
#include <QToolButton>
#include <QUrl>

#include <algorithm>
#include <array>

using namespace design;

namespace {

struct ToolButton {
    TDesignTool Tool;
    QToolButton* Ui::TForm1::*Button;
};
constexpr std::array<ToolButton, 11> toolButtons{{
    {TDesignTool::Selection, &Ui::TForm1::SelBtn},
    {TDesignTool::Line, &Ui::TForm1::LineBtn},
    {TDesignTool::Rectangle, &Ui::TForm1::RectBtn},
    {TDesignTool::RoundRect, &Ui::TForm1::RoundBtn},
    {TDesignTool::Ellipse, &Ui::TForm1::EllBtn},
    {TDesignTool::Text, &Ui::TForm1::TextBtn},
    {TDesignTool::Memo, &Ui::TForm1::MemoBtn},
    {TDesignTool::RotateLabel, &Ui::TForm1::RotatelBtn},
    {TDesignTool::CircleLabel, &Ui::TForm1::CircLabelBtn},
    {TDesignTool::Image, &Ui::TForm1::ImageBtn},
    {TDesignTool::Barcode, &Ui::TForm1::BarCodeBtn},
}};

} // namespace

TForm1::TForm1(station::TStation& station, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TForm1>()), m_station(station), m_model(&station.Designer)
{
    ui->setupUi(this);
    ui->Tampon->RotateBackColor = platform::clWhite;
    SH = new TStretchHandle(ui->Feuille);
    SH->setObjectName(QStringLiteral("SH"));
    SH->DragCursor = Qt::SizeAllCursor;
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TForm1.txt"));
    MultiLang1->Loaded();
    m_model->BlockOfTextDefault = GetText(QStringLiteral("@3"));
    m_tools = new QButtonGroup(this);
    m_tools->setExclusive(true);
    for (const ToolButton& t : toolButtons)
        m_tools->addButton(ui.get()->*t.Button, static_cast<int>(t.Tool));
    setPictures();
    OpenHelp = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    setUpTools();
    setUpPropertyMenus();
    connectEvents();
    FormCreate();
}

TForm1::~TForm1()
{
    qApp->removeEventFilter(this);
    // The model outlives the window: it must no longer call into it.
    m_model->OnCreated = nullptr;
    m_model->OnAttach = nullptr;
    m_model->OnFreeing = nullptr;
    m_model->OnUnreadableImage = nullptr;
    // The views are children, torn down after this part of the window is gone: a text block that
    // loses the keyboard on the way out must not call back into it.
    for (QWidget* view : std::as_const(m_views))
        view->disconnect(this);
}

QString TForm1::GetText(const QString& key) const
{
    return MultiLang1 != nullptr ? MultiLang1->GetText(key) : key;
}

void TForm1::setPictures()
{
    for (const ToolButton& t : toolButtons)
        (ui.get()->*t.Button)->setIcon(DesignToolIcon(t.Tool));
    ui->SaveBtn->setIcon(DesignCommandIcon(TDesignCommand::Save));
    ui->SpeedButton1->setIcon(DesignCommandIcon(TDesignCommand::EraseAll));
    ui->PaletteBtn->setIcon(DesignCommandIcon(TDesignCommand::Palette));
    ui->FormatBtn->setIcon(DesignCommandIcon(TDesignCommand::Format));
    ui->PreviewBtn->setIcon(DesignCommandIcon(TDesignCommand::Preview));
    ui->HelpBtn->setIcon(DesignCommandIcon(TDesignCommand::Help));
}

void TForm1::connectEvents()
{
    const auto run = [this](auto handler) {
        return [this, handler] { platform::runReportingErrors([this, handler] { (this->*handler)(); }); };
    };
    connect(ui->SaveBtn, &QToolButton::clicked, this, run(&TForm1::SaveBtnClick));
    connect(ui->Enregistrer1, &QAction::triggered, this, run(&TForm1::SaveBtnClick));
    connect(ui->Enregistrersous1, &QAction::triggered, this, run(&TForm1::SaveAsClick));
    connect(ui->Quitter1, &QAction::triggered, this, &QWidget::close);
    connect(ui->Couper1, &QAction::triggered, this, run(&TForm1::CutClick));
    connect(ui->Copier1, &QAction::triggered, this, run(&TForm1::CopyClick));
    connect(ui->Coller1, &QAction::triggered, this, run(&TForm1::PasteClick));
    connect(ui->Edition1, &QMenu::aboutToShow, this, &TForm1::updateEditMenu);
    connect(ui->SpeedButton1, &QToolButton::clicked, this, run(&TForm1::SpeedButton1Click));
    connect(ui->FormatBtn, &QToolButton::clicked, this, run(&TForm1::FormatBtnClick));
    connect(ui->HelpBtn, &QToolButton::clicked, this, run(&TForm1::Aide1Click));
    connect(ui->Aide1, &QAction::triggered, this, run(&TForm1::Aide1Click));
    connect(ui->Active1, &QAction::triggered, this, run(&TForm1::Active1Click));
    connect(ui->Visible1, &QAction::triggered, this, run(&TForm1::Visible1Click));
    connect(ui->RepFus, &QAction::triggered, this, [this] { platform::runReportingErrors([this] { RepFusClick(false); }); });
    connect(ui->BasFus, &QAction::triggered, this, [this] { platform::runReportingErrors([this] { RepFusClick(true); }); });
    connect(m_tools, &QButtonGroup::idClicked, this, [this](int) { SelBtnClick(); });
    connect(ui->ComboBox, &QComboBox::activated, this, [this](int index) {
        platform::runReportingErrors([this, index] { InsertFieldCode(ui->ComboBox->itemText(index)); });
    });
    ui->PaintBox->OnPaint = [this](QPainter& p, const QRect& r) { paintBoxPaint(p, r); };
    ui->PaintBox->OnMouseDown = [this](QMouseEvent* e) { platform::runReportingErrors([&] { paintBoxMouseDown(e); }); };
    ui->PaintBox->OnMouseMove = [this](QMouseEvent* e) { platform::runReportingErrors([&] { paintBoxMouseMove(e); }); };
    ui->PaintBox->OnMouseUp = [this](QMouseEvent* e) { platform::runReportingErrors([&] { paintBoxMouseUp(e); }); };
    ui->Panel1->installEventFilter(this);
    ui->Feuille->installEventFilter(this);
    ui->ComboBox->installEventFilter(this);
    // The window sees every key first (Delete acts on the selection whichever control has the
    // focus, and still reaches a text block being edited).
    qApp->installEventFilter(this);
    SH->OnMouseDown = [this](QMouseEvent* e) { platform::runReportingErrors([&] { shMouseDown(e); }); };
    SH->OnMouseMove = [this](QMouseEvent* e) { ApplyFrameSnapping(e->modifiers().testFlag(Qt::ControlModifier)); };
    SH->OnMouseUp = [this](QMouseEvent* e) { platform::runReportingErrors([&] { shMouseUp(e); }); };
    // Whatever moved the selection (a drag or an arrow key), the design changed.
    connect(SH, &TStretchHandle::Modified, this, [this] {
        DesignEdited();
        if (m_model->ObjetCourant != nullptr)
            RectObjetCourant = m_model->ObjetCourant->BoundsRect();
    });

    m_model->OnCreated = [this](TDesignObject& o) { objectCreated(o); };
    m_model->OnFreeing = [this](TDesignObject& o) { objectFreeing(o); };
    m_model->OnAttach = [this](TDesignObject& o) { Select(&o, true); };
    m_model->OnUnreadableImage = [this](const QString& reason) { reportRefusedPicture(reason); };
}

void TForm1::FormCreate()
{
    ui->ComboBox->hide();
    AjoutSelection = false;
    m_model->Modifie = false;
    readSettings();
    ApplyFrameSnapping();
    SizeWorkSurface();
    m_model->NbCollages = 0;
    Rgles1Click();
    for (const auto& o : m_model->Objects())
        objectCreated(*o);
    SelBtnClick();
}

void TForm1::ShowForDesign()
{
    EmptySelection();
    ChooseTool(TDesignTool::Selection);
    ui->ScrollBox->horizontalScrollBar()->setValue(0);
    ui->ScrollBox->verticalScrollBar()->setValue(0);
    platform::ShowInFront(this);
}

void TForm1::readSettings()
{
    const station::TStationSettings& s = m_station.Settings;
    platform::RestoreWindowPlace(this, s.Editor);
    ui->Rgles1->setChecked(s.Regles);
    ui->Active1->setChecked(s.GrilleAct);
    ui->Visible1->setChecked(s.GrilleVis);
    Apercu = s.Apercu;
    GrilleX = std::clamp(s.GrilleX, 5, 32);
    GrilleY = std::clamp(s.GrilleY, 5, 32);
}

void TForm1::SizeWorkSurface()
{
    const int side = WorkSurfaceSide(station::TailleMaxPlanche, TDesignModel::DesignPixelsPerInch);
    ui->Feuille->setFixedSize(side, side);
    ui->PaintBox->setGeometry(0, 0, side, side);
}

TDesignTool TForm1::CurrentTool() const
{
    const int id = m_tools->checkedId();
    return id < 0 ? TDesignTool::Selection : static_cast<TDesignTool>(id);
}

void TForm1::ChooseTool(TDesignTool tool)
{
    if (QAbstractButton* b = m_tools->button(static_cast<int>(tool)))
        b->setChecked(true);
    SelBtnClick();
}

void TForm1::SelBtnClick()
{
    ui->PaintBox->setCursor(DesignToolCursor(CurrentTool()));
}

void TForm1::UpdateAlignPalette()
{
    Aligne->UpdateButtons(SH->AttachedCount());
    updateEditMenu();
}

// --- Painting ---

void TForm1::paintBoxPaint(QPainter& painter, const QRect&)
{
    platform::TCanvas canvas(&painter);
    m_model->PaintSheet(canvas, ui->PaintBox->width(), ui->PaintBox->height());
    if (ui->Visible1->isChecked())
        DrawGrid(canvas, m_model->LargeurEtiquettePx, m_model->HauteurEtiquettePx, GrilleX, GrilleY);
    if (CadreEnCours) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(CadreSelection.normalized().adjusted(0, 0, -1, -1));
    }
}

void TForm1::updateRubberBand(const QRect& before)
{
    // Only the band's old and new outlines are painted again.
    for (const QRect& r : {before.normalized(), CadreSelection.normalized()}) {
        ui->PaintBox->update(r.left(), r.top(), r.width() + 1, 1);
        ui->PaintBox->update(r.left(), r.bottom(), r.width() + 1, 1);
        ui->PaintBox->update(r.left(), r.top(), 1, r.height() + 1);
        ui->PaintBox->update(r.right(), r.top(), 1, r.height() + 1);
    }
}

// --- Surface mouse ---

void TForm1::paintBoxMouseDown(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        EmptySelection();
        ui->HelpBtn->setFocus();
        m_model->ObjetCourant = nullptr;
        const QPoint p = ui->Active1->isChecked() ? SnapPoint(at, GrilleX, GrilleY) : at;
        if (CurrentTool() == TDesignTool::Selection) {
            CadreEnCours = true;
            CadreSelection = QRect(at, at);
        } else {
            place(CurrentTool(), p);
        }
    } else if (event->button() == Qt::RightButton) {
        EmptySelection();
        m_model->ObjetCourant = nullptr;
    }
    UpdateAlignPalette();
}

void TForm1::paintBoxMouseMove(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    double ppi = ScreenPixelsPerInch;
    if (ppi <= 0)
        ppi = screen() != nullptr ? screen()->logicalDotsPerInchX() : 96.0;
    ui->Label1->setText(PointerPositionText(at.x(), at.y(), ppi));
    if (CadreEnCours) {
        const QRect before = CadreSelection;
        CadreSelection.setBottomRight(at);
        updateRubberBand(before);
    }
}

void TForm1::paintBoxMouseUp(QMouseEvent*)
{
    if (!CadreEnCours)
        return;
    CadreEnCours = false;
    updateRubberBand(CadreSelection);
    const QRect& c = CadreSelection;
    SelectInRect(OrderedRect(c.left(), c.top(), c.right(), c.bottom()));
    UpdateAlignPalette();
}

void TForm1::SelectInRect(const platform::TRect& rect)
{
    for (TDesignObject* o : ObjectsInRect(*m_model, rect)) {
        Select(o, true);
        m_model->ObjetCourant = o;
        RectObjetCourant = o->BoundsRect();
    }
}

void TForm1::place(TDesignTool tool, QPoint p)
{
    TDesignObject* created = nullptr;
    switch (tool) {
    case TDesignTool::Selection:
        return;
    case TDesignTool::Line:
        created = PlaceLine(*m_model, p.x(), p.y());
        break;
    case TDesignTool::Rectangle:
    case TDesignTool::RoundRect:
    case TDesignTool::Ellipse: {
        const TShapeType shape = tool == TDesignTool::Rectangle ? stRectangle
                                 : tool == TDesignTool::RoundRect ? stRoundRect
                                                                   : stEllipse;
        TShape* s = PlaceShape(*m_model, p.x(), p.y(), shape);
        if (s != nullptr && ui->Active1->isChecked()) {
            s->Width = GrilleX * (s->Width / GrilleX);
            s->Height = GrilleY * (s->Height / GrilleY);
            if (auto* view = qobject_cast<TDesignObjectView*>(ViewOf(s)))
                view->Refresh();
        }
        created = s;
        break;
    }
    case TDesignTool::Text:
        created = PlaceLabel(*m_model, p.x(), p.y(), GetText(QStringLiteral("@1")));
        break;
    case TDesignTool::Memo: {
        TMemo* memo = PlaceMemo(*m_model, p.x(), p.y(), GetText(QStringLiteral("@3")));
        if (memo == nullptr)
            return;
        RectObjetCourant = memo->BoundsRect();
        DesignEdited();
        // Typing starts at once and replaces the preselected default text.
        if (auto* view = qobject_cast<TMemoView*>(ViewOf(memo)))
            view->Editor()->setFocus();
        return;
    }
    case TDesignTool::RotateLabel:
        created = PlaceRotateLabel(*m_model, p.x(), p.y(), GetText(QStringLiteral("@2")));
        break;
    case TDesignTool::CircleLabel:
        created = PlaceCircleLabel(*m_model, p.x(), p.y(), GetText(QStringLiteral("@4")));
        break;
    case TDesignTool::Image:
        placePicture(p);
        return;
    case TDesignTool::Barcode:
        created = PlaceBarcode(*m_model, p.x(), p.y());
        break;
    }
    if (created == nullptr)
        return;
    RectObjetCourant = created->BoundsRect();
    Select(created, false);
    DesignEdited();
}

QString TForm1::programFolder() const
{
    return m_station.Folders.Writable;
}

QString TForm1::imagesFolder() const
{
    return m_station.Folders.ImagesFolder();
}

void TForm1::placePicture(QPoint p)
{
    const std::optional<TPictureChoice> choice =
        ChoosePictureSource ? ChoosePictureSource() : std::optional<TPictureChoice>(TPictureChoice{});
    if (!choice)
        return;
    if (choice->Source == TImportImage::FromScanner) {
        PlaceScannedPicture(p);
        return;
    }
    if (choice->Source == TImportImage::FromField) {
        // The picture is the field's value for each record; on the surface it shows the placeholder.
        if (choice->FieldCode.isEmpty())
            return;
        if (TImage* image = PlaceImage(*m_model, p.x(), p.y(), choice->FieldCode)) {
            RectObjetCourant = image->BoundsRect();
            Select(image, false);
            DesignEdited();
        }
        return;
    }
    QString* folder = CheminImagesPerso != nullptr ? CheminImagesPerso : &m_picturesFolder;
    const QString start = QFileInfo(*folder).isDir() ? *folder : QDir::homePath();
    const QString file = ChoosePictureFile ? ChoosePictureFile(start) : QString();
    if (file.isEmpty())
        return;
    platform::HourGlass busy;
    *folder = QFileInfo(file).absolutePath();
    QString reference;
    bool made = false;
    try {
        reference = ImportPictureFile(file, imagesFolder(), &made);
    } catch (const platform::EInOutError& error) {
        reportRefusedPicture(PictureErrorReason(error));
        return;
    }
    TImage* image = PlaceImage(*m_model, p.x(), p.y(), reference);
    if (image == nullptr) {
        // The pictures folder keeps only pictures some design shows.
        if (made)
            QFile::remove(QDir(imagesFolder()).filePath(reference));
        return;
    }
    RectObjetCourant = image->BoundsRect();
    Select(image, false);
    DesignEdited();
}

void TForm1::reportRefusedPicture(const QString& reason)
{
    QString text = GetText(QStringLiteral("@5"));
    if (!reason.isEmpty())
        text += u'\n' + reason;
    platform::MessageDlg(text, platform::mtError, platform::mbOK);
}

bool TForm1::PlaceScannedPicture(QPoint p)
{
    TPMultiImage& tampon = *ui->Tampon;
    tampon.SelectScanSource();
    tampon.SetPicture({});
    tampon.ScanImage();
    if (tampon.Empty())
        return false;
    // The page lives on only as the file; the control lets it go on every path.
    struct Release {
        TPMultiImage& control;
        ~Release() { control.SetImageName(QString()); }
    } release{tampon};
    QDir().mkpath(imagesFolder());
    const QString reference = NextScanFileName(imagesFolder());
    if (!tampon.SaveAsBmp(QDir(imagesFolder()).filePath(reference))) {
        platform::MessageDlg(GetText(QStringLiteral("@ScanNotSaved")), platform::mtError, platform::mbOK);
        return false;
    }
    TImage* image = PlaceImage(*m_model, p.x(), p.y(), reference);
    if (image == nullptr)
        return false;
    RectObjetCourant = image->BoundsRect();
    Select(image, false);
    DesignEdited();
    return true;
}

// --- Objects and the frame ---

void TForm1::ObjectMouseDown(QWidget* view, QMouseEvent* event)
{
    TDesignObject* object = ObjectOf(view);
    if (object == nullptr)
        return;
    if (event->button() != Qt::LeftButton) {
        PropertyMenus->ObjectMouseDown(object, event->globalPosition().toPoint());
        return;
    }
    // A text block takes a single click itself (caret, editing); a double click selects it.
    if (Is<TMemo>(object) && event->type() != QEvent::MouseButtonDblClick)
        return;
    AjoutSelection = event->modifiers().testFlag(Qt::ShiftModifier);
    if (!AjoutSelection)
        EmptySelection();
    Select(object, true);
    m_model->ObjetCourant = object;
    RectObjetCourant = object->BoundsRect();
    UpdateAlignPalette();
}

void TForm1::ApplyFrameSnapping(bool ctrl)
{
    const bool on = ui->Active1->isChecked() != ctrl;
    SH->SetSnapToGrid(on);
    if (on) {
        SH->SetGridX(GrilleX);
        SH->SetGridY(GrilleY);
    }
}

void TForm1::shMouseDown(QMouseEvent* event)
{
    if (event->button() != Qt::RightButton) {
        ApplyFrameSnapping();
        return;
    }
    // The frame stands for the current object, whichever selected object is under the pointer.
    if (m_model->ObjetCourant != nullptr)
        PropertyMenus->ObjectMouseDown(m_model->ObjetCourant, event->globalPosition().toPoint());
}

void TForm1::shMouseUp(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        afterFrameMove();
    ApplyFrameSnapping();
}

void TForm1::afterFrameMove()
{
    // The current object is the one the frame carries when it carries one.
    TDesignObject* current = SH->AttachedCount() == 1 ? ObjectOf(SH->Attached(0)) : m_model->ObjetCourant;
    if (current == nullptr)
        return;
    if (SH->AttachedCount() == 1) {
        if (auto* shape = As<TShape>(current); shape != nullptr && shape->Shape == stRectangle) {
            shape->Height = std::max(shape->Height, 1);
            shape->Width = std::max(shape->Width, 1);
        }
        if (auto* image = As<TImage>(current); image != nullptr && DecodeImageTag(image->Tag).KeepProportions) {
            const QImage& picture = image->Picture();
            if (picture.width() > 0)
                image->Height = platform::R(static_cast<double>(image->Width) * picture.height() / picture.width());
        }
        if (auto* view = qobject_cast<TDesignObjectView*>(ViewOf(current)))
            view->Refresh();
        SH->Detach();
        Select(current, true);
        UpdateAlignPalette();
    }
    if (current->BoundsRect() != RectObjetCourant) {
        DesignEdited();
        RectObjetCourant = current->BoundsRect();
    }
}

void TForm1::DeleteObject(TDesignObject* object)
{
    m_model->Free(object);
    ui->PaintBox->update();
    DesignEdited();
    UpdateAlignPalette();
}

void TForm1::DeleteSelection()
{
    if (m_model->ObjetCourant == nullptr)
        return;
    // The frame lets go of the objects before any of them is freed.
    const std::vector<TDesignObject*> selected = Selection();
    EmptySelection();
    for (TDesignObject* o : selected) {
        m_model->ObjetCourant = o;
        DeleteObject(o);
    }
    m_model->ObjetCourant = nullptr;
    UpdateAlignPalette();
}

void TForm1::SpeedButton1Click()
{
    EmptySelection();
    for (int i = m_model->Count() - 1; i >= 0; --i)
        DeleteObject(m_model->Object(i));
    m_model->ObjetCourant = nullptr;
}

// --- Text blocks and the field-code list ---

void TForm1::MemoEnter(TMemoView* block)
{
    MemoEnCours = block;
    ui->ComboBox->setGeometry(block->x(), block->y() + block->height(), block->width(),
                              ui->ComboBox->sizeHint().height());
    ui->ComboBox->show();
    ui->ComboBox->raise();
    EmptySelection();
    UpdateAlignPalette();
}

void TForm1::MemoExit(TMemoView*)
{
    if (QApplication::focusWidget() != ui->ComboBox && !ui->ComboBox->view()->isVisible())
        ui->ComboBox->hide();
}

void TForm1::MemoChange()
{
    DesignEdited();
}

void TForm1::InsertFieldCode(const QString& code)
{
    if (MemoEnCours.isNull())
        return;
    // A new block's placeholder, still selected whole as the block was placed, goes as typing
    // would take it; any other selection is kept and the code goes in at its start.
    QPlainTextEdit* editor = MemoEnCours->Editor();
    QTextCursor cursor = editor->textCursor();
    const QString text = editor->toPlainText();
    if (text == m_model->BlockOfTextDefault && cursor.selectionStart() == 0 && cursor.selectionEnd() == text.size()) {
        cursor.removeSelectedText();
        editor->setTextCursor(cursor);
    }
    InsertFieldCodeAtCaret(editor, code);
}

void TForm1::FillFieldLists()
{
    MergeSource source;
    if (MergeSourceHook)
        source = MergeSourceHook();
    else
        source.IsDatabase = DatabaseIsSource && DatabaseIsSource();
    ui->ComboBox->clear();
    ui->ComboBox->addItems(FieldListItems(source).TextCodes);
    ui->ComboBox->setCurrentIndex(0);
    const bool database = DatabaseIsSource && DatabaseIsSource();
    ui->RepFus->setChecked(!database);
    ui->BasFus->setChecked(database);
}

void TForm1::RepFusClick(bool database)
{
    const bool current = DatabaseIsSource && DatabaseIsSource();
    // Radio items: choosing the checked one changes nothing (the click unchecked it: check again).
    if (database != current && ChooseMergeSource)
        ChooseMergeSource(database);
    FillFieldLists();
}

// --- Lifecycle ---

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (event->spontaneous())
        return;
    // A preview left open showed the design before; it is opened again on demand.
    if (Preview != nullptr && Preview->isVisible())
        Preview->close();
    FillFieldLists();
    m_model->FormatModifie = false;
    updateCaption();
    // The station may have read another design meanwhile.
    DesignChanged();
    ui->PaintBox->update();
    ui->HelpBtn->setFocus();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    bool mayClose = false;
    platform::runReportingErrors([&] { mayClose = ConfirmSave(); });
    if (!mayClose) {
        event->ignore();
        return;
    }
    EmptySelection();
    ui->ComboBox->hide();
    MemoEnCours = nullptr;
    // The palette goes with its editor (keeping its place for the next run).
    Aligne->close();
    m_station.Settings.Editor = platform::SaveWindowPlace(this);
    event->accept();
    QMainWindow::closeEvent(event);
    if (ReturnToStation)
        ReturnToStation();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && isVisible()) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->window() == this && widget->isWidgetType()) {
            const auto* key = static_cast<QKeyEvent*>(event);
            // Seen once, by the focused widget's event (not again on its way up).
            if (key->key() == Qt::Key_Delete && widget == QApplication::focusWidget()
                && qobject_cast<QPlainTextEdit*>(widget) == nullptr
                && qobject_cast<QPlainTextEdit*>(widget->parentWidget()) == nullptr)
                platform::runReportingErrors([this] { DeleteSelection(); });
        }
    }
    // Off the surface the pointer has no position on the label.
    if ((watched == ui->Panel1 && event->type() == QEvent::MouseMove)
        || (watched == ui->Feuille && event->type() == QEvent::Leave))
        ui->Label1->clear();
    if (watched == ui->ComboBox && event->type() == QEvent::FocusOut && MemoEnCours.isNull())
        ui->ComboBox->hide();
    return QMainWindow::eventFilter(watched, event);
}

#include "TPreview.h"
#include "ui_TPreview.h"

#include "MultiLang/MLang.h"
#include "design/DesignModel.h"
#include "design/PreparedLabel.h"
#include "design/PreviewGeometry.h"
#include "design/Renderer.h"
#include "platform/TCanvas.h"
#include "platform/TStringGrid.h"
#include "platform/window/Application.h"
#include "platform/window/WindowPlace.h"

#include <QApplication>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScreen>
#include <QWindow>

#include <algorithm>

TPreview::TPreview(design::TDesignModel& model, QWidget* parent)
    : QWidget(parent, Qt::Tool), ui(std::make_unique<Ui::TPreview>()), m_model(model)
{
    ui->setupUi(this);
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TPreview.txt"));
    MultiLang1->Loaded();
    ui->Image->installEventFilter(this);
    connectEvents();
    UpdateNavigation();
}

TPreview::~TPreview() = default;

void TPreview::connectEvents()
{
    connect(ui->BeginBtn, &QToolButton::clicked, this, [this] { BeginBtnClick(); });
    connect(ui->RewBtn, &QToolButton::clicked, this, [this] { RewBtnClick(); });
    connect(ui->FFBtn, &QToolButton::clicked, this, [this] { FFBtnClick(); });
    connect(ui->EndBtn, &QToolButton::clicked, this, [this] { EndBtnClick(); });
}

QSize TPreview::labelSize() const
{
    return {m_model.LargeurEtiquettePx, m_model.HauteurEtiquettePx};
}

int TPreview::toolbarHeight() const
{
    return ui->Panel1->maximumHeight();
}

void TPreview::fitToLabel()
{
    // Whatever changed the label's size (a new format, another design read, a format change
    // given up), the window has the proportions of what it draws.
    if (!isVisible())
        return;
    const QSize wanted = design::PreviewResizeSize(size(), labelSize().width(), labelSize().height(), toolbarHeight());
    if (wanted != size()) {
        const QScopedValueRollback<bool> guard(m_sizing, true);
        resize(wanted);
    }
}

void TPreview::PaintBoxPaint()
{
    fitToLabel();
    setWindowTitle(MultiLang1->GetText(QStringLiteral("@1")) + design::DesignName(m_model.NomDocument));
    const QSize size = ui->Image->size().expandedTo(QSize(1, 1));
    if (m_bitmap.size() != size)
        m_bitmap = QImage(size, QImage::Format_RGB32);
    const QColor buttonFace = palette().color(QPalette::Button);
    if (m_model.Format().EtiquetteRonde) {
        m_bitmap.fill(buttonFace);
        QPainter p(&m_bitmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(0, 0, size.width(), size.height()));
    } else {
        m_bitmap.fill(Qt::white);
    }
    const QSize label = labelSize();
    if (isVisible() && label.width() > 0 && label.height() > 0) {
        const double scaleX = static_cast<double>(size.width()) / label.width();
        const double scaleY = static_cast<double>(size.height()) / label.height();
        design::MergeSource source;
        source.Grille = MergeGrid ? MergeGrid() : nullptr;
        source.IsDatabase = DatabaseIsSource && DatabaseIsSource();
        const design::TFieldMerge merge(source, Numbering ? Numbering() : design::MergeNumbering{});
        // The record print takes: the grid's current one, never its titles.
        const int row = source.Grille != nullptr ? std::max(1, source.Grille->Row()) : 1;
        platform::TCanvas canvas(&m_bitmap);
        canvas.SetLogPixels(design::TDesignModel::DesignPixelsPerInch, design::TDesignModel::DesignPixelsPerInch);
        ++m_draws;
        try {
            const design::TPreparedLabel prepared = design::PrepareLabel(m_model, merge, row, -1, m_pictures);
            design::DrawDesign(canvas, m_model, prepared, design::TDrawTarget{}, {0, 0}, scaleX, scaleY, true);
        } catch (const std::exception&) {
            // A picture that cannot be read or a barcode that cannot encode: the preview shows
            // what was drawn before the fault; the design window reports such errors itself.
        }
    }
    ui->Image->update();
}

void TPreview::UpdateNavigation()
{
    // The source may have been switched since the window was shown.
    if (isVisible())
        followGrid();
    const bool database = DatabaseIsSource && DatabaseIsSource();
    ui->Label1->setText(MultiLang1->GetText(database ? QStringLiteral("@2") : QStringLiteral("@3")));
    std::array<bool, 4> enabled{false, false, false, false};
    if (CardButtons) {
        enabled = CardButtons();
    } else if (const platform::TStringGrid* grid = MergeGrid ? MergeGrid() : nullptr) {
        const int row = grid->Row();
        const int last = grid->RowCount() - 1;
        enabled = {row > 1, row > 1, row < last, row < last};
    }
    QToolButton* const buttons[] = {ui->BeginBtn, ui->RewBtn, ui->FFBtn, ui->EndBtn};
    for (int i = 0; i < 4; ++i)
        buttons[i]->setEnabled(enabled[i]);
}

void TPreview::navigate(int button)
{
    if (CardNavigate)
        CardNavigate(button);
    // The card may have moved a source this preview does not follow by signal.
    UpdateNavigation();
    PaintBoxPaint();
}

void TPreview::followGrid()
{
    const platform::TStringGrid* grid = MergeGrid ? MergeGrid() : nullptr;
    if (grid == m_grid && !m_gridConnections.isEmpty())
        return;
    for (const QMetaObject::Connection& c : m_gridConnections)
        disconnect(c);
    m_gridConnections.clear();
    m_grid = grid;
    if (grid == nullptr)
        return;
    const auto recordChanged = [this] {
        if (!isVisible())
            return;
        UpdateNavigation();
        PaintBoxPaint();
    };
    m_gridConnections << connect(grid, &platform::TStringGrid::currentChanged, this, recordChanged)
                      << connect(grid, &QAbstractItemModel::dataChanged, this, recordChanged)
                      << connect(grid, &QAbstractItemModel::modelReset, this, recordChanged)
                      << connect(grid, &QAbstractItemModel::rowsRemoved, this, recordChanged)
                      << connect(grid, &QObject::destroyed, this, [this] {
                             for (const QMetaObject::Connection& c : m_gridConnections)
                                 disconnect(c);
                             m_gridConnections.clear();
                             m_grid = nullptr;
                         });
}

void TPreview::Execute(QWidget* owner, const QRect& keepClear)
{
    if (isMinimized())
        showNormal();
    if (owner == nullptr)
        owner = parentWidget();
    const bool wasVisible = isVisible();
    // A tool window of the window that asked: kept above it (the station's too, while the design
    // window is hidden), never above the dialogs it opens.
    platform::ShowToolWindow(this, owner, keepClear);
    if (!wasVisible && owner != nullptr && keepClear.isValid())
        keepOff(owner->window(), keepClear);
}

void TPreview::keepOff(QWidget* owner, const QRect& keepClear)
{
    const QScreen* screen = owner->screen() != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    // A maximised owner is left as the user wants it.
    if (screen == nullptr || !frameGeometry().intersects(keepClear) || owner->isMaximized() || owner->isFullScreen())
        return;
    const QRect available = screen->availableGeometry();
    QMargins frame = platform::FrameMargins(this);
    if (frame.isNull())
        frame = platform::FrameMargins(owner);
    // The smallest preview still worth watching: its image a third of the full one.
    const QSize label = labelSize().expandedTo(QSize(1, 1));
    const QSize full = size().grownBy(frame);
    QRect room = platform::RoomBeside(keepClear, full, available);
    const auto fitted = [&](const QRect& r) {
        const QSize image = label.scaled(r.size().shrunkBy(frame) - QSize(0, toolbarHeight()), Qt::KeepAspectRatio);
        return QSize(image.width(), image.height() + toolbarHeight());
    };
    const QSize smallest = (size() - QSize(0, toolbarHeight())) / 3;
    if (room.isEmpty() || fitted(room).width() < smallest.width()) {
        // No room worth the name beside what stays clear: the window that asked and the preview
        // share the screen, the preview taking at most half of it at the right.
        const QMargins ownerMargins = platform::FrameMargins(owner);
        const int ownerLeast = std::max(owner->minimumWidth(), owner->minimumSizeHint().width())
                               + ownerMargins.left() + ownerMargins.right();
        const int previewWidth = std::min({full.width(), available.width() / 2, available.width() - ownerLeast});
        const QRect ownerFrame(available.topLeft(), QSize(available.width() - previewWidth, available.height()));
        owner->move(ownerFrame.topLeft());
        owner->resize(ownerFrame.size().shrunkBy(ownerMargins));
        room = QRect(QPoint(ownerFrame.right() + 1, available.top()), available.bottomRight());
    }
    const QSize client = fitted(room).boundedTo(size());
    {
        const QScopedValueRollback<bool> guard(m_sizing, true);
        resize(client);
    }
    // In the room, next to what stays clear.
    const QSize outer = client.grownBy(frame);
    QPoint at = room.topLeft();
    if (room.left() < keepClear.left())
        at.setX(room.right() + 1 - outer.width());
    if (room.top() < keepClear.top())
        at.setY(room.bottom() + 1 - outer.height());
    const QMargins own = platform::FrameMargins(this);
    move(own.isNull() ? at + QPoint(frame.left(), frame.top()) : at);
    PaintBoxPaint();
}

void TPreview::FormResize()
{
    PaintBoxPaint();
}

void TPreview::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    followGrid();
    UpdateNavigation();
    const QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                           frame.right() - client.right(), frame.bottom() - client.bottom());
    const QSize wanted = design::PreviewShowSize(screen != nullptr ? screen->geometry().size() : QSize(1024, 768),
                                                 margins, size(), labelSize().width(), labelSize().height(),
                                                 toolbarHeight());
    if (wanted != size()) {
        const QScopedValueRollback<bool> guard(m_sizing, true);
        resize(wanted);
    }
    PaintBoxPaint();
}

void TPreview::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!m_sizing && isVisible())
        FormResize();
    // The drawing follows the image's own resize (eventFilter).
}

void TPreview::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    emit closed();
}

bool TPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->Image && event->type() == QEvent::Paint) {
        QPainter p(ui->Image);
        p.drawImage(0, 0, m_bitmap);
        return true;
    }
    // The drawing follows the image's size; not in the middle of taking the label's proportions,
    // which draws once it is done.
    if (watched == ui->Image && event->type() == QEvent::Resize && !m_sizing
        && m_bitmap.size() != ui->Image->size().expandedTo(QSize(1, 1)))
        PaintBoxPaint();
    return QWidget::eventFilter(watched, event);
}

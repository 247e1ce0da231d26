#include "TAligne.h"
#include "ui_TAligne.h"

#include "ObjectViews.h"
#include "TStretchHandle.h"

#include "MultiLang/MLang.h"
#include "design/DesignObjects.h"

#include <QFontMetrics>
#include <QHideEvent>
#include <QLayout>
#include <QPainter>
#include <QPixmap>
#include <QTransform>

#include <algorithm>

using design::TAlignCommand;

namespace {

constexpr TAlignCommand commands[] = {
    TAlignCommand::Lefts,      TAlignCommand::HorizontalCentres, TAlignCommand::CentreAcross,
    TAlignCommand::SpaceHorizontally, TAlignCommand::Rights,     TAlignCommand::Tops,
    TAlignCommand::VerticalCentres,   TAlignCommand::CentreDown, TAlignCommand::SpaceVertically,
    TAlignCommand::Bottoms,
};

bool isVertical(TAlignCommand c)
{
    return c == TAlignCommand::Tops || c == TAlignCommand::VerticalCentres || c == TAlignCommand::CentreDown
        || c == TAlignCommand::SpaceVertically || c == TAlignCommand::Bottoms;
}

// A button's picture: the objects as blue bars and the line they align on in red, drawn for
// the horizontal command; the vertical twin is the same picture with x and y exchanged.
QPixmap picture(TAlignCommand c)
{
    QPixmap pm(22, 22);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    if (isVertical(c))
        p.setTransform(QTransform(0, 1, 1, 0, 0, 0));
    const QColor bar(40, 90, 200);
    const QColor line(200, 30, 30);
    const auto bars = [&](std::initializer_list<QRect> rects) {
        for (const QRect& r : rects)
            p.fillRect(r, bar);
    };
    switch (c) {
    case TAlignCommand::Lefts:
    case TAlignCommand::Tops:
        bars({{3, 4, 15, 5}, {3, 13, 9, 5}});
        p.fillRect(2, 1, 1, 20, line);
        break;
    case TAlignCommand::Rights:
    case TAlignCommand::Bottoms:
        bars({{4, 4, 15, 5}, {10, 13, 9, 5}});
        p.fillRect(19, 1, 1, 20, line);
        break;
    case TAlignCommand::HorizontalCentres:
    case TAlignCommand::VerticalCentres:
        bars({{3, 4, 16, 5}, {7, 13, 8, 5}});
        p.fillRect(10, 1, 2, 20, line);
        break;
    case TAlignCommand::CentreAcross:
    case TAlignCommand::CentreDown:
        p.setPen(Qt::gray);
        p.drawRect(1, 3, 19, 15);
        bars({{7, 8, 8, 5}});
        p.fillRect(10, 1, 2, 20, line);
        break;
    case TAlignCommand::SpaceHorizontally:
    case TAlignCommand::SpaceVertically:
        bars({{2, 5, 4, 12}, {9, 5, 4, 12}, {16, 5, 4, 12}});
        p.fillRect(6, 10, 3, 1, line);
        p.fillRect(13, 10, 3, 1, line);
        break;
    }
    return pm;
}

} // namespace

TAligne::TAligne(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TAligne>())
{
    ui->setupUi(this);
    // A palette over its editor: title and minimise only. A tool window of the editor stays above
    // it, never above the dialogs the editor opens (their buttons stay reachable).
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    MultiLang1 = new TMultiLang(this, QStringLiteral(":/lang/TAligne.txt"));
    MultiLang1->Loaded();
    fitTitle();
    setPictures();
    connectEvents();
    UpdateButtons(0);
}

TAligne::~TAligne() = default;

void TAligne::connectEvents()
{
    for (TAlignCommand c : commands)
        connect(Button(c), &QToolButton::clicked, this, [this, c] { Align(c); });
}

void TAligne::setPictures()
{
    for (TAlignCommand c : commands)
        Button(c)->setIcon(QIcon(picture(c)));
}

QToolButton* TAligne::Button(TAlignCommand c) const
{
    switch (c) {
    case TAlignCommand::Lefts: return ui->AgBtn;
    case TAlignCommand::HorizontalCentres: return ui->AchBtn;
    case TAlignCommand::CentreAcross: return ui->ChBtn;
    case TAlignCommand::SpaceHorizontally: return ui->ErhBtn;
    case TAlignCommand::Rights: return ui->AdBtn;
    case TAlignCommand::Tops: return ui->AhBtn;
    case TAlignCommand::VerticalCentres: return ui->AcvBtn;
    case TAlignCommand::CentreDown: return ui->CvBtn;
    case TAlignCommand::SpaceVertically: return ui->ErvBtn;
    case TAlignCommand::Bottoms: return ui->AbBtn;
    }
    return nullptr;
}

void TAligne::UpdateButtons(int count)
{
    for (TAlignCommand c : commands)
        Button(c)->setEnabled(count >= design::MinimumSelection(c));
}

void TAligne::Align(TAlignCommand command)
{
    if (!Selection)
        return;
    const QSize label = LabelSize ? LabelSize() : QSize();
    if (!design::AlignObjects(Selection(), command, label.width(), label.height()))
        return;
    if (Modified)
        Modified();
    RefreshSelection();
}

void TAligne::RefreshSelection()
{
    if (SH != nullptr)
        RefreshSelection(*SH, PaintBox);
}

void TAligne::RefreshSelection(TStretchHandle& sh, QWidget* paintBox)
{
    QList<QWidget*> controls;
    for (int i = 0; i < sh.AttachedCount(); ++i)
        controls.append(sh.Attached(i));
    for (QWidget* w : controls)
        if (auto* view = qobject_cast<TDesignObjectView*>(w))
            view->Refresh();
    sh.Detach();
    for (QWidget* w : controls)
        sh.Attach(w);
    if (paintBox != nullptr)
        paintBox->update();
}

int TAligne::TitleWidth(const QString& title, const QFont& font)
{
    QFont bold = font;
    bold.setBold(true);
    // The title bar also holds the window's icon, its buttons (some window managers add a
    // maximise button to any window) and its margins.
    constexpr int barAllowance = 128;
    return QFontMetrics(bold).horizontalAdvance(title) + barAllowance;
}

void TAligne::fitTitle()
{
    // Nothing to fit while setupUi is still reading the form (its title comes before its layout).
    // The palette is widened for its title; the layout keeps the buttons' block centred.
    const QLayout* buttons = layout();
    if (buttons == nullptr)
        return;
    const int width = std::max(buttons->minimumSize().width(), TitleWidth(windowTitle(), font()));
    if (width != this->width() || width != minimumWidth())
        setFixedSize(width, height());
    // Placed at once, shown or not.
    layout()->activate();
}

void TAligne::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowTitleChange || event->type() == QEvent::FontChange)
        fitTitle();
}

void TAligne::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    emit closed();
}

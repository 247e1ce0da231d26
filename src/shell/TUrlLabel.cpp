#include "TUrlLabel.h"

#include "platform/window/ShellOpen.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMouseEvent>

TUrlLabel::TUrlLabel(QWidget* parent) : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    setTextColor(platform::ToQColor(platform::clBlue));
    // The caption is shown as it is written, never taken for markup.
    setTextFormat(Qt::PlainText);

    CopyItem = new QAction(QStringLiteral("Copy"), this);
    CopyItem->setObjectName(QStringLiteral("CopyItem"));
    connect(CopyItem, &QAction::triggered, this, [this] { QGuiApplication::clipboard()->setText(text()); });
    addAction(CopyItem);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

QString TUrlLabel::Target() const
{
    const QString url = URL.trimmed();
    return url.isEmpty() ? text().trimmed() : url;
}

void TUrlLabel::Click()
{
    const QString target = Target();
    if (!target.isEmpty())
        platform::ShellOpen(target);
}

void TUrlLabel::setTextColor(const QColor& color)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

void TUrlLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_savedColor = palette().color(QPalette::WindowText);
        m_pressed = true;
        setTextColor(platform::ToQColor(ActiveColor));
    }
    QLabel::mousePressEvent(event);
}

void TUrlLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_pressed) {
        m_pressed = false;
        setTextColor(m_savedColor);
        // A click is a release over the label; dragging off it cancels.
        if (rect().contains(event->position().toPoint()))
            Click();
    }
    QLabel::mouseReleaseEvent(event);
}

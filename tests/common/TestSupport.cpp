#include "TestSupport.h"

#include <QEvent>
#include <QFile>
#include <QMenu>
#include <QPointer>
#include <QWidget>
#include <stdexcept>

namespace testsupport {

QString dataPath(const QString& relative)
{
    return QStringLiteral(PRAVOLIS_TEST_DATA_DIR "/") + relative;
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return f.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

void showWhiteSurface(QWidget& widget)
{
    widget.resize(400, 300);
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, Qt::white);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
    widget.show();
}

QImage whiteImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::white);
    return image;
}

int darkPixels(const QImage& image, int x0, int y0, int x1, int y1, int threshold)
{
    int count = 0;
    for (int y = std::max(0, y0); y <= std::min(image.height() - 1, y1); ++y)
        for (int x = std::max(0, x0); x <= std::min(image.width() - 1, x1); ++x) {
            const QRgb p = image.pixel(x, y);
            if ((qRed(p) + qGreen(p) + qBlue(p)) / 3 < threshold)
                ++count;
        }
    return count;
}

QByteArray crlfLines(const QStringList& values)
{
    QByteArray out;
    for (const QString& v : values)
        out += v.toUtf8() + "\r\n";
    return out;
}

MenuAnswer::MenuAnswer(std::function<void(QMenu&)> answer) : m_answer(std::move(answer))
{
    QCoreApplication::instance()->installEventFilter(this);
}

MenuAnswer::~MenuAnswer()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool MenuAnswer::eventFilter(QObject* watched, QEvent* event)
{
    auto* menu = qobject_cast<QMenu*>(watched);
    if (event->type() == QEvent::Show && menu != nullptr) {
        // The show event comes before the menu is on screen: the answer waits for its loop.
        QMetaObject::invokeMethod(
            menu,
            [menu, self = QPointer<MenuAnswer>(this)] {
                if (self != nullptr && menu->isVisible())
                    self->m_answer(*menu);
            },
            Qt::QueuedConnection);
    }
    return false;
}

} // namespace testsupport

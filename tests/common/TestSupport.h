#pragma once

#include <QApplication>
#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

class QWidget;

namespace testsupport {

// Path of a fixture under tests/data.
QString dataPath(const QString& relative);

QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);
// The bytes of a file of one value per line: each value in UTF-8 followed by CR LF.
QByteArray crlfLines(const QStringList& values);

// A white ARGB image of the given size, the usual target of canvas tests.
QImage whiteImage(int width, int height);

// Makes a widget a white 400 x 300 surface, shown (offscreen), for views and frames to sit on.
void showWhiteSurface(QWidget& widget);

// Number of pixels darker than the threshold (sum of the three channels / 3) inside the rectangle.
int darkPixels(const QImage& image, int x0, int y0, int x1, int y1, int threshold = 128);

// Answers the next modal dialog of class D with `answer` (which clicks OK or Cancel), as a user
// would once it shows: the dialog is looked for until it is the active modal widget, since the
// command that opens it may run the event loop before it does.
template <class D>
void whenShown(QObject* owner, std::function<void(D&)> answer)
{
    auto* timer = new QTimer(owner);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(*dialog);
        }
    });
    timer->start(5);
}

} // namespace testsupport

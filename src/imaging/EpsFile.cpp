#include "imaging/EpsFile.h"

#include "platform/HourGlass.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <ghostscript/gserrors.h>
#include <ghostscript/iapi.h>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace imaging {

namespace {

constexpr double kDotsPerInch = 150.0;
constexpr double kMaxSide = 4096.0;

quint32 u32(const QByteArray& b, int at)
{
    const auto* p = reinterpret_cast<const uchar*>(b.constData()) + at;
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

// The PostScript part of the file: all of it, or the section a DOS EPS header points at.
QByteArray postScriptOf(const QByteArray& file)
{
    if (file.size() >= 30 && file.startsWith("\xC5\xD0\xD3\xC6")) {
        const quint32 at = u32(file, 4), length = u32(file, 8);
        if (at >= quint32(file.size()))
            return {};
        return file.mid(qsizetype(at), qsizetype(qMin<quint64>(length, quint64(file.size()) - at)));
    }
    return file;
}

// Ghostscript's own output goes nowhere: its complaints about a bad file become our error.
int silent(void*, const char*, int length)
{
    return length;
}

int& timeLimit()
{
    static int ms = 30000;
    return ms;
}

// The child's whole work: Ghostscript's library draws the page into a file. Answers the
// child's exit status.
int drawInChild(std::vector<char*>& argv)
{
    void* gs = nullptr;
    if (gsapi_new_instance(&gs, nullptr) < 0 || gs == nullptr)
        return 2;
    gsapi_set_stdio(gs, nullptr, silent, silent);
    gsapi_set_arg_encoding(gs, GS_ARG_ENCODING_UTF8);
    int code = gsapi_init_with_args(gs, int(argv.size()), argv.data());
    const int exitCode = gsapi_exit(gs);
    if (code == gs_error_Quit)
        code = 0;
    gsapi_delete_instance(gs);
    return code < 0 || exitCode < 0 ? 1 : 0;
}

} // namespace

void setEpsTimeLimit(int milliseconds)
{
    timeLimit() = milliseconds;
}

QRectF epsBoundingBox(const QByteArray& file)
{
    const QByteArray ps = postScriptOf(file);
    if (!ps.startsWith("%!"))
        return {};
    static const QRegularExpression box(QStringLiteral(
        "^%%(HiRes)?BoundingBox:[ \\t]*(-?[0-9.]+)[ \\t]+(-?[0-9.]+)[ \\t]+(-?[0-9.]+)[ \\t]+(-?[0-9.]+)"),
        QRegularExpression::MultilineOption);
    // The comment may stand at the end ("(atend)"): the last one in the file counts then.
    // Ghostscript crops to the finer box where there is one, so the picture's size is that box's.
    QRectF found, fine;
    auto it = box.globalMatch(QString::fromLatin1(ps));
    while (it.hasNext()) {
        const auto m = it.next();
        const double x1 = m.captured(2).toDouble(), y1 = m.captured(3).toDouble();
        const double x2 = m.captured(4).toDouble(), y2 = m.captured(5).toDouble();
        if (x2 > x1 && y2 > y1 && x2 - x1 < 1e6 && y2 - y1 < 1e6)
            (m.capturedLength(1) > 0 ? fine : found) = QRectF(QPointF(x1, y1), QPointF(x2, y2));
    }
    return fine.isEmpty() ? found : fine;
}

double epsResolution(const QRectF& box)
{
    const double side = qMax(box.width(), box.height());
    if (side <= 0)
        return kDotsPerInch;
    return qMin(kDotsPerInch, kMaxSide * 72.0 / side);
}

QSize epsPixelSize(const QRectF& box)
{
    const double dpi = epsResolution(box);
    // Ghostscript rounds the page to whole pixels, halves upwards.
    return QSize(qMax(1, int(std::floor(box.width() * dpi / 72.0 + 0.5))),
                 qMax(1, int(std::floor(box.height() * dpi / 72.0 + 0.5))));
}

QImage renderEps(const QString& path, QString* why)
{
    auto refuse = [&](const QString& text) {
        if (why != nullptr)
            *why = text;
        return QImage();
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(QStringLiteral("cannot open the file"));
    const QRectF box = epsBoundingBox(file.readAll());
    if (box.isEmpty())
        return refuse(QStringLiteral("EPS file has no bounding box"));
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return refuse(QStringLiteral("no folder for the drawn picture"));
    const QString output = scratch.filePath(QStringLiteral("page.png"));

    const QList<QByteArray> args = {
        "pravolis", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-dEPSCrop",
        "-sDEVICE=png16m", "-dTextAlphaBits=4", "-dGraphicsAlphaBits=4",
        "-dFirstPage=1", "-dLastPage=1",
        "-r" + QByteArray::number(epsResolution(box), 'f', 4),
        "-sOutputFile=" + output.toUtf8(), "-f", path.toUtf8(),
    };
    std::vector<char*> argv;
    for (const QByteArray& a : args)
        argv.push_back(const_cast<char*>(a.constData()));

    // Ghostscript draws in a child process: a PostScript program may never end, and the
    // library has no time limit of its own, so a child that takes too long is stopped.
    const pid_t child = fork();
    if (child < 0)
        return refuse(QStringLiteral("Ghostscript cannot be started"));
    if (child == 0)
        _exit(drawInChild(argv));
    // The wait may be long: the busy cursor says so while the windows go on painting.
    const platform::HourGlass busy;
    QElapsedTimer clock;
    clock.start();
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child)
            break;
        if (done < 0 && errno != EINTR)
            return refuse(QStringLiteral("Ghostscript was lost"));
        if (clock.elapsed() > timeLimit()) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return refuse(QStringLiteral("the PostScript did not end within %1 s")
                              .arg(timeLimit() / 1000.0));
        }
        // The windows keep painting, and the busy cursor showing, while the child draws; the
        // user's input waits, so nothing starts a second read meanwhile.
        if (const QCoreApplication* app = QCoreApplication::instance();
            app != nullptr && app->thread() == QThread::currentThread())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(2);
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return refuse(QStringLiteral("Ghostscript cannot draw the PostScript"));
    QImage image(output);
    if (image.isNull())
        return refuse(QStringLiteral("Ghostscript drew no picture"));
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace imaging

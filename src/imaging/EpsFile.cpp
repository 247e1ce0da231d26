#include "imaging/EpsFile.h"

#include "platform/HourGlass.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <ghostscript/gserrors.h>
#include <ghostscript/iapi.h>

#include <cctype>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

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

// The values of the box comments of one part of the file, the first of each kind.
struct BoxComments {
    QByteArray fine, plain;
    void take(const QByteArray& line)
    {
        static const QByteArray fineKey = "%%HiResBoundingBox:", plainKey = "%%BoundingBox:";
        if (line.startsWith(fineKey) && fine.isNull())
            fine = line.mid(fineKey.size()).trimmed();
        else if (line.startsWith(plainKey) && plain.isNull())
            plain = line.mid(plainKey.size()).trimmed();
    }
};

// Four numbers that make a box of some size, else an empty rectangle.
QRectF boxOf(const QByteArray& value)
{
    const QList<QByteArray> parts = value.simplified().split(' ');
    if (parts.size() < 4)
        return {};
    double v[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = parts[i].toDouble(&ok);
        if (!ok || !std::isfinite(v[i]) || std::fabs(v[i]) >= 1e6)
            return {};
    }
    if (v[2] <= v[0] || v[3] <= v[1])
        return {};
    return QRectF(QPointF(v[0], v[1]), QPointF(v[2], v[3]));
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

// What the child is given, all made before the fork: after it the child only switches to them.
struct ChildSetup {
    std::vector<char*> argv;
    std::vector<char*> envp;
    QByteArray folder; // the child's working and temporary folder
    int devNull = -1;
};

// The child's whole work: Ghostscript's library draws the page into a file. It keeps nothing of
// the program: no open file, no environment but its private temporary folder (so no
// GS_OPTIONS of the user's either, which could lift -dSAFER), that folder as its working one.
// Answers the child's exit status.
int drawInChild(ChildSetup& setup)
{
    if (setup.devNull < 0 || chdir(setup.folder.constData()) != 0)
        return 2;
    for (int fd = 0; fd <= 2; ++fd)
        if (dup2(setup.devNull, fd) < 0)
            return 2;
    if (close_range(3, ~0U, 0) != 0)
        for (int fd = 3; fd < 65536; ++fd)
            close(fd);
    environ = setup.envp.data();
    void* gs = nullptr;
    if (gsapi_new_instance(&gs, nullptr) < 0 || gs == nullptr)
        return 2;
    gsapi_set_stdio(gs, nullptr, silent, silent);
    gsapi_set_arg_encoding(gs, GS_ARG_ENCODING_UTF8);
    int code = gsapi_init_with_args(gs, int(setup.argv.size()), setup.argv.data());
    const int exitCode = gsapi_exit(gs);
    if (code == gs_error_Quit)
        code = 0;
    gsapi_delete_instance(gs);
    return code < 0 || exitCode < 0 ? 1 : 0;
}

enum class ChildEnd { Exited, TimedOut, Lost };

// Waits for the child without serving the program's events: a posted event run here could
// start another read, or change what the caller of this read is in the middle of (a print
// job). The process descriptor wakes the wait when the child ends; without one (an old kernel)
// it looks every 2 ms.
ChildEnd waitForChild(pid_t child, int limitMs, int& status)
{
    QElapsedTimer clock;
    clock.start();
    const int descriptor = int(syscall(SYS_pidfd_open, child, 0));
    ChildEnd end = ChildEnd::Exited;
    for (;;) {
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child)
            break;
        if (done < 0 && errno != EINTR) {
            end = ChildEnd::Lost;
            break;
        }
        const qint64 left = limitMs - clock.elapsed();
        if (left <= 0) {
            kill(child, SIGKILL);
            while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
            end = ChildEnd::TimedOut;
            break;
        }
        if (descriptor >= 0) {
            pollfd ended{descriptor, POLLIN, 0};
            poll(&ended, 1, int(qMin<qint64>(left, 1000)));
        } else {
            QThread::msleep(2);
        }
    }
    if (descriptor >= 0)
        close(descriptor);
    return end;
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
    // Only the file's own comments count: its header (to %%EndComments, or to the first line
    // that is no comment of that kind), and the trailer after its last %%Trailer when the
    // header defers a box there. A box further on belongs to an EPS the file embeds.
    const QList<QByteArray> lines = ps.split('\n');
    BoxComments header, trailer;
    qsizetype trailerAt = -1;
    bool inHeader = true;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        if (inHeader && i > 0
            && (line.startsWith("%%EndComments") || line.size() < 2 || line[0] != '%'
                || std::isspace(uchar(line[1])) != 0))
            inHeader = false;
        if (inHeader)
            header.take(line);
        else if (line.startsWith("%%Trailer"))
            trailerAt = i;
    }
    for (qsizetype i = trailerAt + 1; trailerAt >= 0 && i < lines.size(); ++i)
        trailer.take(lines[i].trimmed());
    // The finer box first, then the plain one; each from the trailer when the header says so.
    for (QByteArray BoxComments::*kind : {&BoxComments::fine, &BoxComments::plain}) {
        const QByteArray& stated = header.*kind;
        const QRectF box = boxOf(stated.startsWith("(atend)") ? trailer.*kind : stated);
        if (!box.isEmpty())
            return box;
    }
    return {};
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
    // One folder per read holds the drawn page and, apart, Ghostscript's temporary folder: under
    // -dSAFER the PostScript may still read, write and delete anything in the latter, so it
    // must be one that holds nothing of anybody else's, and it goes with the read.
    QTemporaryDir scratch;
    if (!scratch.isValid() || !QDir(scratch.path()).mkdir(QStringLiteral("tmp")))
        return refuse(QStringLiteral("no folder for the drawn picture"));
    const QString output = scratch.filePath(QStringLiteral("page.png"));
    const QByteArray temp = QFile::encodeName(scratch.filePath(QStringLiteral("tmp")));

    // The page is the box itself, in whole pixels (the size the file information states), and
    // fixed: the file's own page requests change nothing. The drawing is moved by the box's
    // corner, again after any page request of the file (which resets the drawing state). A
    // file that shows its page shows it first; one that does not is shown by the last step.
    const QSize size = epsPixelSize(box);
    const QByteArray dx = QByteArray::number(-box.left(), 'f', 4);
    const QByteArray dy = QByteArray::number(-box.top(), 'f', 4);
    const QByteArray moved = dx + ' ' + dy + " translate";
    const QList<QByteArray> args = {
        "pravolis", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE",
        "-sDEVICE=png16m", "-dTextAlphaBits=4", "-dGraphicsAlphaBits=4",
        "-dFirstPage=1", "-dLastPage=1",
        "-r" + QByteArray::number(epsResolution(box), 'f', 4),
        "-dDEVICEWIDTH=" + QByteArray::number(size.width()),
        "-dDEVICEHEIGHT=" + QByteArray::number(size.height()), "-dFIXEDMEDIA",
        "-sOutputFile=" + QFile::encodeName(output),
        "-c", "/setpagedevice { systemdict /setpagedevice get exec " + moved + " } bind def " + moved,
        "-f", QFile::encodeName(path), "-c", "showpage",
    };
    const QList<QByteArray> env = {"TMPDIR=" + temp, "TEMP=" + temp, "TMP=" + temp};
    ChildSetup setup;
    for (const QByteArray& a : args)
        setup.argv.push_back(const_cast<char*>(a.constData()));
    for (const QByteArray& e : env)
        setup.envp.push_back(const_cast<char*>(e.constData()));
    setup.envp.push_back(nullptr);
    setup.folder = temp;
    setup.devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
    if (setup.devNull < 0)
        return refuse(QStringLiteral("Ghostscript cannot be started"));

    // Ghostscript draws in a child process: a PostScript program may never end, and the
    // library has no time limit of its own, so a child that takes too long is stopped.
    const pid_t child = fork();
    if (child == 0)
        _exit(drawInChild(setup));
    close(setup.devNull);
    if (child < 0)
        return refuse(QStringLiteral("Ghostscript cannot be started"));
    std::optional<platform::HourGlass> busy;
    if (const QCoreApplication* app = QCoreApplication::instance();
        app != nullptr && app->thread() == QThread::currentThread())
        busy.emplace();
    int status = 0;
    switch (waitForChild(child, timeLimit(), status)) {
    case ChildEnd::Lost:
        return refuse(QStringLiteral("Ghostscript was lost"));
    case ChildEnd::TimedOut:
        return refuse(QStringLiteral("the PostScript did not end within %1 s").arg(timeLimit() / 1000.0));
    case ChildEnd::Exited:
        break;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return refuse(QStringLiteral("Ghostscript cannot draw the PostScript"));
    QImage image(output);
    if (image.isNull())
        return refuse(QStringLiteral("Ghostscript drew no picture"));
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace imaging

// The sheet printed through QPrinter: to a PDF file, to no printer at all, and once through a
// real print system (a CUPS daemon of the test's own with a queue that writes PDF files).
#include "SheetPrintSupport.h"

#include "platform/Rounding.h"
#include "platform/window/QtPrinter.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QThread>
#include <gtest/gtest.h>

using namespace sheettest;
using platform::QtPrinter;
using station::PrintSheetPage;

namespace {

// What a printed sheet must show: every label's number inside its cell on the paper (within
// half a millimetre), both barcodes scanned, one page.
void expectSheet(const QString& pdf)
{
    const QList<Word> words = wordsOf(pdf);
    ASSERT_FALSE(words.isEmpty()) << "no words in " << pdf.toStdString();

    EXPECT_EQ(pageCount(words), 1);
    const struct {
        const char* word;
        int c, r;
    } labels[] = {{"N1", 1, 1}, {"N2", 3, 2}, {"N3", 2, 4}};
    for (const auto& l : labels) {
        const QRectF cell =
            cellPoints(l.c, l.r).adjusted(-HalfMmPoints, -HalfMmPoints, HalfMmPoints, HalfMmPoints);
        const QRectF box = SheetFixture::boxOf(words, l.word);
        EXPECT_TRUE(!box.isNull() && cell.contains(box)) << l.word << ": " << box.x() << "," << box.y();
    }
    EXPECT_EQ(barcodesOf(pdf), (QStringList{"4006381333931", "9780201379624"}));
}

} // namespace

TEST(QtPrinterSheet, APdfFileGetsTheLabelsWhereTheFormatPutsThemOnThePaper)
{
    SheetFixture f;
    f.options.CutLines = true;
    QtPrinter printer;
    const QString pdf = f.dir.filePath("qprinter.pdf");
    printer.SetOutputFile(pdf);
    // QPrinter's PDF page has margins: the painter starts at the printable corner, so the
    // offset must be taken off for the labels to land on their cells.
    const platform::TPoint offset = printer.PrintingOffset();
    EXPECT_GT(offset.X, 0);
    EXPECT_GT(offset.Y, 0);
    const station::TSheetPrintResult result = PrintSheetPage(f.page, f.folders, printer, f.options);
    EXPECT_EQ(result.Labels, 3);
    EXPECT_FALSE(printer.Printing());
    expectSheet(pdf);
    // The cut line along the first label's top, on the paper where the format puts it.
    const QImage img = pageImage(pdf, 150);
    const int x = platform::R(1000 * 150 / 2540.0), y = platform::R(1500 * 150 / 2540.0);
    EXPECT_GT(testsupport::darkPixels(img, x + 10, y - 1, x + 300, y + 1), 50);
}

TEST(QtPrinterSheet, NoPrinterOrAFailedLabelIsAnErrorNeverASilentSuccess)
{
    SheetFixture f;
    for (const QString& name : {QString(), QStringLiteral("No such queue 7f3a")}) {
        QtPrinter printer;
        printer.SetPrinterName(name);
        EXPECT_FALSE(printer.Configured()) << name.toStdString();
        EXPECT_THROW(PrintSheetPage(f.page, f.folders, printer, f.options), platform::EPrinter)
            << name.toStdString();
        EXPECT_FALSE(printer.Printing());
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
    // A label that fails to draw drops the whole job: no file is left for a complete sheet.
    {
        QtPrinter printer;
        const QString pdf = f.dir.filePath("dropped.pdf");
        printer.SetOutputFile(pdf);
        f.page.SetCell(3, 5, "badpicture");
        EXPECT_ANY_THROW(PrintSheetPage(f.page, f.folders, printer, f.options));
        f.page.SetCell(3, 5, QString());
        EXPECT_FALSE(printer.Printing());
        EXPECT_TRUE(printer.Aborted());
        EXPECT_FALSE(QFileInfo::exists(pdf));
    }
    // A file that cannot be written does not start a job either.
    QtPrinter printer;
    printer.SetOutputFile(f.dir.filePath("no/such/folder/x.pdf"));
    EXPECT_THROW(PrintSheetPage(f.page, f.folders, printer, f.options), platform::EPrinter);
    EXPECT_FALSE(printer.Printing());
}

// What the user picks in the setup dialog stays where it belongs: a setup for upright sheets keeps
// them upright, a free one keeps the user's orientation, and the range chosen is the caller's
// answer, never the printer's for the next print.
TEST(QtPrinterSetup, TheOrientationIsTheSetupsOrTheUsersAndTheRangeIsTheCallers)
{
    QTemporaryDir dir;
    QtPrinter printer;
    printer.SetOutputFile(dir.filePath("setup.pdf"));
    QObject owner;
    const struct {
        const char* name;
        platform::TSetupOptions options;
        bool accept;
        QPageLayout::Orientation picked;
        QPrinter::PrintRange range;
        platform::TPrinterOrientation after;
        platform::TPrintRange chosen;
    } cases[] = {
        {"upright sheets, landscape picked", {platform::poPortrait, false, {}}, true, QPageLayout::Landscape,
         QPrinter::AllPages, platform::poPortrait, platform::prAllPages},
        {"free, landscape picked", {std::nullopt, false, {}}, true, QPageLayout::Landscape, QPrinter::AllPages,
         platform::poLandscape, platform::prAllPages},
        {"free with a selection, selection picked", {std::nullopt, true, {}}, true, QPageLayout::Landscape,
         QPrinter::Selection, platform::poLandscape, platform::prSelection},
        {"selection picked, then cancelled", {std::nullopt, true, {}}, false, QPageLayout::Landscape,
         QPrinter::Selection, platform::poLandscape, platform::prAllPages},
        {"no selection offered", {std::nullopt, false, {}}, true, QPageLayout::Portrait, QPrinter::Selection,
         platform::poPortrait, platform::prAllPages},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bool shown = false;
        testsupport::whenShown<QPrintDialog>(&owner, [&](QPrintDialog& d) {
            shown = true;
            d.printer()->setPageOrientation(c.picked);
            d.printer()->setPrintRange(c.range);
            d.done(c.accept ? QDialog::Accepted : QDialog::Rejected);
        });
        const platform::TSetupChoice choice = printer.SetupDialog(nullptr, c.options);
        EXPECT_TRUE(shown);
        EXPECT_EQ(choice.Accepted, c.accept);
        EXPECT_EQ(choice.Range, c.chosen);
        EXPECT_EQ(printer.Orientation(), c.after);
        EXPECT_EQ(printer.Range(), platform::prAllPages);
        EXPECT_EQ(printer.Printer().printRange(), QPrinter::AllPages);
    }
}

namespace {

// A CUPS daemon of the test's own: configuration, spool and socket in a temporary folder, one
// queue printing to PDF files in `out`. Stopped (and its queue's settings removed) on
// destruction.
class OwnCups {
public:
    QTemporaryDir dir;
    QString socket, out, queue, error;

    OwnCups()
    {
        queue = QStringLiteral("PravolisTest%1").arg(QCoreApplication::applicationPid());
        socket = dir.filePath("cups.sock");
        out = dir.filePath("out");
        if (!QFileInfo::exists("/usr/sbin/cupsd") || !QFileInfo::exists("/usr/lib/cups/backend/cups-pdf")) {
            error = "cups or printer-driver-cups-pdf is not installed";
            return;
        }
        // The daemon's filters run as its own user: they must reach the spool.
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                              QFileDevice::ReadOther | QFileDevice::ExeOther |
                                              QFileDevice::ReadGroup | QFileDevice::ExeGroup);
        QDir d(dir.path());
        for (const char* sub : {"spool/tmp", "cache", "state", "ppd", "out"})
            d.mkpath(sub);
        QFile::setPermissions(out, QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther |
                                       QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        const QString p = dir.path();
        testsupport::writeBytes(dir.filePath("cups-files.conf"),
                                QStringLiteral("ServerRoot %1\nRequestRoot %1/spool\nTempDir %1/spool/tmp\n"
                                               "CacheDir %1/cache\nStateDir %1/state\nDataDir /usr/share/cups\n"
                                               "ServerBin /usr/lib/cups\nAccessLog %1/access_log\n"
                                               "ErrorLog %1/error_log\nPageLog %1/page_log\nPrintcap %1/printcap\n"
                                               "FileDevice No\n")
                                    .arg(p)
                                    .toUtf8());
        testsupport::writeBytes(dir.filePath("cupsd.conf"),
                                QStringLiteral("Listen %1\nLogLevel warn\nWebInterface No\nBrowsing No\n"
                                               "DefaultAuthType None\n<Location />\n  Order allow,deny\n"
                                               "  Allow all\n</Location>\n<Policy default>\n  <Limit All>\n"
                                               "    Order deny,allow\n  </Limit>\n</Policy>\n")
                                    .arg(socket)
                                    .toUtf8());
        // The PDF backend reads its settings (where to write) from the system's folder, per queue.
        m_backendConf = QStringLiteral("/etc/cups/cups-pdf-%1.conf").arg(queue);
        QFile conf(m_backendConf);
        if (!conf.open(QIODevice::WriteOnly)) {
            error = "cannot write " + m_backendConf + " (the PDF backend's settings)";
            m_backendConf.clear();
            return;
        }
        conf.write(QStringLiteral("Out %1\n").arg(out).toUtf8());
        conf.close();

        m_daemon.setProgram("/usr/sbin/cupsd");
        m_daemon.setArguments({"-f", "-c", dir.filePath("cupsd.conf"), "-s", dir.filePath("cups-files.conf")});
        m_daemon.setProcessChannelMode(QProcess::MergedChannels);
        m_daemon.start();
        if (!m_daemon.waitForStarted(5000)) {
            error = "cupsd did not start: " + m_daemon.errorString();
            return;
        }
        QDeadlineTimer deadline(10000);
        while (!QFileInfo::exists(socket) && m_daemon.state() == QProcess::Running && !deadline.hasExpired())
            QThread::msleep(50);
        if (!QFileInfo::exists(socket)) {
            error = "cupsd did not listen: " + QString::fromUtf8(m_daemon.readAll()) +
                    QString::fromUtf8(testsupport::readBytes(dir.filePath("error_log")));
            return;
        }
        QProcess lpadmin;
        lpadmin.start("lpadmin", {"-h", socket, "-p", queue, "-E", "-v", "cups-pdf:/" + queue, "-P",
                                  "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"});
        if (!lpadmin.waitForFinished(10000) || lpadmin.exitCode() != 0) {
            lpadmin.kill();
            error = "lpadmin could not add the queue: " + QString::fromUtf8(lpadmin.readAllStandardError());
            return;
        }
        ready = true;
    }

    ~OwnCups()
    {
        if (m_daemon.state() != QProcess::NotRunning) {
            m_daemon.terminate();
            if (!m_daemon.waitForFinished(5000)) {
                m_daemon.kill();
                m_daemon.waitForFinished(2000);
            }
        }
        if (!m_backendConf.isEmpty())
            QFile::remove(m_backendConf);
    }

    // The PDF the queue wrote, once it is complete; empty after the time limit.
    QString waitForPdf(int ms) const
    {
        QDeadlineTimer deadline(ms);
        qint64 lastSize = -1;
        while (!deadline.hasExpired()) {
            const QFileInfoList files = QDir(out).entryInfoList({"*.pdf"}, QDir::Files);
            if (!files.isEmpty()) {
                const qint64 size = files.first().size();
                if (size > 0 && size == lastSize)
                    return files.first().filePath();
                lastSize = size;
            }
            QThread::msleep(200);
        }
        return {};
    }

    bool ready = false;

private:
    QProcess m_daemon;
    QString m_backendConf;
};

bool underCi()
{
    return qEnvironmentVariable("CI") == QLatin1String("true");
}

} // namespace

// The client library remembers the print server of the process's first request, so the print
// runs in a process of its own that knows only the test's daemon (CupsQueueChild below).
TEST(QtPrinterCups, TheSheetGoesThroughARealPrintQueue)
{
    OwnCups cups;
    if (!cups.ready) {
        if (underCi())
            FAIL() << "the test's print daemon could not start: " << cups.error.toStdString();
        GTEST_SKIP() << "no print daemon of the test's own: " << cups.error.toStdString();
    }
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CUPS_SERVER", cups.socket);
    env.insert("PRAVOLIS_CUPS_QUEUE", cups.queue);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=CupsQueueChild.*"});
    ASSERT_TRUE(child.waitForFinished(60000)) << "the printing process hung";
    const QString output = QString::fromUtf8(child.readAll());
    ASSERT_EQ(child.exitCode(), 0) << output.toStdString();
    ASSERT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
    const QString pdf = cups.waitForPdf(30000);
    ASSERT_FALSE(pdf.isEmpty()) << "the queue wrote no PDF: "
                                << testsupport::readBytes(cups.dir.filePath("error_log")).toStdString();
    // The queue's PostScript stage leaves the glyphs without their letters, so the labels are
    // found as ink: in each printed cell, nowhere else on the paper.
    const int dpi = 100;
    const QImage img = pageImage(pdf, dpi);
    ASSERT_FALSE(img.isNull());
    const double k = dpi / 72.0;
    auto ink = [&](const QRectF& points) {
        const QRect r(QPoint(platform::R(points.left() * k), platform::R(points.top() * k)),
                      QPoint(platform::R(points.right() * k), platform::R(points.bottom() * k)));
        return testsupport::darkPixels(img, r.left(), r.top(), r.right(), r.bottom());
    };
    const int total = ink(QRectF(0, 0, img.width() / k, img.height() / k));
    int inCells = 0;
    for (const auto& [c, r] : {std::pair{1, 1}, std::pair{3, 2}, std::pair{2, 4}}) {
        const int n = ink(cellPoints(c, r).adjusted(-HalfMmPoints, -HalfMmPoints, HalfMmPoints, HalfMmPoints));
        EXPECT_GT(n, 100) << "cell " << c << "," << r;
        inCells += n;
    }
    EXPECT_EQ(total, inCells) << "ink outside the printed cells";
    EXPECT_EQ(pageCount(wordsOf(pdf)), 1);
    EXPECT_EQ(barcodesOf(pdf), (QStringList{"4006381333931", "9780201379624"}));
}

TEST(CupsQueueChild, PrintsTheSheetOnTheQueue)
{
    const QString queue = qEnvironmentVariable("PRAVOLIS_CUPS_QUEUE");
    if (queue.isEmpty())
        GTEST_SKIP() << "run by QtPrinterCups in a process of its own";
    SheetFixture f;
    QtPrinter printer;
    printer.SetPrinterName(queue);
    ASSERT_TRUE(printer.Configured()) << "the queue is not seen";
    const station::TSheetPrintResult result = PrintSheetPage(f.page, f.folders, printer, f.options);
    EXPECT_EQ(result.Labels, 3);
}

#include "database/window/TwForm1.h"
#include "shell/program/MainWindows.h"
#include "station/window/TModEtik.h"
#include "database/window/TwFiche.h"
#include "ui_TwFiche.h"
#include "ui_TwForm1.h"

#include "MultiLang/MLBase.h"
#include "TestSupport.h"
#include "platform/TextFile.h"
#include "platform/window/Dialogs.h"
#include "platform/window/QtPrinter.h"
#include "LanguageGuard.h"

#include <QFileInfo>
#include <QFontDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString pdfText(const QString& file)
{
    QProcess p;
    p.start("pdftotext", {"-layout", file, "-"});
    EXPECT_TRUE(p.waitForFinished());
    return QString::fromUtf8(p.readAllStandardOutput()).simplified();
}

} // namespace

// The table window's list print, linked as the program links it, goes to the printer the station
// holds: to the PDF file chosen there, and a file chosen in the list print's own dialog is then
// the station's too.
TEST(DatabaseStationLink, TheListPrintsOnTheStationsPrinter)
{
    testsupport::LanguageGuard restoreLanguage;
    QTemporaryDir dir;
    platform::DialogHooksGuard hooks;
    platform::dialogHooks().fontDialog = [](QFontDialog&) { return true; };
    platform::writeFileAtomically(dir.filePath("pravolis.ini"), "[Options]\r\nFirstTime=0\r\n");
    auto station = std::make_unique<station::TModEtik>(
        station::TStationFolders::Resolve(dir.path(), dir.filePath("user"), true), dir.filePath("pravolis.ini"));
    station->FormCreate();
    auto base = std::make_unique<database::TwForm1>(station->FichierIni, dir.path());
    LinkDatabaseWindow(*station, *base);
    base->Table.SetCell(0, 1, "Durand");

    station->Printer().SetOutputFile(dir.filePath("station.pdf"));
    testsupport::whenShown<QPrintDialog>(base.get(), [](QPrintDialog& d) { d.accept(); });
    base->ui->Imprimer1->trigger();
    EXPECT_TRUE(pdfText(dir.filePath("station.pdf")).contains("Durand"));

    // The list print's own choice stays for the station's next print.
    testsupport::whenShown<QPrintDialog>(base.get(), [&](QPrintDialog& d) {
        d.printer()->setOutputFileName(dir.filePath("list.pdf"));
        d.done(QDialog::Accepted);
    });
    base->ui->Imprimer1->trigger();
    EXPECT_EQ(station->Printer().Name(), "list.pdf");
    EXPECT_EQ(station->Printer().Orientation(), platform::poPortrait);

    // The record card prints there too.
    station->Printer().SetOutputFile(dir.filePath("card.pdf"));
    testsupport::whenShown<QPrintDialog>(base.get(), [](QPrintDialog& d) { d.accept(); });
    QTest::mouseClick(base->wFiche->ui->PrintBtn, Qt::LeftButton);
    EXPECT_TRUE(QFileInfo(dir.filePath("card.pdf")).size() > 0);
    base.reset();
    station.reset();
}

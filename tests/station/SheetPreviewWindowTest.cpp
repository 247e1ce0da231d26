#include "station/SheetDrawing.h"
#include "station/window/TFormat.h"
#include "station/window/TNewFor.h"
#include "station/window/TPrevis.h"
#include "ui_TFormat.h"
#include "ui_TNewFor.h"
#include "ui_TPrevis.h"

#include "MultiLang/MLBase.h"
#include "LanguageGuard.h"
#include "TestSupport.h"

#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <functional>

using namespace station;

// The sheet preview opened from a modal dialog (the format window, the format editor) comes in
// front of it and takes the user's clicks: a click on a cell, through the window system as a
// user's, picks it. It stands beside the dialog, not over it. When the dialog goes, the preview
// goes with it and stays the program's, ready for the next time.
TEST(SheetPreviewWindow, OpensInFrontOfTheModalDialogThatAsksForIt)
{
    testsupport::LanguageGuard english(1);
    QTemporaryDir dir;
    testsupport::writeBytes(dir.filePath(QStringLiteral("Formats personnalisés.for")),
                            testsupport::crlfLines({"A4 - Cards", "8500", "5400", "2", "4", "1000", "0", "1500", "99999",
                                                    "0", "0"}));
    QWidget station;
    station.setGeometry(20, 20, 300, 200);
    station.show();
    struct Opener {
        const char* name;
        std::function<QDialog*(TPrevis*)> make; // the dialog, its preview port set
        std::function<QWidget*(QDialog*)> previewButton;
    };
    const Opener openers[] = {
        {"format window",
         [&](TPrevis* p) {
             auto* f = new TFormat(&station, dir.path(), dir.filePath("p.ini"));
             f->SetPreview(p);
             return f;
         },
         [](QDialog* d) { return static_cast<TFormat*>(d)->ui->BitBtn1; }},
        {"format editor",
         [&](TPrevis* p) {
             auto* e = new TNewFor(&station);
             e->SetPreview(p);
             TLigneFormat row;
             row.Cells = {"A4 - Cards", "8500", "5400", "2", "4", "1000", "0", "1500", "99999", "0", "0"};
             e->Charger(row);
             return e;
         },
         [](QDialog* d) { return static_cast<TNewFor*>(d)->ui->BitBtn1; }},
    };
    QPointer<TPrevis> previs = new TPrevis(&station);
    for (const Opener& o : openers) {
        SCOPED_TRACE(o.name);
        QDialog* dialog = o.make(previs);
        // As exec() shows it, without its own event loop.
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
        dialog->move(0, 0); // room beside it on the small test screen
        QTest::mouseClick(o.previewButton(dialog), Qt::LeftButton);
        ASSERT_TRUE(previs->isVisible());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(previs));
        EXPECT_FALSE(previs->frameGeometry().intersects(dialog->frameGeometry()));

        // A click on the sheet's first cell, as the mailing's first-label choice takes it.
        previs->SetChoixDepart(true);
        previs->ColonneDepart = previs->LigneDepart = 2;
        const TSheetGeometry g = SheetGeometry(previs->Sheet, previs->Echelle);
        const QPoint firstCell = previs->ui->Page->mapTo(previs.data(), QPoint(g.L + g.W / 2, g.T + g.H / 2));
        QTest::mouseClick(previs->windowHandle(), Qt::LeftButton, {}, firstCell);
        EXPECT_EQ(previs->ColonneDepart, 1);
        EXPECT_EQ(previs->LigneDepart, 1);
        previs->SetChoixDepart(false);

        dialog->reject();
        EXPECT_FALSE(previs->isVisible());
        delete dialog;
        ASSERT_FALSE(previs.isNull());
        EXPECT_EQ(previs->parentWidget(), &station);
    }
}

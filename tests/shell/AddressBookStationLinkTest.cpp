#include "addressbook/window/TFiche.h"
#include "addressbook/window/TListe.h"
#include "design/DesignFileFormat.h"
#include "design/FieldCodes.h"
#include "shell/program/MainWindows.h"
#include "station/window/TModEtik.h"
#include "ui_TFiche.h"
#include "ui_TModEtik.h"

#include "LanguageGuard.h"
#include "TestSupport.h"

#include "platform/TextFile.h"
#include "platform/window/Dialogs.h"

#include <QAbstractButton>
#include <QDir>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The station, the address book and its card of a program folder holding one design that prints
// the record's surname, linked as the program links them.
class AddressBookStationLink : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::dialogHooks().messageBox = [this](QMessageBox& box) {
            boxes << box.text();
            box.button(QMessageBox::Ok)->click();
        };
        QDir().mkpath(dir.filePath("perso"));
        design::TCurrentFormat format{"Name", 7000, 4200, 2, 5, 0, 0, 0, 0, false, false};
        design::TDesignModel model(format);
        model.LargeurEtiquettePx = 265;
        model.HauteurEtiquettePx = 159;
        model.AddLabel(5, 5, true, {}, platform::clBlack, 12, "Liberation Sans", -60, platform::clWhite,
                       design::GetRepertFieldCode(0), design::taLeftJustify, 80, 250, false);
        design::SaveDesign(model, dir.filePath("perso/Name.car"), design::TDesignScope::WholeDesign);
        platform::writeFileAtomically(dir.filePath("pravolis.ini"), "[Options]\r\nFirstTime=0\r\n");
        station = std::make_unique<station::TModEtik>(
            station::TStationFolders::Resolve(dir.path(), dir.filePath("user"), true), dir.filePath("pravolis.ini"));
        station->FormCreate();
        liste = std::make_unique<addressbook::TListe>(station->FichierIni);
        fiche = std::make_unique<addressbook::TFiche>(liste.get(), station.get());
        addressbook::TAddressBook& book = liste->Book;
        book.Grille.SetCell(0, 1, "Dupont");
        book.Ajouter();
        book.Grille.SetCell(0, 2, "Martin");
        book.Grille.SetRow(1);
        LinkAddressBook(*station, *liste, *fiche);
        station->show();
        station->RemplirListeModeles();
    }
    void TearDown() override
    {
        station->AddressBookGrid = nullptr;
        fiche.reset();
        liste.reset();
        station.reset();
    }

    QImage thumbnail() const { return station->ui->Image->pixmap().toImage(); }

    testsupport::LanguageGuard language;
    QTemporaryDir dir;
    platform::DialogHooksGuard hooks;
    QStringList boxes;
    std::unique_ptr<station::TModEtik> station;
    std::unique_ptr<addressbook::TListe> liste;
    std::unique_ptr<addressbook::TFiche> fiche;
};

} // namespace

// The surname of the shown record changed in the card, then OK: the station's thumbnail shows the
// record as it now is, not as it was when the card opened.
TEST_F(AddressBookStationLink, TheThumbnailShowsTheRecordAsTheCardLeftIt)
{
    ASSERT_TRUE(station->ui->Image->isVisible());
    const QImage before = thumbnail();
    testsupport::whenShown<addressbook::TFiche>(station.get(), [](addressbook::TFiche& card) {
        card.ui->Nom->setFocus();
        card.ui->Nom->selectAll();
        QTest::keyClicks(card.ui->Nom, "Wojciechowski");
        QTest::mouseClick(card.ui->CloseBtn, Qt::LeftButton);
    });
    QTest::mouseClick(station->ui->FicheBtn, Qt::LeftButton);
    ASSERT_EQ(liste->Grille().Cell(0, 1), "Wojciechowski");
    EXPECT_FALSE(fiche->isVisible());
    const QImage shown = thumbnail();
    EXPECT_NE(shown, before);
    // What the station draws for the record now, the selection read again.
    station->ListBoxClick();
    EXPECT_EQ(shown, thumbnail());
    EXPECT_EQ(station->ui->FicheBtn->toolTip(), "Address-book (active entry :  Wojciechowski)");
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join('\n').toStdString();
}

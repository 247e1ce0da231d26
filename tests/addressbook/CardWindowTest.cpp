#include "addressbook/window/TAsso.h"
#include "addressbook/window/TFTri.h"
#include "addressbook/window/TFiche.h"
#include "addressbook/window/TFind.h"
#include "addressbook/window/TListe.h"
#include "ui_TAsso.h"
#include "ui_TFTri.h"
#include "ui_TFiche.h"
#include "ui_TFind.h"
#include "ui_TListe.h"

#include "TestSupport.h"
#include "MultiLang/MLBase.h"
#include "design/Dates.h"
#include "platform/PdfPrinter.h"
#include "platform/TIniFile.h"
#include "platform/window/Application.h"
#include "platform/window/Dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QFileDialog>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

using namespace addressbook;
using testsupport::crlfLines;
using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

class AddressCard : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_language = GlobalLanguage();
        SetGlobalLanguage(1);
        platform::dialogHooks().messageBox = [this](QMessageBox& box) {
            boxes << box.text();
            QAbstractButton* answer = box.button(answerYes ? QMessageBox::Yes : QMessageBox::No);
            if (answer == nullptr)
                answer = box.button(QMessageBox::Ok);
            answer->click();
        };
    }
    void TearDown() override { SetGlobalLanguage(m_language); }

    // A book of these names (column 0), the other fields telling the records apart.
    void open(const QStringList& names)
    {
        liste = std::make_unique<TListe>(dir.filePath("pravolis.ini"));
        fiche = std::make_unique<TFiche>(liste.get());
        TAddressBook& book = liste->Book;
        for (int i = 0; i < names.size(); ++i) {
            if (i > 0)
                book.Ajouter();
            book.Grille.SetCell(Nom, i + 1, names[i]);
            book.Grille.SetCell(Ville, i + 1, "Town " + QString::number(i + 1));
        }
        book.Grille.SetRow(1);
        fiche->show();
        liste->AfficherFiche();
    }

    int row() const { return liste->Grille().Row(); }

    QTemporaryDir dir;
    std::unique_ptr<TListe> liste;
    std::unique_ptr<TFiche> fiche;
    QStringList boxes;
    bool answerYes = true;
    platform::DialogHooksGuard hooks;
    int m_language = 1;
};

} // namespace

TEST_F(AddressCard, ShowsTheEntryAndWritesEveryChange)
{
    open({"Dupont", "Martin", "Quentin"});
    EXPECT_EQ(fiche->windowTitle(), "Entry n°1/3");
    EXPECT_EQ(fiche->ui->Nom->text(), "Dupont");
    EXPECT_EQ(fiche->ui->Ville->text(), "Town 1");
    EXPECT_FALSE(fiche->ui->BeginBtn->isEnabled());
    EXPECT_TRUE(fiche->ui->EndBtn->isEnabled());
    EXPECT_EQ(fiche->ui->Civil->count(), 19);
    EXPECT_EQ(fiche->ui->Civil->itemText(18), "His Holiness");

    // Typing and choosing a title go into the book at once.
    fiche->ui->Prenom->setFocus();
    QTest::keyClicks(fiche->ui->Prenom, "Zoe");
    EXPECT_EQ(liste->Grille().Cell(Prenom, 1), "Zoe");
    fiche->ui->Civil->setCurrentIndex(1);
    EXPECT_EQ(liste->Grille().Cell(Civil, 1), "Mrs");
    EXPECT_TRUE(liste->Book.Modifie);

    // A pasted line break would shift the file: the field keeps one line.
    QApplication::clipboard()->setText("1 rue\r\nHaute");
    fiche->ui->Adresse1->setFocus();
    fiche->ui->Adresse1->paste();
    EXPECT_EQ(liste->Grille().Cell(Adresse1, 1), "1 rueHaute");
    EXPECT_EQ(fiche->ui->Adresse1->text(), "1 rueHaute");

    // The entry number is kept as a number: a translated caption without "°" changes nothing.
    QTest::mouseClick(fiche->ui->EndBtn, Qt::LeftButton);
    fiche->setWindowTitle("Karte 3 von 3");
    fiche->ui->Fax->setText("01 02");
    EXPECT_EQ(liste->Grille().Cell(Fax, 3), "01 02");
    EXPECT_EQ(liste->Grille().Cell(Fax, 1), "");
}

TEST_F(AddressCard, LetterTabsFollowTheNames)
{
    open({"Adam", "Bernard", "Bodin", "Quentin"});
    const auto tabs = [&] {
        QString shown;
        for (int i = 0; i < 26; ++i)
            shown += fiche->ui->TabSet->tabText(i).isEmpty() ? QStringLiteral(".") : fiche->ui->TabSet->tabText(i);
        return shown;
    };
    EXPECT_EQ(tabs(), "AB..............Q.........");
    EXPECT_EQ(fiche->ui->TabSet->currentIndex(), 0);

    // Renaming the only Q name to R moves the letter at once, not at the next rebuild.
    QTest::mouseClick(fiche->ui->EndBtn, Qt::LeftButton);
    fiche->ui->Nom->selectAll();
    QTest::keyClicks(fiche->ui->Nom, "Roux");
    EXPECT_EQ(tabs(), "AB...............R........");
    EXPECT_EQ(fiche->ui->TabSet->currentIndex(), 17);
    fiche->ui->Nom->clear();
    EXPECT_EQ(tabs(), "AB........................");
    EXPECT_EQ(fiche->ui->TabSet->currentIndex(), 0);
    QTest::keyClicks(fiche->ui->Nom, "Quentin");

    // A tab with names goes to its first; one without is refused and nothing moves.
    fiche->ui->TabSet->setCurrentIndex(1);
    EXPECT_EQ(row(), 2);
    fiche->ui->TabSet->setCurrentIndex(10);
    EXPECT_EQ(fiche->ui->TabSet->currentIndex(), 1);
    EXPECT_EQ(row(), 2);

    // Next and previous walk by initial letter.
    QTest::mouseClick(fiche->ui->FFBtn, Qt::LeftButton);
    EXPECT_EQ(row(), 3);
    QTest::mouseClick(fiche->ui->FFBtn, Qt::LeftButton);
    EXPECT_EQ(row(), 4);
    EXPECT_FALSE(fiche->ui->FFBtn->isEnabled());
    QTest::mouseClick(fiche->ui->RewBtn, Qt::LeftButton);
    EXPECT_EQ(row(), 3);
    QTest::mouseClick(fiche->ui->BeginBtn, Qt::LeftButton);
    EXPECT_EQ(row(), 1);
    EXPECT_EQ(fiche->windowTitle(), "Entry n°1/4");
}

TEST_F(AddressCard, DeleteAsksAndF12InsertsTheDate)
{
    open({"Adam", "Bernard"});
    QTest::mouseClick(fiche->ui->EndBtn, Qt::LeftButton);
    answerYes = false;
    QTest::mouseClick(fiche->ui->MoinsBtn, Qt::LeftButton);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0], "Do you really want to suppress this entry ?");
    EXPECT_EQ(liste->Book.NbFiches(), 2);
    answerYes = true;
    QTest::mouseClick(fiche->ui->MoinsBtn, Qt::LeftButton);
    EXPECT_EQ(liste->Book.NbFiches(), 1);
    EXPECT_EQ(fiche->windowTitle(), "Entry n°1/1");
    EXPECT_EQ(fiche->ui->Nom->text(), "Adam");

    // The date goes in at the caret; a long tail stays whole and the caret follows the date.
    const QString date = design::ShortDateString(QDate::currentDate());
    const QString tail(300, u'x');
    fiche->ui->Notes->setText("abc" + tail);
    fiche->ui->Notes->setCursorPosition(3);
    QTest::keyClick(fiche->ui->Notes, Qt::Key_F12);
    EXPECT_EQ(fiche->ui->Notes->text(), "abc" + date + tail);
    EXPECT_EQ(fiche->ui->Notes->cursorPosition(), 3 + date.size());
    EXPECT_EQ(liste->Grille().Cell(Notes, 1), "abc" + date + tail);
}

TEST_F(AddressCard, FindSelectsEveryHitInTurn)
{
    open({"DUPONT", "Martin", "Dupont"});
    liste->Grille().SetCell(Internet, 2, "martin.dupont@example.org");
    QTest::mouseClick(fiche->ui->FindBtn, Qt::LeftButton);
    TFind* find = liste->FindDialog();
    ASSERT_TRUE(find->isVisible());
    EXPECT_EQ(find->parentWidget(), fiche.get());
    EXPECT_FALSE(find->ui->FindBtn->isEnabled());
    QTest::keyClicks(find->ui->Edit, "dupont");
    // Row by row, column by column: the surname of 1, the address of 2, the surname of 3.
    const std::pair<int, QLineEdit*> hits[] = {{1, fiche->ui->Nom}, {2, fiche->ui->Internet}, {3, fiche->ui->Nom}};
    for (const auto& [expected, edit] : hits) {
        QTest::mouseClick(find->ui->FindBtn, Qt::LeftButton);
        EXPECT_EQ(row(), expected);
        EXPECT_EQ(find->ui->FindBtn->text(), "Next");
        EXPECT_EQ(edit->selectedText().toUpper(), "DUPONT");
    }
    // Past the last hit: told, and the next search starts from the first entry.
    QTest::mouseClick(find->ui->FindBtn, Qt::LeftButton);
    EXPECT_EQ(boxes, QStringList{"Text not found."});
    EXPECT_EQ(find->ui->FindBtn->text(), "Find");
    QTest::mouseClick(find->ui->FindBtn, Qt::LeftButton);
    EXPECT_EQ(row(), 1);
    find->ui->Edit->setText("nobody");
    EXPECT_EQ(find->ui->FindBtn->text(), "Find");
    // Closing the card closes the find dialog.
    fiche->accept();
    EXPECT_FALSE(find->isVisible());
}

// The card is modal, as the station opens it: its find dialog stands beside it, kept above it by
// the window system, and keeps the keyboard while it shows the hits, so Next stays in reach.
TEST_F(AddressCard, FindStaysAboveTheCardWhileItShowsTheHits)
{
    open({"DUPONT", "Martin", "Dupont"});
    fiche->hide();
    fiche->setWindowModality(Qt::ApplicationModal);
    fiche->move(0, 0);
    fiche->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(fiche.get()));
    QTest::mouseClick(fiche->ui->FindBtn, Qt::LeftButton);
    TFind* find = liste->FindDialog();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(find));
    ASSERT_NE(find->windowHandle(), nullptr);
    EXPECT_EQ(find->windowHandle()->transientParent(), fiche->windowHandle());
    EXPECT_FALSE(find->frameGeometry().intersects(fiche->frameGeometry()));
    QTest::keyClicks(find->ui->Edit, "dupont");
    for (int hit = 0; hit < 2; ++hit) {
        QTest::mouseClick(find->ui->FindBtn, Qt::LeftButton);
        EXPECT_EQ(fiche->ui->Nom->selectedText().toUpper(), "DUPONT") << hit;
        EXPECT_EQ(QApplication::activeWindow(), find) << hit;
    }
    fiche->reject();
    EXPECT_FALSE(find->isVisible());
}

TEST_F(AddressCard, SortThroughTheDialog)
{
    open({"b", "B", "a", ""});
    liste->Book.ColonneTri = 3; // not offered by the list: nothing preselected
    int preselected = -2;
    liste->ExecDialog = [&](QDialog& d) {
        auto& tri = dynamic_cast<TFTri&>(d);
        preselected = tri.ui->ComboBox->currentIndex();
        tri.ui->ComboBox->setCurrentIndex(0);
        return int(QDialog::Accepted);
    };
    QTest::mouseClick(fiche->ui->SortBtn, Qt::LeftButton);
    EXPECT_EQ(preselected, -1);
    EXPECT_TRUE(liste->Book.TriFait);
    EXPECT_EQ(liste->Book.ColonneTri, Nom);
    QStringList names;
    for (int r = 1; r <= 4; ++r)
        names << liste->Grille().Cell(Nom, r);
    EXPECT_EQ(names, QStringList({"", "B", "a", "b"}));
    EXPECT_EQ(row(), 1);
    liste->ExecDialog = [](QDialog&) { return int(QDialog::Rejected); };
    QTest::mouseClick(fiche->ui->SortBtn, Qt::LeftButton);
    EXPECT_FALSE(liste->Book.TriFait);
}

TEST_F(AddressCard, ImportLinksFieldsAndRightClickUnlinks)
{
    open({"Kept"});
    writeBytes(dir.filePath("people.csv"), "Nom;Ville;Tel\r\nDupont;;01\r\nMartin;Paris;02");
    platform::dialogHooks().fileDialog = [&](QFileDialog& d) {
        d.selectNameFilter(d.nameFilters().value(1));
        d.selectFile(dir.filePath("people.csv"));
        return true;
    };
    QStringList shown;
    liste->ExecDialog = [&](QDialog& d) {
        auto& asso = dynamic_cast<TAsso&>(d);
        EXPECT_EQ(asso.ui->ListBox1->item(0)->text(), "<Surname>");
        // A field of the file clicked while no field of the book is chosen links nothing, though
        // the focus leaves the book's list a current line.
        asso.ui->ListBox1->setCurrentRow(0, QItemSelectionModel::NoUpdate);
        QTest::mouseClick(asso.ui->ListBox2->viewport(), Qt::LeftButton, {},
                          asso.ui->ListBox2->visualItemRect(asso.ui->ListBox2->item(2)).center());
        EXPECT_EQ(asso.Links, QList<int>(16, -1));
        // Surname takes field 1; Town takes field 2, then the right click takes it back.
        asso.ui->ListBox1->setCurrentRow(Nom);
        QTest::mouseClick(asso.ui->ListBox2->viewport(), Qt::LeftButton, {},
                          asso.ui->ListBox2->visualItemRect(asso.ui->ListBox2->item(0)).center());
        asso.ui->ListBox1->setCurrentRow(Ville);
        QTest::mouseClick(asso.ui->ListBox2->viewport(), Qt::LeftButton, {},
                          asso.ui->ListBox2->visualItemRect(asso.ui->ListBox2->item(1)).center());
        EXPECT_EQ(asso.Links[Ville], 1);
        QTest::mouseClick(asso.ui->ListBox2->viewport(), Qt::RightButton, {},
                          asso.ui->ListBox2->visualItemRect(asso.ui->ListBox2->item(1)).center());
        EXPECT_EQ(asso.Links[Ville], -1);
        // The second record has an empty town: it is listed by its number.
        QTest::mouseClick(asso.ui->FFBtn, Qt::LeftButton);
        for (int i = 0; i < asso.ui->ListBox2->count(); ++i)
            shown << asso.ui->ListBox2->item(i)->text();
        EXPECT_TRUE(asso.ui->FFBtn->isEnabled());
        QTest::mouseClick(asso.ui->EndBtn, Qt::LeftButton);
        EXPECT_EQ(asso.Record(), 2);
        EXPECT_FALSE(asso.ui->FFBtn->isEnabled());
        EXPECT_TRUE(asso.ui->RewBtn->isEnabled());
        return int(QDialog::Accepted);
    };
    QTest::mouseClick(fiche->ui->ImportBtn, Qt::LeftButton);
    EXPECT_EQ(shown, QStringList({"Dupont", "Field 2", "01"}));
    QStringList names, towns;
    for (int r = 1; r <= liste->Book.LastRow(); ++r) {
        names << liste->Grille().Cell(Nom, r);
        towns << liste->Grille().Cell(Ville, r);
    }
    EXPECT_EQ(names, QStringList({"Kept", "Nom", "Dupont", "Martin"}));
    EXPECT_EQ(towns, QStringList({"Town 1", "", "", ""}));
    EXPECT_EQ(row(), 4);
    EXPECT_EQ(fiche->windowTitle(), "Entry n°4/4");
    EXPECT_EQ(fiche->ui->TabSet->tabText(13), "N");

    // OK without a link is refused and the dialog stays.
    TAsso asso;
    const QList<QStringList> records{{"a"}};
    asso.Charger(DefaultTitles(), &records);
    asso.show();
    QTest::mouseClick(asso.ui->OKBtn, Qt::LeftButton);
    EXPECT_TRUE(asso.isVisible());
    EXPECT_EQ(boxes.last(), "You have not defined any association.");
}

// A record whose line stops short of the file's fields still lists them all, the missing ones
// as empty fields, so the fields the user links are the same on every record.
TEST_F(AddressCard, EveryImportedRecordListsTheFilesFields)
{
    TAsso asso;
    const QList<QStringList> records{{"Nom", "Ville", "Code"}, {"Dupont"}};
    asso.Charger(DefaultTitles(), &records);
    QTest::mouseClick(asso.ui->FFBtn, Qt::LeftButton);
    QStringList shown;
    for (int i = 0; i < asso.ui->ListBox2->count(); ++i)
        shown << asso.ui->ListBox2->item(i)->text();
    EXPECT_EQ(shown, QStringList({"Dupont", "Field 2", "Field 3"}));
}

TEST_F(AddressCard, ExportWarnsAndAsksAgainForAnotherName)
{
    open({"Dupont", "Martin"});
    liste->Grille().SetCell(Adresse1, 1, "1; rue Haute");
    liste->Grille().SetCell(Notes, 2, "a;b");
    QString chosen = dir.filePath("list.csv");
    platform::dialogHooks().fileDialog = [&](QFileDialog& d) {
        d.selectNameFilter(d.nameFilters().value(1));
        d.selectFile(chosen);
        return true;
    };
    // Two cells hold ";": the user is told and may stop.
    answerYes = false;
    QTest::mouseClick(fiche->ui->ExportBtn, Qt::LeftButton);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith("2 cell(s) hold the separator")) << boxes[0].toStdString();
    EXPECT_FALSE(QFile::exists(chosen));
    answerYes = true;
    QTest::mouseClick(fiche->ui->ExportBtn, Qt::LeftButton);
    // The lower-case extension is the filter's: the file confirmed is the file written.
    EXPECT_TRUE(readBytes(chosen).startsWith("Dupont;;;1; rue Haute;;"));
    EXPECT_EQ(readBytes(chosen).count("\r\n"), 2);

    // A name that becomes another existing file is asked about again.
    liste->Grille().SetCell(Adresse1, 1, "");
    liste->Grille().SetCell(Notes, 2, "");
    writeBytes(dir.filePath("other.CSV"), "keep");
    chosen = dir.filePath("other.txt");
    boxes.clear();
    answerYes = false;
    QTest::mouseClick(fiche->ui->ExportBtn, Qt::LeftButton);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].endsWith("other.CSV already exists. Do you want to replace it?")) << boxes[0].toStdString();
    EXPECT_EQ(readBytes(dir.filePath("other.CSV")), "keep");
}

TEST_F(AddressCard, BookFileAndSettingsAcrossARun)
{
    // A damaged book: the readable entries, a message, and the original kept at exit.
    const QByteArray damaged = crlfLines(QStringList{"4", "5"} + QStringList{"0", "1"} + DefaultTitles() +
                                         QStringList{"0", "2", "Kept"} + QStringList(15) + QStringList{"0", "1", "Lost"});
    writeBytes(dir.filePath("pravolis.rep"), damaged);
    {
        platform::TIniFile ini(dir.filePath("pravolis.ini"));
        ini.WriteInteger("Options", "LastRow", 9);
        ini.WriteInteger("Colonnes", "Col0", 120);
        ini.UpdateFile();
    }
    open({});
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains("pravolis.rep.bak")) << boxes[0].toStdString();
    EXPECT_EQ(liste->Book.NbFiches(), 1);
    EXPECT_EQ(fiche->ui->Nom->text(), "Kept");
    EXPECT_EQ(liste->Book.Grille.CopiesOf(1), 2);
    EXPECT_EQ(liste->ui->Grille->columnWidth(0), 120);
    QTest::mouseClick(fiche->ui->PlusBtn, Qt::LeftButton);
    EXPECT_EQ(fiche->windowTitle(), "Entry n°2/2");
    EXPECT_TRUE(liste->FormDestroy().isEmpty());
    EXPECT_EQ(readBytes(dir.filePath("pravolis.rep.bak")), damaged);
    const platform::TIniFile ini(dir.filePath("pravolis.ini"));
    EXPECT_EQ(ini.ReadInteger("Options", "LastRow", 0), 2);
    EXPECT_EQ(ini.ReadInteger("Colonnes", "Col0", 0), 120);
    EXPECT_EQ(ini.ReadInteger("Colonnes", "Col15", 0), 50);
    TListe again(dir.filePath("pravolis.ini"));
    EXPECT_EQ(again.Book.NbFiches(), 2);
    EXPECT_EQ(again.Grille().Row(), 2);
    EXPECT_EQ(again.Grille().Cell(Nom, 1), "Kept");
}

TEST_F(AddressCard, PrintsTheCardAsOnePage)
{
    open({"Dupont"});
    platform::PdfPrinter printer(dir.filePath("card.pdf"));
    fiche->Printer = &printer;
    int dialogs = 0;
    fiche->RunPrintDialog = [&] { return ++dialogs > 1; };
    fiche->hide();
    fiche->show();
    QTest::mouseClick(fiche->ui->PrintBtn, Qt::LeftButton);
    EXPECT_FALSE(QFile::exists(dir.filePath("card.pdf")));
    QTest::mouseClick(fiche->ui->PrintBtn, Qt::LeftButton);
    EXPECT_EQ(printer.Title(), platform::Application::Title() + " : Entry");
    EXPECT_TRUE(fiche->ui->Panel1->isVisible());
    // One page, the card at its size on screen in its top-left corner and nothing elsewhere.
    QProcess info;
    info.start("pdfinfo", {dir.filePath("card.pdf")});
    ASSERT_TRUE(info.waitForFinished());
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+1\\n")));
    QProcess render;
    render.start("pdftoppm", {"-r", "48", "-png", "-singlefile", dir.filePath("card.pdf"), dir.filePath("card")});
    ASSERT_TRUE(render.waitForFinished());
    const QImage page(dir.filePath("card.png"));
    ASSERT_FALSE(page.isNull());
    const int w = fiche->width() * 48 / fiche->logicalDpiX();
    const int h = fiche->height() * 48 / fiche->logicalDpiY();
    EXPECT_GT(testsupport::darkPixels(page, 0, 0, w, h), w * h / 50);
    EXPECT_EQ(testsupport::darkPixels(page, w + 4, 0, page.width(), page.height()), 0);
    EXPECT_EQ(testsupport::darkPixels(page, 0, h + 4, page.width(), page.height()), 0);
}

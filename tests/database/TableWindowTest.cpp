#include "database/window/TwFiche.h"
#include "database/window/TwFind.h"
#include "database/window/TwForm1.h"
#include "database/window/TwReplace.h"
#include "ui_TwFiche.h"
#include "ui_TwFind.h"
#include "ui_TwForm1.h"
#include "ui_TwReplace.h"

#include "MultiLang/MLBase.h"
#include "TestSupport.h"

#include <QFontInfo>
#include "platform/PdfPrinter.h"
#include "platform/TIniFile.h"
#include "platform/window/Dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QFontDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace database;

namespace {

// The database window on a settings file of its own, dated 1 March 2024, with message boxes
// answered by `answer` and their texts kept in `messages`.
struct Fixture {
    QTemporaryDir dir;
    platform::DialogHooksGuard guard;
    QStringList messages;
    QMessageBox::StandardButton answer = QMessageBox::Yes;
    std::unique_ptr<TwForm1> w;

    const int language = GlobalLanguage();

    Fixture()
    {
        SetGlobalLanguage(1);
        platform::dialogHooks().messageBox = [this](QMessageBox& box) {
            messages << box.text();
            QAbstractButton* b = box.button(answer);
            (b != nullptr ? b : box.buttons().first())->click();
        };
        w = std::make_unique<TwForm1>(dir.filePath("p.ini"), dir.path());
        w->Today = [] { return QDate(2024, 3, 1); };
        w->MajTitre();
    }
    ~Fixture() { SetGlobalLanguage(language); }
    DbTable& t() { return w->Table; }
    TwFiche& card() { return *w->wFiche; }
    QString date() const { return QLocale().toString(QDate(2024, 3, 1), QLocale::ShortFormat); }
    // Answers the next file dialog with `path`.
    void chooseFile(const QString& path)
    {
        platform::dialogHooks().fileDialog = [path](QFileDialog& d) {
            d.selectFile(path);
            return true;
        };
    }
};

} // namespace

// A new window: ten fields in the headers, one empty record, sorting off; adding a record counts
// it in the caption, makes it current on the grid and the card, and turns sorting on.
TEST(TableWindow, NewTableAndRecordCount)
{
    Fixture f;
    TwForm1& w = *f.w;
    w.show();
    EXPECT_EQ(w.windowTitle(), "Database : UNNAMED file (1 entry) - " + f.date());
    EXPECT_FALSE(w.ui->SortBtn->isEnabled());
    EXPECT_EQ(w.ui->Grille->model()->columnCount(), 10);
    EXPECT_EQ(w.ui->Grille->model()->rowCount(), 1);
    EXPECT_EQ(w.ui->Grille->model()->headerData(9, Qt::Horizontal).toString(), "Field 10");
    EXPECT_EQ(w.ui->Grille->columnWidth(0), 64);
    QTest::mouseClick(w.ui->PlusBtn, Qt::LeftButton);
    EXPECT_EQ(w.windowTitle(), "Database : UNNAMED file (2 entries) - " + f.date());
    EXPECT_TRUE(w.ui->SortBtn->isEnabled());
    EXPECT_EQ(w.ui->Grille->currentIndex().row(), 1);
    EXPECT_EQ(f.card().windowTitle(), "Entry n°2/2");
    EXPECT_TRUE(f.t().Modifie);
}

// On the card, Return presses the focused button as Space does, and Escape closes the card.
TEST(TableWindow, CardKeyboard)
{
    Fixture f;
    TwForm1& w = *f.w;
    f.t().AddRecord();
    w.GoTo(1, 1);
    w.FicheBtnClick();
    TwFiche& card = f.card();
    ASSERT_TRUE(QTest::qWaitFor([&] { return card.isVisible(); }));
    card.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &card; }));
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        w.GoTo(1, 2);
                card.ui->BeginBtn->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(QTest::qWaitFor([&] { return card.ui->BeginBtn->hasFocus(); }));
        QTest::keyClick(card.ui->BeginBtn, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        EXPECT_EQ(f.t().Grille.Row(), 1) << key;
        EXPECT_TRUE(card.isVisible());
    }
    QTest::keyClick(card.Edits[0], Qt::Key_Escape);
    EXPECT_FALSE(card.isVisible());
}

// The window opens with the keyboard in its grid.
TEST(TableWindow, OpensWithKeyboardInGrid)
{
    Fixture f;
    f.w->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.w.get()));
    EXPECT_EQ(QApplication::focusWidget(), f.w->ui->Grille);
}

// Typing on the card changes the cell at once and marks the table; showing a record does not.
// An edit on the grid reaches the card.
TEST(TableWindow, CardEditsAndGridEdits)
{
    Fixture f;
    TwForm1& w = *f.w;
    f.t().AddRecord();
    f.t().SetCell(0, 1, "first");
    f.t().Modifie = false;
    w.GoTo(0, 1);
    w.FicheBtnClick();
    EXPECT_EQ(f.card().Edits[0]->text(), "first");
    EXPECT_FALSE(f.t().Modifie);
    QTest::keyClicks(f.card().Edits[1], "Smith");
    EXPECT_EQ(f.t().Grille.Cell(1, 1), "Smith");
    EXPECT_TRUE(f.t().Modifie);
    w.ui->Grille->model()->setData(w.ui->Grille->model()->index(0, 2), "typed");
    EXPECT_EQ(f.card().Edits[2]->text(), "typed");
    EXPECT_TRUE(f.card().Edits[9]->isVisible());
    EXPECT_FALSE(f.card().Edits[10]->isVisible());
    EXPECT_EQ(f.card().Edits[0]->width(), 74);
    // The navigation stops at both ends and says so.
    EXPECT_FALSE(f.card().ui->BeginBtn->isEnabled());
    EXPECT_TRUE(f.card().ui->FFBtn->isEnabled());
    QTest::mouseClick(f.card().ui->EndBtn, Qt::LeftButton);
    EXPECT_EQ(f.card().NumeroFiche, 2);
    EXPECT_FALSE(f.card().ui->FFBtn->isEnabled());
    QTest::mouseClick(f.card().ui->RewBtn, Qt::LeftButton);
    EXPECT_EQ(w.Table.Grille.Row(), 1);

    // A record number left past the table: typing writes nowhere rather than growing it.
    f.card().NumeroFiche = 3;
    QTest::keyClicks(f.card().Edits[0], "x");
    EXPECT_EQ(f.t().RowCount(), 3);
    EXPECT_EQ(f.t().Grille.Cell(0, 1), "first");

    // F1 asks for the database's help page, from the window and from the card.
    QList<int> contexts;
    w.ShowHelp = [&](int context) { contexts << context; };
    w.show();
    for (QWidget* window : {static_cast<QWidget*>(&w), static_cast<QWidget*>(&f.card())}) {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window->focusWidget() != nullptr ? window->focusWidget() : window, Qt::Key_F1);
    }
    EXPECT_EQ(contexts, QList<int>({4, 4}));
}

// Erasing all entries refreshes the card: a stale edit would otherwise write the old text back.
TEST(TableWindow, EraseAllRefreshesTheCard)
{
    Fixture f;
    f.t().SetCell(0, 1, "kept?");
    f.w->AfficherFiche();
    f.t().Modifie = false;
    f.w->Touteffacer1Click();
    EXPECT_EQ(f.messages.value(0), "Erase all ?");
    EXPECT_EQ(f.card().Edits[0]->text(), "");
    EXPECT_TRUE(f.t().Modifie);
    QTest::keyClicks(f.card().Edits[1], "x");
    EXPECT_EQ(f.t().Grille.Cell(0, 1), "");
}

// Dragging a caption snaps it and its edit, never into the tool bar; the tab order follows; the
// layout is saved with the table and comes back when it is opened.
TEST(TableWindow, CardLayoutSurvivesSaveAndOpen)
{
    Fixture f;
    TwForm1& w = *f.w;
    w.FicheBtnClick();
    QLabel* third = f.card().Labels[2];
    ASSERT_EQ(third->pos(), QPoint(8, 136));
    f.t().Modifie = false;
    QTest::mousePress(third, Qt::LeftButton, {}, {3, 3});
    EXPECT_TRUE(f.t().Modifie);
    QMouseEvent move(QEvent::MouseMove, QPointF(3 - 43, 3 - 200), third->mapToGlobal(QPointF(-40, -197)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(third, &move);
    EXPECT_EQ(third->pos(), QPoint(-35, 40));
    QTest::mouseRelease(third, Qt::LeftButton, {}, {3, 3});
    EXPECT_EQ(third->pos(), QPoint(-32, 40));
    EXPECT_EQ(f.card().Edits[2]->pos(), QPoint(-32, 56));
    EXPECT_EQ(f.t().Card.Top[2], 40);
    // Field 3 comes first now, left of field 1: Tab goes from it to field 1.
    QWidget* next = f.card().Edits[2]->nextInFocusChain();
    while (!(next->focusPolicy() & Qt::TabFocus))
        next = next->nextInFocusChain();
    EXPECT_EQ(next, f.card().Edits[0]);

    const QString path = f.dir.filePath("layout.FIC");
    f.chooseFile(path);
    w.Enregistrersous1Click();
    EXPECT_FALSE(f.t().Modifie);
    EXPECT_EQ(w.windowTitle(), "Database : File layout (1 entry) - " + f.date());
    w.Nouveau1Click();
    EXPECT_EQ(third->pos(), QPoint(8, 136));
    f.chooseFile(path);
    w.Ouvrir1Click();
    EXPECT_EQ(third->pos(), QPoint(-32, 40));
    EXPECT_EQ(f.t().NomFichier, path);
}

// A damaged file is refused with a message, and the table, its name and its flag stay.
TEST(TableWindow, DamagedFileKeepsTheTable)
{
    Fixture f;
    const QString bad = f.dir.filePath("bad.FIC");
    testsupport::writeBytes(bad, "41\r\n2\r\n0\r\n327\r\n450\r\n");
    f.t().SetCell(0, 1, "mine");
    f.answer = QMessageBox::No;
    f.chooseFile(bad);
    f.w->Ouvrir1Click();
    ASSERT_EQ(f.messages.size(), 2); // the save question, then the refusal
    EXPECT_TRUE(f.messages[1].contains("41 fields")) << f.messages[1].toStdString();
    EXPECT_EQ(f.t().Grille.Cell(0, 1), "mine");
    EXPECT_TRUE(f.t().Modifie);
    EXPECT_TRUE(f.t().NomFichier.isEmpty());
    // At start a remembered file that cannot be read leaves a new, unnamed table.
    f.w->OpenAtStart(bad);
    EXPECT_TRUE(f.t().NomFichier.isEmpty());
    {
        TIniFile ini(f.dir.filePath("p.ini"));
        ini.WriteString("wDernierFichier", "Fichier", bad);
    }
    TwForm1 next(f.dir.filePath("p.ini"), f.dir.path());
    EXPECT_TRUE(next.Table.NomFichier.isEmpty());
    next.OpenAtStart();
    EXPECT_TRUE(next.Table.NomFichier.isEmpty());
    EXPECT_EQ(next.Table.ColCount(), 10);
}

// The sort dialog offers the fields, the first one when the remembered field is gone; a sort
// marks the table and is remembered for the mailing.
TEST(TableWindow, SortDialog)
{
    Fixture f;
    for (const char* name : {"b", "a", "c"}) {
        f.t().AddRecord();
        f.t().SetCell(1, f.t().NbFiches(), name);
    }
    f.t().DeleteRecords(1, 1);
    f.t().ColonneTri = 12;
    f.t().Modifie = false;
    int preselected = -1;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* combo = dialog->findChild<QComboBox*>("ComboBox");
        preselected = combo->currentIndex();
        combo->setCurrentIndex(1);
        dialog->accept();
    });
    f.w->SortBtnClick();
    EXPECT_EQ(preselected, 0);
    EXPECT_TRUE(f.t().TriFait);
    EXPECT_EQ(f.t().ColonneTri, 1);
    EXPECT_TRUE(f.t().Modifie);
    EXPECT_EQ(f.t().Grille.Cell(1, 1), "a");
    EXPECT_EQ(f.t().Grille.Cell(1, 3), "c");
    EXPECT_EQ(f.card().NumeroFiche, 1);
}

// Closing with "No" to the save question brings the table back to its file; the window's and
// the card's settings are written.
TEST(TableWindow, CloseWithoutSavingRestoresTheFile)
{
    Fixture f;
    TwForm1& w = *f.w;
    const QString path = f.dir.filePath("kept.FIC");
    f.t().SetCell(0, 1, "saved");
    f.t().SaveTo(path);
    f.t().SetCell(0, 1, "dropped");
    bool closed = false;
    w.OnClosed = [&] { closed = true; };
    w.show();
    f.answer = QMessageBox::No;
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(closed);
    EXPECT_EQ(f.t().Grille.Cell(0, 1), "saved");
    EXPECT_FALSE(f.t().Modifie);
    const TIniFile ini(f.dir.filePath("p.ini"));
    EXPECT_EQ(ini.ReadString("wDernierFichier", "Fichier", {}), path);
    EXPECT_EQ(ini.ReadInteger("wFiche", "x", -1), f.card().pos().x());
    EXPECT_TRUE(ini.ValueExists("wMainW", "w"));
    EXPECT_TRUE(ini.ValueExists("wOptions", "Montrer fiche au démarrage"));

    // Cancel keeps the window open.
    w.show();
    f.t().SetCell(0, 1, "again");
    f.answer = QMessageBox::Cancel;
    EXPECT_FALSE(w.close());
    EXPECT_EQ(f.t().Grille.Cell(0, 1), "again");
}

// Deleting the card's record asks first and removes exactly that record.
TEST(TableWindow, DeleteFromTheCard)
{
    Fixture f;
    for (int i = 0; i < 3; ++i)
        f.t().AddRecord();
    for (int r = 1; r <= 4; ++r)
        f.t().SetCell(0, r, QString::number(r));
    f.w->GoTo(0, 3);
    QTest::mouseClick(f.card().ui->MoinsBtn, Qt::LeftButton);
    EXPECT_EQ(f.messages.value(0), "Do you really want to suppress this entry ?");
    EXPECT_EQ(f.t().NbFiches(), 3);
    EXPECT_EQ(f.t().Grille.Cell(0, 3), "4");
    EXPECT_EQ(f.w->windowTitle(), "Database : UNNAMED file (3 entries) - " + f.date());
}

// Field commands from the window: the 41st field is refused with its message; a rename through
// the header's right button.
TEST(TableWindow, FieldCommands)
{
    Fixture f;
    for (int i = 0; i < 30; ++i)
        f.w->CPlusBtnClick();
    EXPECT_EQ(f.t().ColCount(), 40);
    EXPECT_TRUE(f.card().Edits[39]->isVisible() || !f.card().isVisible());
    f.w->CPlusBtnClick();
    EXPECT_EQ(f.messages.value(0), "40 fields maximum.");
    EXPECT_EQ(f.t().ColCount(), 40);
    platform::dialogHooks().inputDialog = [](QInputDialog& d) {
        d.setTextValue("Town");
        return true;
    };
    f.w->show();
    QHeaderView* header = f.w->ui->Grille->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::RightButton, {}, {header->sectionViewportPosition(1) + 5, 5});
    EXPECT_EQ(f.t().FieldName(1), "Town");
    EXPECT_EQ(f.card().Labels[1]->text(), "Town");
}

// Find moves the grid and selects on the card; replace puts the replacement as typed; replace all
// reports its count once.
TEST(TableWindow, FindAndReplaceDialogs)
{
    Fixture f;
    TwForm1& w = *f.w;
    f.t().AddRecord();
    f.t().SetCell(1, 1, "Lyon");
    f.t().SetCell(2, 2, "Hello");
    w.GoTo(0, 1);
    w.FindBtnClick();
    TwFind& find = *w.wFind;
    QTest::keyClicks(find.ui->Edit, "LL");
    QTest::mouseClick(find.ui->FindBtn, Qt::LeftButton);
    EXPECT_EQ(f.t().Grille.Row(), 2);
    EXPECT_EQ(f.t().Grille.Col(), 2);
    EXPECT_EQ(f.card().Edits[2]->selectedText(), "ll");
    EXPECT_EQ(find.ui->FindBtn->text(), "Next");

    w.Remplacer1Click();
    EXPECT_FALSE(find.isVisible());
    TwReplace& rep = *w.wReplace;
    QTest::keyClicks(rep.ui->Edit, "l");
    QTest::keyClicks(rep.ui->Edit1, "x");
    QTest::mouseClick(rep.ui->FindBtn, Qt::LeftButton);
    EXPECT_EQ(f.t().Grille.Row(), 1);
    QTest::mouseClick(rep.ui->ReplaceBtn, Qt::LeftButton);
    EXPECT_EQ(f.t().Grille.Cell(1, 1), "xyon");
    EXPECT_EQ(f.card().Edits[1]->selectedText(), "x");
    QTest::mouseClick(rep.ui->FindBtn, Qt::LeftButton);
    EXPECT_EQ(f.t().Grille.Row(), 2);
    EXPECT_EQ(f.card().Edits[2]->selectedText(), "l");
    // Changing the replacement starts again from the first record.
    QTest::keyClicks(rep.ui->Edit1, "y");
    EXPECT_FALSE(rep.ui->ReplaceBtn->isEnabled());
    QTest::mouseClick(rep.ui->FindBtn, Qt::LeftButton);
    // The last text follows the find text only: a hit still says "Next".
    EXPECT_EQ(rep.ui->FindBtn->text(), "Next");
    QTest::mouseClick(rep.ui->AllReplaceBtn, Qt::LeftButton);
    EXPECT_EQ(f.messages.value(0), "Global replace completed. 2 changes made.");
    EXPECT_EQ(f.t().Grille.Cell(2, 2), "Hexyxyo");
    EXPECT_FALSE(rep.ui->ReplaceBtn->isEnabled());
}

// The keyboard goes from the find text to the replacement before reaching the buttons.
TEST(TableWindow, ReplaceDialogTabsFromFindToReplacement)
{
    Fixture f;
    f.w->Remplacer1Click();
    TwReplace& rep = *f.w->wReplace;
    rep.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &rep; }));
    rep.ui->Edit->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return rep.ui->Edit->hasFocus(); }));
    QTest::keyClicks(rep.ui->Edit, "l");
    QTest::keyClick(rep.ui->Edit, Qt::Key_Tab);
    EXPECT_TRUE(rep.ui->Edit1->hasFocus());
    QTest::keyClick(rep.ui->Edit1, Qt::Key_Tab);
    EXPECT_TRUE(rep.ui->FindBtn->hasFocus());
}

// Export writes the records as the filter says, under the name whose overwrite was confirmed;
// import goes through the association and fills the blank record first.
TEST(TableWindow, ExportAndImport)
{
    Fixture f;
    TwForm1& w = *f.w;
    f.t().SetCell(0, 1, "Durand");
    f.t().SetCell(2, 1, "Lyon");
    // "out.txt" under the CSV filter is written as out.CSV, which exists: asked again, refused.
    const QString csv = f.dir.filePath("out.CSV");
    testsupport::writeBytes(csv, "old");
    platform::dialogHooks().fileDialog = [&](QFileDialog& d) {
        d.selectNameFilter(d.nameFilters().value(1));
        d.selectFile(f.dir.filePath("out.txt"));
        return true;
    };
    f.answer = QMessageBox::No;
    w.ExportBtnClick();
    EXPECT_EQ(f.messages.value(0), "out.CSV already exists. Do you want to replace it ?");
    EXPECT_EQ(testsupport::readBytes(csv), "old");
    f.answer = QMessageBox::Yes;
    w.ExportBtnClick();
    EXPECT_EQ(testsupport::readBytes(csv), "Durand;;Lyon;;;;;;;\r\n");
    EXPECT_FALSE(QFile::exists(f.dir.filePath("out.txt")));

    // Back in through the association: into a new table, whose blank record takes the first line.
    f.t().New("Field ");
    testsupport::writeBytes(f.dir.filePath("in.csv"), "a;b\nc;d");
    f.chooseFile(f.dir.filePath("in.csv"));
    QStringList titles;
    w.Associate = [&](const QStringList& t, const QList<QStringList>& records, QList<int>& links) {
        titles = t;
        EXPECT_EQ(records.size(), 2);
        links = {1, 0};
        return true;
    };
    w.ImportBtnClick();
    EXPECT_EQ(titles.size(), 10);
    EXPECT_EQ(f.t().NbFiches(), 2);
    EXPECT_EQ(f.t().Grille.Rows(2).mid(0, 2), QStringList({"d", "c"}));
    EXPECT_EQ(w.windowTitle(), "Database : UNNAMED file (2 entries) - " + f.date());
    EXPECT_EQ(f.card().NumeroFiche, 2);

    // Five lines, the third ending in a carriage return alone: five records, none glued.
    f.t().New("Field ");
    testsupport::writeBytes(f.dir.filePath("mac.csv"), "1;a\r\n2;b\r\n3;c\r4;d\r\n5;e\r\n");
    f.chooseFile(f.dir.filePath("mac.csv"));
    w.Associate = [&](const QStringList&, const QList<QStringList>&, QList<int>& links) {
        links = {0, 1};
        return true;
    };
    w.ImportBtnClick();
    ASSERT_EQ(f.t().NbFiches(), 5);
    for (int r = 1; r <= 5; ++r)
        EXPECT_EQ(f.t().Grille.Rows(r).mid(0, 3), QStringList({QString::number(r), QString(QChar(u'a' + r - 1)), QString()}));
    EXPECT_EQ(w.windowTitle(), "Database : UNNAMED file (5 entries) - " + f.date());
}

namespace {

// What a run of a command-line tool wrote.
QString toolOutput(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    EXPECT_TRUE(p.waitForFinished());
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

// The list print goes to the window's printer, the one the whole program shares: its dialog opens
// on the file the previous print chose and prints there, on landscape pages, and leaves the
// printer as it found it (portrait here) for the other prints. With "selection" only the selected records and fields
// print, the title saying so; Cancel in either dialog prints nothing.
TEST(TableWindow, PrintsTheListOnTheSharedPrinter)
{
    Fixture f;
    while (f.t().RowCount() < 4)
        f.t().AddRecord();
    f.w->MajTitre();
    const QStringList names{"Durand", "Martin", "Petit"};
    for (int r = 1; r <= 3; ++r) {
        f.t().SetCell(0, r, names[r - 1]);
        f.t().SetCell(1, r, "Town" + QString::number(r));
    }
    platform::PdfPrinter printer(f.dir.filePath("station.pdf"));
    f.w->Printer = &printer;
    struct Case {
        const char* name;
        QString chosenFile; // set in the print dialog; empty keeps the printer's
        bool selection;
        bool printOk;
        bool fontOk;
        QString openedOn; // the file the dialog opened on
        QStringList printed;
        QStringList notPrinted;
    };
    const Case cases[] = {
        {"the station's file", {}, false, true, true, "station.pdf", {"(3 entries)", "Durand Town1", "Petit Town3"}, {}},
        {"a file of its own", "list.pdf", false, true, true, "station.pdf", {"Martin Town2"}, {}},
        {"again, the previous choice", {}, true, true, true, "list.pdf", {"(selection)", "Martin"}, {"Durand", "Town2"}},
        {"print dialog cancelled", {}, false, false, true, "list.pdf", {}, {}},
        {"font dialog cancelled", {}, false, true, false, "list.pdf", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString openedOn;
        f.w->RunPrintDialog = [&](QWidget*, bool offerSelection) {
            EXPECT_TRUE(offerSelection);
            openedOn = QFileInfo(printer.FilePath()).fileName();
            if (!c.chosenFile.isEmpty())
                printer.SetFilePath(f.dir.filePath(c.chosenFile));
            return platform::TSetupChoice{c.printOk, c.selection ? platform::prSelection : platform::prAllPages};
        };
        platform::dialogHooks().fontDialog = [&](QFontDialog&) { return c.fontOk; };
        // The selection: the second record's first field.
        f.w->GoTo(0, 2);
        QFile::remove(printer.FilePath());
        f.w->PrintBtnClick();
        EXPECT_EQ(openedOn, c.openedOn);
        EXPECT_EQ(printer.Orientation(), platform::poPortrait);
        const QString pdf = printer.FilePath();
        if (c.printed.isEmpty()) {
            EXPECT_FALSE(QFile::exists(pdf));
            continue;
        }
        const QString text = toolOutput("pdftotext", {"-layout", pdf, "-"}).simplified();
        for (const QString& p : c.printed)
            EXPECT_TRUE(text.contains(p)) << p.toStdString() << " in " << text.toStdString();
        for (const QString& p : c.notPrinted)
            EXPECT_FALSE(text.contains(p)) << p.toStdString() << " in " << text.toStdString();
        const QRegularExpression size("Page size:\\s+([0-9.]+) x ([0-9.]+)");
        const QRegularExpressionMatch m = size.match(toolOutput("pdfinfo", {pdf}));
        ASSERT_TRUE(m.hasMatch());
        EXPECT_GT(m.captured(1).toDouble(), m.captured(2).toDouble()); // landscape
    }
}

// The list's landscape pages are its own: a printer the user set to landscape stays so, one in
// portrait stays in portrait, printed or not.
TEST(TableWindow, TheListPrintLeavesThePrintersOrientationAsItWas)
{
    Fixture f;
    f.t().SetCell(0, 1, "Durand");
    platform::PdfPrinter printer(f.dir.filePath("list.pdf"));
    f.w->Printer = &printer;
    platform::dialogHooks().fontDialog = [](QFontDialog&) { return true; };
    for (const platform::TPrinterOrientation own : {platform::poLandscape, platform::poPortrait})
        for (const bool print : {true, false}) {
            SCOPED_TRACE(std::string(own == platform::poLandscape ? "landscape" : "portrait") +
                         (print ? " printed" : " cancelled"));
            printer.SetOrientation(own);
            QFile::remove(printer.FilePath());
            f.w->RunPrintDialog = [&](QWidget*, bool) { return platform::TSetupChoice{print, platform::prAllPages}; };
            f.w->PrintBtnClick();
            EXPECT_EQ(QFile::exists(printer.FilePath()), print);
            EXPECT_EQ(printer.Orientation(), own);
        }
}

// A list longer than a page goes on over as many pages as it needs, every line printed once.
TEST(TableWindow, LongListGoesOnOverPages)
{
    Fixture f;
    while (f.t().RowCount() < 121)
        f.t().AddRecord();
    for (int r = 1; r <= 120; ++r)
        f.t().SetCell(0, r, "Line" + QString::number(r) + "x");
    platform::PdfPrinter printer(f.dir.filePath("long.pdf"));
    f.w->Printer = &printer;
    f.w->RunPrintDialog = [](QWidget*, bool) { return platform::TSetupChoice{true, platform::prAllPages}; };
    platform::dialogHooks().fontDialog = [](QFontDialog&) { return true; };
    f.w->PrintBtnClick();
    const QString pages = QRegularExpression("Pages:\\s+(\\d+)").match(toolOutput("pdfinfo", {printer.FilePath()})).captured(1);
    EXPECT_GE(pages.toInt(), 3);
    const QString text = toolOutput("pdftotext", {printer.FilePath(), "-"});
    for (int r = 1; r <= 120; ++r)
        EXPECT_EQ(text.count("Line" + QString::number(r) + "x"), 1) << r;
}

// The window opens inside the screen's available area, frame included: at first as large as the
// area allows, a saved place taller than the screen cut to it. Closed and opened again, in this
// run or the next, it stands where it stood.
TEST(TableWindow, ReopensWhereItStoodInsideTheScreen)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    struct Case {
        const char* name;
        QByteArray settings;
    };
    const Case cases[] = {
        {"first start", {}},
        {"saved as tall as the screen", "[wMainW]\r\nx=0\r\ny=20\r\nw=500\r\nh=" + QByteArray::number(area.height()) + "\r\n"},
        {"saved inside", "[wMainW]\r\nx=30\r\ny=20\r\nw=500\r\nh=400\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString ini = dir.filePath("p.ini");
        testsupport::writeBytes(ini, c.settings);
        QRect shown;
        for (int run = 0; run < 2; ++run) {
            TwForm1 w(ini, dir.path());
            for (int opening = 0; opening < 2; ++opening) {
                w.show();
                ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
                EXPECT_TRUE(area.contains(w.frameGeometry())) << run << opening;
                if (shown.isNull())
                    shown = w.frameGeometry();
                EXPECT_EQ(w.frameGeometry(), shown) << run << opening;
                w.close();
            }
        }
    }
}

// The list print's font dialog starts from the grid's font as it is shown: upright, and the
// list prints upright.
TEST(TableWindow, TheListPrintsFontStartsFromTheGridsUprightFont)
{
    Fixture f;
    f.t().SetCell(0, 1, "Durand");
    platform::PdfPrinter printer(f.dir.filePath("font.pdf"));
    f.w->Printer = &printer;
    f.w->RunPrintDialog = [](QWidget*, bool) { return platform::TSetupChoice{true, platform::prAllPages}; };
    QFont shown;
    platform::dialogHooks().fontDialog = [&](QFontDialog& d) {
        shown = d.currentFont();
        return true;
    };
    f.w->PrintBtnClick();
    EXPECT_FALSE(shown.italic()) << shown.family().toStdString() << " " << shown.styleName().toStdString();
    EXPECT_EQ(shown.family(), QFontInfo(f.w->ui->Grille->font()).family());
    const QString fonts = toolOutput("pdffonts", {printer.FilePath()});
    EXPECT_FALSE(fonts.contains("Oblique") || fonts.contains("Italic")) << fonts.toStdString();
}

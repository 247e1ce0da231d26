// The print of the sheet page from the station: the print dialog driven as a user, the job on
// the program's printer (a PDF file here), and what the user is told when something fails.
#include "SheetPrintSupport.h"

#include "MultiLang/MLBase.h"
#include "database/DbTable.h"
#include "platform/Rounding.h"
#include "platform/window/Application.h"
#include "platform/window/Dialogs.h"
#include "platform/window/QtPrinter.h"
#include "station/window/TModEtik.h"
#include "station/window/TPrintDial.h"
#include "ui_TModEtik.h"
#include "ui_TPrintDial.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace sheettest;
using namespace station;

namespace {

class StationPrint : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_language = GlobalLanguage();
        platform::dialogHooks().messageBox = [this](QMessageBox& box) {
            boxes << box.text();
            QAbstractButton* answer = box.button(QMessageBox::Ok);
            if (answer == nullptr)
                answer = box.button(QMessageBox::Yes);
            answer->click();
        };
        platform::Application::SetErrorHook([this](const QString& m) { errors << m; });
        station = std::make_unique<TModEtik>(f.folders, f.dir.filePath("pravolis.ini"));
        station->ShowAddressCard = [] {};
        station->FormCreate();
        station->show();
        boxes.clear();
        for (int c = 1; c <= MaxPageCells; ++c)
            for (int r = 1; r <= MaxPageCells; ++r)
                station->Station.Planche.SetCell(c, r, f.page.Cell(c, r));
        station->Station.Planche.FormatPage = f.page.FormatPage;
        station->Station.Planche.LabelWidthPx = f.page.LabelWidthPx;
        station->Station.Planche.LabelHeightPx = f.page.LabelHeightPx;
        station->ListBoxClick();
        station->EnablePrintCommands();
        pdf = f.dir.filePath("station.pdf");
        station->Printer().SetOutputFile(pdf);
    }
    void TearDown() override
    {
        platform::Application::SetErrorHook({});
        SetGlobalLanguage(m_language);
    }

    // Prints from the station, the dialog answered by `answer` once it is shown.
    void print(const std::function<void(TPrintDial&)>& answer)
    {
        bool answered = false;
        QTimer::singleShot(0, [&] {
            auto* dial = qobject_cast<TPrintDial*>(QApplication::activeModalWidget());
            ASSERT_NE(dial, nullptr);
            answered = true;
            answer(*dial);
        });
        QTest::mouseClick(station->ui->PrintBtn, Qt::LeftButton);
        EXPECT_TRUE(answered);
    }

    SheetFixture f;
    std::unique_ptr<TModEtik> station;
    QString pdf;
    QStringList boxes, errors;
    platform::DialogHooksGuard hooks;

private:
    int m_language = 0;
};

} // namespace

TEST_F(StationPrint, CopiesFromTheDialogAndTheUnreadableModelsToldOnceAfterTheJob)
{
    EXPECT_TRUE(station->ui->PrintBtn->isEnabled());
    EXPECT_TRUE(station->ui->ImprimerItem->isEnabled());
    EXPECT_TRUE(station->ui->ConfigBtn->isEnabled());
    QImage picture;
    print([&](TPrintDial& d) {
        EXPECT_EQ(d.windowTitle(), "Print");
        EXPECT_EQ(d.Copies(), 1);
        picture = d.ui->Page->pixmap().toImage();
        // A copy count left at 0 becomes 1; the edit then takes 2.
        d.ui->SpinEdit->setFocus();
        d.ui->SpinEdit->selectAll();
        QTest::keyClicks(d.ui->SpinEdit, "0");
        d.ui->CancelBtn->setFocus();
        EXPECT_EQ(d.Copies(), 1);
        d.ui->SpinEdit->setValue(2);
        QTest::mouseClick(d.ui->OKBtn, Qt::LeftButton);
    });
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    const QList<Word> words = wordsOf(pdf);
    EXPECT_EQ(pageCount(words), 2) << "a PDF file holds its copies as pages";
    EXPECT_FALSE(SheetFixture::boxOf(words, "N3", 2).isNull());
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains("broken (1, 3)"));
    EXPECT_FALSE(boxes[0].contains("gone")) << "a missing file stays silent";
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    // The dialog's picture shows the sheet, at the frame's scale.
    EXPECT_EQ(picture.width(), platform::R(21000 * (297.0 - 16) / 33500));
    EXPECT_GT(testsupport::darkPixels(picture, 0, 0, picture.width() - 1, picture.height() - 1), 0);
}

TEST_F(StationPrint, CancelSendsNothing)
{
    print([](TPrintDial& d) { QTest::mouseClick(d.ui->CancelBtn, Qt::LeftButton); });
    EXPECT_FALSE(QFileInfo::exists(pdf));
    EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(StationPrint, NoPrinterIsShownAndLeavesNoJob)
{
    station->Printer().SetPrinterName(QString());
    print([](TPrintDial& d) { QTest::mouseClick(d.ui->OKBtn, Qt::LeftButton); });
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("No printer")) << errors[0].toStdString();
    EXPECT_FALSE(station->Printer().Printing());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(StationPrint, PrinterSetupFromTheDialogIsPortraitAndSavesOnlyAChangedNamedDesign)
{
    int setups = 0;
    station->RunPrinterSetup = [&] {
        ++setups;
        EXPECT_EQ(station->Printer().Orientation(), platform::poPortrait);
        return true;
    };
    station->Paysage() = true;
    const QString file = station->Station.SelectedPath();
    ASSERT_FALSE(file.isEmpty());
    const QByteArray before = testsupport::readBytes(file);
    print([&](TPrintDial& d) {
        QTest::mouseClick(d.ui->Label2, Qt::LeftButton);
        QTest::mouseClick(d.ui->CancelBtn, Qt::LeftButton);
    });
    EXPECT_EQ(setups, 1);
    EXPECT_FALSE(station->Paysage());
    EXPECT_EQ(testsupport::readBytes(file), before) << "a design only opened is not rewritten";

    // The core rule: saved only when changed and named.
    design::TCurrentFormat format;
    design::TDesignModel designer(format);
    const struct {
        bool modified;
        bool named;
        bool saved;
    } cases[] = {{true, true, true}, {false, true, false}, {true, false, false}};
    for (const auto& c : cases) {
        const QString path = f.dir.filePath("setup.car");
        QFile::remove(path);
        designer.Modifie = c.modified;
        designer.NomDocument = c.named ? path : QString();
        EXPECT_EQ(SaveAfterPrinterSetup(designer), c.saved);
        EXPECT_EQ(QFileInfo::exists(path), c.saved) << c.modified << c.named;
    }
}

// The page prints each label with the merge source's current record, the address book's or the
// database's as the switch says, and the dialog's picture takes the same record.
TEST_F(StationPrint, LabelsAreMergedWithTheSourcesCurrentRecord)
{
    const QString surnameCode = design::GetRepertFieldCode(0);
    int codeColumn = 0;
    while (design::GetRepertFieldCode(codeColumn) != "<Code>")
        ++codeColumn;
    f.save("merged", [&](design::TDesignModel& m) {
        m.AddLabel(5, 5, true, {}, platform::clBlack, 12, "Liberation Sans", -16, platform::clWhite,
                   surnameCode + " <Product>", design::taLeftJustify, 24, 200, false);
        m.AddBarcode(20, 34, 100, "Liberation Sans", false, false, "", barcode::rotate_000, barcode::CODE39,
                     "PRV-<Code>", 100, barcode::SC2, false);
    });
    platform::TStringGrid book;
    book.SetColCount(16);
    book.SetRowCount(3);
    book.SetCell(0, 1, "Jones");
    book.SetCell(codeColumn, 1, "B1");
    book.SetCell(0, 2, "Smith");
    book.SetCell(codeColumn, 2, "A17");
    book.SetRow(2);
    database::DbTable table;
    table.New("Field");
    table.RenameField(0, "Product");
    table.RenameField(1, "Code");
    table.SetCell(0, 1, "Bolt");
    table.SetCell(1, 1, "X9");
    table.AddRecord();
    table.SetCell(0, 2, "Widget");
    table.SetCell(1, 2, "W42");
    station->AddressBookGrid = &book;
    station->SetDatabase(&table, [] {});
    // The station outlives both sources: it lets go of them first.
    const struct Detach {
        TModEtik* s;
        ~Detach()
        {
            s->AddressBookGrid = nullptr;
            s->SetDatabase(nullptr, {});
        }
    } detach{station.get()};
    for (int c = 1; c <= MaxPageCells; ++c)
        for (int r = 1; r <= MaxPageCells; ++r)
            station->Station.Planche.SetCell(c, r, QString());
    station->Station.Planche.SetCell(2, 3, "merged");

    const struct {
        bool database;
        const platform::TStringGrid* grid;
        QStringList words;   // the merged record's values
        QString unmerged;    // the other source's code, left as typed
        QString barcode;
    } cases[] = {
        {false, &book, {"Smith"}, "<Product>", "PRV-A17"},
        {true, &table.Grille, {"Widget"}, surnameCode, "PRV-W42"},
    };
    for (const auto& c : cases) {
        station->ChoisirSourceFusion(c.database);
        TSheetPrintOptions shown;
        print([&](TPrintDial& d) {
            shown = d.OptionsSource();
            QTest::mouseClick(d.ui->OKBtn, Qt::LeftButton);
        });
        EXPECT_EQ(shown.Source.Grille, c.grid) << c.database;
        EXPECT_EQ(shown.Record, 2) << c.database;
        const QList<Word> words = wordsOf(pdf);
        for (const QString& w : c.words)
            EXPECT_FALSE(SheetFixture::boxOf(words, w).isNull()) << w.toStdString();
        // pdftotext writes its words as HTML.
        EXPECT_FALSE(SheetFixture::boxOf(words, c.unmerged.toHtmlEscaped()).isNull()) << c.unmerged.toStdString();
        EXPECT_TRUE(SheetFixture::boxOf(words, "Jones").isNull() && SheetFixture::boxOf(words, "Bolt").isNull())
            << "only the current record";
        EXPECT_EQ(barcodesOf(pdf), QStringList{c.barcode});
        QFile::remove(pdf);
    }
}

// The dialog's printer set-up link shows the station's printer set-up icon, not a monitor.
TEST_F(StationPrint, PrinterSetupLinkShowsThePrinterIcon)
{
    const auto argb = [](const QImage& i) { return i.convertToFormat(QImage::Format_ARGB32); };
    QImage shown;
    print([&](TPrintDial& d) {
        shown = argb(d.ui->Image1->pixmap().toImage());
        QTest::mouseClick(d.ui->CancelBtn, Qt::LeftButton);
    });
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown, argb(station->ui->ConfigBtn->icon().pixmap(32, 32).toImage()));
    EXPECT_NE(shown, argb(station->style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32).toImage()));
}

// The station's printer setup only sets the printer up: the dialog says so in its title and its
// button, and the sheets stay upright whatever orientation it showed.
TEST_F(StationPrint, ThePrinterSetupIsNamedForWhatItDoesAndKeepsTheSheetsUpright)
{
    for (const int language : {0, 1}) {
        SetGlobalLanguage(language);
        const QString expected = station->ui->ConfigBtn->toolTip();
        SCOPED_TRACE(expected.toStdString());
        QString title, button;
        testsupport::whenShown<QPrintDialog>(station.get(), [&](QPrintDialog& d) {
            title = d.windowTitle();
            if (auto* buttons = d.findChild<QDialogButtonBox*>())
                button = buttons->button(QDialogButtonBox::Ok)->text();
            d.printer()->setPageOrientation(QPageLayout::Landscape);
            d.done(QDialog::Accepted);
        });
        QTest::mouseClick(station->ui->ConfigBtn, Qt::LeftButton);
        EXPECT_FALSE(expected.isEmpty());
        EXPECT_EQ(title, expected);
        EXPECT_EQ(QString(button).remove('&'), "OK");
        EXPECT_EQ(station->Printer().Orientation(), platform::poPortrait);
    }
}

// The dialog opens with the keyboard on its default button, and the printer set-up link is a
// Tab stop that Space opens, as in a native print dialog.
TEST_F(StationPrint, TheDialogStartsOnPrintAndTabReachesThePrinterSetup)
{
    int setups = 0;
    station->RunPrinterSetup = [&] {
        ++setups;
        return true;
    };
    QWidget* startFocus = nullptr;
    QWidget* afterTab = nullptr;
    bool printIsDefault = false;
    print([&](TPrintDial& d) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &d; }));
        startFocus = QApplication::focusWidget();
        printIsDefault = d.ui->OKBtn->isDefault();
        d.ui->CancelBtn->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        afterTab = QApplication::focusWidget();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QTest::mouseClick(d.ui->CancelBtn, Qt::LeftButton);
        EXPECT_EQ(afterTab, d.ui->Image1);
        EXPECT_EQ(startFocus, d.ui->OKBtn);
    });
    EXPECT_TRUE(printIsDefault);
    EXPECT_EQ(setups, 1);
}

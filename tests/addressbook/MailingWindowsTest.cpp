// The mailing's dialogs driven as a user from the station: the wizard, the record choice with its
// copies, the sheet format or the design, the options with the first label, the preview and the
// print on the program's printer (a PDF file here).
#include "MailingSupport.h"

#include "../station/SheetPrintSupport.h"

#include "MultiLang/MLBase.h"
#include "addressbook/window/MailingChain.h"
#include "addressbook/window/TChoix.h"
#include "addressbook/window/TChoixEtik.h"
#include "addressbook/window/TFiche.h"
#include "addressbook/window/TFpPrev.h"
#include "addressbook/window/TIMail.h"
#include "addressbook/window/TListe.h"
#include "platform/TIniFile.h"
#include "platform/window/Application.h"
#include "platform/window/Dialogs.h"
#include "platform/window/QtPrinter.h"
#include "station/window/TAssistant.h"
#include "station/window/TFormat.h"
#include "station/window/TModEtik.h"
#include "station/window/TPrevis.h"
#include "ui_TAssistant.h"
#include "ui_TChoix.h"
#include "ui_TChoixEtik.h"
#include "ui_TFormat.h"
#include "ui_TFpPrev.h"
#include "ui_TIMail.h"
#include "ui_TModEtik.h"
#include "ui_TPrevis.h"
#include "LanguageGuard.h"

#include <QApplication>
#include <QScreen>
#include <QMessageBox>
#include <QPrintDialog>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

using namespace addressbook;
using sheettest::Word;

namespace {

class MailingWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_language = GlobalLanguage();
        platform::dialogHooks().messageBox = [this](QMessageBox& box) {
            boxes << box.text();
            box.button(QMessageBox::Ok)->click();
        };
        platform::Application::SetErrorHook([this](const QString& m) { errors << m; });
        QDir(dir.path()).mkpath("perso");
        saveDesign("adresse");
        station = std::make_unique<station::TModEtik>(
            station::TStationFolders::Resolve(dir.path(), dir.filePath("user"), true), dir.filePath("pravolis.ini"));
        station->ShowAddressCard = [] {};
        station->FormCreate();
        station->show();
        chain = std::make_unique<TMailingChain>(*station);
        chain->setParent(nullptr);
        chain->EnableEtikBtn = [this](bool on) { etikBtn = on; };
        station->StartMailing = [this](int choice) { chain->EtikBtnClick(choice, &book, choice == 4); };
        station->DatabaseMailing = true;
        mailingtest::fillBook(book, {{"Alpha", 1, false}, {"Bravo", 1, false}, {"Charlie", 1, false}});
        pdf = dir.filePath("mailing.pdf");
        station->Printer().SetOutputFile(pdf);
        boxes.clear();
    }
    void TearDown() override
    {
        chain.reset();
        station.reset();
        platform::Application::SetErrorHook({});
        SetGlobalLanguage(m_language);
    }

    // A design of the 3 x 2 test format with the surname and the label counter.
    void saveDesign(const QString& name)
    {
        design::TCurrentFormat f = mailingtest::format(3, 2);
        design::TDesignModel m(f);
        m.LargeurEtiquettePx = 227;
        m.HauteurEtiquettePx = 113;
        m.AddLabel(6, 4, true, {}, platform::clBlack, 9, "Liberation Sans", -12, platform::clWhite,
                   design::GetRepertFieldCode(0) + " N<Autonum>", design::taLeftJustify, 16, 200, false);
        design::SaveDesignDocument(m, dir.filePath("perso/" + name + ".car"));
    }

    // Runs the wizard from the station's button and answers it.
    void wizard(int choice)
    {
        bool answered = false;
        QTimer::singleShot(0, [&] {
            auto* w = qobject_cast<station::TAssistant*>(QApplication::activeModalWidget());
            ASSERT_NE(w, nullptr);
            answered = true;
            w->SetChoix(choice);
            QTest::mouseClick(w->ui->OKBtn, Qt::LeftButton);
        });
        QTest::mouseClick(station->ui->EtikBtn, Qt::LeftButton);
        ASSERT_TRUE(answered);
    }

    void clickLine(int line, Qt::MouseButton button = Qt::LeftButton)
    {
        QListWidget* list = chain->Choix()->ui->ListBox;
        QTest::mouseClick(list->viewport(), button, {}, list->visualItemRect(list->item(line)).center());
    }

    QTemporaryDir dir;
    std::unique_ptr<station::TModEtik> station;
    std::unique_ptr<TMailingChain> chain;
    platform::TStringGrid book;
    bool etikBtn = true;
    QString pdf;
    QStringList boxes, errors;
    platform::DialogHooksGuard hooks;

private:
    int m_language = 0;
};

} // namespace

TEST(MailingWizard, ChoicesFollowWhatTheStationOffers)
{
    testsupport::LanguageGuard english(1);
    const struct {
        int checked;
        bool page, mailing, design, database;
        int expected;
        bool confirm;
    } cases[] = {
        {1, true, true, true, true, 1, true},
        {1, false, true, true, true, 2, true},
        {3, false, true, false, true, 2, true},  // no design and no page: the address labels
        {3, true, true, false, true, 1, true},   // no design: the page
        {4, true, true, true, true, 4, true},
        {4, false, true, true, false, 2, true},  // no database to merge
        {2, true, false, true, true, 2, false},  // no mailing to run: nothing but the page to confirm
    };
    for (const auto& c : cases) {
        station::TAssistant w;
        w.PagePrintable = c.page;
        w.MailingAvailable = c.mailing;
        w.DesignSelected = c.design;
        w.DatabaseAvailable = c.database;
        w.SetChoix(c.checked);
        w.show();
        EXPECT_EQ(w.Choix(), c.expected) << c.checked;
        EXPECT_EQ(w.ui->OKBtn->isEnabled(), c.confirm) << c.checked;
        EXPECT_EQ(w.ui->RadioButton3->isEnabled(), c.mailing && c.design);
        EXPECT_EQ(w.ui->RadioButton4->isEnabled(), c.mailing && c.design && c.database);
        EXPECT_EQ(w.windowTitle(), "Label printing wizard");
    }
}

TEST_F(MailingWindows, AddressLabelsFromTheWizardToThePrint)
{
    wizard(2);
    EXPECT_FALSE(station->ui->SwitchBtn->isChecked()) << "the address book is the merge source";
    TChoix* choix = chain->Choix();
    ASSERT_TRUE(choix->isVisible());
    EXPECT_FALSE(etikBtn);
    EXPECT_EQ(choix->ui->ListBox->item(0)->text(), "Entry n°1 : Alpha ");

    // Next with nothing chosen is refused.
    QTest::mouseClick(choix->ui->OKBtn, Qt::LeftButton);
    EXPECT_EQ(boxes, QStringList{"You have not selected any entry !"});
    EXPECT_TRUE(choix->isVisible());

    clickLine(0);
    clickLine(2);
    EXPECT_EQ(choix->windowTitle(), "Select address-book entries for the mailing-list  (2 selected entries)");
    EXPECT_EQ(choix->ui->Label2->text(), "Entry n°3 : Charlie ");
    choix->ui->SpinEdit->setValue(3);
    EXPECT_EQ(choix->ui->Label4->text(), "copies");
    EXPECT_EQ(book.CopiesOf(3), 3) << "copies are stored at once";

    QTest::mouseClick(choix->ui->OKBtn, Qt::LeftButton);
    EXPECT_FALSE(choix->isVisible());
    EXPECT_EQ(book.Marques, (QList<int>{0, 1, 0, 1}));
    EXPECT_EQ(chain->Selection.TotalEtiquettes, 4);
    station::TFormat* format = station->FormatWindow();
    ASSERT_TRUE(format->isVisible());
    EXPECT_TRUE(format->ui->BitBtn3->isVisible());
    EXPECT_FALSE(format->ui->OKBtn->isVisible());
    QTest::mouseClick(format->ui->BitBtn3, Qt::LeftButton);

    TIMail* options = chain->IMail();
    ASSERT_TRUE(options->isVisible());
    EXPECT_EQ(options->windowTitle(), "Automatic printing of address labels (uses the address-book)");
    EXPECT_EQ(options->ui->FontBtn->text(), "Font");
    EXPECT_EQ(options->ui->Label1->text(), "Please insert a sheet of labels in your printer");
    options->ui->SpinEdit->setValue(2);
    EXPECT_EQ(options->ui->Label1->text(), "Please insert 2 sheets of labels in your printer");
    options->ui->SpinEdit->setValue(1);

    // The first label picked on the sheet preview: its last cell, so the mailing takes two sheets.
    QTest::mouseClick(options->ui->FirstBtn, Qt::LeftButton);
    station::TPrevis* previs = station->PrevisWindow();
    ASSERT_TRUE(previs->isVisible());
    const station::TSheetGeometry g = station::SheetGeometry(previs->Sheet, previs->Echelle);
    QTest::mouseClick(previs->ui->Page, Qt::LeftButton, {}, g.CellRect(g.Columns, g.Rows).center());
    EXPECT_EQ(chain->Layout.NbFeuilles, 2);
    EXPECT_EQ(options->ui->Label1->text(), "Please insert 2 sheets of labels in your printer");

    QTest::mouseClick(options->ui->OKBtn, Qt::LeftButton);
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    EXPECT_TRUE(etikBtn) << "the print ends the chain";
    EXPECT_FALSE(options->isVisible());
    const QList<Word> words = sheettest::wordsOf(pdf);
    EXPECT_EQ(sheettest::pageCount(words), 2);
    int alpha = 0, charlie = 0;
    for (const Word& w : words) {
        alpha += w.text == "Alpha";
        charlie += w.text == "Charlie" && w.page == 2;
    }
    EXPECT_EQ(alpha, 1);
    EXPECT_EQ(charlie, 3);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(MailingWindows, CopiesGoOnlyToTheRecordShown)
{
    chain->EtikBtnClick(2, &book, false);
    TChoix* choix = chain->Choix();
    clickLine(1);
    EXPECT_EQ(choix->FicheCourante, 1);
    // A right click on a line not chosen shows the nearest chosen record: a copies change goes
    // to the record shown.
    clickLine(2, Qt::RightButton);
    EXPECT_EQ(choix->FicheCourante, 1);
    EXPECT_EQ(choix->ui->Label2->text(), "Entry n°2 : Bravo ");
    choix->ui->SpinEdit->setValue(5);
    EXPECT_EQ(book.CopiesOf(2), 5);
    EXPECT_EQ(book.CopiesOf(3), 1);
    // With nothing chosen the copies are hidden and a change goes nowhere.
    QTest::mouseClick(choix->ui->RienBtn, Qt::LeftButton);
    EXPECT_FALSE(choix->ui->SpinEdit->isVisible());
    choix->ui->SpinEdit->setValue(7);
    EXPECT_EQ(book.CopiesOf(1), 1);
    EXPECT_EQ(book.CopiesOf(2), 5);
    // Select all shows the first record; a cancelled mailing keeps the copies given.
    QTest::mouseClick(choix->ui->Tout, Qt::LeftButton);
    EXPECT_EQ(choix->ui->Label2->text(), "Entry n°1 : Alpha ");
    choix->ui->SpinEdit->setValue(4);
    QTest::mouseClick(choix->ui->CancelBtn, Qt::LeftButton);
    EXPECT_FALSE(choix->isVisible());
    EXPECT_TRUE(etikBtn);
    EXPECT_EQ(book.CopiesOf(1), 4);
}

TEST_F(MailingWindows, DesignMailingPreviewsAndPrintsTheSelectedDesign)
{
    book.Marques = {0, 1, 1, 1};
    book.Copies = {1, 2, 1, 4};
    wizard(3);
    TChoix* choix = chain->Choix();
    ASSERT_TRUE(choix->isVisible());
    EXPECT_EQ(choix->ChosenCount(), 3) << "the marks of the last mailing";
    QTest::mouseClick(choix->ui->OKBtn, Qt::LeftButton);
    TChoixEtik* model = chain->ChoixEtik();
    ASSERT_TRUE(model->isVisible());
    EXPECT_EQ(model->ui->ListBox->currentRow(), 0);
    QTest::mouseClick(model->ui->BitBtn3, Qt::LeftButton);
    TIMail* options = chain->IMail();
    ASSERT_TRUE(options->isVisible());
    EXPECT_EQ(options->ui->FontBtn->text(), "Autonum/Dates");
    EXPECT_EQ(options->ui->Label1->text(), "Please insert 2 sheets of labels in your printer");

    bool previewed = false;
    chain->ShowPreview = [&](QDialog& d) {
        auto& p = static_cast<TFpPrev&>(d);
        p.show();
        previewed = true;
        EXPECT_EQ(p.windowTitle(), "Page of labels number 1/2");
        EXPECT_FALSE(p.ui->RewBtn->isEnabled());
        QTest::mouseClick(p.ui->EndBtn, Qt::LeftButton);
        EXPECT_EQ(p.windowTitle(), "Page of labels number 2/2");
        EXPECT_FALSE(p.ui->FFBtn->isEnabled());
        EXPECT_TRUE(p.ui->BeginBtn->isEnabled());
        const QImage sheet = p.ui->Page->pixmap().toImage();
        EXPECT_GT(testsupport::darkPixels(sheet, 0, 0, sheet.width() - 1, sheet.height() - 1), 0);
        QTest::mouseClick(p.ui->Zoom1Btn, Qt::LeftButton);
        EXPECT_EQ(p.ui->Zoom1Btn->toolTip(), "Zoom Out");
        EXPECT_GT(p.ui->Page->width(), sheet.width()) << "the real size is larger than the frame's";
        QTest::mouseClick(p.ui->Zoom1Btn, Qt::LeftButton);
        EXPECT_EQ(p.ui->Zoom1Btn->toolTip(), "Normal viewing (100%)");
        EXPECT_EQ(p.ui->Page->width(), sheet.width());
        p.close();
    };
    QTest::mouseClick(options->ui->BitBtn1, Qt::LeftButton);
    EXPECT_TRUE(previewed);

    QTest::mouseClick(options->ui->OKBtn, Qt::LeftButton);
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    const QList<Word> words = sheettest::wordsOf(pdf);
    EXPECT_EQ(sheettest::pageCount(words), 2);
    EXPECT_FALSE(sheettest::SheetFixture::boxOf(words, "N7", 2).isNull()) << "seven labels, counted as printed";
}

// The printer set-up belongs to the station, which its closing leaves active: the options take the
// keyboard back, so Return prints the mailing rather than acting in the station.
TEST_F(MailingWindows, TheOptionsTakeTheKeyboardBackAfterThePrinterSetup)
{
    book.Marques = {0, 1, 1, 1};
    wizard(3);
    QTest::mouseClick(chain->Choix()->ui->OKBtn, Qt::LeftButton);
    QTest::mouseClick(chain->ChoixEtik()->ui->BitBtn3, Qt::LeftButton);
    TIMail* options = chain->IMail();
    ASSERT_TRUE(options->isVisible());
    int printed = 0;
    options->Imprimer = [&] { ++printed; };

    bool setUp = false;
    testsupport::whenShown<QPrintDialog>(station.get(), [&](QPrintDialog& d) {
        setUp = true;
        d.done(QDialog::Rejected);
    });
    QTest::mouseClick(options->ui->Button1, Qt::LeftButton);
    EXPECT_TRUE(setUp);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == options; }));
    QWidget* keyboard = QApplication::focusWidget();
    ASSERT_NE(keyboard, nullptr);
    QTest::keyClick(keyboard, Qt::Key_Return);
    EXPECT_EQ(printed, 1);
}

TEST_F(MailingWindows, AMissingDesignIsNamedAndNothingPrints)
{
    book.Marques = {0, 1, 0, 0};
    chain->EtikBtnClick(3, &book, false);
    QTest::mouseClick(chain->Choix()->ui->OKBtn, Qt::LeftButton);
    QTest::mouseClick(chain->ChoixEtik()->ui->BitBtn3, Qt::LeftButton);
    const QString path = station->Station.SelectedPath();
    ASSERT_TRUE(QFile::remove(path));
    QTest::mouseClick(chain->IMail()->ui->OKBtn, Qt::LeftButton);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(path)) << errors[0].toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_TRUE(etikBtn);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(MailingWindows, AFormatWithoutLabelsAcrossIsRefusedBeforeTheOptions)
{
    book.Marques = {0, 1, 0, 0};
    chain->EtikBtnClick(3, &book, false);
    QTest::mouseClick(chain->Choix()->ui->OKBtn, Qt::LeftButton);
    station->Station.CurrentFormat.NbColonnes = 0;
    QTest::mouseClick(chain->ChoixEtik()->ui->BitBtn3, Qt::LeftButton);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains("no label across")) << boxes[0].toStdString();
    EXPECT_TRUE(chain->ChoixEtik()->isVisible());
    EXPECT_FALSE(chain->IMail()->isVisible());
}

// The address card, the wizard and the record choice are shown again and again in a run: each
// opens where it stood when it closed, where the user had put it, not a frame's width away.
TEST_F(MailingWindows, TheCardTheWizardAndTheRecordChoiceReopenWhereTheyStood)
{
    TListe liste(dir.filePath("pravolis.ini"));
    station->setGeometry(200, 150, 500, 400);
    std::unique_ptr<QDialog> dialogs[] = {std::make_unique<TFiche>(&liste, station.get()),
                                          std::make_unique<station::TAssistant>(station.get()),
                                          std::make_unique<TChoix>(station.get())};
    for (const auto& dialog : dialogs) {
        SCOPED_TRACE(dialog->metaObject()->className());
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        const QPoint first = dialog->pos();
        dialog->hide();
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        EXPECT_EQ(dialog->pos(), first);
        // Moved by the user, through the window system.
        const QPoint moved(12, 34);
        dialog->windowHandle()->setFramePosition(moved);
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->pos() == moved; }));
        for (int showing = 0; showing < 2; ++showing) {
            dialog->hide();
            dialog->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
            EXPECT_EQ(dialog->pos(), moved) << showing;
        }
        dialog->hide();
    }
}

// The sheet preview opened from a step of the mailing (the labels format, the options' first
// label) stands beside that step each time it opens, wherever the step was moved since: never
// over its list or its buttons.
TEST_F(MailingWindows, TheSheetPreviewOpensBesideTheStepThatAsksEachTime)
{
    station::TPrevis* previs = station->PrevisWindow();
    TIMail options(station.get());
    QWidget* const steps[] = {station->FormatWindow(), &options};
    const QRect area = station->screen()->availableGeometry();
    for (QWidget* step : steps) {
        SCOPED_TRACE(step->metaObject()->className());
        step->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(step));
        // At the screen's left (room at its right), at its right, then at its left lower down.
        const int right = area.right() + 1 - step->frameGeometry().width();
        const QPoint places[] = {{0, 0}, {right, 40}, {0, 80}};
        for (const QPoint& place : places) {
            step->windowHandle()->setFramePosition(place);
            ASSERT_TRUE(QTest::qWaitFor([&] { return step->pos() == place; }));
            previs->Montrer(step);
            ASSERT_TRUE(QTest::qWaitForWindowExposed(previs));
            EXPECT_FALSE(previs->frameGeometry().intersects(step->frameGeometry()))
                << place.x() << "," << place.y();
            EXPECT_EQ(previs->windowHandle()->transientParent(), step->windowHandle());
            previs->close();
        }
        step->hide();
    }
}

TEST(MailingOptions, FramesAndAddressFontComeFromTheSettingsAndGoBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("pravolis.ini");
    testsupport::writeBytes(path, "[Options]\r\nCadre=1\r\n[Police]\r\nnom=Liberation Serif\r\ntaille=11\r\n"
                                  "gras=1\r\ncouleur=255\r\n");
    TIMail options;
    {
        const platform::TIniFile ini(path);
        options.FormCreate(ini);
    }
    EXPECT_TRUE(options.ui->Cadre->isChecked());
    EXPECT_EQ(options.Police().Name(), "Liberation Serif");
    EXPECT_EQ(options.Police().Size(), 11);
    EXPECT_TRUE(options.Police().Style().Contains(platform::fsBold));
    EXPECT_FALSE(options.Police().Style().Contains(platform::fsItalic));
    EXPECT_EQ(options.Police().Color(), 255);
    // Nothing set: no frames, 9-point arial.
    TIMail defaults;
    {
        const platform::TIniFile ini(dir.filePath("none.ini"));
        defaults.FormCreate(ini);
    }
    EXPECT_FALSE(defaults.ui->Cadre->isChecked());
    EXPECT_EQ(defaults.Police().Name(), "arial");
    EXPECT_EQ(defaults.Police().Size(), 9);

    const QString copy = dir.filePath("copy.ini");
    {
        platform::TIniFile ini(copy);
        options.WriteSettings(ini);
        ini.UpdateFile();
    }
    TIMail again;
    {
        const platform::TIniFile ini(copy);
        again.FormCreate(ini);
    }
    EXPECT_TRUE(again.ui->Cadre->isChecked());
    EXPECT_EQ(again.Police().Name(), "Liberation Serif");
    EXPECT_EQ(again.Police().Height(), options.Police().Height());
    EXPECT_EQ(again.Police().Style(), options.Police().Style());
}

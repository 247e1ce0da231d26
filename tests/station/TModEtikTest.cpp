#include "MultiLang/MLBase.h"
#include "database/DbTable.h"
#include "design/FieldCodes.h"
#include "platform/TIniFile.h"
#include "platform/TStringGrid.h"
#include "platform/window/Dialogs.h"
#include "station/window/TFormat.h"
#include "station/window/TModEtik.h"
#include "ui_TModEtik.h"

#include "TestSupport.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QStyle>
#include <QWindow>
#include <QMessageBox>
#include <functional>

#include <gtest/gtest.h>

using namespace station;
using testsupport::dataPath;
using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

// Which way the merge-source switch points, read from the picture it shows.
bool showsArrow(const TModEtik& station, QStyle::StandardPixmap arrow)
{
    const QToolButton* button = station.ui->SwitchBtn;
    const QSize size = button->iconSize();
    const QImage shown = button->icon().pixmap(size).toImage();
    return !shown.isNull() && shown == button->style()->standardIcon(arrow).pixmap(size).toImage();
}

// Each test runs the station as the program does (which switches every window to English) and
// answers its message boxes, recording their texts.
class StationWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_language = GlobalLanguage();
        platform::dialogHooks().messageBox = [this](QMessageBox& box) {
            boxes << box.text();
            QAbstractButton* answer = box.button(QMessageBox::Yes);
            if (answer != nullptr && !answerYes)
                answer = box.button(QMessageBox::No);
            if (answer == nullptr)
                answer = box.button(QMessageBox::Ok);
            answer->click();
        };
        QDir().mkpath(dir.filePath("perso"));
    }
    void TearDown() override { SetGlobalLanguage(m_language); }

    void addDesign(const QString& fixture, const QString& name)
    {
        ASSERT_TRUE(QFile::copy(dataPath("design/" + fixture), dir.filePath("perso/" + name)));
        QFile::setPermissions(dir.filePath("perso/" + name), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    std::unique_ptr<TModEtik> start()
    {
        auto station = std::make_unique<TModEtik>(
            TStationFolders::Resolve(dir.path(), dir.filePath("user"), true), dir.filePath("pravolis.ini"));
        if (withAddressCard)
            station->ShowAddressCard = [this] { ++cardsShown; };
        station->FormCreate();
        station->show();
        return station;
    }

    QStringList listLines(const TModEtik& s) const
    {
        QStringList out;
        for (int i = 0; i < s.ui->ListBox->count(); ++i)
            out << s.ui->ListBox->item(i)->text();
        return out;
    }

    QTemporaryDir dir;
    QStringList boxes;
    bool answerYes = true;
    bool withAddressCard = true;
    int cardsShown = 0;
    platform::DialogHooksGuard hooks;

private:
    int m_language = 0;
};

} // namespace

// A first start shows the welcome once; what the user changed is there at the next start, and a
// start followed by an exit with no change rewrites the settings byte for byte. (Sections erased
// and rewritten at exit move after the ones only added to, so the file settles from the second
// exit on.)
TEST_F(StationWindow, SettingsSurviveARestart)
{
    addDesign("allkinds.car", "badge.car");
    QByteArray first;
    {
        // Without the address-book card there is nothing to welcome the user to: the first
        // start waits for it.
        withAddressCard = false;
        {
            auto s = start();
            EXPECT_FALSE(s->ui->FicheBtn->isEnabled());
            EXPECT_FALSE(s->ui->RepertoireItem->isEnabled());
            s->close();
        }
        EXPECT_TRUE(boxes.isEmpty());
        EXPECT_TRUE(readBytes(dir.filePath("pravolis.ini")).contains("FirstTime=1"));
        withAddressCard = true;
        auto s = start();
        ASSERT_EQ(boxes.size(), 1);
        EXPECT_TRUE(boxes[0].startsWith("You are using this program for the first time."));
        EXPECT_EQ(cardsShown, 1);
        EXPECT_TRUE(s->isMaximized());
        EXPECT_TRUE(s->ui->wysiwyg->isChecked());
        EXPECT_FALSE(s->ui->coupe->isChecked());
        EXPECT_FALSE(s->ui->SwitchBtn->isChecked());
        s->ui->wysiwyg->trigger();
        s->ui->coupe->trigger();
        QTest::mouseClick(s->ui->SwitchBtn, Qt::LeftButton);
        s->close();
        first = readBytes(dir.filePath("pravolis.ini"));
    }
    EXPECT_TRUE(first.contains("FirstTime=0"));
    EXPECT_TRUE(first.contains("[Dernier format]"));
    EXPECT_TRUE(first.contains("[Dateurs]"));
    {
        auto s = start();
        EXPECT_EQ(boxes.size(), 1);
        EXPECT_EQ(cardsShown, 1);
        EXPECT_FALSE(s->ui->wysiwyg->isChecked());
        EXPECT_TRUE(s->ui->coupe->isChecked());
        EXPECT_TRUE(s->ui->SwitchBtn->isChecked());
        EXPECT_TRUE(s->ui->BasFus->isChecked());
        EXPECT_FALSE(s->ui->RepFus->isChecked());
        s->close();
    }
    const QByteArray second = readBytes(dir.filePath("pravolis.ini"));
    {
        auto s = start();
        EXPECT_FALSE(s->ui->wysiwyg->isChecked());
        s->close();
    }
    EXPECT_EQ(readBytes(dir.filePath("pravolis.ini")), second);
    writeBytes(dir.filePath("first.ini"), first);
    const platform::TIniFile a(dir.filePath("first.ini"));
    const platform::TIniFile b(dir.filePath("pravolis.ini"));
    for (const QString& section : a.ReadSections())
        for (const QString& key : a.ReadSection(section))
            EXPECT_EQ(a.ReadString(section, key, "?"), b.ReadString(section, key, "!"))
                << section.toStdString() << "/" << key.toStdString();
}

TEST_F(StationWindow, ListsModelsAndDrawsTheSelectedThumbnail)
{
    addDesign("allkinds.car", "Badge.CAR");
    addDesign("version9.car", "round.v2.car");
    writeBytes(dir.filePath("perso/thin.car"), "0\r\n3000\r\nversion8\r\nF\r\n1\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n"
                                               "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");
    writeBytes(dir.filePath("perso/broken.car"), "5400\r\n3000\r\nversionX\r\n");
    writeBytes(dir.filePath("perso/wide.car"), "2500\r\n500\r\nversion7\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");
    auto s = start();
    ASSERT_EQ(boxes.size(), 2);
    // One box for every unreadable design.
    EXPECT_TRUE(boxes[1].startsWith("Unrecognised file format."));
    EXPECT_TRUE(boxes[1].contains("broken.car"));
    EXPECT_TRUE(boxes[1].contains("wide.car"));
    EXPECT_EQ(listLines(*s), (QStringList{"Badge\t(54,00 x 30,00 mm)", "broken\t(54,00 x 30,00 mm)",
                                          "round.v2\t(50,00 x 50,00 mm)", "thin\t(0,00 x 30,00 mm)",
                                          "wide\t(250,00 x 50,00 mm)"}));
    EXPECT_EQ(s->ui->ListBox->currentRow(), 0);
    EXPECT_TRUE(s->ui->Image->isVisible());
    EXPECT_EQ(s->ui->FormatLabel->text(), "Badge 54 x 30");
    EXPECT_FALSE(s->ui->Image->pixmap().isNull());
    const QImage thumb = s->ui->Image->pixmap().toImage();
    EXPECT_EQ(thumb.size(), QSize(s->ui->Image->width(), s->ui->Image->height()));
    EXPECT_LT(thumb.pixelColor(thumb.width() / 2, 0).lightness(), 128) << "the label outline is drawn";

    s->ui->ListBox->setCurrentRow(3);
    EXPECT_FALSE(s->ui->Image->isVisible());
    s->ui->ListBox->setCurrentRow(2);
    EXPECT_TRUE(s->ui->Image->isVisible());
    EXPECT_EQ(s->ui->Image->width(), s->ui->Image->height());
    EXPECT_TRUE(s->Station.CurrentFormat.EtiquetteRonde);
    s->close();
}

// The page scale follows the frame however the window was sized, the proportional sizing
// included or not (a maximised window keeps the screen's proportions).
TEST_F(StationWindow, PageScaleIsSetWithoutTheProportionalSizing)
{
    addDesign("allkinds.car", "badge.car");
    auto s = start();
    ASSERT_TRUE(s->isMaximized());
    EXPECT_GT(s->EchellePage, 0);
    EXPECT_DOUBLE_EQ(s->EchellePage, PageScale(s->ui->Bevel1->width()));
    EXPECT_FALSE(s->ui->Page->pixmap().isNull());
    s->close();
}

TEST_F(StationWindow, DeletingAModelAsksAndSelectsTheLineBefore)
{
    for (const char* name : {"a.car", "b.car", "c.car"})
        addDesign("version6.car", name);
    auto s = start();
    boxes.clear();
    s->ui->ListBox->setCurrentRow(2);
    answerYes = false;
    QTest::mouseClick(s->ui->MoinsBtn, Qt::LeftButton);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0], "Do you really want to suppress the file \"c.car\" ?");
    EXPECT_EQ(s->ui->ListBox->count(), 3);

    answerYes = true;
    s->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(s.get()));
    s->ui->ListBox->setFocus();
    QTest::keyClick(s->ui->ListBox, Qt::Key_Delete);
    EXPECT_FALSE(QFile::exists(dir.filePath("perso/c.car")));
    EXPECT_EQ(s->ui->ListBox->count(), 2);
    EXPECT_EQ(s->ui->ListBox->currentRow(), 1);
    EXPECT_TRUE(s->ui->Image->isVisible());

    QTest::mouseClick(s->ui->MoinsBtn, Qt::LeftButton);
    QTest::mouseClick(s->ui->MoinsBtn, Qt::LeftButton);
    EXPECT_EQ(s->ui->ListBox->count(), 0);
    EXPECT_FALSE(s->ui->MoinsBtn->isEnabled());
    EXPECT_FALSE(s->ui->Image->isVisible());
    EXPECT_FALSE(s->ui->Page->isVisible());
    s->close();
}

// The book's current entry names the button's hint; the book is saved after the station's
// settings pass (which would otherwise rewrite [Options] over its "LastRow"), its failures
// shown with the station's.
TEST_F(StationWindow, AddressBookHintAndExitOrder)
{
    platform::TStringGrid book;
    book.SetColCount(16);
    book.SetRowCount(3);
    book.SetCell(0, 2, "Dupont");
    book.SetCell(1, 2, "Jean");
    book.SetRow(2);
    auto s = start();
    s->AddressBookGrid = &book;
    s->MajBulleRepertoire();
    EXPECT_EQ(s->ui->FicheBtn->toolTip(), "Address-book (active entry : Jean Dupont)");
    QByteArray settingsWhenSaved;
    s->SaveAddressBook = [&] {
        settingsWhenSaved = readBytes(dir.filePath("pravolis.ini"));
        return QStringList{"book not written"};
    };
    boxes.clear();
    s->close();
    EXPECT_TRUE(settingsWhenSaved.contains("[Dernier format]"));
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains("book not written"));
}

TEST_F(StationWindow, MergeSwitchHelpAndLaterCommands)
{
    auto s = start();
    EXPECT_EQ(s->windowTitle(), "Pravolis - Control panel");
    EXPECT_EQ(s->ui->CartesMenu->title(), "&Pravolis");
    EXPECT_EQ(s->ui->SwitchBtn->toolTip(), "The address-book is currently in use for merging");
    EXPECT_EQ(s->ui->BddBtn->toolTip(), "Database UNNAMED");
    EXPECT_EQ(s->ui->FicheBtn->toolTip(), "Address-book");
    QTest::mouseClick(s->ui->SwitchBtn, Qt::LeftButton);
    EXPECT_EQ(s->ui->SwitchBtn->toolTip(), "The database UNNAMED is currently in use for merging");
    EXPECT_TRUE(showsArrow(*s, QStyle::SP_ArrowRight));
    EXPECT_TRUE(s->ui->BasFus->isChecked());
    s->ui->RepFus->trigger();
    EXPECT_FALSE(s->ui->SwitchBtn->isChecked());
    EXPECT_TRUE(s->ui->RepFus->isChecked());
    EXPECT_FALSE(s->ui->BasFus->isChecked());

    // Help: a clear message while the page is missing, the browser once it is there.
    boxes.clear();
    QList<QUrl> opened;
    TModEtik::OpenUrlHook() = [&](const QUrl& url) {
        opened << url;
        return true;
    };
    QTest::mouseClick(s->ui->HelpBtn, Qt::LeftButton);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith("The help page cannot be found: ")) << boxes[0].toStdString();
    QDir().mkpath(dir.filePath("help"));
    writeBytes(dir.filePath("help/QuorelE.html"), "<html></html>");
    s->ui->AideItem->trigger();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].toLocalFile(), dir.filePath("help/QuorelE.html"));
    TModEtik::OpenUrlHook() = [](const QUrl& url) { return QDesktopServices::openUrl(url); };

    // Windows of later versions: present, disabled; new and edit wait for the design window.
    for (QWidget* w : {static_cast<QWidget*>(s->ui->PrintBtn), static_cast<QWidget*>(s->ui->BddBtn),
                       static_cast<QWidget*>(s->ui->PlusBtn)})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    // The address book's button and menu open the card once the station has one.
    cardsShown = 0;
    ASSERT_TRUE(s->ui->FicheBtn->isEnabled());
    ASSERT_TRUE(s->ui->RepertoireItem->isEnabled());
    QTest::mouseClick(s->ui->FicheBtn, Qt::LeftButton);
    s->ui->RepertoireItem->trigger();
    EXPECT_EQ(cardsShown, 2);
    EXPECT_TRUE(s->ui->NumerotationItem->isEnabled());

    // The about box opens modally from the button and the menu, titled with the program's name.
    for (const std::function<void()>& open : std::initializer_list<std::function<void()>>{
             [&] { QTest::mouseClick(s->ui->AProposBtn, Qt::LeftButton); }, [&] { s->ui->AProposItem->trigger(); }}) {
        QString shownTitle;
        QTimer::singleShot(0, [&] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                shownTitle = box->windowTitle();
                box->close();
            }
        });
        open();
        EXPECT_EQ(shownTitle, "About Pravolis");
    }

    // The station switched the whole program to English: a window made now starts in it.
    station::TFormat format(nullptr, dir.path(), dir.filePath("pravolis.ini"));
    EXPECT_EQ(format.windowTitle(), "Labels format");
    s->close();
}

// The database command shows the table's window in place of the station with the database as
// merge source; the hints name the table and its record; the exit saves a named table.
TEST_F(StationWindow, DatabaseCommandMergeAndExitSave)
{
    auto s = start();
    database::DbTable table;
    const QString path = dir.filePath("clients.FIC");
    table.SaveTo(path);
    table.SetCell(0, 1, "Durand");
    int shown = 0;
    s->SetDatabase(&table, [&] { ++shown; });
    ASSERT_TRUE(s->ui->BddBtn->isEnabled());
    QTest::mouseClick(s->ui->BddBtn, Qt::LeftButton);
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(s->isVisible());
    EXPECT_TRUE(s->DatabaseIsSource());
    EXPECT_EQ(s->ui->BddBtn->toolTip(), "Database CLIENTS (active entry : Durand)");
    EXPECT_EQ(s->ui->SwitchBtn->toolTip(), "The database CLIENTS is currently in use for merging");
    const design::MergeSource source = s->MergeSource();
    EXPECT_EQ(source.Grille, &table.Grille);
    EXPECT_TRUE(source.IsDatabase);
    s->show();
    s->close();
    database::DbTable back;
    back.Read(path);
    EXPECT_EQ(back.Grille.Cell(0, 1), "Durand");
}

// A new design takes the sheet format chosen in the format window and goes to the designer.
TEST_F(StationWindow, NewModelAdoptsTheChosenFormat)
{
    auto s = start();
    int designerShown = 0;
    s->ShowDesigner = [&] { ++designerShown; };
    s->RemplirListeModeles();
    ASSERT_TRUE(s->ui->PlusBtn->isEnabled());
    QTimer::singleShot(0, s->FormatWindow(), [&] { s->FormatWindow()->accept(); });
    QTest::mouseClick(s->ui->PlusBtn, Qt::LeftButton);
    EXPECT_EQ(designerShown, 1);
    EXPECT_FALSE(s->isVisible());
    EXPECT_EQ(s->Station.CurrentFormat.NomFormat, "Default format");
    EXPECT_EQ(s->Station.CurrentFormat.LargeurEtiquette, 7000);
    EXPECT_EQ(s->Station.CurrentFormat.NbLignes, 7);
    EXPECT_EQ(s->Station.Designer.LargeurEtiquettePx, 265);
    s->close();
}

namespace {

// Whether a message holds only what prints: letters, digits, signs and spaces of plain text, and
// its line breaks.
bool printableOnly(const QString& text)
{
    for (const QChar c : text)
        if (c != u'\n' && (c.unicode() < 0x20 || c.unicode() > 0x7E))
            return false;
    return true;
}

} // namespace

// A design damaged in its header is reported at start by its name, and one damaged further on
// when it is opened, both without the file's raw bytes.
TEST_F(StationWindow, DamagedDesignsAreNamedWithoutTheirRawBytes)
{
    addDesign("allkinds.car", "good.car");
    writeBytes(dir.filePath("perso/header.car"), "\x80*\xA3\x9C\xBD\x87\x85\x01\x1B\r\n3000\r\nversion8\r\n");
    QList<QByteArray> lines = readBytes(dataPath("design/allkinds.car")).split('\n');
    lines[22] = "\x80*\xA3\x9C\x07\xBD\x87\x85\r";
    writeBytes(dir.filePath("perso/body.car"), lines.join('\n'));
    auto s = start();
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_TRUE(boxes[1].startsWith("Unrecognised file format.\n")) << boxes[1].toStdString();
    EXPECT_TRUE(boxes[1].contains("header.car")) << boxes[1].toStdString();
    EXPECT_FALSE(boxes[1].contains("body.car")) << boxes[1].toStdString();
    EXPECT_TRUE(printableOnly(boxes[1])) << boxes[1].toStdString();

    int designerShown = 0;
    s->ShowDesigner = [&] { ++designerShown; };
    s->RemplirListeModeles();
    ASSERT_EQ(listLines(*s).value(0).section(u'\t', 0, 0), "body");
    boxes.clear();
    s->ui->ListBox->setCurrentRow(0);
    ASSERT_TRUE(s->ui->ModifierItem->isEnabled());
    s->ui->ModifierItem->trigger();
    EXPECT_EQ(designerShown, 0);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith("Unrecognised file format.\n")) << boxes[0].toStdString();
    EXPECT_TRUE(boxes[0].contains("body.car")) << boxes[0].toStdString();
    EXPECT_TRUE(printableOnly(boxes[0])) << boxes[0].toStdString();
    s->close();
}

// Preview and "Closer Look..." show the selected model: enabled exactly while the list holds one.
TEST_F(StationWindow, PreviewCommandsFollowTheModelList)
{
    auto s = start();
    int previews = 0;
    s->ShowPreview = [&] { ++previews; };
    s->EnablePreviewCommands();
    const auto enabled = [&] {
        EXPECT_EQ(s->ui->PreviewBtn->isEnabled(), s->ui->ApercuItem->isEnabled());
        return s->ui->PreviewBtn->isEnabled();
    };
    EXPECT_FALSE(enabled()) << "empty list";
    addDesign("version6.car", "a.car");
    s->RemplirListeModeles();
    EXPECT_TRUE(enabled()) << "one model";
    QTest::mouseClick(s->ui->PreviewBtn, Qt::LeftButton);
    EXPECT_EQ(previews, 1);
    QTest::mouseClick(s->ui->MoinsBtn, Qt::LeftButton);
    EXPECT_FALSE(enabled()) << "the last model deleted";
    s->ui->ApercuItem->trigger();
    EXPECT_EQ(previews, 1);
    s->close();
}

// The address book's button and menu item make the book the merge source before showing its
// card: the hints name the book when the card is there.
TEST_F(StationWindow, AddressBookCommandsSwitchToTheBook)
{
    auto s = start();
    for (QAction* item : {static_cast<QAction*>(nullptr), s->ui->RepertoireItem}) {
        s->ChoisirSourceFusion(true);
        ASSERT_TRUE(s->DatabaseIsSource());
        QString hintAtCard;
        s->ShowAddressCard = [&] { hintAtCard = s->ui->SwitchBtn->toolTip(); };
        if (item != nullptr)
            item->trigger();
        else
            QTest::mouseClick(s->ui->FicheBtn, Qt::LeftButton);
        EXPECT_FALSE(s->DatabaseIsSource());
        EXPECT_TRUE(s->ui->RepFus->isChecked());
        EXPECT_TRUE(showsArrow(*s, QStyle::SP_ArrowLeft));
        EXPECT_EQ(hintAtCard, "The address-book is currently in use for merging");
    }
    s->close();
}

// The exit writes the numbering and date settings whether or not their dialog was ever made (a
// first start with no design makes none), a bad value rewritten as its default.
TEST_F(StationWindow, ExitWritesNumberingAndDatesWithoutTheirDialog)
{
    writeBytes(dir.filePath("pravolis.ini"), "[Options]\r\nFirstTime=0\r\n[NumAuto]\r\nDébut=abc\r\nContNum=1\r\n");
    auto s = start();
    s->close();
    const platform::TIniFile ini(dir.filePath("pravolis.ini"));
    EXPECT_EQ(ini.ReadString("NumAuto", "Début", "?"), "1");
    EXPECT_EQ(ini.ReadString("NumAuto", "ContNum", "?"), "1");
    EXPECT_EQ(ini.ReadString("NumAuto", "Méthode", "?"), "0");
    EXPECT_TRUE(ini.SectionExists("Dateurs"));
    EXPECT_EQ(ini.ReadString("Dateurs", "Memo1", "?"), "0");
}

// A first start shows the station, then the welcome and the address-book card over it, the
// station's commands already usable.
TEST_F(StationWindow, AFirstStartShowsTheStationBeforeTheWelcome)
{
    auto s = std::make_unique<TModEtik>(TStationFolders::Resolve(dir.path(), dir.filePath("user"), true),
                                        dir.filePath("pravolis.ini"));
    const auto onScreen = [&] { return s->windowHandle() != nullptr && s->windowHandle()->isVisible(); };
    bool shownAtWelcome = false;
    bool shownAtCard = false;
    bool newAtWelcome = false;
    s->ShowDesigner = [] {};
    platform::dialogHooks().messageBox = [&](QMessageBox& box) {
        shownAtWelcome = onScreen();
        newAtWelcome = s->ui->PlusBtn->isEnabled();
        boxes << box.text();
        box.button(QMessageBox::Ok)->click();
    };
    s->ShowAddressCard = [&] { shownAtCard = onScreen(); ++cardsShown; };
    s->FormCreate();
    s->show();
    ASSERT_EQ(boxes.size(), 1);
    ASSERT_EQ(cardsShown, 1);
    EXPECT_TRUE(shownAtWelcome);
    EXPECT_TRUE(shownAtCard);
    EXPECT_TRUE(newAtWelcome) << "the station under the welcome offers its commands";
    s->close();
}

// Print shows a printer printing and the printer set-up a printer (the theme's, or ours when the
// theme has none), not the style's floppy disk and monitor.
TEST_F(StationWindow, PrintCommandsShowPrinters)
{
    auto s = start();
    const auto image = [](const QIcon& icon) { return icon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32); };
    const QImage print = image(s->ui->PrintBtn->icon());
    const QImage setup = image(s->ui->ConfigBtn->icon());
    ASSERT_FALSE(print.isNull());
    ASSERT_FALSE(setup.isNull());
    EXPECT_NE(print, image(s->style()->standardIcon(QStyle::SP_DialogSaveButton)));
    EXPECT_NE(setup, image(s->style()->standardIcon(QStyle::SP_ComputerIcon)));
    EXPECT_NE(print, setup);
    s->close();
}

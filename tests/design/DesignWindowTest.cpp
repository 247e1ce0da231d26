#include "design/DesignDocument.h"
#include "design/DesignFileFormat.h"
#include "design/window/ObjectViews.h"
#include "design/window/TForm1.h"
#include "design/window/TImportImage.h"
#include "design/window/TStretchHandle.h"
#include "ui_TForm1.h"
#include "ui_TImportImage.h"

#include "MultiLang/MLBase.h"
#include "platform/Errors.h"
#include "platform/window/Dialogs.h"
#include "imaging/Scanner.h"
#include "station/Station.h"

#include "DesignWindowFixture.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>

using namespace design;
using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

// The design window on a station of its own in a temporary folder, driven through its window as a
// user would: presses reach whatever lies under the pointer (views, the frame, the surface).
class DesignWindow : public DesignWindowFixture {
protected:
    void SetUp() override
    {
        DesignWindowFixture::SetUp();
        platform::dialogHooks().messageBox = [this](QMessageBox& box) {
            boxes << box.text();
            QAbstractButton* button = box.button(answer);
            (button != nullptr ? button : box.button(QMessageBox::Ok))->click();
        };
        openWindow([](TForm1& window) { window.ScreenPixelsPerInch = 96; });
    }

    QWindow* window() { return form->windowHandle(); }
    void press(QPoint p, Qt::KeyboardModifiers mods = {}) { QTest::mousePress(window(), Qt::LeftButton, mods, at(p)); }
    void release(QPoint p, Qt::KeyboardModifiers mods = {}) { QTest::mouseRelease(window(), Qt::LeftButton, mods, at(p)); }
    void move(QPoint p) { QTest::mouseMove(window(), at(p)); }
    void click(QPoint p, Qt::KeyboardModifiers mods = {})
    {
        move(p);
        press(p, mods);
        release(p, mods);
    }
    void drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods = {})
    {
        move(from);
        press(from, mods);
        move((from + to) / 2);
        move(to);
        release(to, mods);
    }
    void place(TDesignTool tool, QPoint p)
    {
        form->ChooseTool(tool);
        click(p);
        form->ChooseTool(TDesignTool::Selection);
    }
    TDesignObject* last() { return model().IsEmpty() ? nullptr : model().Object(model().Count() - 1); }
    std::vector<TDesignObject*> selection() { return form->Selection(); }

    QStringList boxes;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
};

using V = std::vector<TDesignObject*>;

TEST_F(DesignWindow, EachToolPlacesItsObjectOnTheGridAndSelectsIt)
{
    form->ChooseTool(TDesignTool::Selection);
    ui().Active1->trigger(); // snapping on, grid 8
    ASSERT_TRUE(ui().Active1->isChecked());
    struct Case {
        TDesignTool tool;
        TDesignObjectKind kind;
    };
    const Case cases[] = {
        {TDesignTool::Line, TDesignObjectKind::Line},
        {TDesignTool::Rectangle, TDesignObjectKind::Shape},
        {TDesignTool::RoundRect, TDesignObjectKind::Shape},
        {TDesignTool::Ellipse, TDesignObjectKind::Shape},
        {TDesignTool::Text, TDesignObjectKind::Label},
        {TDesignTool::RotateLabel, TDesignObjectKind::RotateLabel},
        {TDesignTool::CircleLabel, TDesignObjectKind::CircleLabel},
        {TDesignTool::Barcode, TDesignObjectKind::Barcode},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.tool));
        form->SpeedButton1Click();
        model().Modifie = false;
        place(c.tool, {21, 13});
        ASSERT_EQ(model().Count(), 1);
        TDesignObject* o = last();
        EXPECT_EQ(o->Kind(), c.kind);
        EXPECT_EQ(QPoint(o->Left, o->Top), QPoint(16, 8));
        EXPECT_EQ(selection(), V{o});
        EXPECT_EQ(model().ObjetCourant, o);
        EXPECT_TRUE(model().Modifie);
        ASSERT_NE(form->ViewOf(o), nullptr);
        EXPECT_EQ(form->ViewOf(o)->geometry(), QRect(o->Left, o->Top, o->Width, o->Height));
        if (c.tool == TDesignTool::Rectangle) {
            EXPECT_EQ(QSize(o->Width, o->Height), QSize(64, 64));
        }
    }
}

TEST_F(DesignWindow, ClicksShiftClicksAndTheRubberBandSelect)
{
    place(TDesignTool::Line, {40, 40});
    place(TDesignTool::Line, {150, 40});
    TDesignObject* a = model().Object(0);
    TDesignObject* b = model().Object(1);
    form->EmptySelection();
    const QPoint inA(a->Left + a->Width / 2, a->Top + a->Height / 2);
    const QPoint inB(b->Left + b->Width / 2, b->Top + b->Height / 2);

    click(inA);
    EXPECT_EQ(selection(), V{a});
    click(inB, Qt::ShiftModifier);
    EXPECT_EQ(selection(), (V{a, b}));
    click(inB, Qt::ShiftModifier); // already selected: stays
    EXPECT_EQ(selection(), (V{a, b}));
    // A click on the surface empties the selection and selects nothing.
    click({250, 180});
    EXPECT_EQ(selection(), V{});
    click(inB);
    click(inA); // a plain click replaces the selection
    EXPECT_EQ(selection(), V{a});
    // A band dragged up-left over one pixel of b selects b only.
    drag({b->Left + 60, b->Top + 40}, {b->Left + b->Width - 1, b->Top + b->Height - 1});
    EXPECT_EQ(selection(), V{b});
    EXPECT_FALSE(form->CadreEnCours);
    drag({0, 0}, {290, 190});
    EXPECT_EQ(selection(), (V{a, b}));
    EXPECT_EQ(model().ObjetCourant, b);
}

TEST_F(DesignWindow, FrameMovesAndResizesMarkTheDesignModified)
{
    place(TDesignTool::Line, {40, 40});
    TDesignObject* line = last();
    const QRect before(line->Left, line->Top, line->Width, line->Height);
    model().Modifie = false;
    // Without snapping the object lands exactly where it was dropped.
    const QPoint grip(line->Left + 20, line->Top + line->Height / 2);
    drag(grip, grip + QPoint(13, 7));
    EXPECT_EQ(QPoint(line->Left, line->Top), before.topLeft() + QPoint(13, 7));
    EXPECT_TRUE(model().Modifie);
    EXPECT_EQ(form->ViewOf(line)->pos(), QPoint(line->Left, line->Top));

    // With the grid on the object's own edge snaps.
    ui().Active1->trigger();
    const QPoint grip2(line->Left + 20, line->Top + line->Height / 2);
    drag(grip2, grip2 + QPoint(10, 10));
    EXPECT_EQ(line->Left % 8, 0);
    EXPECT_EQ(line->Top % 8, 0);

    // An arrow key moves the selection one pixel and the design is modified.
    model().Modifie = false;
    const int left = line->Left;
    QTest::keyClick(form->SH, Qt::Key_Right);
    EXPECT_EQ(line->Left, left + 1);
    EXPECT_TRUE(model().Modifie);
}

// Counts the paint events of a set of widgets.
class PaintCount : public QObject {
public:
    QSet<QObject*> Watched;
    int Paints = 0;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && Watched.contains(watched))
            ++Paints;
        return false;
    }
};

TEST_F(DesignWindow, DraggingTheFrameRepaintsOnlyWhatTheOutlineCrosses)
{
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            PlaceShape(model(), 20 + col * 70, 20 + row * 45, stRectangle)->Height = 30;
    TDesignObject* first = model().Object(0);
    first->Width = 40;
    form->Select(first, false);
    QCoreApplication::processEvents();
    PaintCount count;
    // The objects the outline never comes near: the last two rows.
    for (int i = 8; i < 16; ++i)
        count.Watched.insert(form->ViewOf(model().Object(i)));
    qApp->installEventFilter(&count);
    const QPoint grip(first->Left + 10, first->Top + 10);
    move(grip);
    press(grip);
    for (int step = 1; step <= 10; ++step) {
        move(grip + QPoint(step * 3, step));
        QCoreApplication::processEvents();
    }
    release(grip + QPoint(30, 10));
    QCoreApplication::processEvents();
    qApp->removeEventFilter(&count);
    EXPECT_EQ(QPoint(first->Left, first->Top), QPoint(50, 30));
    EXPECT_EQ(count.Paints, 0);
}

TEST_F(DesignWindow, DeleteRemovesTheSelectionAndEraseAllRemovesEverything)
{
    place(TDesignTool::Line, {40, 40});
    place(TDesignTool::CircleLabel, {150, 40});
    place(TDesignTool::RotateLabel, {40, 120});
    QPointer<QWidget> firstView = form->ViewOf(model().Object(0));

    // Nothing current: the key deletes nothing.
    form->EmptySelection();
    model().ObjetCourant = nullptr;
    QTest::keyClick(ui().HelpBtn, Qt::Key_Delete);
    EXPECT_EQ(model().Count(), 3);

    form->Select(model().Object(0), false);
    form->Select(model().Object(1), true);
    model().ObjetCourant = model().Object(1);
    QTest::keyClick(form->SH, Qt::Key_Delete);
    ASSERT_EQ(model().Count(), 1);
    EXPECT_EQ(model().Object(0)->Kind(), TDesignObjectKind::RotateLabel);
    EXPECT_EQ(form->SH->AttachedCount(), 0);
    EXPECT_EQ(model().ObjetCourant, nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(firstView.isNull());

    form->SpeedButton1Click(); // asks nothing, takes unselected objects too
    EXPECT_TRUE(model().IsEmpty());
    EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(DesignWindow, SaveReopenAndPasteIntoAnotherDesign)
{
    place(TDesignTool::Line, {40, 40});
    place(TDesignTool::CircleLabel, {150, 30});
    place(TDesignTool::RotateLabel, {40, 120});
    form->AskDesignName = [](const QString&) { return QStringLiteral("Badge"); };
    form->SaveBtnClick(); // never saved: goes through save-as
    const QString path = station->Folders.ModelsFolder() + "/Badge.car";
    ASSERT_TRUE(QFileInfo::exists(path));
    EXPECT_FALSE(model().Modifie);
    EXPECT_TRUE(form->windowTitle().endsWith("\"Badge\""));
    const QByteArray saved = readBytes(path);

    form->OpenDesign(path);
    ASSERT_EQ(model().Count(), 3);
    form->SaveBtnClick();
    EXPECT_EQ(readBytes(path), saved);

    // Copy two objects, start another design, paste them: one grid step down and right.
    form->Select(model().Object(0), false);
    form->Select(model().Object(1), true);
    const QPoint first(model().Object(0)->Left, model().Object(0)->Top);
    form->CopyClick();
    form->SpeedButton1Click();
    model().NomDocument.clear();
    form->PasteClick();
    ASSERT_EQ(model().Count(), 2);
    EXPECT_EQ(QPoint(model().Object(0)->Left, model().Object(0)->Top), first + QPoint(8, 8));
    EXPECT_EQ(selection(), (V{model().Object(0), model().Object(1)}));
    EXPECT_NE(form->ViewOf(model().Object(1)), nullptr);
    EXPECT_TRUE(model().Modifie);
}

TEST_F(DesignWindow, ClosingWithChangesAlwaysAsks)
{
    int returned = 0;
    form->ReturnToStation = [&] { ++returned; };
    place(TDesignTool::Line, {40, 40});
    ASSERT_TRUE(model().Modifie);
    answer = QMessageBox::Cancel;
    ui().Quitter1->trigger();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(boxes.size(), 1);
    form->close();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(boxes.size(), 2);
    EXPECT_EQ(returned, 0);
    answer = QMessageBox::No;
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(returned, 1);
    EXPECT_EQ(boxes.size(), 3);
    EXPECT_TRUE(boxes.last().startsWith("The document loaded in the editor has been changed"));
}

TEST_F(DesignWindow, MergeSourceItemsActAsRadioItems)
{
    bool database = false;
    int switches = 0;
    form->DatabaseIsSource = [&] { return database; };
    form->ChooseMergeSource = [&](bool d) {
        database = d;
        ++switches;
    };
    form->FillFieldLists();
    EXPECT_TRUE(ui().RepFus->isChecked());
    ui().RepFus->trigger(); // the checked one: nothing changes
    EXPECT_EQ(switches, 0);
    EXPECT_TRUE(ui().RepFus->isChecked());
    EXPECT_FALSE(ui().BasFus->isChecked());
    ui().BasFus->trigger();
    EXPECT_EQ(switches, 1);
    EXPECT_TRUE(database);
    EXPECT_TRUE(ui().BasFus->isChecked());
    EXPECT_FALSE(ui().RepFus->isChecked());
}

TEST_F(DesignWindow, FormatCommandKnowsAChangeUntilTheDesignIsOpenedAgain)
{
    station::TLigneFormat chosen;
    auto rowOf = [](const QStringList& cells) {
        station::TLigneFormat r;
        for (int i = 0; i < cells.size(); ++i)
            r.Cells[i] = cells[i];
        return r;
    };
    QString unlisted;
    form->ChooseFormat = [&](const QString& u, station::TLigneFormat& row, station::TPaperNames&) {
        unlisted = u;
        row = chosen;
        return true;
    };
    model().Format() = TCurrentFormat{"A", 7000, 4200, 3, 7, 0, 0, 0, 0, false, false};
    model().FormatModifie = false;
    model().Modifie = false;
    // The same values: nothing changes.
    chosen = rowOf({"A", "7000", "4200", "3", "7", "0", "0", "0", "0", "0", "0"});
    form->FormatBtnClick();
    EXPECT_EQ(unlisted, "Unlisted format");
    EXPECT_FALSE(model().FormatModifie);
    EXPECT_FALSE(model().Modifie);
    // Another format: changed, and a second OK on it keeps the change known.
    chosen = rowOf({"B", "5000", "3000", "2", "5", "0", "0", "0", "0", "0", "0"});
    form->FormatBtnClick();
    EXPECT_TRUE(model().FormatModifie);
    EXPECT_TRUE(model().Modifie);
    EXPECT_EQ(model().LargeurEtiquettePx, 189);
    form->FormatBtnClick();
    EXPECT_TRUE(model().FormatModifie);
    // A bad cell changes nothing at all.
    chosen = rowOf({"C", "6000", "12a", "2", "5", "0", "0", "0", "0", "0", "0"});
    EXPECT_THROW(form->FormatBtnClick(), platform::EConvertError);
    EXPECT_EQ(model().Format().NomFormat, "B");
    EXPECT_EQ(model().Format().LargeurEtiquette, 5000);
}

TEST_F(DesignWindow, PicturesComeFromFilesAndAFailedOneLeavesNothing)
{
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    const QString jpg = dir.filePath("photo.jpg");
    ASSERT_TRUE(picture.save(jpg, "JPG"));
    const QString broken = dir.filePath("broken.png");
    writeBytes(broken, "no picture");
    QString chosen;
    form->ChoosePictureSource = [] { return TForm1::TPictureChoice{}; };
    form->ChoosePictureFile = [&](const QString&) { return chosen; };

    chosen = broken;
    place(TDesignTool::Image, {16, 8});
    EXPECT_TRUE(model().IsEmpty());
    EXPECT_FALSE(QFileInfo::exists(station->Folders.ImagesFolder() + "/broken.bmp"));
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith("Unrecognised image format\n")) << boxes[0].toStdString();

    chosen = jpg;
    place(TDesignTool::Image, {16, 8});
    ASSERT_EQ(model().Count(), 1);
    auto* image = As<TImage>(last());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Hint, "photo.bmp");
    EXPECT_EQ(QSize(image->Width, image->Height), QSize(65, 43));
    EXPECT_EQ(selection(), V{image});
    EXPECT_TRUE(QFileInfo::exists(station->Folders.ImagesFolder() + "/photo.bmp"));

    // Widened by its right handle, it keeps the picture's proportions.
    const QPoint handle(image->Left + image->Width - 1, image->Top + image->Height / 2);
    drag(handle, handle + QPoint(35, 0));
    EXPECT_EQ(image->Width, 100);
    EXPECT_EQ(image->Height, 67);
    EXPECT_EQ(form->ViewOf(image)->size(), QSize(100, 67));
}

// A picture the readers refuse is reported with the reader's own reason under the usual words,
// and leaves nothing in the pictures folder, whether it would have been copied or converted.
TEST_F(DesignWindow, ARefusedPictureSaysWhyAndIsNotKept)
{
    const QString images = station->Folders.ImagesFolder();
    QImage wide(40000, 10, QImage::Format_RGB32);
    wide.fill(Qt::blue);
    ASSERT_TRUE(wide.save(dir.filePath("wide.png")));
    writeBytes(dir.filePath("cut.bmp"), QByteArray("BM") + QByteArray(20, '\0'));
    writeBytes(dir.filePath("junk.png"), "no picture");
    const struct {
        const char* file;
        const char* kept;
        const char* reason;
    } cases[] = {
        {"wide.png", "wide.bmp", "32767"},
        {"cut.bmp", "cut.bmp", ""},
        {"junk.png", "junk.bmp", ""},
    };
    form->ChoosePictureSource = [] { return TForm1::TPictureChoice{}; };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        boxes.clear();
        form->ChoosePictureFile = [&](const QString&) { return dir.filePath(c.file); };
        place(TDesignTool::Image, {16, 8});
        EXPECT_TRUE(model().IsEmpty());
        EXPECT_FALSE(QFileInfo::exists(images + "/" + c.kept));
        ASSERT_EQ(boxes.size(), 1);
        const QStringList lines = boxes[0].split(u'\n');
        ASSERT_EQ(lines.size(), 2) << boxes[0].toStdString();
        EXPECT_EQ(lines[0], "Unrecognised image format");
        EXPECT_FALSE(lines[1].trimmed().isEmpty());
        EXPECT_TRUE(lines[1].contains(c.reason)) << lines[1].toStdString();
    }
}

// A picture far wider than high is placed at the tool's width and one pixel high at least: an
// object that shows and takes a click.
TEST_F(DesignWindow, AThinPictureIsPlacedAtLeastOnePixelHigh)
{
    QImage thin(30000, 10, QImage::Format_RGB32);
    thin.fill(Qt::black);
    ASSERT_TRUE(thin.save(dir.filePath("thin.png")));
    form->ChoosePictureSource = [] { return TForm1::TPictureChoice{}; };
    form->ChoosePictureFile = [&](const QString&) { return dir.filePath("thin.png"); };
    place(TDesignTool::Image, {16, 8});
    EXPECT_TRUE(boxes.isEmpty());
    ASSERT_EQ(model().Count(), 1);
    auto* image = As<TImage>(last());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(QSize(image->Width, image->Height), QSize(65, 1));
    EXPECT_EQ(form->ViewOf(image)->size(), QSize(65, 1));
    // Clicked away and back on its one row, it is the selection again.
    click({200, 150});
    EXPECT_TRUE(selection().empty());
    click({image->Left + 30, image->Top});
    EXPECT_EQ(selection(), V{image});
}

TEST_F(DesignWindow, TheImportDialogPlacesAFieldsPictureAndItsCancelPlacesNothing)
{
    // Answers the import dialog the picture tool opens, as a user would.
    const auto answer = [this](bool field, bool ok) {
        testsupport::whenShown<TImportImage>(form.get(), [field, ok](TImportImage& dialog) {
            if (field) {
                dialog.ui->RadioButton3->setChecked(true);
                const int town = dialog.ui->ComboBox->findText("<Town>");
                EXPECT_GE(town, 0) << "the merge source's codes are offered";
                dialog.ui->ComboBox->setCurrentIndex(town);
            }
            (ok ? dialog.ui->OKBtn : dialog.ui->CancelBtn)->click();
        });
    };
    form->ChoosePictureFile = [](const QString&) -> QString {
        ADD_FAILURE() << "no file is chosen for a field or a cancelled import";
        return {};
    };

    answer(true, false);
    place(TDesignTool::Image, {16, 8});
    EXPECT_TRUE(model().IsEmpty());

    answer(true, true);
    place(TDesignTool::Image, {16, 8});
    ASSERT_EQ(model().Count(), 1);
    auto* image = As<TImage>(last());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Hint, "<Town>");
    EXPECT_EQ(selection(), V{image});
    EXPECT_TRUE(model().Modifie);
}

TEST_F(DesignWindow, AScannedPageIsSavedAsTheNextScanFileAndPlaced)
{
    // SANE's virtual scanner, switched on by a configuration folder of this process's own.
    testsupport::useSaneBackends("test\n");
    imaging::chosenScanDevice().clear();
    imaging::setScanResolution(75);
    const QString images = station->Folders.ImagesFolder();
    QDir().mkpath(images);
    writeBytes(images + "/scan1.bmp", "taken");

    ASSERT_TRUE(form->PlaceScannedPicture({16, 8}));
    auto* image = As<TImage>(last());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Hint, "scan2.bmp");
    EXPECT_EQ(selection(), V{image});
    EXPECT_TRUE(model().Modifie);
    // The test page is 80 x 100 mm: at 75 dots per inch 236 x 295 pixels, kept in proportion.
    const QImage saved(images + "/scan2.bmp");
    EXPECT_EQ(saved.size(), QSize(236, 295));
    EXPECT_EQ(QSize(image->Width, image->Height), QSize(65, 81));
    EXPECT_TRUE(ui().Tampon->Empty());
    EXPECT_FALSE(ui().Tampon->isVisible());

    // A page that cannot be written names no picture: the user is told, nothing is placed.
    ASSERT_TRUE(QDir(images).removeRecursively());
    writeBytes(images, "a file where the folder was");
    const int count = model().Count();
    EXPECT_FALSE(form->PlaceScannedPicture({16, 100}));
    EXPECT_EQ(model().Count(), count);
    EXPECT_EQ(boxes, QStringList{"The scanned page could not be saved"});
    imaging::chosenScanDevice().clear();
    imaging::setScanResolution(150);
}

TEST_F(DesignWindow, TextBlocksAreEditedInPlaceWithTheFieldCodeList)
{
    model().Modifie = false;
    form->ChooseTool(TDesignTool::Memo);
    click({30, 20});
    ASSERT_EQ(model().Count(), 1);
    auto* memo = As<TMemo>(last());
    ASSERT_NE(memo, nullptr);
    auto* view = qobject_cast<TMemoView*>(form->ViewOf(memo));
    ASSERT_NE(view, nullptr);
    // Not selected: typing starts at once and replaces the preselected default text.
    EXPECT_EQ(form->SH->AttachedCount(), 0);
    EXPECT_TRUE(model().Modifie);
    EXPECT_EQ(QApplication::focusWidget(), view->Editor());
    QTest::keyClicks(view->Editor(), "ab");
    EXPECT_EQ(memo->Lines, QStringList{"ab"});
    // The field-code list stands under the block; a code goes in at the caret.
    EXPECT_TRUE(ui().ComboBox->isVisible());
    EXPECT_EQ(ui().ComboBox->geometry().topLeft(), QPoint(memo->Left, memo->Top + memo->Height));
    EXPECT_EQ(form->MemoEnCours, view);
    QTextCursor caret = view->Editor()->textCursor();
    caret.setPosition(1);
    view->Editor()->setTextCursor(caret);
    const int code = ui().ComboBox->findText("<Date1>");
    ASSERT_GE(code, 0);
    ui().ComboBox->activated(code);
    EXPECT_EQ(memo->Lines, QStringList{"a<Date1>b"});
    EXPECT_EQ(view->Editor()->textCursor().position(), 8);
    // Delete while typing acts in the block only.
    QTest::keyClick(view->Editor(), Qt::Key_Delete);
    EXPECT_EQ(model().Count(), 1);
    EXPECT_EQ(memo->Lines, QStringList{"a<Date1>"});

    // The block goes: the list hides and a code chosen later goes nowhere.
    form->SpeedButton1Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form->MemoEnCours.isNull());
    EXPECT_FALSE(ui().ComboBox->isVisible());
    form->InsertFieldCode("<Date2>");
}

// A code picked for a block just placed takes the place of its preselected placeholder, as typing
// does; a selection the user made is kept, the code going in at its start.
TEST_F(DesignWindow, AFieldCodePickedForANewBlockReplacesItsPlaceholder)
{
    const struct {
        const char* typed; // nullptr: nothing typed, the placeholder stands
        QStringList lines;
    } cases[] = {
        {nullptr, {"<Date1>"}},
        {"Dear", {"<Date1>Dear"}},
    };
    int placed = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed != nullptr ? c.typed : "placeholder");
        form->ChooseTool(TDesignTool::Memo);
        click({30, 20 + 90 * placed++});
        auto* memo = As<TMemo>(last());
        ASSERT_NE(memo, nullptr);
        auto* view = qobject_cast<TMemoView*>(form->ViewOf(memo));
        ASSERT_NE(view, nullptr);
        ASSERT_EQ(memo->Lines, QStringList{"Block of text"});
        if (c.typed != nullptr) {
            QTest::keyClicks(view->Editor(), c.typed);
            QTest::keyClick(view->Editor(), Qt::Key_A, Qt::ControlModifier);
        }
        const int code = ui().ComboBox->findText("<Date1>");
        ASSERT_GE(code, 0);
        ui().ComboBox->activated(code);
        EXPECT_EQ(memo->Lines, c.lines);
    }
}

TEST_F(DesignWindow, TheSurfaceShowsTextBlocksWithTheirBorder)
{
    TMemo* memo = PlaceMemo(model(), 30, 20, "Text");
    const QImage surface = ui().Feuille->grab().toImage();
    EXPECT_EQ(surface.pixel(memo->Left, memo->Top + 30) & 0xFFFFFF, 0u);
    EXPECT_EQ(surface.pixel(memo->Left + 50, memo->Top + memo->Height - 1) & 0xFFFFFF, 0u);
}

TEST_F(DesignWindow, ADoubleClickSelectsATextBlock)
{
    PlaceMemo(model(), 30, 20, "Text");
    TDesignObject* memo = last();
    form->ChooseTool(TDesignTool::Selection);
    const QPoint inside(memo->Left + 20, memo->Top + 20);
    click(inside);
    EXPECT_EQ(form->SH->AttachedCount(), 0);
    QTest::mouseDClick(window(), Qt::LeftButton, {}, at(inside));
    EXPECT_EQ(selection(), V{memo});
    EXPECT_FALSE(qobject_cast<TMemoView*>(form->ViewOf(memo))->Editor()->textCursor().hasSelection());
}

} // namespace

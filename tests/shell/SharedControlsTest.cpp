#include "shell/TFloatEdit.h"
#include "shell/TGlassImage.h"
#include "shell/TMivoScrollBox.h"
#include "shell/TTabListBox.h"
#include "shell/TUrlLabel.h"

#include "platform/Errors.h"
#include "platform/window/ShellOpen.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace platform;

TEST(TabListBox, PercentagesAreParsedCheckedAndReadBack)
{
    struct Case {
        const char* text;
        const char* readBack;
    };
    for (const Case& c : {Case{"10, 40 70", "10, 40, 70"}, Case{" 80 ", "80"}, Case{"0", "0"},
                          Case{"0, 50", "0, 50"}, Case{"1,2,3,4,5,6,7,8,9,10,11", "1, 2, 3, 4, 5, 6, 7, 8, 9, 10"}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FormatTabPercentages(ParseTabPercentages(c.text)), c.readBack);
    }

    TTabListBox list;
    list.SetTabPercentages("20, 60");
    const struct {
        const char* text;
        const char* message;
    } bad[] = {{"50,50", "Tab percentage values must be in increasing order"},
               {"60 40", "Tab percentage values must be in increasing order"},
               {"201", "Tab percentage values must be between 0 and 200"},
               {"10, -1", "Tab percentage values must be between 0 and 200"}};
    for (const auto& b : bad) {
        SCOPED_TRACE(b.text);
        try {
            list.SetTabPercentages(b.text);
            ADD_FAILURE() << "accepted";
        } catch (const EOrderException& e) {
            EXPECT_EQ(e.message(), b.message);
        }
        EXPECT_EQ(list.TabPercentages(), "20, 60"); // the old stops stay
    }
    EXPECT_THROW(list.SetTabPercentages("10, x"), EConvertError);
    EXPECT_EQ(list.TabPercentages(), "20, 60");

    EXPECT_EQ(TabStopDialogUnits(300, 80, 8), 120);
}

namespace {

// The left ends of the runs of dark columns in one row band of the list's drawing.
QList<int> inkStarts(const QImage& image, int top, int bottom)
{
    QList<int> starts;
    bool inInk = false;
    for (int x = 0; x < image.width(); ++x) {
        bool dark = false;
        for (int y = top; y < bottom && !dark; ++y)
            dark = qGray(image.pixel(x, y)) < 100;
        if (dark && !inInk)
            starts << x;
        inInk = dark;
    }
    return starts;
}

} // namespace

// The columns start at the given percentage of the list's width and follow it when it widens.
TEST(TabListBox, ItemsAreDrawnAtTheirTabStops)
{
    TTabListBox list;
    list.setFrameShape(QFrame::NoFrame);
    list.addItem("I\tI\tI");
    list.SetTabPercentages("25, 50");
    const int base = list.fontMetrics().averageCharWidth();
    for (int width : {300, 480}) {
        SCOPED_TRACE(width);
        list.resize(width, 80);
        list.show();
        const QImage image = list.viewport()->grab().toImage();
        const QRect row = list.visualItemRect(list.item(0));
        const QList<int> starts = inkStarts(image, row.top(), row.bottom());
        ASSERT_EQ(starts.size(), 3);
        for (int i = 1; i <= 2; ++i) {
            const int expected = width * 25 * i / 100; // percent of the width, less what div drops
            EXPECT_LE(starts[i] - starts[0], expected + 1);
            EXPECT_GE(starts[i] - starts[0], expected - base);
        }
    }

    // No stop of its own: tabs every 32 dialog units (8 average characters).
    list.SetTabPercentages("0");
    const QImage image = list.viewport()->grab().toImage();
    const QRect row = list.visualItemRect(list.item(0));
    const QList<int> starts = inkStarts(image, row.top(), row.bottom());
    ASSERT_EQ(starts.size(), 3);
    EXPECT_EQ(starts[1] - starts[0], 8 * base);
    EXPECT_EQ(starts[2] - starts[0], 16 * base);
}

TEST(FloatEdit, TakesOnlyWhatANumberWithACommaCanHold)
{
    TFloatEdit edit;
    edit.show();
    QTest::keyClicks(&edit, "-12.5a,75e");
    EXPECT_EQ(edit.text(), "-125,75");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "-125,7");
    EXPECT_DOUBLE_EQ(edit.Value(), -125.7);
    QTest::keyClick(&edit, Qt::Key_Home);
    QTest::keyClick(&edit, Qt::Key_Delete);
    QTest::keyClicks(&edit, "+");
    EXPECT_EQ(edit.text(), "+125,7");

    edit.SetValue(2.5, 2);
    EXPECT_EQ(edit.text(), "2,50");
    edit.setText("1.5"); // pasted: the point is no separator here
    EXPECT_THROW(edit.Value(), EConvertError);
}

TEST(MivoScrollBox, ReportsEachDirectionOfScrolling)
{
    TMivoScrollBox box;
    auto* surface = new QWidget;
    surface->resize(1000, 1000);
    box.setWidget(surface);
    box.resize(200, 200);
    box.show();
    QSignalSpy vertical(&box, &TMivoScrollBox::OnVertScroll);
    QSignalSpy horizontal(&box, &TMivoScrollBox::OnHorzScroll);

    QTest::keyClick(box.verticalScrollBar(), Qt::Key_PageDown);
    EXPECT_EQ(vertical.size(), 1);
    EXPECT_EQ(horizontal.size(), 0);
    box.ensureVisible(900, 10);
    EXPECT_EQ(horizontal.size(), 1);
    EXPECT_EQ(horizontal.at(0).at(0).value<QObject*>(), &box);
}

TEST(UrlLabel, AClickOpensTheAddressOrTheCaption)
{
    QList<QUrl> opened;
    shellOpenHook() = [&](const QUrl& url) {
        opened << url;
        return true;
    };
    TUrlLabel label;
    label.setText("www.example.org");
    label.resize(200, 20);
    label.show();

    QTest::mouseClick(&label, Qt::LeftButton);
    label.URL = "  mailto:someone@example.org ";
    QTest::mouseClick(&label, Qt::LeftButton);
    // Dragged off before the release: no click.
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(500, 5));
    label.URL = " ";
    label.setText(" ");
    QTest::mouseClick(&label, Qt::LeftButton);
    shellOpenHook() = nullptr;

    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], QUrl("http://www.example.org"));
    EXPECT_EQ(opened[1], QUrl("mailto:someone@example.org"));
}

TEST(UrlLabel, ShowsItsActiveColourWhileDownAndCopiesItsCaption)
{
    shellOpenHook() = [](const QUrl&) { return true; };
    TUrlLabel label;
    label.setText("www.example.org");
    label.resize(200, 20);
    label.show();
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_TRUE(label.font().underline());

    QTest::mousePress(&label, Qt::LeftButton);
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(0x80, 0, 0x80));
    QTest::mouseRelease(&label, Qt::LeftButton);
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(0, 0, 255));
    shellOpenHook() = nullptr;

    label.CopyItem->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "www.example.org");
}

TEST(GlassImage, TheGlassColourShowsWhatIsBehind)
{
    QWidget parent;
    parent.setAutoFillBackground(true);
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, Qt::red);
    parent.setPalette(pal);
    parent.resize(200, 200);
    auto* glass = new TGlassImage(&parent);
    EXPECT_EQ(glass->size(), QSize(105, 105));

    // Left half white (the glass), right half blue.
    QImage picture(50, 40, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int y = 0; y < 40; ++y)
        for (int x = 25; x < 50; ++x)
            picture.setPixel(x, y, qRgb(0, 0, 255));
    glass->SetGlassColor(clWhite);
    glass->SetCenter(true);
    glass->SetPicture(picture);
    EXPECT_EQ(glass->PictureRect(), QRect(27, 32, 50, 40));

    parent.show();
    QImage shot = parent.grab().toImage();
    EXPECT_EQ(shot.pixelColor(27 + 10, 32 + 20), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(27 + 40, 32 + 20), QColor(Qt::blue));

    // Another glass colour: white is drawn, blue is glass.
    glass->SetGlassColor(clBlue);
    shot = parent.grab().toImage();
    EXPECT_EQ(shot.pixelColor(27 + 10, 32 + 20), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(27 + 40, 32 + 20), QColor(Qt::red));

    glass->SetAutoSize(true);
    EXPECT_EQ(glass->size(), QSize(50, 40));
    glass->SetStretch(true);
    glass->resize(100, 80);
    EXPECT_EQ(glass->PictureRect(), QRect(0, 0, 100, 80));
    shot = parent.grab().toImage();
    EXPECT_EQ(shot.pixelColor(90, 40), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(20, 40), QColor(Qt::white));
}

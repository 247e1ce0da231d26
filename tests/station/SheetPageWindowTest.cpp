#include "MultiLang/MLBase.h"
#include "platform/window/Dialogs.h"
#include "station/window/TFormat.h"
#include "station/window/TModEtik.h"
#include "station/window/TPrevis.h"
#include "ui_TFormat.h"
#include "ui_TModEtik.h"
#include "ui_TPrevis.h"

#include "TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QDrag>
#include <QFile>
#include <QMimeData>
#include <QMouseEvent>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace station;
using testsupport::dataPath;

namespace {

// The station with "badge" (2 x 8 labels) and "round" (4 x 5 round labels), driven by the mouse.
// Drags are delivered by the test as the platform would: enter, then drop at `dropAt`.
class PageWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_language = GlobalLanguage();
        platform::dialogHooks().messageBox = [this](QMessageBox& box) {
            boxes << box.text();
            box.button(answerYes ? QMessageBox::Yes : QMessageBox::No)->click();
        };
        m_dragHook = TModEtik::DragHook();
        TModEtik::DragHook() = [this](QDrag& drag) {
            ++drags;
            QDragEnterEvent enter(dropAt, Qt::CopyAction | Qt::MoveAction, drag.mimeData(), Qt::LeftButton, {});
            QApplication::sendEvent(s->ui->Page, &enter);
            if (!enter.isAccepted())
                return;
            QDropEvent drop(QPointF(dropAt), Qt::CopyAction | Qt::MoveAction, drag.mimeData(), Qt::LeftButton, {});
            QApplication::sendEvent(s->ui->Page, &drop);
        };
        QDir().mkpath(dir.filePath("perso"));
        for (const auto& [fixture, name] : {std::pair{"allkinds.car", "badge.car"}, std::pair{"version9.car", "round.car"}}) {
            ASSERT_TRUE(QFile::copy(dataPath(QStringLiteral("design/") + fixture), dir.filePath("perso/" + QString(name))));
            QFile::setPermissions(dir.filePath("perso/" + QString(name)), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        }
        s = std::make_unique<TModEtik>(TStationFolders::Resolve(dir.path(), dir.filePath("user"), true),
                                       dir.filePath("pravolis.ini"));
        s->ShowAddressCard = [] {};
        s->FormCreate();
        s->PremiereFois = false;
        s->show();
        boxes.clear();
    }
    void TearDown() override
    {
        s.reset();
        TModEtik::DragHook() = m_dragHook;
        SetGlobalLanguage(m_language);
    }

    int row(const QString& name) const { return s->Station.Models.IndexOf(name); }
    // Where a cell's centre is on the page widget.
    QPoint at(int c, int r)
    {
        const QRect image = QStyle::alignedRect(s->layoutDirection(), Qt::AlignCenter, s->ui->Page->pixmap().size(),
                                                s->ui->Page->contentsRect());
        return image.topLeft() + s->Station.PageGeometry().CellRect(c, r).center();
    }
    QString cell(int c, int r) const { return s->Station.Planche.Cell(c, r); }
    int count() const { return s->Station.Planche.NbCasesRemplies(); }
    void dragFromList(const QString& name)
    {
        QWidget* viewport = s->ui->ListBox->viewport();
        const QPoint from = s->ui->ListBox->visualItemRect(s->ui->ListBox->item(row(name))).center();
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(from + QPoint(30, 0)), viewport->mapToGlobal(QPointF(from + QPoint(30, 0))),
                         Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &move);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, from);
    }

    QTemporaryDir dir;
    std::unique_ptr<TModEtik> s;
    QStringList boxes;
    bool answerYes = false;
    int drags = 0;
    QPoint dropAt;
    platform::DialogHooksGuard hooks;

private:
    int m_language = 0;
    std::function<void(QDrag&)> m_dragHook;
};

} // namespace

// Click to place, right-click to remove; the page commands and the page's hint follow whether the
// page holds a model.
TEST_F(PageWindow, ClickPlacesAndRightClickRemoves)
{
    s->ui->ListBox->setCurrentRow(row("badge"));
    ASSERT_GT(s->EchellePage, 0);
    EXPECT_EQ(s->ui->Page->toolTip(), "Preview of the page of labels");
    EXPECT_FALSE(s->ui->ClearPageBtn->isEnabled());
    EXPECT_TRUE(s->ui->FillBtn->isEnabled());

    QTest::mouseClick(s->ui->Page, Qt::LeftButton, {}, at(2, 3));
    EXPECT_EQ(cell(2, 3), "badge");
    EXPECT_TRUE(s->ui->ClearPageBtn->isEnabled());
    EXPECT_TRUE(s->ui->EffacerItem->isEnabled());
    EXPECT_EQ(s->ui->Page->toolTip(), "Right-click to suppress a label");

    QTest::mouseClick(s->ui->Page, Qt::RightButton, {}, at(2, 3));
    EXPECT_EQ(count(), 0);
    EXPECT_FALSE(s->ui->ClearPageBtn->isEnabled());
    EXPECT_EQ(s->ui->Page->toolTip(), "Preview of the page of labels");
    EXPECT_TRUE(boxes.isEmpty());
}

// A model dragged from the list lands in the cell under the pointer; a placed model dragged
// within the page moves; "Fill up" fills the rest and is then disabled; "Clear" empties it all.
TEST_F(PageWindow, DragFillAndClear)
{
    s->ui->ListBox->setCurrentRow(row("round"));
    dropAt = at(2, 2);
    dragFromList("round");
    EXPECT_EQ(drags, 1);
    EXPECT_EQ(s->Station.SelectedName(), "round");
    EXPECT_EQ(cell(2, 2), "round");
    EXPECT_EQ(count(), 1);

    dropAt = at(4, 5);
    QTest::mousePress(s->ui->Page, Qt::LeftButton, {}, at(2, 2));
    QTest::mouseRelease(s->ui->Page, Qt::LeftButton, {}, at(2, 2));
    EXPECT_EQ(drags, 2);
    EXPECT_EQ(cell(2, 2), "");
    EXPECT_EQ(cell(4, 5), "round");

    QTest::mouseClick(s->ui->FillBtn, Qt::LeftButton);
    EXPECT_EQ(count(), 20);
    EXPECT_FALSE(s->ui->FillBtn->isEnabled());
    // A full page starts no move.
    QTest::mousePress(s->ui->Page, Qt::LeftButton, {}, at(1, 1));
    EXPECT_EQ(drags, 2);

    QTest::mouseClick(s->ui->ClearPageBtn, Qt::LeftButton);
    EXPECT_EQ(count(), 0);
    EXPECT_TRUE(s->ui->FillBtn->isEnabled());
    EXPECT_FALSE(s->ui->ClearPageBtn->isEnabled());
}

// A model of another format asks whether to clear the page: "No" leaves everything, "Yes"
// clears the page and fills it in the new format.
TEST_F(PageWindow, AnotherFormatAsks)
{
    s->ui->ListBox->setCurrentRow(row("badge"));
    QTest::mouseClick(s->ui->Page, Qt::LeftButton, {}, at(1, 1));
    s->ui->ListBox->setCurrentRow(row("round"));
    QTest::mouseClick(s->ui->FillBtn, Qt::LeftButton);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0], "The format of the selected label is incompatible with that of the other one. "
                        "Do you want to clear the page of labels and place the selected label, adopting its format ?");
    EXPECT_EQ(cell(1, 1), "badge");
    EXPECT_EQ(count(), 1);

    answerYes = true;
    QTest::mouseClick(s->ui->FillBtn, Qt::LeftButton);
    EXPECT_EQ(count(), 20);
    EXPECT_EQ(cell(1, 1), "round");
    EXPECT_TRUE(s->Station.Planche.FormatPage.EtiquetteRonde);
}

// The sheet preview: a click picks the first label only in first-label mode, on a cell (the upper
// or left one on a shared edge), draws it lime and tells the mailing once.
TEST(SheetPreviewWindow, FirstLabelChoice)
{
    TPrevis p;
    p.show();
    TSheetPreview a4;
    a4.LargeurPage = 21000;
    a4.HauteurPage = 29700;
    a4.LargeurEtiquette = 7000;
    a4.HauteurEtiquette = 4200;
    a4.MargeHaut = 150;
    a4.NbColonnes = 3;
    a4.NbLignes = 7;
    p.Remplir(a4, "Sheet of labels A4");
    EXPECT_EQ(p.windowTitle(), "Sheet of labels A4");
    EXPECT_EQ(p.ui->Page->size(), QSize(176, 249));
    EXPECT_EQ(p.ui->Page->geometry().topLeft(), QPoint(8 + (297 - 176) / 2, 8 + (297 - 249) / 2));
    int told = 0;
    p.OnFirstLabel = [&] { ++told; };
    const auto colourAt = [&](QPoint at) { return p.ui->Page->pixmap().toImage().pixelColor(at); };

    QTest::mouseClick(p.ui->Page, Qt::LeftButton, {}, {60, 72});
    EXPECT_EQ(QPoint(p.ColonneDepart, p.LigneDepart), QPoint(1, 1));
    EXPECT_EQ(told, 0);

    p.SetChoixDepart(true);
    for (const auto& [click, chosen] : {std::pair{QPoint(59, 71), QPoint(1, 2)}, std::pair{QPoint(1, 0), QPoint(1, 2)},
                                        std::pair{QPoint(60, 72), QPoint(2, 3)}}) {
        QTest::mouseClick(p.ui->Page, Qt::LeftButton, {}, click);
        EXPECT_EQ(QPoint(p.ColonneDepart, p.LigneDepart), chosen) << click.x() << "," << click.y();
    }
    EXPECT_EQ(told, 2);
    EXPECT_EQ(colourAt({89, 90}), QColor(0, 255, 0));
    EXPECT_EQ(colourAt({30, 90}), QColor(Qt::white));
}

// The format window shows its formats in the station's sheet preview.
TEST_F(PageWindow, FormatWindowUsesTheSheetPreview)
{
    TFormat* format = s->FormatWindow();
    EXPECT_TRUE(format->ui->BitBtn1->isEnabled());
    QTest::mouseClick(format->ui->BitBtn1, Qt::LeftButton);
    EXPECT_TRUE(s->PrevisWindow()->isVisible());
    EXPECT_TRUE(s->PrevisWindow()->windowTitle().startsWith("Sheet of labels "));
    EXPECT_FALSE(s->PrevisWindow()->ui->Page->pixmap().isNull());
}

// Deleting a model clears the sheet page whatever it held, the model on it or another, with the
// page's commands and hint as the clear-page command leaves them.
TEST_F(PageWindow, DeletingAModelClearsThePage)
{
    answerYes = true;
    for (const char* deleted : {"round", "badge"}) {
        s->ui->ListBox->setCurrentRow(row("badge"));
        QTest::mouseClick(s->ui->FillBtn, Qt::LeftButton);
        ASSERT_EQ(count(), 16);
        s->ui->ListBox->setCurrentRow(row(deleted));
        QTest::mouseClick(s->ui->MoinsBtn, Qt::LeftButton);
        EXPECT_EQ(count(), 0) << deleted;
        EXPECT_FALSE(s->ui->ClearPageBtn->isEnabled()) << deleted;
        EXPECT_FALSE(s->ui->EffacerItem->isEnabled()) << deleted;
        EXPECT_FALSE(s->ui->PrintBtn->isEnabled()) << deleted;
        EXPECT_EQ(s->ui->Page->toolTip(), "Preview of the page of labels") << deleted;
        // Another model to delete next time.
        QFile::copy(dataPath("design/allkinds.car"), dir.filePath("perso/badge.car"));
        s->RemplirListeModeles();
    }
}

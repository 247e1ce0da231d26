#include "MultiLang/MLBase.h"
#include "platform/TStringGrid.h"
#include "platform/window/Application.h"
#include "platform/window/Dialogs.h"
#include "station/FormatFamilies.h"
#include "station/window/PreviewPort.h"
#include "station/window/TFormat.h"
#include "station/window/TNewFor.h"
#include "station/window/TPrevis.h"
#include "station/SheetDrawing.h"
#include "ui_TFormat.h"
#include "ui_TNewFor.h"
#include "ui_TPrevis.h"

#include "TestSupport.h"

#include <QApplication>
#include <QFocusEvent>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "FakePreview.h"

#include <functional>

using namespace station;
using stationtest::FakePrevis;
using testsupport::crlfLines;
using testsupport::writeBytes;

namespace {

// Types into a field as the user does: select everything, type, leave it.
void retype(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &out);
}

// A radio answers a click on its circle or its text, not on the empty rest of its row.
void clickRadio(QRadioButton* radio)
{
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
}

// Runs `user` on the editor once it is up, modal, from the click that opens it.
void whenEditorOpens(std::function<void(TNewFor&)> user)
{
    QTimer::singleShot(0, [user] {
        auto* editor = qobject_cast<TNewFor*>(QApplication::activeModalWidget());
        ASSERT_NE(editor, nullptr);
        user(*editor);
        if (editor->isVisible()) // a failed check must not leave the test hanging in exec
            editor->reject();
    });
}

class FormatEditor : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetGlobalLanguage(1);
        ASSERT_TRUE(dir.isValid());
        writeBytes(dir.filePath("Sheets.for"),
                   crlfLines({"11905 - 70 x 36", "7000", "3600", "3", "8", "0", "0", "99999", "99999", "0", "0"}));
        custom = dir.filePath(QStringLiteral("Formats personnalisés.for"));
        writeBytes(custom, crlfLines({"A5 - Cards", "8500", "5400", "2", "2", "1000", "0", "1500", "99999", "0", "0"}));
        ini = dir.filePath("p.ini");
    }
    void TearDown() override { platform::Application::SetErrorHook({}); }

    // The custom family as the next start reads it.
    QList<QStringList> reread() const
    {
        platform::TStringGrid grid;
        grid.SetColCount(FormatCellCount);
        LireFamilleFormats(custom, grid, "Default format");
        QList<QStringList> rows;
        for (int r = 0; r < grid.RowCount(); ++r)
            rows << grid.Rows(r);
        return rows;
    }

    QTemporaryDir dir;
    QString custom;
    QString ini;
};

} // namespace

TEST_F(FormatEditor, CreatesAFormatFromTheDialogAndItReachesTheFamilyFile)
{
    TFormat f(nullptr, dir.path(), ini);
    f.ui->ComboBox->setCurrentIndex(1);
    f.ComboBoxChange();
    ASSERT_TRUE(f.ui->NewBtn->isEnabled());

    whenEditorOpens([](TNewFor& e) {
        EXPECT_EQ(e.windowTitle(), "New format");
        EXPECT_EQ(e.ui->Edit1->text(), "A5 - Cards"); // a copy of the selected format
        EXPECT_TRUE(e.ui->RadioButton2->isChecked());
        EXPECT_EQ(e.ui->FloatEdit3->text(), "20,25"); // the centring top margin, computed
        retype(e.ui->Edit1, "Labels");
        EXPECT_EQ(e.ui->Edit1->text(), "A5 - Labels");
        clickRadio(e.ui->RadioButton1);
        EXPECT_EQ(e.ui->Edit1->text(), "A4 - Labels");
        retype(e.ui->FloatEdit1, "70,125");
        retype(e.ui->FloatEdit2, "70,375");
        e.ui->SpinEdit1->setValue(3);
        e.ui->SpinEdit2->selectAll();
        QTest::keyClicks(e.ui->SpinEdit2, "4");
        retype(e.ui->FloatEdit4, "-");        // not a number: 0
        EXPECT_EQ(e.ui->FloatEdit4->text(), "0");
        QTest::mouseClick(e.ui->RoundCB, Qt::LeftButton);
        QTest::mouseClick(e.ui->OKBtn, Qt::LeftButton);
    });
    QTest::mouseClick(f.ui->NewBtn, Qt::LeftButton);

    const QStringList created{"A4 - Labels", "7012", "7038", "3", "4", "1000", "0", "0", "2025", "7012", "7038"};
    EXPECT_EQ(f.ui->ListBox->currentItem()->text(), "A4 - Labels");
    EXPECT_EQ(f.ui->ListBox->currentRow(), 1); // new formats stay last until the next start
    EXPECT_EQ(f.SelectedFormat().List(), created);
    EXPECT_EQ(f.ui->Label2->text(), "A4");
    EXPECT_TRUE(f.SaveFamilies().isEmpty());
    const QList<QStringList> rows = reread();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0], created); // sorted by name on reading
    EXPECT_EQ(rows[1][0], "A5 - Cards");
}

TEST_F(FormatEditor, ModifiesAFormatFromTheWizardStep)
{
    TFormat f(nullptr, dir.path(), ini);
    f.UseWizardButtons();
    f.show();
    f.ui->ComboBox->setCurrentIndex(1);
    f.ComboBoxChange();

    whenEditorOpens([](TNewFor& e) {
        EXPECT_EQ(e.windowTitle(), "Change of format");
        clickRadio(e.ui->RadioButton5); // roll: one label across and down
        EXPECT_EQ(e.ui->Edit1->text(), "Roll - Cards");
        EXPECT_EQ(e.ui->SpinEdit1->value(), 1);
        EXPECT_FALSE(e.ui->SpinEdit2->isEnabled());
        EXPECT_FALSE(e.ui->RowsLabel->isEnabled());
        clickRadio(e.ui->RadioButton3); // continuous: counts editable again
        EXPECT_EQ(e.ui->Edit1->text(), "12\" continuous paper - Cards");
        EXPECT_TRUE(e.ui->SpinEdit1->isEnabled());
        EXPECT_EQ(e.ui->SpinEdit2->value(), 1);
        EXPECT_FALSE(e.ui->FloatEdit3->isEnabled());
        e.ui->SpinEdit1->setValue(2);
        EXPECT_EQ(e.ui->FloatEdit5->text(), "5,00");
        e.ui->SpinEdit1->setValue(1);
        EXPECT_EQ(e.ui->FloatEdit5->text(), "0");
        EXPECT_TRUE(e.ui->FloatEdit6->isEnabled());
        QTest::keyClick(e.ui->Edit1, Qt::Key_Return); // the default button
    });
    QTest::mouseClick(f.ui->ModifBtn, Qt::LeftButton);

    const QStringList changed{"12\" continuous paper - Cards", "8500", "5400", "1", "1", "0", "0", "0", "0", "0", "0"};
    EXPECT_EQ(f.GrilleCourante()->RowCount(), 1);
    EXPECT_EQ(f.SelectedFormat().List(), changed);
    EXPECT_EQ(f.ui->Label2->text(), "12\" continuous paper");
    EXPECT_TRUE(f.SaveFamilies().isEmpty());
    EXPECT_EQ(reread(), (QList<QStringList>{changed}));
}

TEST_F(FormatEditor, RefusesEmptyLabelsAndHugeNumbersWithAMessage)
{
    TFormat f(nullptr, dir.path(), ini);
    f.ui->ComboBox->setCurrentIndex(1);
    f.ComboBoxChange();
    platform::DialogHooksGuard guard;
    QStringList messages;
    platform::dialogHooks().messageBox = [&](QMessageBox& box) { messages << box.text(); };

    whenEditorOpens([&](TNewFor& e) {
        retype(e.ui->FloatEdit1, "0");
        QTest::mouseClick(e.ui->OKBtn, Qt::LeftButton);
        EXPECT_TRUE(e.isVisible());
        EXPECT_EQ(messages, QStringList{"The label's width and height must be above 0."});
        EXPECT_TRUE(e.ui->FloatEdit1->hasSelectedText());

        retype(e.ui->FloatEdit1, "70");
        retype(e.ui->FloatEdit2, "-3");
        QTest::mouseClick(e.ui->OKBtn, Qt::LeftButton);
        EXPECT_TRUE(e.isVisible());
        EXPECT_EQ(messages.size(), 2);

        retype(e.ui->FloatEdit2, "30");
        retype(e.ui->FloatEdit6, "99999999999");
        QTest::mouseClick(e.ui->OKBtn, Qt::LeftButton);
        EXPECT_TRUE(e.isVisible());
        ASSERT_EQ(messages.size(), 3);
        EXPECT_EQ(messages[2], "Lengths must lie between -10000 and 10000 mm.");

        QTest::mouseClick(e.ui->CancelBtn, Qt::LeftButton);
    });
    QTest::mouseClick(f.ui->ModifBtn, Qt::LeftButton);
    EXPECT_EQ(messages.size(), 3);
    // Cancel leaves the family as it was.
    EXPECT_EQ(f.SelectedFormat().List(),
              (QStringList{"A5 - Cards", "8500", "5400", "2", "2", "1000", "0", "1500", "99999", "0", "0"}));
}

TEST_F(FormatEditor, PreviewShowsTheFieldsAndClosesWithTheEditor)
{
    TFormat f(nullptr, dir.path(), ini);
    FakePrevis p;
    f.SetPreview(&p);
    f.ui->ComboBox->setCurrentIndex(1);
    f.ComboBoxChange();

    whenEditorOpens([&](TNewFor& e) {
        QTest::mouseClick(e.ui->BitBtn1, Qt::LeftButton);
        EXPECT_TRUE(p.visible);
        EXPECT_FALSE(p.choixDepart);
        EXPECT_EQ(p.caption, "Page of labels A5 - Cards");
        EXPECT_EQ(p.apercu.HauteurPage, 14850);
        EXPECT_EQ(p.apercu.MargeHaut, 2025);

        // While it is up, the preview follows the name, the paper and the counts.
        QTest::keyClicks(e.ui->Edit1, "!");
        EXPECT_EQ(p.caption, "Page of labels A5 - Cards!");
        clickRadio(e.ui->RadioButton5);
        EXPECT_EQ(p.caption, "Page of labels Roll - Cards!");
        EXPECT_EQ(p.apercu.HauteurPage, 5400);
        EXPECT_EQ(p.apercu.LargeurPage, 8500);
        QTest::mouseClick(e.ui->RoundCB, Qt::LeftButton);
        EXPECT_TRUE(p.apercu.EtiquetteRonde);
        QTest::mouseClick(e.ui->OKBtn, Qt::LeftButton);
    });
    QTest::mouseClick(f.ui->ModifBtn, Qt::LeftButton);
    EXPECT_FALSE(p.visible);
    EXPECT_EQ(f.SelectedFormat().Nom(), "Roll - Cards!");
}

TEST_F(FormatEditor, HugeContinuousFormatKeepsThePreviewBitmapBounded)
{
    TPrevis previs;
    TNewFor e;
    e.SetPreview(&previs);
    TLigneFormat row;
    row.Cells = {"12\" continuous paper - Wide", "7000", "4200", "1", "1", "0", "0", "0", "0", "0", "0"};
    e.Charger(row);
    e.show();
    // Fifty labels of 10 m across: a page 500 m wide at the preview's scale.
    retype(e.ui->FloatEdit1, "10000");
    e.ui->SpinEdit1->setValue(50);
    QTest::mouseClick(e.ui->BitBtn1, Qt::LeftButton);
    ASSERT_TRUE(previs.isVisible());
    EXPECT_EQ(previs.Sheet.LargeurPage, 50 * 1000000 + 49 * 500);
    const QSize shown = previs.ui->Page->pixmap().size();
    EXPECT_EQ(shown.width(), MaxPreviewSide);
    EXPECT_LE(shown.height(), MaxPreviewSide);
    e.reject();
    EXPECT_FALSE(previs.isVisible()); // the editor closes its preview
}

#include "platform/window/Application.h"
#include "platform/window/Dialogs.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QFileDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QInputDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace platform;

namespace {

TEST(Dialogs, MessageDlgIsTitledWithTheApplicationAndAnswersOk)
{
    DialogHooksGuard guard;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    dialogHooks().messageBox = [&](QMessageBox& box) {
        title = box.windowTitle();
        text = box.text();
        icon = box.icon();
        buttons = box.standardButtons();
        box.button(QMessageBox::Ok)->click();
    };
    EXPECT_EQ(MessageDlg("Cannot open the file.", mtError), mrOk);
    EXPECT_EQ(title, Application::Title());
    EXPECT_EQ(text, "Cannot open the file.");
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

TEST(Dialogs, InputQueryGivesTheEditedValueOnlyOnOk)
{
    DialogHooksGuard guard;
    QString caption, prompt, preset;
    dialogHooks().inputDialog = [&](QInputDialog& d) {
        caption = d.windowTitle();
        prompt = d.labelText();
        preset = d.textValue();
        d.setTextValue("Clients 2024");
        return true;
    };
    QString value = "Clients";
    EXPECT_TRUE(InputQuery("New family", "Name:", value));
    EXPECT_EQ(value, "Clients 2024");
    EXPECT_EQ(caption, "New family");
    EXPECT_EQ(prompt, "Name:");
    EXPECT_EQ(preset, "Clients");

    dialogHooks().inputDialog = [](QInputDialog& d) {
        d.setTextValue("changed");
        return false;
    };
    EXPECT_FALSE(InputQuery("New family", "Name:", value));
    EXPECT_EQ(value, "Clients 2024");
}

TEST(Dialogs, FiltersMatchBothCasesAndShowTheirDescription)
{
    EXPECT_EQ(nameFiltersOf("Text (*.TXT)|*.TXT|Comma separated value (*.CSV)|*.CSV"),
              QStringList({"Text (*.TXT) (*.TXT *.txt)", "Comma separated value (*.CSV) (*.CSV *.csv)"}));
    EXPECT_EQ(nameFiltersOf("All|*.bmp;*.*"), QStringList({"All (*.bmp *.BMP *.*)"}));
    EXPECT_EQ(nameFiltersOf(""), QStringList());
}

TEST(Dialogs, FileDialogsReportTheChosenFileAndFilter)
{
    DialogHooksGuard guard;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QString title;
    QStringList filters;
    dialogHooks().fileDialog = [&](QFileDialog& d) {
        title = d.windowTitle();
        filters = d.nameFilters();
        EXPECT_TRUE(d.selectedNameFilter().startsWith("Comma separated value (*.CSV)"));
        d.selectNameFilter(filters.value(0));
        d.selectFile(dir.filePath("export"));
        return true;
    };
    TSaveDialog save;
    save.Title = "Export the address-book";
    save.Filter = "Text (*.TXT)|*.TXT|Comma separated value (*.CSV)|*.CSV";
    save.FilterIndex = 2;
    save.InitialDir = dir.path();
    ASSERT_TRUE(save.Execute());
    EXPECT_EQ(title, "Export the address-book");
    EXPECT_EQ(filters.size(), 2);
    EXPECT_EQ(save.FilterIndex, 1);
    EXPECT_EQ(save.FileName, dir.filePath("export"));

    // Cancel leaves the dialog's settings.
    dialogHooks().fileDialog = [](QFileDialog&) { return false; };
    TOpenDialog open;
    open.FileName = "base.FIC";
    EXPECT_FALSE(open.Execute());
    EXPECT_EQ(open.FileName, "base.FIC");
}

TEST(Dialogs, FontDialogChangesFaceSizeAndStylesAndKeepsTheRest)
{
    DialogHooksGuard guard;
    TFontDialog dialog;
    dialog.Font.SetName("Liberation Sans");
    dialog.Font.SetSize(12);
    dialog.Font.SetStyle({fsItalic});
    dialog.Font.SetColor(clRed);
    dialog.Font.SetEscapement(900);
    QFont offered;
    dialogHooks().fontDialog = [&](QFontDialog& d) {
        offered = d.currentFont();
        QFont f("Liberation Serif");
        f.setPointSize(20);
        f.setBold(true);
        f.setStrikeOut(true);
        d.setCurrentFont(f);
        return true;
    };
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(offered.family(), "Liberation Sans");
    EXPECT_EQ(offered.pointSize(), 12);
    EXPECT_TRUE(offered.italic());
    EXPECT_EQ(dialog.Font.Name(), "Liberation Serif");
    EXPECT_EQ(dialog.Font.Size(), 20);
    EXPECT_EQ(dialog.Font.Height(), -27); // 20 points at 96 pixels per inch
    EXPECT_EQ(dialog.Font.Style(), TFontStyles({fsBold, fsStrikeOut}));
    EXPECT_EQ(dialog.Font.Color(), clRed);
    EXPECT_EQ(dialog.Font.Escapement(), 900);

    dialogHooks().fontDialog = [](QFontDialog& d) {
        d.setCurrentFont(QFont("Liberation Mono"));
        return false;
    };
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.Font.Name(), "Liberation Serif");
}

TEST(Dialogs, FontDialogShowsTheTextsOwnFontAndKeepsItsName)
{
    DialogHooksGuard guard;
    struct Case {
        const char* name;
        TFontStyles style;
    };
    const Case cases[] = {
        {"Arial", {fsBold}},
        {"Arial", {}},
        {"Times New Roman", {fsItalic}},
        {"Liberation Sans", {fsBold, fsItalic}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TFontDialog dialog;
        dialog.Font.SetName(c.name);
        dialog.Font.SetSize(10);
        dialog.Font.SetStyle(c.style);
        QFont shown;
        dialogHooks().fontDialog = [&](QFontDialog& d) {
            shown = d.currentFont();
            return true; // OK without a change
        };
        ASSERT_TRUE(dialog.Execute());
        // The family that draws the name, with its styles, as the list shows it.
        EXPECT_EQ(shown.family(), QFontInfo(QFont(c.name)).family());
        EXPECT_EQ(shown.bold(), c.style.Contains(fsBold));
        EXPECT_EQ(shown.italic(), c.style.Contains(fsItalic));
        EXPECT_EQ(dialog.Font.Name(), c.name);
        EXPECT_EQ(dialog.Font.Style(), c.style);
    }
}

TEST(Dialogs, FontDialogEnterAfterTheColourAcceptsTheDialog)
{
    DialogHooksGuard guard;
    int colourDialogs = 0;
    dialogHooks().colorDialog = [&](QColorDialog& d) {
        ++colourDialogs;
        d.setCurrentColor(QColor(0, 0, 255));
        return true;
    };
    dialogHooks().fontDialog = [](QFontDialog& d) {
        QTimer::singleShot(0, &d, [&d] {
            auto* button = d.findChild<QPushButton*>("FontColor");
            ASSERT_NE(button, nullptr);
            button->setFocus();
            QTest::mouseClick(button, Qt::LeftButton);
            // The focus is still on the colour button.
            QTest::keyClick(button, Qt::Key_Return);
            if (d.isVisible())
                d.reject();
        });
        return d.exec() == QDialog::Accepted;
    };
    TFontDialog dialog;
    dialog.Font.SetColor(clRed);
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(colourDialogs, 1);
    EXPECT_EQ(dialog.Font.Color(), FromQColor(QColor(0, 0, 255)));
}

TEST(Dialogs, FontDialogChoosesTheColourAmongItsEffects)
{
    DialogHooksGuard guard;
    TFontDialog dialog;
    dialog.Font.SetColor(clRed);
    TColor offered = clBlack;
    dialogHooks().colorDialog = [&](QColorDialog& d) {
        offered = FromQColor(d.currentColor());
        d.setCurrentColor(QColor(0, 0, 255));
        return true;
    };
    bool inEffects = false;
    const auto chooseColour = [&](bool ok) {
        return [&, ok](QFontDialog& d) {
            auto* button = d.findChild<QPushButton*>("FontColor");
            if (button == nullptr)
                return false;
            auto* box = qobject_cast<QGroupBox*>(button->parentWidget());
            inEffects = box != nullptr && box->findChild<QCheckBox*>() != nullptr;
            button->click();
            return ok;
        };
    };
    // The colour chosen, then Cancel in the font dialog: nothing changes.
    dialogHooks().fontDialog = chooseColour(false);
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(offered, clRed);
    EXPECT_EQ(dialog.Font.Color(), clRed);
    EXPECT_TRUE(inEffects);
    dialogHooks().fontDialog = chooseColour(true);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Font.Color(), RGB(0, 0, 255));
}

TEST(Dialogs, ColorDialogSpeaksInPlatformColours)
{
    DialogHooksGuard guard;
    TColorDialog dialog;
    dialog.Color = RGB(10, 20, 30);
    QColor offered;
    dialogHooks().colorDialog = [&](QColorDialog& d) {
        offered = d.currentColor();
        d.setCurrentColor(QColor(200, 100, 50));
        return true;
    };
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(offered, QColor(10, 20, 30));
    EXPECT_EQ(dialog.Color, RGB(200, 100, 50));
    EXPECT_EQ(dialog.Color, 0x3264C8);
}

} // namespace

#include "design/window/ObjectViews.h"
#include "design/window/TCircLabDial.h"
#include "design/window/TFBarCode.h"
#include "design/window/TImportImage.h"
#include "design/window/TOpenDial.h"
#include "design/window/TRotImage.h"
#include "imaging/window/TPMultiImage.h"
#include "design/window/TSaisieTexte.h"
#include "design/window/TSaveD.h"
#include "ui_TCircLabDial.h"
#include "ui_TFBarCode.h"
#include "ui_TImportImage.h"
#include "ui_TOpenDial.h"
#include "ui_TRotImage.h"
#include "ui_TSaisieTexte.h"
#include "ui_TSaveD.h"

#include "MultiLang/MLang.h"
#include "barcode/Barcode.h"
#include "design/DesignModel.h"
#include "design/ObjectGeometry.h"
#include "design/PreviewGeometry.h"
#include "platform/window/Dialogs.h"

#include "TestSupport.h"

#include <QDir>
#include <QFontInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace design;

namespace {

// Answers every message box with `answer` and keeps the texts shown.
struct Boxes {
    platform::DialogHooksGuard guard;
    QStringList texts;
    explicit Boxes(QMessageBox::StandardButton answer = QMessageBox::Ok)
    {
        platform::dialogHooks().messageBox = [this, answer](QMessageBox& box) {
            texts << box.text();
            if (QAbstractButton* b = box.button(answer))
                b->click();
        };
    }
};

} // namespace

TEST(SaveDialog, RefusesNamesThatAreNotADesignOfTheirOwn)
{
    QTemporaryDir dir;
    TSaveD d(dir.path());
    d.show();
    d.ui->Edit1->clear();
    EXPECT_FALSE(d.ui->OKBtn->isEnabled());
    for (const QString& name : {QStringLiteral("../x"), QStringLiteral("..\\images\\x"), QStringLiteral(".."),
                                QStringLiteral("v1.2"), QStringLiteral("a\tb")}) {
        SCOPED_TRACE(name.toStdString());
        Boxes boxes;
        d.ui->Edit1->setText(name);
        QTest::mouseClick(d.ui->OKBtn, Qt::LeftButton);
        EXPECT_TRUE(d.isVisible());
        EXPECT_FALSE(d.NomAccepte);
        EXPECT_FALSE(d.OKPresse);
        EXPECT_EQ(boxes.texts, QStringList{d.MultiLang1->GetText("@1")});
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());

    Boxes none;
    d.ui->Edit1->setText("Card");
    QTest::mouseClick(d.ui->OKBtn, Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_TRUE(d.NomAccepte && d.OKPresse);
    EXPECT_EQ(d.Path(), dir.filePath("Card.car"));
    EXPECT_TRUE(none.texts.isEmpty());
    // The test file is gone again.
    EXPECT_FALSE(QFile::exists(d.Path()));
}

TEST(SaveDialog, AnExistingDesignIsReplacedOnlyAfterYes)
{
    QTemporaryDir dir;
    testsupport::writeBytes(dir.filePath("Card.CAR"), "x");
    TSaveD d(dir.path());
    d.show();
    d.ui->Edit1->setText("card");
    {
        Boxes no(QMessageBox::No);
        QTest::mouseClick(d.ui->OKBtn, Qt::LeftButton);
        EXPECT_EQ(no.texts, QStringList{d.MultiLang1->GetText("@2")});
        EXPECT_TRUE(d.isVisible());
        EXPECT_FALSE(d.NomAccepte);
        EXPECT_TRUE(d.ui->Edit1->isEnabled());
    }
    Boxes yes(QMessageBox::Yes);
    QTest::mouseClick(d.ui->OKBtn, Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(d.NomAccepte);
    // The design that differs only in letter case is the one replaced, not given a twin.
    EXPECT_EQ(d.Path(), dir.filePath("Card.CAR"));
}

TEST(OpenDialog, ReturnAcceptsAChosenFileWhereverTheFocusIs)
{
    QTemporaryDir dir;
    QImage(40, 10, QImage::Format_RGB32).save(dir.filePath("logo.png"), "PNG");
    struct Case {
        const char* where;
        bool onList;
    };
    for (const Case c : {Case{"name typed", false}, Case{"file list", true}}) {
        SCOPED_TRACE(c.where);
        TOpenDial d(dir.path(), false);
        d.show();
        ASSERT_EQ(d.ui->FileListBox->count(), 1);
        QWidget* target = d.ui->Edit;
        if (c.onList) {
            QListWidget* list = d.ui->FileListBox;
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
            ASSERT_EQ(d.ui->Edit->text(), "logo.png");
            target = list;
        } else {
            d.ui->Edit->setText("logo.png");
        }
        QTest::keyClick(target, Qt::Key_Return);
        EXPECT_FALSE(d.isVisible());
        EXPECT_TRUE(d.OKPresse);
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_EQ(d.FileName(), QDir(dir.path()).absoluteFilePath("logo.png"));
    }
}

TEST(OpenDialog, ClosesOnlyOnAnExistingFileOfItsFolder)
{
    QTemporaryDir dir;
    QImage(400, 100, QImage::Format_RGB32).save(dir.filePath("PHOTO.JPG"), "JPG");
    testsupport::writeBytes(dir.filePath("notes.txt"), "x");
    QDir(dir.path()).mkdir("sub.png");
    TOpenDial d(dir.path(), true);
    d.show();
    QStringList files;
    for (int i = 0; i < d.ui->FileListBox->count(); ++i)
        files << d.ui->FileListBox->item(i)->text();
    EXPECT_EQ(files, QStringList{"PHOTO.JPG"});
    EXPECT_EQ(d.Folder(), QDir(dir.path()).absolutePath());

    for (const char* name : {"sub.png", "missing.png", ""}) {
        d.ui->Edit->setText(name);
        QTest::mouseClick(d.ui->OKBtn, Qt::LeftButton);
        EXPECT_TRUE(d.isVisible()) << name;
    }
    // Enter on a folder's name opens it and puts the masks back.
    d.ui->Edit->setText("sub.png");
    QTest::keyClick(d.ui->Edit, Qt::Key_Return);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.Folder(), QDir(dir.filePath("sub.png")).absolutePath());
    EXPECT_EQ(d.ui->FileListBox->count(), 0);
    d.ui->Edit->setText("../PHOTO.JPG");
    QTest::mouseClick(d.ui->OKBtn, Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(d.OKPresse);
    EXPECT_EQ(d.FileName(), QDir(dir.path()).absoluteFilePath("PHOTO.JPG"));
}

TEST(OpenDialog, PreviewFitsThePictureInItsPanel)
{
    QTemporaryDir dir;
    QImage(400, 100, QImage::Format_RGB32).save(dir.filePath("wide.png"));
    QImage(40, 30, QImage::Format_RGB32).save(dir.filePath("small.png"));
    testsupport::writeBytes(dir.filePath("broken.png"), "not a picture");
    TOpenDial d(dir.path(), true);
    d.show();
    d.ui->FileListBox->setCurrentRow(d.ui->FileListBox->row(d.ui->FileListBox->findItems("wide.png", Qt::MatchExactly)[0]));
    EXPECT_TRUE(d.ui->Image->isVisible());
    EXPECT_EQ(d.ui->Image->geometry(), QRect(16, 64, 128, 32));
    EXPECT_EQ(d.ui->Image->Picture().image.size(), QSize(400, 100));
    // A picture that cannot be read keeps the panel's place but never shows the one before
    // under its name.
    d.ui->Edit->setText("broken.png");
    d.apercuClick();
    EXPECT_EQ(d.ui->Image->geometry(), QRect(16, 64, 128, 32));
    EXPECT_TRUE(d.ui->Image->Empty());
    d.ui->apercu->setChecked(false);
    EXPECT_FALSE(d.ui->Image->isVisible());
    EXPECT_FALSE(d.Apercu());

    EXPECT_EQ(FitPictureInPanel({40, 30}, {160, 160}), QRect(60, 65, 40, 30));
    EXPECT_EQ(FitPictureInPanel({100, 300}, {160, 160}), QRect(58, 16, 43, 128));
    EXPECT_EQ(FitPictureInPanel({}, {160, 160}), QRect());
}

TEST(BarcodeDialog, ControlsWriteThePreviewAndRefusedValuesComeBack)
{
    TBarcodeObject source;
    source.Barcode().SetBar_CodeType(barcode::EAN_13);
    source.Barcode().SetBar_Caption("400763800012");
    source.Barcode().SetBar_Fontname("No Such Font Family");
    TFBarCode d;
    d.Load(source);
    d.show();
    EXPECT_TRUE(d.ui->Radio1->isChecked());
    EXPECT_EQ(d.ui->Edit1->text(), "400763800012");
    EXPECT_TRUE(d.ui->Edit2->isEnabled());
    // A font missing here opens on Arial, or on the family printed in its place.
    EXPECT_EQ(d.ui->FontCombo->currentText(), QFontInfo(QFont("Arial")).family());
    EXPECT_EQ(d.Barcode1().Bar_Fontname(), "No Such Font Family");
    EXPECT_EQ(d.ui->RGModulewidth->title(), d.MultiLang1->GetText("@100"));

    QTest::mouseClick(d.ui->Radio3, Qt::LeftButton);
    EXPECT_EQ(d.Barcode1().Bar_CodeType(), barcode::UPC_E);
    EXPECT_FALSE(d.ui->Edit2->isEnabled());
    EXPECT_FALSE(d.ui->ComboBox2->isEnabled());
    QTest::mouseClick(d.ui->Radio2, Qt::LeftButton);
    EXPECT_TRUE(d.ui->Edit2->isEnabled());

    QTest::mouseClick(d.ui->CB_HumanReadable, Qt::LeftButton);
    EXPECT_EQ(d.Barcode1().Bar_HumanReadable(), d.ui->CB_HumanReadable->isChecked());
    d.ui->SE_HeightPerCent->setValue(150);
    EXPECT_EQ(d.Barcode1().Bar_HeightPercent(), 150);

    // Too long for the barcode: the message, and the text it keeps.
    Boxes boxes;
    const QString before = d.Barcode1().Bar_Caption();
    d.ui->Edit1->setText(QString(51, u'1'));
    EXPECT_EQ(boxes.texts.size(), 1);
    EXPECT_EQ(d.ui->Edit1->text(), before);
    EXPECT_EQ(d.Barcode1().Bar_Caption(), before);
}

TEST(BarcodeDialog, SettingsThatDoNotEncodeLeaveThePreviewEmpty)
{
    TFBarCode d;
    d.show();
    QTest::mouseClick(d.ui->Radio1, Qt::LeftButton);
    d.ui->Edit1->setText("400763800012");
    d.Preview()->resize(260, 190);
    const auto inked = [&] {
        const QImage image = d.Preview()->grab().toImage();
        return testsupport::darkPixels(image, 0, 0, image.width() - 1, image.height() - 1);
    };
    EXPECT_GT(inked(), 100);
    EXPECT_TRUE(d.ui->ErrorLabel->text().isEmpty());

    // A design file may hold a type the encoder does not know: no button is checked, the
    // preview stays empty and the reason shows under it.
    TBarcodeObject unknown;
    unknown.Barcode().SetBar_CodeType(99);
    d.Load(unknown);
    EXPECT_EQ(d.ui->GroupBox2->findChildren<QRadioButton*>().size(), 10);
    for (const QRadioButton* b : d.ui->GroupBox2->findChildren<QRadioButton*>())
        EXPECT_FALSE(b->isChecked()) << b->objectName().toStdString();
    EXPECT_EQ(inked(), 0);
    EXPECT_FALSE(d.ui->ErrorLabel->text().isEmpty());

    // Choosing a type puts it right; what the dialog holds goes back to the design through the
    // barcode's own setters.
    QTest::mouseClick(d.ui->Radio1, Qt::LeftButton);
    d.ui->Edit1->setText("400763800012");
    EXPECT_GT(inked(), 100);
    TBarcodeObject target;
    ApplyBarcodeDialog(target, d.Barcode1());
    EXPECT_EQ(target.Barcode().Bar_CodeType(), barcode::EAN_13);
    EXPECT_EQ(target.Barcode().Bar_Caption(), "400763800012");
}

TEST(CircularTextDialog, ArcBelow45IsRefusedAndAnEmptyTextDrawsNothing)
{
    TCircleLabel source;
    source.SetEvenSpaceChars(true);
    source.SetDegrees(200);
    source.SetStartingVector(90);
    source.SetCaption("Round and round");
    TCircLabDial d;
    d.Load(source);
    d.show();
    EXPECT_TRUE(d.ui->ArcScrollBar->isEnabled());
    EXPECT_EQ(d.ui->ArcLabel->text(), QString("200") + QChar(0xB0));
    EXPECT_EQ(d.ui->Texte->cursorPosition(), 15);

    d.ui->ArcScrollBar->setValue(30);
    EXPECT_EQ(d.CircleLabel().Degrees(), 200);
    EXPECT_EQ(d.ui->ArcLabel->text(), QString("200") + QChar(0xB0));
    d.ui->ArcScrollBar->setValue(120);
    EXPECT_EQ(d.CircleLabel().Degrees(), 120);
    d.ui->StartScrollBar->setValue(10);
    EXPECT_EQ(d.ui->StartLabel->text(), QString("10") + QChar(0xB0));

    QTest::mouseClick(d.ui->CheckBox1, Qt::LeftButton);
    EXPECT_FALSE(d.CircleLabel().EvenSpaceChars());
    EXPECT_FALSE(d.ui->ArcScrollBar->isEnabled());
    EXPECT_FALSE(d.ui->Label2->isEnabled());

    d.ui->Texte->clear();
    EXPECT_EQ(d.CircleLabel().Caption(), "");
    d.CircleLabelView()->grab(); // paints without failing

    TCircleLabel target;
    ApplyCircleLabelDialog(target, d.CircleLabel());
    EXPECT_EQ(target.StartingVector(), 10);
    EXPECT_EQ(target.Degrees(), 120);
}

TEST(FieldCodeLists, InsertAtTheCaretKeepingTheSelection)
{
    TSaisieTexte t;
    t.Prepare("Title", "Text :", "Hello world", {"<Date1>", "<Autonum>"});
    t.show();
    EXPECT_EQ(t.windowTitle(), "Title");
    EXPECT_EQ(t.ui->ComboBox->currentIndex(), 0);
    EXPECT_EQ(t.ui->Edit1->text(), "Hello world"); // presetting the list inserts nothing
    t.ui->Edit1->setSelection(11, -5);             // "world", selected right to left
    t.InsererCode();
    EXPECT_EQ(t.ui->Edit1->text(), "Hello <Date1>world");
    EXPECT_EQ(t.ui->Edit1->cursorPosition(), 13);

    TCircLabDial c;
    c.SetFieldCodes({"<Autonum>"});
    c.show();
    c.ui->Texte->setText("abc");
    c.ui->Texte->setCursorPosition(0);
    c.InsertFieldCode();
    EXPECT_EQ(c.CircleLabel().Caption(), "<Autonum>abc");
    EXPECT_EQ(c.ui->Texte->cursorPosition(), 9);

    TFBarCode b;
    b.SetFieldCodes({"<Code>"});
    b.show();
    b.ui->Edit2->clear();
    b.ui->ComboBox2->setCurrentIndex(0);
    b.InsertFieldCode(2);
    EXPECT_EQ(b.Barcode1().Bar_CodeAddon(), "<Code>");
}

TEST(PictureSourceDialog, TheCodeListServesTheFieldChoiceOnly)
{
    TImportImage d;
    d.show();
    EXPECT_EQ(d.Source(), TImportImage::FromFile);
    EXPECT_FALSE(d.ui->ComboBox->isEnabled());
    QTest::mouseClick(d.ui->RadioButton3, Qt::LeftButton);
    EXPECT_TRUE(d.ui->ComboBox->isEnabled());
    EXPECT_EQ(d.Source(), TImportImage::FromField);
    QTest::mouseClick(d.ui->RadioButton1, Qt::LeftButton);
    EXPECT_FALSE(d.ui->ComboBox->isEnabled());
}

TEST(RotationDialog, OpensOnThePicturesAngleAndChoosesAPanel)
{
    QImage picture(200, 100, QImage::Format_RGB32);
    picture.fill(Qt::red);
    TRotImage free(picture, 30);
    EXPECT_EQ(free.SelectedPanel(), 4);
    EXPECT_EQ(free.ui->ScrollBar->value(), 329);
    EXPECT_EQ(free.Angle, 30);

    TRotImage preset(picture, 90);
    EXPECT_EQ(preset.SelectedPanel(), 1);
    EXPECT_EQ(preset.ui->ScrollBar->value(), 314);
    EXPECT_EQ(preset.ui->Label1->text(), QString("45") + QChar(0xB0));
    EXPECT_EQ(preset.Angle, 90);
    EXPECT_EQ(preset.ui->Panel2->palette().color(QPalette::Window), QColor(0, 255, 255));
    EXPECT_NE(preset.ui->Panel1->palette().color(QPalette::Window), QColor(0, 255, 255));
    // The 90-degree panel shows the picture upright: higher than wide, within four fifths.
    EXPECT_EQ(preset.ui->PMultiImage2->geometry(), QRect(22, 7, 29, 58));

    preset.show();
    QTest::mouseClick(preset.ui->Panel3, Qt::LeftButton);
    EXPECT_EQ(preset.Angle, 180);
    preset.ui->ScrollBar->setValue(300);
    EXPECT_EQ(preset.SelectedPanel(), 4);
    EXPECT_EQ(preset.Angle, 59);
    EXPECT_EQ(preset.ui->Label1->text(), QString("59") + QChar(0xB0));
    QTest::mouseClick(preset.ui->PMultiImage1, Qt::LeftButton);
    EXPECT_EQ(preset.Angle, 0);

    EXPECT_EQ(FitThumbnailInPanel({58, 29}, {73, 73}), QRect(7, 22, 58, 29));
}

TEST(RotationDialog, EachPanelShowsThePictureTurnedByItsImageControl)
{
    // Left half red, right half blue: turned counter-clockwise by 90 degrees the blue half is on
    // top, by 180 on the left, by 270 at the bottom.
    QImage picture(200, 100, QImage::Format_RGB32);
    picture.fill(Qt::red);
    for (int y = 0; y < 100; ++y)
        for (int x = 100; x < 200; ++x)
            picture.setPixel(x, y, qRgb(0, 0, 255));
    TRotImage d(picture, 0);
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255);
    const struct {
        TPMultiImage* control;
        QPoint blueAt, redAt; // in quarters of the picture
    } panels[] = {{d.ui->PMultiImage1, {3, 2}, {1, 2}},
                  {d.ui->PMultiImage2, {2, 1}, {2, 3}},
                  {d.ui->PMultiImage3, {1, 2}, {3, 2}},
                  {d.ui->PMultiImage4, {2, 3}, {2, 1}}};
    for (const auto& p : panels) {
        SCOPED_TRACE(qPrintable(p.control->objectName()));
        const QImage shown = p.control->grab().toImage();
        const auto at = [&](QPoint q) { return shown.pixel(q.x() * shown.width() / 4, q.y() * shown.height() / 4) | 0xff000000u; };
        EXPECT_EQ(at(p.blueAt), blue);
        EXPECT_EQ(at(p.redAt), red);
    }
    // The free panel is turned on the panel's colour: aqua once chosen.
    d.ui->ScrollBar->setValue(359 - 60);
    const QImage free = d.ui->PMultiImage5->grab().toImage();
    EXPECT_EQ(free.pixel(0, 0) | 0xff000000u, qRgb(0, 255, 255));
    EXPECT_FALSE(d.ui->PMultiImage6->isVisible());
    EXPECT_EQ(FitThumbnailInPanel({60, 20}, {73, 73}), QRect(7, 27, 58, 19));
}

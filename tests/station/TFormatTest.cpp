#include "MultiLang/MLBase.h"
#include "platform/TIniFile.h"
#include "platform/TStringGrid.h"
#include "platform/window/Application.h"
#include "station/window/PreviewPort.h"
#include "station/window/TFormat.h"
#include "ui_TFormat.h"

#include "LanguageGuard.h"
#include "TestSupport.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "FakePreview.h"

using namespace station;
using stationtest::FakePrevis;
using testsupport::crlfLines;
using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

QStringList items(const QComboBox* c)
{
    QStringList out;
    for (int i = 0; i < c->count(); ++i)
        out << c->itemText(i);
    return out;
}

QStringList items(const QListWidget* l)
{
    QStringList out;
    for (int i = 0; i < l->count(); ++i)
        out << l->item(i)->text();
    return out;
}

class FormatWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        writeBytes(dir.filePath("Sheets.for"),
                   crlfLines({"11905 - 70 x 36", "7000", "3600", "3", "8", "0", "0", "99999", "99999", "0", "0"})
                       + crlfLines({"11901 - 99,1 x 38,1", "9910", "3810", "2", "7", "250", "0", "465", "1515", "0", "0"}));
        writeBytes(dir.filePath("Rolls.for"),
                   crlfLines({"19009 - 40 round", "4000", "4000", "1", "1", "0", "0", "0", "0", "4000", "4000"}));
        writeBytes(dir.filePath("Formats personnalisés.for"),
                   crlfLines({"Roll - Tags", "5000", "2000", "2", "1", "300", "0", "0", "0", "0", "0"})
                       + crlfLines({"A5 - Cards", "8500", "5400", "2", "2", "1000", "0", "1500", "99999", "0", "0"})
                       + crlfLines({"A4 - Bad", "x", "4200", "3", "7", "0", "0", "0", "0", "0", "0"}));
        ini = dir.filePath("p.ini");
    }
    void TearDown() override { platform::Application::SetErrorHook({}); }

    testsupport::LanguageGuard english{1}; // the station runs in English
    QTemporaryDir dir;
    QString ini;
};

} // namespace

TEST_F(FormatWindow, ListsFamiliesAndFormatsAndRestoresTheSelection)
{
    writeBytes(ini, "[Dernier format]\r\nFamille=1\r\nFormat=1\r\n");
    TFormat f(nullptr, dir.path(), ini);
    EXPECT_EQ(f.windowTitle(), "Labels format");
    EXPECT_EQ(f.ui->NewBtn->text(), "Create");
    EXPECT_EQ(items(f.ui->ComboBox), (QStringList{"Rolls", "Sheets", QStringLiteral("Formats personnalisés")}));
    EXPECT_EQ(f.ui->ComboBox->currentIndex(), 1);
    EXPECT_EQ(items(f.ui->ListBox), (QStringList{"11901 - 99,1 x 38,1", "11905 - 70 x 36"}));
    EXPECT_EQ(f.ui->ListBox->currentRow(), 1);
    EXPECT_EQ(f.ui->Label2->text(), "A4");
    EXPECT_EQ(f.FamilyCount(), 3);
    EXPECT_EQ(f.GrilleCourante(), f.Grille(1));
    // The selected format's centring margins.
    EXPECT_EQ(f.CalculerMarge("99999", TMarginDirection::Largeur), "0");
    EXPECT_EQ(f.CalculerMarge("99999", TMarginDirection::Hauteur), "450");
    EXPECT_EQ(f.CalculerMarge("12", TMarginDirection::Hauteur), "12");

    // Changing the family lists its formats and selects the first.
    f.ui->ComboBox->setCurrentIndex(2);
    f.ComboBoxChange();
    EXPECT_EQ(items(f.ui->ListBox), (QStringList{"A4 - Bad", "A5 - Cards", "Roll - Tags"}));
    EXPECT_EQ(f.ui->ListBox->currentRow(), 0);
    // A user click on another format shows its paper.
    f.ui->ListBox->setCurrentRow(2);
    EXPECT_EQ(f.ui->Label2->text(), "Roll");
    EXPECT_EQ(f.LargeurPage("Roll - Tags", 5000, 2, 300), 10300);
    EXPECT_EQ(f.HauteurPage("Roll - Tags", 2000), 2000);

    platform::TIniFile out(dir.filePath("out.ini"));
    f.WriteLastFormat(out);
    EXPECT_EQ(out.ReadInteger("Dernier format", "Famille", -1), 2);
    EXPECT_EQ(out.ReadInteger("Dernier format", "Format", -1), 2);
}

TEST_F(FormatWindow, RememberedIndicesBeyondTheListsFallBackToTheFirst)
{
    writeBytes(ini, "[Dernier format]\r\nFamille=9\r\nFormat=4\r\n");
    TFormat f(nullptr, dir.path(), ini);
    EXPECT_EQ(f.ui->ComboBox->currentIndex(), 0);
    EXPECT_EQ(f.ui->ListBox->currentRow(), 0);

    writeBytes(ini, "[Dernier format]\r\nFamille=1\r\nFormat=-5\r\n");
    TFormat g(nullptr, dir.path(), ini);
    EXPECT_EQ(g.ui->ComboBox->currentIndex(), 1);
    EXPECT_EQ(g.ui->ListBox->currentRow(), 0);
}

TEST_F(FormatWindow, OnlyTheCustomFamilyCanBeChanged)
{
    TFormat f(nullptr, dir.path(), ini);
    ASSERT_EQ(f.ui->ComboBox->currentIndex(), 0);
    EXPECT_FALSE(f.ui->DeleteBtn->isEnabled());
    EXPECT_FALSE(f.ui->NewBtn->isEnabled());

    // A delete asked for elsewhere than the custom family changes nothing.
    f.DeleteBtnClick();
    EXPECT_EQ(f.Grille(0)->RowCount(), 1);

    f.ui->ComboBox->setCurrentIndex(2);
    f.ComboBoxChange();
    EXPECT_TRUE(f.ui->DeleteBtn->isEnabled());
    // Without an editor Create and Modify are disabled and a double click does nothing.
    f.SetEditor(nullptr);
    EXPECT_FALSE(f.ui->NewBtn->isEnabled());
    EXPECT_FALSE(f.ui->ModifBtn->isEnabled());
    f.ListBoxDblClick();

    QList<bool> appels;
    f.SetEditor([&](bool creer) { appels << creer; });
    EXPECT_TRUE(f.ui->NewBtn->isEnabled());
    QTest::mouseClick(f.ui->NewBtn, Qt::LeftButton);
    f.ListBoxDblClick();
    EXPECT_EQ(appels, (QList<bool>{true, false}));
    f.ui->ComboBox->setCurrentIndex(0);
    f.ComboBoxChange();
    EXPECT_FALSE(f.ui->ModifBtn->isEnabled());
    f.ListBoxDblClick();
    EXPECT_EQ(appels.size(), 2);
}

TEST_F(FormatWindow, DeletingKeepsOneDefaultRow)
{
    TFormat f(nullptr, dir.path(), ini);
    f.ui->ComboBox->setCurrentIndex(2);
    f.ComboBoxChange();
    f.ui->ListBox->setCurrentRow(2);
    QTest::mouseClick(f.ui->DeleteBtn, Qt::LeftButton);
    EXPECT_EQ(items(f.ui->ListBox), (QStringList{"A4 - Bad", "A5 - Cards"}));
    EXPECT_EQ(f.ui->ListBox->currentRow(), 1);
    EXPECT_EQ(f.ui->Label2->text(), "A5");
    f.DeleteBtnClick();
    f.DeleteBtnClick();
    EXPECT_EQ(items(f.ui->ListBox), (QStringList{"Default format"}));
    EXPECT_EQ(f.ui->ListBox->currentRow(), 0);
    EXPECT_EQ(f.GrilleCourante()->RowCount(), 1);
    EXPECT_EQ(f.SelectedFormat().List(), TLigneFormat::Default("Default format").List());

    // The deletions reach the file at exit, the other families unchanged.
    const QByteArray rolls = readBytes(dir.filePath("Rolls.for"));
    EXPECT_TRUE(f.SaveFamilies().isEmpty());
    EXPECT_EQ(readBytes(dir.filePath(QStringLiteral("Formats personnalisés.for"))),
              crlfLines(TLigneFormat::Default("Default format").List()));
    EXPECT_EQ(readBytes(dir.filePath("Rolls.for")), rolls);
}

TEST_F(FormatWindow, PreviewIsFilledFromTheSelectedFormat)
{
    TFormat f(nullptr, dir.path(), ini);
    EXPECT_FALSE(f.ui->BitBtn1->isEnabled()); // no preview window yet
    FakePrevis p;
    f.SetPreview(&p);
    ASSERT_TRUE(f.ui->BitBtn1->isEnabled());
    f.ui->ComboBox->setCurrentIndex(2);
    f.ComboBoxChange();
    f.ui->ListBox->setCurrentRow(1);
    EXPECT_EQ(p.remplissages, 0); // hidden preview: nothing to refresh

    QTest::mouseClick(f.ui->BitBtn1, Qt::LeftButton);
    EXPECT_FALSE(p.choixDepart);
    EXPECT_TRUE(p.visible);
    EXPECT_EQ(p.caption, "Sheet of labels A5 - Cards");
    EXPECT_EQ(p.apercu.LargeurPage, 21000);
    EXPECT_EQ(p.apercu.HauteurPage, 14850);
    EXPECT_EQ(p.apercu.MargeGauche, 1500);
    EXPECT_EQ(p.apercu.MargeHaut, (14850 - 2 * 5400) / 2);
    EXPECT_EQ(p.apercu.EcartHorizontal, 1000);

    // While the preview is visible, choosing another format refreshes it.
    f.ui->ListBox->setCurrentRow(2);
    EXPECT_EQ(p.caption, "Sheet of labels Roll - Tags");
    EXPECT_EQ(p.apercu.LargeurPage, 10300);
    EXPECT_EQ(p.apercu.HauteurPage, 2000);

    // A cell that is not a number gives the conversion error box, not a preview of nonsense.
    QStringList erreurs;
    platform::Application::SetErrorHook([&](const QString& m) { erreurs << m; });
    const int avant = p.remplissages;
    f.ui->ListBox->setCurrentRow(0);
    ASSERT_EQ(erreurs.size(), 1);
    EXPECT_TRUE(erreurs[0].contains("'x' is not a valid integer value"));
    EXPECT_EQ(p.remplissages, avant);
    EXPECT_EQ(f.ui->Label2->text(), "A4");

    // Closing the window closes the preview.
    f.show();
    f.accept();
    EXPECT_FALSE(p.visible);
}

TEST_F(FormatWindow, DialogAndWizardDress)
{
    TFormat f(nullptr, dir.path(), ini);
    QSignalSpy annule(&f, &TFormat::Cancelled);
    QSignalSpy suivant(&f, &TFormat::Next);
    QSignalSpy precedent(&f, &TFormat::Previous);

    f.UseDialogButtons();
    f.show();
    EXPECT_TRUE(f.ui->OKBtn->isVisible());
    EXPECT_FALSE(f.ui->BitBtn2->isVisible());
    EXPECT_FALSE(f.ui->BitBtn3->isVisible());
    EXPECT_EQ(f.ui->CancelBtn->y(), 42);
    QTest::mouseClick(f.ui->OKBtn, Qt::LeftButton);
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(annule.count(), 0);

    f.UseWizardButtons();
    f.show();
    EXPECT_FALSE(f.ui->OKBtn->isVisible());
    EXPECT_TRUE(f.ui->BitBtn2->isVisible());
    EXPECT_TRUE(f.ui->BitBtn3->isVisible());
    EXPECT_EQ(f.ui->CancelBtn->y(), 8);
    QTest::mouseClick(f.ui->BitBtn3, Qt::LeftButton);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(suivant.count(), 1);
    f.show();
    QTest::mouseClick(f.ui->BitBtn2, Qt::LeftButton);
    EXPECT_EQ(precedent.count(), 1);
    EXPECT_EQ(annule.count(), 0);
    f.show();
    QTest::mouseClick(f.ui->CancelBtn, Qt::LeftButton);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(annule.count(), 1);
    // Closing the window any other way is a cancel too.
    f.show();
    f.close();
    EXPECT_EQ(annule.count(), 2);
}

TEST_F(FormatWindow, PaperNamesFollowTheActiveLanguage)
{
    TFormat f(nullptr, dir.path(), ini);
    EXPECT_EQ(f.TypePapier("Roll - Tags"), tpRoll);
    EXPECT_EQ(f.TypePapier("Rouleau - Tags"), tpA4);
    EXPECT_EQ(f.NomPapier(tpContinuous12), "12\" continuous paper");
    SetGlobalLanguage(0);
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Format des étiquettes"));
    EXPECT_EQ(f.TypePapier("Rouleau - Tags"), tpRoll);
    EXPECT_EQ(f.TypePapier("Roll - Tags"), tpA4);
    EXPECT_EQ(f.NomPapierFormat("Paravent 6\" - x"), "Paravent 6\"");
    SetGlobalLanguage(2);
    EXPECT_EQ(f.NomPapier(tpRoll), "Rolle");
}

TEST_F(FormatWindow, UnreadableFamilyIsReportedAndKeptOnDisk)
{
    const QString broken = dir.filePath("Broken.for");
    writeBytes(broken, crlfLines({"Secret"}));
    QFile::setPermissions(broken, QFileDevice::WriteOwner);
    if (QFile(broken).open(QIODevice::ReadOnly))
        GTEST_SKIP() << "file permissions do not apply to this user";
    QStringList erreurs;
    platform::Application::SetErrorHook([&](const QString& m) { erreurs << m; });
    TFormat f(nullptr, dir.path(), ini);
    ASSERT_EQ(erreurs.size(), 1);
    EXPECT_TRUE(erreurs[0].contains("Broken.for"));
    EXPECT_EQ(f.FamilyCount(), 4);
    EXPECT_EQ(f.Grille(0)->Cell(cfName, 0), "Default format");
    EXPECT_TRUE(f.SaveFamilies().isEmpty());
    QFile::setPermissions(broken, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(readBytes(broken), crlfLines({"Secret"}));
}

TEST_F(FormatWindow, ShippedFamiliesLoad)
{
    TFormat f(nullptr, QStringLiteral(PRAVOLIS_SOURCE_DIR "/data/formats"), ini);
    ASSERT_GE(f.FamilyCount(), 9);
    EXPECT_EQ(f.ui->ComboBox->itemText(f.FamilyCount() - 1), QStringLiteral("Formats personnalisés"));
    for (int n = 0; n < f.FamilyCount() - 1; ++n) {
        f.ui->ComboBox->setCurrentIndex(n);
        f.ComboBoxChange();
        EXPECT_GE(f.ui->ListBox->count(), 5) << f.ui->ComboBox->itemText(n).toStdString();
        EXPECT_FALSE(f.ui->DeleteBtn->isEnabled());
    }
}

#include "platform/Errors.h"
#include "platform/TIniFile.h"
#include "station/ModelList.h"
#include "station/Station.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace station;
using testsupport::dataPath;
using testsupport::crlfLines;
using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

// A version-7 header with the given label size (1/10 mm), margins top, bottom, left, right and
// gaps vertical, horizontal (1/10 mm), and no objects.
QByteArray version7(int w, int h, int hgap, int vgap = 0, int left = 80, int right = 80)
{
    QStringList v{QString::number(w), QString::number(h), "version7", "100", "100",
                  QString::number(left), QString::number(right), QString::number(vgap),
                  QString::number(hgap), "1"};
    for (int i = 0; i < 8; ++i)
        v << "0";
    return crlfLines(v);
}

void copyDesign(const QString& fixture, const QString& to)
{
    QFile::remove(to);
    ASSERT_TRUE(QFile::copy(dataPath("design/" + fixture), to));
    QFile::setPermissions(to, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

QStringList listLines(const TModelList& list)
{
    QStringList out;
    for (const TModelEntry& e : list.Models)
        out << e.Line();
    return out;
}

} // namespace

// Designs of every version are listed under their full names, with the size their header gives,
// whatever the letter case of ".car" and however many dots their names hold.
TEST(ModelList, ListsDesignsOfEveryVersionByTheirOwnFile)
{
    QTemporaryDir dir;
    copyDesign("allkinds.car", dir.filePath("Badge.CAR"));
    copyDesign("version5.car", dir.filePath("v1.2 old.car"));
    copyDesign("version5.car", dir.filePath("v1.car"));
    copyDesign("version6.car", dir.filePath("six.Car"));
    copyDesign("version7.car", dir.filePath("seven.car"));
    copyDesign("version9.car", dir.filePath("round.car"));
    writeBytes(dir.filePath("notes.txt"), "x");

    const TModelList list = ListModels({dir.path()});
    EXPECT_TRUE(list.Errors.isEmpty()) << list.Errors.join('\n').toStdString();
    EXPECT_EQ(listLines(list), (QStringList{
                                   "Badge\t(54,00 x 30,00 mm)",
                                   "round\t(50,00 x 50,00 mm)",
                                   "seven\t(90,00 x 50,00 mm)",
                                   "six\t(90,00 x 50,00 mm)",
                                   "v1\t(100,01 x 50,01 mm)",
                                   "v1.2 old\t(100,01 x 50,01 mm)",
                               }));
    EXPECT_EQ(list.IndexOf("BADGE"), 0);
    EXPECT_EQ(list.Models[5].Path, dir.filePath("v1.2 old.car"));
    EXPECT_EQ(list.IndexOf("v1.2"), -1);
}

// A header the station cannot use is reported once per file; the line stays, with the size read
// before the fault, and the files after it are still listed.
TEST(ModelList, UnreadableHeadersAreReportedAndKeepWhatWasRead)
{
    QTemporaryDir dir;
    struct Case {
        const char* file;
        QByteArray bytes;
        const char* line;
    };
    const Case cases[] = {
        // The raw numbers read before the version that would convert them.
        {"a-badheight.car", crlfLines({"900", "abc"}), "a-badheight\t(9,00 x 0,00 mm)"},
        {"a-badversion.car", crlfLines({"900", "500", "versionX"}), "a-badversion\t(9,00 x 5,00 mm)"},
        {"b-short.car", crlfLines({"5400", "3000", "version8", "Name"}), "b-short\t(54,00 x 30,00 mm)"},
        // A label wider than the A4 sheet: not one column fits.
        {"c-wide.car", version7(2500, 500, 0), "c-wide\t(250,00 x 50,00 mm)"},
        // Label and gap adding up to nothing.
        {"d-zero.car", version7(0, 500, 0), "d-zero\t(0,00 x 50,00 mm)"},
        {"e-negative.car", version7(100, 500, -150), "e-negative\t(10,00 x 50,00 mm)"},
        {"f-good.car", version7(900, 500, 25), "f-good\t(90,00 x 50,00 mm)"},
    };
    QStringList expected;
    for (const Case& c : cases) {
        writeBytes(dir.filePath(c.file), c.bytes);
        expected << c.line;
    }
    const TModelList list = ListModels({dir.path()});
    EXPECT_EQ(listLines(list), expected);
    ASSERT_EQ(list.Errors.size(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(list.Errors[i].startsWith(cases[i].file)) << list.Errors[i].toStdString();
        EXPECT_FALSE(list.Models[static_cast<size_t>(i)].Readable);
    }
    EXPECT_TRUE(list.Models[6].Readable);
}

// The sheet a header describes: version 7 derives its counts from A4, later versions give them,
// held to 1..50 either way.
TEST(ModelList, HeaderFormatsHaveCountsOfOneToFifty)
{
    QTemporaryDir dir;
    writeBytes(dir.filePath("seven.car"), version7(900, 500, 25));
    const TModelHeader seven = ReadModelHeader(dir.filePath("seven.car"));
    EXPECT_EQ(seven.Format.NbColonnes, 2);
    EXPECT_EQ(seven.Format.NbLignes, 5);
    EXPECT_EQ(seven.Format.MargeGauche, 800);
    EXPECT_EQ(seven.Format.EcartHorizontal, 250);
    EXPECT_TRUE(seven.Format.Paysage);

    writeBytes(dir.filePath("tiny.car"), version7(1, 1, 0, 0, 0, 0));
    const TModelHeader tiny = ReadModelHeader(dir.filePath("tiny.car"));
    EXPECT_EQ(tiny.Format.NbColonnes, 50);
    EXPECT_EQ(tiny.Format.NbLignes, 50);

    for (const auto& [columns, rows, wantColumns, wantRows] :
         {std::tuple{0, -3, 1, 1}, std::tuple{51, 7, 50, 7}, std::tuple{3, 900, 3, 50}}) {
        writeBytes(dir.filePath("eight.car"),
                   crlfLines({"7000", "4200", "version8", "F", QString::number(columns),
                          QString::number(rows), "0", "0", "0", "0", "0", "0"}));
        const TModelHeader h = ReadModelHeader(dir.filePath("eight.car"));
        EXPECT_EQ(h.Format.NbColonnes, wantColumns) << columns;
        EXPECT_EQ(h.Format.NbLignes, wantRows) << rows;
    }
}

TEST(StationRules, ThumbnailFitsThePanelOrHides)
{
    struct Case {
        int a, b;
        bool visible;
        int w, h;
    };
    for (const Case& c : {Case{378, 189, true, 129, 64}, Case{100, 300, true, 43, 129},
                          Case{120, 80, true, 120, 80}, Case{161, 161, true, 161, 161},
                          Case{0, 80, false, 0, 0}, Case{80, 0, false, 0, 0},
                          Case{-40, 30, false, 0, 0}, Case{100000, 1, false, 0, 0}}) {
        const TThumbnail t = ThumbnailGeometry(c.a, c.b, 161, 161);
        EXPECT_EQ(t.Visible, c.visible) << c.a << "x" << c.b;
        if (!c.visible)
            continue;
        EXPECT_EQ(t.Width, c.w) << c.a << "x" << c.b;
        EXPECT_EQ(t.Height, c.h) << c.a << "x" << c.b;
        EXPECT_EQ(t.Left, (161 - c.w) / 2);
        EXPECT_DOUBLE_EQ(t.Scale, static_cast<double>(c.w) / c.a);
    }
}

TEST(StationRules, FormatsAgreeOnEverythingButTheName)
{
    design::TCurrentFormat page;
    page = {"A", 7000, 4200, 3, 7, 10, 20, 30, 40, false, false};
    design::TCurrentFormat other = page;
    other.NomFormat = "B";
    other.Paysage = true;
    EXPECT_TRUE(FormatsAgree(page, other));
    const std::function<void(design::TCurrentFormat&)> changes[] = {
        [](auto& f) { f.LargeurEtiquette++; }, [](auto& f) { f.HauteurEtiquette++; },
        [](auto& f) { f.NbColonnes++; },       [](auto& f) { f.NbLignes++; },
        [](auto& f) { f.EcartHorizontal++; },  [](auto& f) { f.EcartVertical++; },
        [](auto& f) { f.MargeGauche++; },      [](auto& f) { f.MargeHaut++; },
        [](auto& f) { f.EtiquetteRonde = true; },
    };
    for (const auto& change : changes) {
        design::TCurrentFormat f = page;
        change(f);
        EXPECT_FALSE(FormatsAgree(page, f));
    }
    EXPECT_EQ(IncompatibleQuestionKey(1), "@9");
    EXPECT_EQ(IncompatibleQuestionKey(2), "@10");
}

TEST(StationRules, SizingHintsAndHelp)
{
    EXPECT_EQ(KeepFourThirds({640, 480}, {1000, 480}), QSize(1000, 750));
    EXPECT_EQ(KeepFourThirds({640, 480}, {640, 600}), QSize(800, 600));
    EXPECT_EQ(KeepFourThirds({800, 600}, {300, 590}), QSize(640, 480));
    EXPECT_EQ(ThumbnailPanelSide(750), 252);
    EXPECT_EQ(TabStopPercent(252), 68);
    EXPECT_DOUBLE_EQ(PageScale(8 + 335), 0.01);
    EXPECT_EQ(PageScale(4), 0.0);

    const THintTexts t;
    EXPECT_EQ(AddressBookHint("John", "Smith", t), "Address-book (active entry : John Smith)");
    EXPECT_EQ(AddressBookHint("", "", t), "Address-book");
    const QString name = DatabaseName("/data/clients.fic", t);
    EXPECT_EQ(DatabaseHint(name, "Dupont", t), "Database CLIENTS (active entry : Dupont)");
    EXPECT_EQ(DatabaseHint(DatabaseName("", t), "", t), "Database UNNAMED");
    EXPECT_EQ(SwitchHint(true, name, t), "The database CLIENTS is currently in use for merging");
    EXPECT_EQ(SwitchHint(false, name, t), "The address-book is currently in use for merging");
    EXPECT_EQ(HelpPage(1), "help/QuorelE.html");
    EXPECT_EQ(HelpPage(0), "help/QuorelF.html");
}

// Opening other designs for drawing or printing must not leave the current-model format on the
// last design opened: the page's format check compares with the selected model.
TEST(Station, CurrentFormatIsTheSelectedModelsAfterAPass)
{
    QTemporaryDir dir;
    const TStationFolders folders = TStationFolders::Resolve(dir.path(), dir.filePath("user"));
    TStation s(folders, dir.filePath("p.ini"));
    s.Start({1024, 768}, dir.path());
    copyDesign("allkinds.car", dir.filePath("perso/badge.car"));
    copyDesign("version9.car", dir.filePath("perso/round.car"));
    s.RemplirListeModeles();
    ASSERT_EQ(s.Models.Count(), 2);
    ASSERT_TRUE(s.SelectModel(0));
    const design::TCurrentFormat badge = s.CurrentFormat;
    EXPECT_EQ(badge.LargeurEtiquette, 5400);

    s.RunModelPass([&] { ASSERT_TRUE(s.ChargerModele(dir.filePath("perso/round.car"))); });
    EXPECT_TRUE(FormatsAgree(badge, s.CurrentFormat));
    EXPECT_EQ(s.Designer.LargeurEtiquettePx, 204);

    EXPECT_THROW(s.RunModelPass([&] {
        s.ChargerModele(dir.filePath("perso/round.car"));
        throw platform::EInOutError("printer gone");
    }),
                 platform::EInOutError);
    EXPECT_TRUE(FormatsAgree(badge, s.CurrentFormat));
}

TEST(Station, DeletingSelectsTheLineBeforeOnlyAtTheEnd)
{
    EXPECT_EQ(LineAfterDelete(2, 3), 1);
    EXPECT_EQ(LineAfterDelete(0, 3), 0);
    EXPECT_EQ(LineAfterDelete(0, 1), -1);

    QTemporaryDir dir;
    TStation s(TStationFolders::Resolve(dir.path(), dir.filePath("user")), dir.filePath("p.ini"));
    s.Start({1024, 768}, dir.path());
    for (const char* name : {"a.car", "b.CAR", "c.car"})
        copyDesign("version6.car", dir.filePath(QString("perso/") + name));
    s.RemplirListeModeles();
    EXPECT_EQ(s.DeleteModel(2), 1);
    EXPECT_FALSE(QFile::exists(dir.filePath("perso/c.car")));
    EXPECT_EQ(s.DeleteModel(0), 0);
    EXPECT_EQ(s.Models.Models[0].Name, "b");
    EXPECT_EQ(s.DeleteModel(0), -1);
    EXPECT_EQ(s.Models.Count(), 0);
}

// An installation whose folder cannot be written: everything written goes to the user's folder,
// what is read is looked for there first, then among the shipped files.
TEST(Station, ReadOnlyProgramFolderWritesToTheUserFolder)
{
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("app/perso"));
    QDir().mkpath(dir.filePath("user/perso"));
    copyDesign("version6.car", dir.filePath("app/perso/Example.car"));
    copyDesign("allkinds.car", dir.filePath("app/perso/mine.car"));
    copyDesign("version9.car", dir.filePath("user/perso/MINE.car"));
    writeBytes(dir.filePath("app/pravolis.ini"), "[MainW]\r\nMaxi=0\r\ncoupe=1\r\n");
    writeBytes(dir.filePath("app/Shipped.for"), "shipped");
    writeBytes(dir.filePath("app/Mine.for"), "shipped");
    writeBytes(dir.filePath("user/MINE.FOR"), "changed by the user");

    const TStationFolders f = TStationFolders::Resolve(dir.filePath("app"), dir.filePath("user"), false);
    EXPECT_TRUE(f.ReadOnlyProgram());
    EXPECT_EQ(f.ModelsFolder(), dir.filePath("user/perso"));
    EXPECT_EQ(f.ReadPath("PERSO/example.CAR"), dir.filePath("app/perso/Example.car"));
    EXPECT_EQ(f.ReadPath("perso/mine.car"), dir.filePath("user/perso/MINE.car"));
    EXPECT_EQ(f.ReadPath("perso/none.car"), dir.filePath("user/perso/none.car"));

    const QString ini = UsableSettingsFile(dir.filePath("app/pravolis.ini"), f);
    EXPECT_EQ(ini, dir.filePath("user/pravolis.ini"));
    EXPECT_EQ(readBytes(ini), readBytes(dir.filePath("app/pravolis.ini")));

    TStation s(f, ini);
    s.Start({1024, 768}, dir.path());
    EXPECT_FALSE(s.Settings.Main.Maxi);
    EXPECT_TRUE(s.Settings.Coupe);
    EXPECT_TRUE(QDir(dir.filePath("user/images")).exists());
    EXPECT_FALSE(QDir(dir.filePath("app/images")).exists());
    // Shipped families are found in the user's folder; the user's own copy stays theirs.
    EXPECT_EQ(readBytes(dir.filePath("user/Shipped.for")), "shipped");
    EXPECT_EQ(readBytes(dir.filePath("user/MINE.FOR")), "changed by the user");
    EXPECT_FALSE(QFile::exists(dir.filePath("user/Mine.for")));
    s.RemplirListeModeles();
    ASSERT_EQ(listLines(s.Models), (QStringList{"Example\t(90,00 x 50,00 mm)", "MINE\t(50,00 x 50,00 mm)"}));
    EXPECT_TRUE(s.Exit({}).isEmpty());
    EXPECT_TRUE(readBytes(ini).contains("FirstTime=1"));
    EXPECT_EQ(readBytes(dir.filePath("app/pravolis.ini")), "[MainW]\r\nMaxi=0\r\ncoupe=1\r\n");
}

TEST(Settings, MissingAndBadValuesGiveTheDefaults)
{
    QTemporaryDir dir;
    writeBytes(dir.filePath("p.ini"), "[MainW]\r\nMaxi=abc\r\ncoupe=2\r\nwysiwyg=0\r\nw=\r\nh=500\r\n"
                                      "[Options]\r\npaysage=1\r\nRÈGLES=0\r\n");
    const TStationSettings s = ReadStationSettings(platform::TIniFile(dir.filePath("p.ini")),
                                                   {1000, 800}, "/home/u");
    EXPECT_TRUE(s.Main.Maxi);
    EXPECT_TRUE(s.Coupe);
    EXPECT_FALSE(s.Wysiwyg);
    EXPECT_FALSE(s.Switch);
    EXPECT_EQ(s.Main.W, 640);
    EXPECT_EQ(s.Main.X, 180);
    EXPECT_EQ(s.Main.Y, 150);
    EXPECT_TRUE(s.Paysage);
    EXPECT_FALSE(s.Regles);
    EXPECT_TRUE(s.FirstTime);
    EXPECT_EQ(s.CheminImagesPerso, "/home/u");
    EXPECT_EQ(s.PaletteX, 180 + 640 - 200);
    EXPECT_EQ(s.Nom, "arial");
    EXPECT_EQ(s.Hauteur, -12);
}

// The exit writes the sections in their order, drops the keys it does not own from the erased
// sections ("paysage" included) and keeps the values of the sections it only adds to.
TEST(Settings, ExitWritesTheSectionsInOrder)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("p.ini");
    writeBytes(path, "[NumAuto]\r\nDébut=5\r\n[Options]\r\npaysage=1\r\nFoo=bar\r\nLastRow=5\r\n");
    TStationSettings s = ReadStationSettings(platform::TIniFile(path), {1000, 800}, "/img");
    s.FirstTime = false;
    const QStringList failures = RunExitSequence(path, s, {});
    EXPECT_TRUE(failures.isEmpty());
    const platform::TIniFile ini(path);
    EXPECT_EQ(ini.ReadSections(), (QStringList{"NumAuto", "MainW", "Editeur", "Palette",
                                               "Dernier format", "Options", "Police", "Dateurs"}));
    EXPECT_EQ(ini.ReadSection("Options"),
              (QStringList{"Règles", "Grilleact", "Grillevis", "GrilleX", "GrilleY", "FirstTime",
                           "Cadre", "Aperçu", "Langue", "CheminImagesPerso"}));
    EXPECT_EQ(ini.ReadString("Options", "FirstTime", ""), "0");
    EXPECT_EQ(ini.ReadString("Options", "Langue", ""), "1");
    EXPECT_EQ(ini.ReadString("NumAuto", "Début", ""), "5");
    EXPECT_EQ(ini.ReadSection("MainW"),
              (QStringList{"x", "y", "w", "h", "Maxi", "coupe", "wysiwyg", "switch"}));
}

// Every step of the exit runs whatever failed before it, a failed settings pass leaves the file
// as it was, and every failure comes back once.
TEST(Settings, ExitRunsEveryStepAndReportsEveryFailure)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("p.ini");
    const QByteArray before = "[MainW]\r\nMaxi=0\r\n[Options]\r\nCadre=1\r\n";
    writeBytes(path, before);
    const TStationSettings s = ReadStationSettings(platform::TIniFile(path), {1000, 800}, "/img");

    bool databaseSaved = false;
    TExitSteps steps;
    steps.WriteNumbering = [](platform::TIniFile&) { throw platform::EConvertError("bad date"); };
    steps.WriteFamilies = [] { return QStringList{"custom.for: disk full"}; };
    steps.SaveDatabase = [&] { databaseSaved = true; };
    EXPECT_EQ(RunExitSequence(path, s, steps), (QStringList{"bad date", "custom.for: disk full"}));
    EXPECT_TRUE(databaseSaved);
    EXPECT_EQ(readBytes(path), before);

    // A settings file that cannot be written at all (its folder is a file).
    writeBytes(dir.filePath("file"), "x");
    databaseSaved = false;
    steps.WriteNumbering = nullptr;
    steps.SaveDatabase = [&] {
        databaseSaved = true;
        throw platform::EInOutError("database locked");
    };
    const QStringList failures = RunExitSequence(dir.filePath("file/p.ini"), s, steps);
    ASSERT_EQ(failures.size(), 3);
    EXPECT_EQ(failures[1], "custom.for: disk full");
    EXPECT_EQ(failures[2], "database locked");
    EXPECT_TRUE(databaseSaved);
}

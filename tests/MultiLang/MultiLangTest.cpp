#include "TestWindow.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSignalSpy>
#include <algorithm>
#include <memory>

namespace {

constexpr int French = 0;
constexpr int English = 1;
constexpr int Italian = 6;

class MultiLangTest : public ::testing::Test {
protected:
    void SetUp() override { SetGlobalLanguage(French); }
    void TearDown() override { SetGlobalLanguage(French); }
};

TEST_F(MultiLangTest, SwitchingPutsEveryKindOfControlInTheLanguage)
{
    BoxRecorder boxes;
    TestWindow w;
    EXPECT_EQ(w.windowTitle(), QString::fromUtf8("Fenêtre d'essai"));
    w.MultiLang1->SetActiveLanguage(English);

    EXPECT_EQ(w.windowTitle(), "Test window");
    EXPECT_EQ(w.Label1->text(), "Name:");
    EXPECT_EQ(w.Button1->text(), "&Close");
    EXPECT_EQ(w.Button1->toolTip(), "Closes the window");
    EXPECT_EQ(w.RadioGroup1->title(), "Orientation");
    EXPECT_EQ(w.Portrait->text(), "Portrait");
    EXPECT_EQ(w.Landscape->text(), "Landscape");
    ASSERT_NE(w.Grille->horizontalHeaderItem(1), nullptr);
    EXPECT_EQ(w.Grille->horizontalHeaderItem(0)->text(), "Surname");
    EXPECT_EQ(w.Grille->horizontalHeaderItem(1)->text(), "City");
    EXPECT_EQ(w.Fichier1->title(), "&File");
    EXPECT_EQ(w.Quitter1->text(), "E&xit");
    EXPECT_EQ(w.Quitter1->toolTip(), "Leaves the program");
    EXPECT_EQ(w.OpenDialog1->Title, "Open a database");
    EXPECT_EQ(w.OpenDialog1->Filter, "Database (*.FIC)|*.FIC");
    EXPECT_EQ(w.Edit1->text(), "<Surname>");
    EXPECT_EQ(w.SpinEdit1->toolTip(), "Number of copies");
    EXPECT_EQ(w.Label3->text(), "Line end \\ and\ttab\nnext");
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MultiLangTest, ListsKeepTheirLengthAndTabsPastTheLastTextGoEmpty)
{
    TestWindow w;
    // Five items, three translated rows: the last two become empty.
    EXPECT_EQ(w.listItems(), QStringList({"Un", "Deux", "Trois", "", ""}));
    EXPECT_EQ(w.Onglets->tabText(0), QString::fromUtf8("Général"));
    EXPECT_EQ(w.Onglets->tabText(1), QString::fromUtf8("Avancé"));
    EXPECT_EQ(w.Onglets->tabText(2), "");
    // A list shorter than its texts grows to hold them.
    w.ListBox1->clear();
    w.ListBox1->addItem("only");
    w.MultiLang1->SetActiveLanguage(English);
    EXPECT_EQ(w.listItems(), QStringList({"One", "Two", "Three"}));
}

TEST_F(MultiLangTest, ComboBoxKeepsItsSelectedIndexWithoutChangeSignals)
{
    TestWindow w;
    ASSERT_EQ(w.ComboBox1->currentIndex(), 2);
    QSignalSpy changed(w.ComboBox1, &QComboBox::currentIndexChanged);
    w.MultiLang1->SetActiveLanguage(English);
    EXPECT_EQ(w.ComboBox1->currentIndex(), 2);
    EXPECT_EQ(w.ComboBox1->currentText(), "Blue");
    EXPECT_EQ(w.ComboBox1->itemText(0), "Red");
    EXPECT_EQ(changed.count(), 0);
    // An empty combo filled by the switch stays without a selection.
    w.ComboBox1->clear();
    w.MultiLang1->SetActiveLanguage(French);
    EXPECT_EQ(w.ComboBox1->count(), 3);
    EXPECT_EQ(w.ComboBox1->currentIndex(), -1);
}

TEST_F(MultiLangTest, GetTextReturnsTheKeyWhenMissingAndLetsTheEventReplaceIt)
{
    TestWindow w;
    w.MultiLang1->SetActiveLanguage(English);
    EXPECT_EQ(w.MultiLang1->GetText("@1"), "Hello");
    EXPECT_EQ(w.MultiLang1->GetText("@99"), "@99");
    // Keys are compared with their case.
    EXPECT_EQ(w.MultiLang1->GetText("%form%"), "%form%");
    // A continuation row's key is not a run-time key: rows are read whole from row 0.
    EXPECT_EQ(w.MultiLang1->GetText("Two"), "Two");

    QString seen;
    w.MultiLang1->IdNotFoundError = [&](TBaseMultiLang*, const QString& key, QString& text) {
        seen = key;
        text = "missing " + key;
    };
    EXPECT_EQ(w.MultiLang1->GetText("@42"), "missing @42");
    EXPECT_EQ(seen, "@42");
    seen.clear();
    EXPECT_EQ(w.MultiLang1->GetText("@1"), "Hello");
    EXPECT_TRUE(seen.isEmpty());
}

TEST_F(MultiLangTest, EmptyTextsFallBackToTheDefaultLanguageOnlyWhenEnabled)
{
    TestWindow w;
    w.MultiLang1->SetActiveLanguage(English);
    EXPECT_EQ(w.Label2->text(), "");
    EXPECT_EQ(w.MultiLang1->GetText("@2"), "");

    w.MultiLang1->SetDefaultEnabled(true); // applies the language again
    EXPECT_EQ(w.Label2->text(), QString::fromUtf8("Seulement en français"));
    EXPECT_EQ(w.MultiLang1->GetText("@2"), QString::fromUtf8("Seulement en français"));
    // A hint whose text is empty leaves the tool tip alone, even with a fallback present.
    w.MultiLang1->SetActiveLanguage(Italian);
    EXPECT_EQ(w.Button1->toolTip(), QString::fromUtf8("Ferme la fenêtre"));
    EXPECT_EQ(w.Button1->text(), "&Chiudi");
}

TEST_F(MultiLangTest, GlobalLanguageSkipsShortInstancesAndReachesLaterWindows)
{
    BoxRecorder boxes;
    TestWindow seven;
    auto two = std::make_unique<TestWindow>(false);
    two->MultiLang1->SetLanguages(2);
    two->MultiLang1->SetWords({"%Form%", "Deux", "Two", "Label1", "Nom", "Name"});
    two->MultiLang1->Loaded();
    two->MultiLang1->SetActiveLanguage(English);

    SetGlobalLanguage(Italian);
    EXPECT_EQ(seven.MultiLang1->ActiveLanguage(), Italian);
    EXPECT_EQ(seven.windowTitle(), "Finestra di prova");
    EXPECT_EQ(two->MultiLang1->ActiveLanguage(), English);
    EXPECT_EQ(two->windowTitle(), "Two");
    EXPECT_EQ(GlobalLanguage(), Italian);

    TestWindow later;
    EXPECT_EQ(later.MultiLang1->ActiveLanguage(), Italian);
    EXPECT_EQ(later.windowTitle(), "Finestra di prova");
    EXPECT_EQ(later.Label1->text(), "Nome:");

    // A short window created now keeps its own language without a message.
    TestWindow shortLater(false);
    shortLater.MultiLang1->SetLanguages(2);
    shortLater.MultiLang1->SetWords({"%Form%", "Deux", "Two"});
    shortLater.MultiLang1->Loaded();
    EXPECT_EQ(shortLater.MultiLang1->ActiveLanguage(), French);
    EXPECT_EQ(shortLater.windowTitle(), "Deux");
    EXPECT_TRUE(boxes.boxes.empty());

    // A freed window leaves the registry.
    TBaseMultiLang* gone = two->MultiLang1;
    two.reset();
    EXPECT_FALSE(MultiLangInstances().contains(gone));
    SetGlobalLanguage(English);
    EXPECT_EQ(seven.MultiLang1->ActiveLanguage(), English);
}

TEST_F(MultiLangTest, VetoLeavesTextsFontAndPositionsAsTheyWere)
{
    BoxRecorder boxes;
    TestWindow w(false);
    w.MultiLang1->SetSwitchPositions(spControlsOnly);
    w.MultiLang1->SetCharSets({"Liberation Serif,1", "Liberation Mono,0"});
    w.MultiLang1->Loaded();
    w.Label1->setGeometry(10, 20, 30, 40);
    const QStringList positions = w.MultiLang1->Positions();
    const QStringList charSets = w.MultiLang1->CharSets();
    const QString family = w.font().family();

    int asked = -1;
    bool after = false;
    w.MultiLang1->BeforeLanguageChange = [&](TBaseMultiLang*, int language, bool& allow) {
        asked = language;
        allow = false;
    };
    w.MultiLang1->AfterLanguageChanged = [&](TBaseMultiLang*, int) { after = true; };
    w.MultiLang1->SetActiveLanguage(English);

    EXPECT_EQ(asked, English);
    EXPECT_FALSE(after);
    EXPECT_EQ(w.MultiLang1->ActiveLanguage(), French);
    EXPECT_EQ(w.Label1->text(), "Nom :");
    EXPECT_EQ(w.windowTitle(), QString::fromUtf8("Fenêtre d'essai"));
    EXPECT_EQ(w.Label1->geometry(), QRect(10, 20, 30, 40));
    EXPECT_EQ(w.MultiLang1->Positions(), positions);
    EXPECT_EQ(w.MultiLang1->CharSets(), charSets);
    EXPECT_EQ(w.font().family(), family);

    w.MultiLang1->BeforeLanguageChange = nullptr;
    w.MultiLang1->SetActiveLanguage(English);
    EXPECT_TRUE(after);
    EXPECT_EQ(w.Label1->text(), "Name:");
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MultiLangTest, OutOfRangeLanguageShowsTheMessageAndChangesNothing)
{
    BoxRecorder boxes(QMessageBox::Cancel);
    TestWindow w;
    bool asked = false;
    w.MultiLang1->BeforeLanguageChange = [&](TBaseMultiLang*, int, bool&) { asked = true; };
    w.MultiLang1->SetActiveLanguage(7);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Value must not be higher than\nnumber of available languages.");
    EXPECT_EQ(boxes.boxes[0].icon, QMessageBox::Information);
    EXPECT_EQ(boxes.boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Cancel));
    EXPECT_FALSE(asked);
    EXPECT_EQ(w.MultiLang1->ActiveLanguage(), French);

    w.MultiLang1->SetDefaultLanguage(7);
    EXPECT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(w.MultiLang1->DefaultLanguage(), 0);
}

// A component that takes no row, a component whose apply step fails and a table cut short in
// the middle of a row must neither hang the walk nor stop the controls after them.
class FailingMultiLang : public TMultiLang {
public:
    using TMultiLang::TMultiLang;
    void ApplyTexts(QObject* component, int& row) override
    {
        if (component->objectName() == "Label1") {
            row += 3 * RowLength(); // moves on, then fails: the walk must restart after its key
            throw std::runtime_error("broken control");
        }
        TMultiLang::ApplyTexts(component, row);
    }
};

TEST_F(MultiLangTest, WalkGoesOnPastSilentAndFailingControlsAndShortTables)
{
    TestWindow w(false);
    delete w.MultiLang1;
    auto* ml = new FailingMultiLang(&w);
    ml->SetLanguages(2);
    ml->SetWords({"Timer1", "minuterie", "timer",  // a plain object: no text, no hint
                  "Label1", "a", "b",              // fails
                  "Label2", "deux", "two",
                  "Button1", "bouton", "button",
                  "Edit1", "partiel"});            // cut short before the English text
    ml->Loaded();
    w.Edit1->setText("typed");
    ml->SetActiveLanguage(English);
    EXPECT_EQ(w.Label1->text(), "design label");
    EXPECT_EQ(w.Label2->text(), "two");
    EXPECT_EQ(w.Button1->text(), "button");
    EXPECT_EQ(w.Edit1->text(), "typed"); // its English text lies past the end: nothing set
    EXPECT_EQ(ml->GetText("Edit1"), "Edit1"); // not a whole row
    ml->SetActiveLanguage(French);
    EXPECT_EQ(w.Edit1->text(), "partiel");

    // A hint row at the very end with its text missing.
    ml->SetWords({"Button1", "b", "c", "\".Hint", "conseil"});
    ml->SetActiveLanguage(English);
    EXPECT_EQ(w.Button1->text(), "c");
    EXPECT_EQ(w.Button1->toolTip(), "design hint");
}

TEST_F(MultiLangTest, ControlsOfAnotherWindowAreNotTheOwners)
{
    TestWindow w;
    auto* child = new QWidget(&w, Qt::Dialog);
    auto* foreign = TestWindow::named(new QLabel(QStringLiteral("own"), child), "Label1");
    auto* childLang = new TMultiLang(child);
    childLang->Loaded();
    w.MultiLang1->SetActiveLanguage(English);
    EXPECT_EQ(foreign->text(), "own");
    EXPECT_EQ(w.Label1->text(), "Name:");
}

TEST_F(MultiLangTest, FontsFollowTheLanguage)
{
    TestWindow w(false);
    w.MultiLang1->SetCharSets({"", "Liberation Mono,0"});
    w.MultiLang1->Loaded(); // French: the empty entry changes nothing
    const QString original = w.font().family();
    w.MultiLang1->SetActiveLanguage(English);
    EXPECT_EQ(w.font().family(), "Liberation Mono");
    // Going back restores the font remembered for French when it was left.
    w.MultiLang1->SetActiveLanguage(French);
    EXPECT_EQ(w.font().family(), original);
    ASSERT_EQ(w.MultiLang1->CharSets().size(), 7);
    EXPECT_EQ(w.MultiLang1->CharSets()[0], original + ",1");
    EXPECT_EQ(w.MultiLang1->CharSets()[1], "Liberation Mono,0");
}

TEST_F(MultiLangTest, PositionsAreKeptPerLanguage)
{
    BoxRecorder boxes(QMessageBox::Yes);
    TestWindow w(false);
    w.MultiLang1->SetSwitchPositions(spFormAndControls);
    w.MultiLang1->Loaded();
    w.setGeometry(100, 100, 400, 300);
    w.Label1->setGeometry(10, 20, 30, 40);
    w.MultiLang1->SetActiveLanguage(English); // remembers the French layout everywhere
    w.Label1->setGeometry(50, 60, 70, 80);
    w.resize(500, 350);
    w.MultiLang1->SetActiveLanguage(French);
    EXPECT_EQ(w.Label1->geometry(), QRect(10, 20, 30, 40));
    EXPECT_EQ(w.size(), QSize(400, 300));
    w.MultiLang1->SetActiveLanguage(English);
    EXPECT_EQ(w.Label1->geometry(), QRect(50, 60, 70, 80));
    EXPECT_EQ(w.size(), QSize(500, 350));
    const QStringList& positions = w.MultiLang1->Positions();
    const auto label = std::find_if(positions.begin(), positions.end(),
                                    [](const QString& e) { return e.startsWith("label1,"); });
    ASSERT_NE(label, positions.end());
    EXPECT_EQ(label->split(',').mid(1, 2), QStringList({"10.20.30.40", "50.60.70.80"}));

    // Dropping the window's positions asks, and No keeps everything.
    boxes.boxes.clear();
    platform::dialogHooks().messageBox = [&](QMessageBox& box) {
        boxes.boxes.push_back({box.text(), box.icon(), box.standardButtons()});
        box.button(box.button(QMessageBox::No) ? QMessageBox::No : QMessageBox::Ok)->click();
    };
    w.MultiLang1->SetSwitchPositions(spControlsOnly);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_TRUE(boxes.boxes[0].text.startsWith("You are going to drop the positions for the form."));
    EXPECT_EQ(boxes.boxes[0].icon, QMessageBox::Warning);
    EXPECT_EQ(boxes.boxes[1].text, "Cancelled.");
    EXPECT_EQ(w.MultiLang1->SwitchPositions(), spFormAndControls);

    // Yes drops the window's entry only; going to none then asks again and drops all.
    platform::dialogHooks().messageBox = [](QMessageBox& box) { box.button(QMessageBox::Yes)->click(); };
    w.MultiLang1->SetSwitchPositions(spControlsOnly);
    EXPECT_EQ(w.MultiLang1->SwitchPositions(), spControlsOnly);
    EXPECT_TRUE(w.MultiLang1->Positions().filter(QRegularExpression("^%Form%,")).isEmpty());
    EXPECT_FALSE(w.MultiLang1->Positions().filter(QRegularExpression("^label1,")).isEmpty());
    w.MultiLang1->SetSwitchPositions(spNone);
    EXPECT_TRUE(w.MultiLang1->Positions().isEmpty());
}

TEST_F(MultiLangTest, ChangingTheNumberOfLanguagesAsksAndReshapesEveryRow)
{
    BoxRecorder boxes(QMessageBox::Yes);
    TestWindow w(false);
    w.MultiLang1->SetLanguages(3);
    w.MultiLang1->SetWords({"%Form%", "f", "e", "g", "@1", "un", "one", "eins"});
    w.MultiLang1->Loaded();

    w.MultiLang1->SetLanguages(0);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "You have to provide at least 1 language.");
    EXPECT_EQ(w.MultiLang1->Languages(), 3);

    w.MultiLang1->SetLanguages(5);
    EXPECT_EQ(w.MultiLang1->Words(),
              QStringList({"%Form%", "f", "e", "g", "?", "?", "@1", "un", "one", "eins", "?", "?"}));
    EXPECT_EQ(boxes.boxes.size(), 1u); // raising asks nothing

    w.MultiLang1->SetActiveLanguage(English);
    w.MultiLang1->SetLanguages(2);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_TRUE(boxes.boxes[1].text.endsWith("\n\nContinue?"));
    EXPECT_EQ(boxes.boxes[1].icon, QMessageBox::Question);
    EXPECT_EQ(w.MultiLang1->Words(), QStringList({"%Form%", "f", "e", "@1", "un", "one"}));
    EXPECT_EQ(w.MultiLang1->GetText("@1"), "one");

    // Removing the language on show asks the stronger question and switches to language 0.
    w.MultiLang1->SetLanguages(1);
    ASSERT_EQ(boxes.boxes.size(), 3u);
    EXPECT_TRUE(boxes.boxes[2].text.contains("The currently displayed language will be deleted, too."));
    EXPECT_EQ(w.MultiLang1->ActiveLanguage(), 0);
    EXPECT_EQ(w.windowTitle(), "f");
    EXPECT_EQ(w.MultiLang1->Words(), QStringList({"%Form%", "f", "@1", "un"}));

    // No keeps the rows.
    platform::dialogHooks().messageBox = [](QMessageBox& box) { box.button(QMessageBox::No)->click(); };
    w.MultiLang1->SetLanguages(4);
    w.MultiLang1->SetLanguages(2);
    EXPECT_EQ(w.MultiLang1->Languages(), 4);
    EXPECT_EQ(w.MultiLang1->Words().size(), 10);
}

// A control that publishes both a caption and a text, as some of the program's own controls do.
class CaptionAndText : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption MEMBER caption)
    Q_PROPERTY(QString Text MEMBER text)
public:
    using QWidget::QWidget;
    QString caption = QStringLiteral("design caption");
    QString text = QStringLiteral("design text");
};

TEST_F(MultiLangTest, SecondTextComesOnlyFromAContinuationRow)
{
    TestWindow w(false);
    auto* both = TestWindow::named(new CaptionAndText(&w), "Both1");
    w.MultiLang1->SetLanguages(2);
    w.MultiLang1->SetWords({"Both1", "titre", "title",
                            "\"", "texte", "text",
                            "Label1", "nom", "name",
                            "Both1", "seul", "alone",   // no continuation row: the text stays
                            "Label2", "deux", "two"});
    w.MultiLang1->Loaded();
    w.MultiLang1->SetActiveLanguage(English);
    EXPECT_EQ(both->caption, "alone");
    EXPECT_EQ(both->text, "text");
    // The row after the caption belongs to another control and is not taken from it.
    EXPECT_EQ(w.Label1->text(), "name");
    EXPECT_EQ(w.Label2->text(), "two");
}

} // namespace

#include "MultiLangTest.moc"

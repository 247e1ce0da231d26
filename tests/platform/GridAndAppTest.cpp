#include "platform/Errors.h"
#include "platform/TStringGrid.h"
#include "platform/window/Application.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <functional>

using namespace platform;

TEST(StringGrid, CellsRowsAndPerRowLists)
{
    TStringGrid g;
    g.SetColCount(3);
    g.SetRowCount(3);
    g.SetCell(0, 0, "Nom");
    g.SetRow(1, {"Dupont", "Jean"});
    g.SetRow(2, {"Martin", "Anne", "Paris"});
    g.Marques = {0, 1, 0};
    g.Copies = {1, 2, 3};
    EXPECT_EQ(g.Cell(0, 1), "Dupont");
    EXPECT_EQ(g.Cell(2, 1), "");
    EXPECT_EQ(g.Cell(5, 1), "");   // outside the grid reads empty
    EXPECT_EQ(g.Cell(0, 9), "");

    g.InsertRow(2);
    EXPECT_EQ(g.RowCount(), 4);
    EXPECT_EQ(g.Cell(0, 3), "Martin");
    EXPECT_EQ(g.Marques, (QList<int>{0, 1, 0, 0}));
    EXPECT_EQ(g.Copies, (QList<int>{1, 2, 1, 3}));

    g.DeleteRow(1);
    EXPECT_EQ(g.Cell(0, 1), "");
    EXPECT_EQ(g.Marques, (QList<int>{0, 0, 0}));
    g.DeleteRow(0); // the title row stays
    EXPECT_EQ(g.Cell(0, 0), "Nom");

    // Lists shorter than the grid read with their defaults.
    g.Copies.clear();
    EXPECT_EQ(g.CopiesOf(2), 1);
    EXPECT_EQ(g.MarkOf(2), 0);

    QSignalSpy moved(&g, &TStringGrid::currentChanged);
    g.SetRow(99);
    EXPECT_EQ(g.Row(), g.RowCount() - 1);
    EXPECT_EQ(moved.count(), 1);
    g.SetRow(g.Row()); // already there: no click, so the card keeps what is being typed
    g.SetRow(99);
    g.SetCol(g.Col());
    EXPECT_EQ(moved.count(), 1);
    g.SetCol(1);
    EXPECT_EQ(moved.count(), 2);
    EXPECT_EQ(moved.last().at(0).toInt(), 1);
    g.ClearRecords();
    EXPECT_EQ(g.RowCount(), 1);
    EXPECT_EQ(g.Row(), 0);
}

// A row keeps its cells in one text: a cell's text must come back whole, whatever it holds and
// whatever its neighbours went through.
TEST(StringGrid, CellsKeepTheirTextsAcrossEveryChangeOfTheirRow)
{
    // Characters a separator could have been taken from, one outside the basic plane, a lone half
    // of a pair, line breaks: row 3 carries them through every change below.
    const QStringList odd = {QString(QChar(0)) + QChar(0x1F) + QChar(0xFFFF),
                             QString::fromUtf8("é\xF0\x9F\x98\x80") + QChar(0xD800), QStringLiteral("\r\n;\t|")};
    const QStringList titles = {"A", "B", "C"};
    const QStringList record = {"x", "yy", "zzz"};
    const QStringList blank = {"", "", ""};
    struct Case {
        const char* what;
        std::function<void(TStringGrid&)> change;
        QList<QStringList> rows;
    };
    const Case cases[] = {
        {"middle cell longer", [](TStringGrid& g) { g.SetCell(1, 1, "a longer text"); },
         {titles, {"x", "a longer text", "zzz"}, blank, odd}},
        {"middle cell shorter", [](TStringGrid& g) { g.SetCell(1, 1, "y"); }, {titles, {"x", "y", "zzz"}, blank, odd}},
        {"middle cell emptied, then the first", [](TStringGrid& g) { g.SetCell(1, 1, ""); g.SetCell(0, 1, ""); },
         {titles, {"", "", "zzz"}, blank, odd}},
        {"an empty row's cells written last to first",
         [](TStringGrid& g) { g.SetCell(2, 2, "c"); g.SetCell(1, 2, "bb"); g.SetCell(0, 2, "a"); },
         {titles, record, {"a", "bb", "c"}, odd}},
        {"a row past the last one", [](TStringGrid& g) { g.SetCell(1, 5, "far"); },
         {titles, record, blank, odd, blank, {"", "far", ""}}},
        {"columns grown, the new one written",
         [](TStringGrid& g) { g.SetColCount(5); g.SetCell(4, 1, "e"); g.SetCell(0, 1, "xx"); },
         {titles + QStringList{"", ""}, QStringList{"xx", "yy", "zzz", "", "e"}, blank + QStringList{"", ""},
          odd + QStringList{"", ""}}},
        {"columns shrunk, then grown back empty", [](TStringGrid& g) { g.SetColCount(2); g.SetColCount(3); },
         {{"A", "B", ""}, {"x", "yy", ""}, blank, {odd[0], odd[1], ""}}},
        {"middle column removed", [](TStringGrid& g) { g.RemoveCols(1, 1); g.SetCell(1, 1, "z"); },
         {{"A", "C"}, {"x", "z"}, {"", ""}, {odd[0], odd[2]}}},
        {"every column removed", [](TStringGrid& g) { g.RemoveCols(0, 3); }, {{""}, {""}, {""}, {""}}},
        {"rows swapped, then written",
         [](TStringGrid& g) {
             g.BeginUpdate();
             g.SwapRows(1, 3);
             g.SwapRows(2, 3);
             g.EndUpdate();
             g.SetCell(0, 2, "w");
         },
         {titles, odd, {"w", "yy", "zzz"}, blank}},
        {"rows replaced from the second record on",
         [](TStringGrid& g) { g.ReplaceRowsFrom(2, {TCellRow({"n", "o", "p", "cut"}, 4), TCellRow({"q"}, 1)}); },
         {titles, record, {"n", "o", "p"}, {"q", "", ""}}},
        {"a whole row set, short", [](TStringGrid& g) { g.SetRow(1, {"s"}); }, {titles, {"s", "", ""}, blank, odd}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TStringGrid g;
        g.Assign(3, {titles, record, {}, odd});
        c.change(g);
        ASSERT_EQ(g.RowCount(), c.rows.size());
        ASSERT_EQ(g.ColCount(), c.rows[0].size());
        for (int r = 0; r < g.RowCount(); ++r) {
            EXPECT_EQ(g.Rows(r), c.rows[r]) << "row " << r;
            for (int col = 0; col < g.ColCount(); ++col)
                EXPECT_EQ(g.CellView(col, r), c.rows[r][col]) << "row " << r << " col " << col;
        }
        EXPECT_TRUE(g.CellView(g.ColCount(), 1).isEmpty());
    }
}

namespace {
class Thrower : public QObject {
public:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User)
            throw EConvertError("'x' is not a valid integer value");
        return QObject::event(e);
    }
};
} // namespace

TEST(Application, AnErrorInAnEventIsShownAndTheProgramGoesOn)
{
    QStringList shown;
    Application::SetErrorHook([&](const QString& m) { shown << m; });
    Thrower t;
    QEvent e(QEvent::User);
    // Delivered through the application object, as the event loop does.
    EXPECT_FALSE(QCoreApplication::sendEvent(&t, &e));
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0], "'x' is not a valid integer value");

    EXPECT_FALSE(runReportingErrors([&] { throw EInOutError("disk full"); }));
    EXPECT_TRUE(runReportingErrors([] {}));
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[1], "disk full");
    Application::SetErrorHook({});
}

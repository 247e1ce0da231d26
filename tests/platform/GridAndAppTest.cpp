#include "platform/Errors.h"
#include "platform/TStringGrid.h"
#include "platform/window/Application.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

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

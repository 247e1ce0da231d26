#include "platform/TStringGrid.h"
#include "station/DesignFormat.h"
#include "station/FormatFamilies.h"

#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace station;
using testsupport::crlfLines;
using testsupport::writeBytes;

namespace {

// Two shipped families and the custom one, each holding the formats named.
class DesignFormatLookup : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeBytes(dir.filePath("Avery.for"), row("A4 3x7") + row("Badge"));
        writeBytes(dir.filePath("Other.for"), row("Round 50"));
        writeBytes(dir.filePath(CustomFamilyName + ".for"), row("Mine"));
        ASSERT_TRUE(families.Load(dir.path(), "Default format").isEmpty());
        ASSERT_EQ(families.Count(), 3);
    }
    static QByteArray row(const QString& name)
    {
        return crlfLines({name, "7000", "4200", "3", "7", "0", "0", "0", "0", "0", "0"});
    }
    int customRows() const { return families.Grid(families.CustomIndex())->RowCount(); }

    QTemporaryDir dir;
    TFormatFamilies families;
};

TEST_F(DesignFormatLookup, FindsByNameWithoutCaseInTheFirstFamilyHoldingIt)
{
    design::TCurrentFormat f;
    f.NomFormat = "round 50";
    EXPECT_EQ(LocateDesignFormat(families, f, "Unlisted format"), (TFormatPlace{1, 0}));
    f.NomFormat = "BADGE";
    EXPECT_EQ(LocateDesignFormat(families, f, "Unlisted format"), (TFormatPlace{0, 1}));
    EXPECT_EQ(customRows(), 1);
}

TEST_F(DesignFormatLookup, AFormatInNoFamilyJoinsTheCustomFamilyWithItsValues)
{
    design::TCurrentFormat f{"Foo", 5000, 3000, 2, 5, 10, 20, 100, 200, false, false};
    EXPECT_EQ(LocateDesignFormat(families, f, "Unlisted format"), (TFormatPlace{2, 1}));
    EXPECT_EQ(families.Grid(2)->Rows(1),
              (QStringList{"Foo", "5000", "3000", "2", "5", "10", "20", "100", "200", "0", "0"}));
    design::TCurrentFormat round{"Disc", 5000, 5000, 1, 1, 0, 0, 0, 0, true, false};
    LocateDesignFormat(families, round, "Unlisted format");
    EXPECT_EQ(families.Grid(2)->Cell(9, 2), "5000");
    EXPECT_EQ(families.Grid(2)->Cell(10, 2), "5000");
    // Found the second time: no second row.
    EXPECT_EQ(LocateDesignFormat(families, f, "Unlisted format"), (TFormatPlace{2, 1}));
    EXPECT_EQ(customRows(), 3);
}

TEST_F(DesignFormatLookup, ADesignWithoutFormatNameAddsOneUnlistedRowHoweverOftenAsked)
{
    design::TCurrentFormat f;
    f.LargeurEtiquette = 6000;
    const TFormatPlace first = LocateDesignFormat(families, f, "Unlisted format");
    const TFormatPlace second = LocateDesignFormat(families, f, "Unlisted format");
    EXPECT_EQ(first, second);
    EXPECT_EQ(customRows(), 2);
    EXPECT_EQ(families.Grid(2)->Cell(0, first.Row), "Unlisted format");
}

} // namespace

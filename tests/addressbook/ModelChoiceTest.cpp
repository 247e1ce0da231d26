#include "addressbook/window/TChoixEtik.h"
#include "ui_TChoixEtik.h"

#include "TestSupport.h"

#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The rightmost column holding ink (a pixel darker than mid-grey) in the rows of `band`; -1 for
// none.
int rightmostInk(const QImage& image, const QRect& band)
{
    for (int x = std::min(image.width(), band.right() + 1) - 1; x >= band.left(); --x)
        if (testsupport::darkPixels(image, x, band.top(), x + 1, band.bottom() + 1) > 0)
            return x;
    return -1;
}

} // namespace

// The model choice lists the station's lines, a design's name then its size after a tab: the
// sizes stand in one column whatever the names' lengths, a name longer than the station's stop
// included, and none runs into its name.
TEST(ModelChoice, SizesStandInOneColumn)
{
    addressbook::TChoixEtik w;
    const QString size = QStringLiteral("\t(70,00 x 42,00 mm)");
    const QStringList names{"A", "Badge", "Parcel label for the warehouse shelves", "Mm"};
    QStringList lines;
    for (const QString& n : names)
        lines << n + size;
    w.Remplir(lines, -1);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QListWidget* list = w.ui->ListBox;
    const QImage image = list->viewport()->grab().toImage();
    const int nameWidth = list->fontMetrics().horizontalAdvance(names[2]);
    QList<int> ends;
    for (int i = 0; i < list->count(); ++i)
        ends << rightmostInk(image, list->visualItemRect(list->item(i)));
    for (int i = 0; i < list->count(); ++i) {
        EXPECT_NEAR(ends[i], ends[0], 1) << names[i].toStdString();
        EXPECT_GT(ends[i], nameWidth + list->fontMetrics().horizontalAdvance(size.mid(1))) << names[i].toStdString();
    }
}

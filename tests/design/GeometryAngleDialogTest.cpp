#include "design/window/ObjectViews.h"
#include "design/window/TFAngle.h"
#include "ui_TFAngle.h"

#include "MultiLang/MLang.h"
#include "platform/TColor.h"
#include "LanguageGuard.h"

#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace design;
using namespace platform;

namespace {

std::vector<TRotateLabelView*> samples(const TFAngle& d)
{
    return {d.ui->RotateLabel1, d.ui->RotateLabel2, d.ui->RotateLabel3, d.ui->RotateLabel4, d.ui->RotateLabel5};
}

// The index (1-5) of the yellow sample; 0 when none or several are.
int highlighted(const TFAngle& d)
{
    int found = 0;
    const auto views = samples(d);
    for (std::size_t i = 0; i < views.size(); ++i) {
        const TColor c = views[i]->Label().Color;
        if (c == clYellow) {
            if (found != 0)
                return 0;
            found = static_cast<int>(i) + 1;
        } else if (c != clBtnFace) {
            return 0;
        }
    }
    return found;
}

} // namespace

TEST(AngleDialog, OpensOnTheFreeAngleWithoutMovingTheBar)
{
    TFAngle d;
    d.Angle = 45;
    d.show();
    EXPECT_EQ(highlighted(d), 5);
    EXPECT_EQ(d.ui->ScrollBar->value(), 314);
    EXPECT_EQ(d.ui->RotateLabel5->Label().Angle(), 45);
    EXPECT_EQ(d.Angle, 45);
}

TEST(AngleDialog, OpensOnAPreset)
{
    TFAngle d;
    d.Angle = 90;
    d.show();
    EXPECT_EQ(highlighted(d), 2);
    EXPECT_EQ(d.Angle, 90);
    EXPECT_EQ(d.ui->ScrollBar->value(), 314);
}

TEST(AngleDialog, OtherAnglesMoveTheBarAndTurnTheFifthSample)
{
    TFAngle d;
    d.Angle = 200;
    d.show();
    EXPECT_EQ(d.ui->ScrollBar->value(), 159);
    EXPECT_EQ(highlighted(d), 5);
    EXPECT_EQ(d.ui->RotateLabel5->Label().Angle(), 200);
    EXPECT_EQ(d.ui->RotateLabel5->Label().Caption,
              QStringLiteral("200") + d.MultiLang1->GetText(QStringLiteral("@1")));
    EXPECT_TRUE(d.ui->RotateLabel5->Label().Caption.startsWith(QStringLiteral("200 ")));
    EXPECT_EQ(d.Angle, 200);

    d.ui->ScrollBar->setValue(0);
    EXPECT_EQ(d.Angle, 359);
    d.ui->ScrollBar->setValue(329);
    EXPECT_EQ(d.Angle, 30);
    EXPECT_TRUE(d.ui->RotateLabel5->Label().Caption.startsWith(QStringLiteral("30 ")));
}

TEST(AngleDialog, ClickingASampleChoosesItsAngle)
{
    TFAngle d;
    d.Angle = 45;
    d.show();
    QTest::mouseClick(d.ui->RotateLabel3, Qt::LeftButton, {}, d.ui->RotateLabel3->rect().center());
    EXPECT_EQ(d.Angle, 180);
    EXPECT_EQ(highlighted(d), 3);
    QTest::mouseClick(d.ui->RotateLabel4, Qt::LeftButton, {}, d.ui->RotateLabel4->rect().center());
    EXPECT_EQ(d.Angle, 270);
    QTest::mouseClick(d.ui->RotateLabel5, Qt::LeftButton, {}, d.ui->RotateLabel5->rect().center());
    EXPECT_EQ(d.Angle, 45);
    EXPECT_EQ(highlighted(d), 5);
}

TEST(AngleDialog, SamplesAreSquaresSizedByTheirCaptionsAndTranslated)
{
    testsupport::LanguageGuard english(1);
    {
        TFAngle d;
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Slope of the text"));
        EXPECT_EQ(d.ui->RotateLabel2->Caption(), QStringLiteral("Vertical 1"));
        EXPECT_EQ(d.MultiLang1->GetText(QStringLiteral("@1")), QStringLiteral(" degrees"));
        for (TRotateLabelView* v : samples(d)) {
            EXPECT_EQ(v->width(), v->height());
            EXPECT_EQ(v->width(), v->Label().Width);
        }
        EXPECT_GT(d.ui->RotateLabel1->width(), d.ui->RotateLabel2->width()); // "Horizontal 1" is longer
        EXPECT_EQ(d.ui->RotateLabel1->x(), 24);
    }
    SetGlobalLanguage(0);
    {
        TFAngle d;
        EXPECT_EQ(d.ui->RotateLabel5->Caption(), QStringLiteral("45 degrés"));
        EXPECT_EQ(d.ui->CancelBtn->text(), QStringLiteral("Annuler"));
    }
}

TEST(ObjectViewsTest, ViewsFollowTheirRecordAfterRefresh)
{
    TLine line;
    line.SetBounds(10, 20, 120, 33);
    line.SetLine(ltHorizontal);
    line.Pen.SetWidth(2);
    TLineView view(&line);
    view.Refresh();
    EXPECT_EQ(view.geometry(), QRect(10, 20, 120, 20));

    TCircleLabel circle;
    circle.SetBounds(0, 0, 100, 10);
    TCircleLabelView cview(&circle);
    cview.Refresh();
    EXPECT_GT(cview.height(), 10);
    EXPECT_EQ(cview.height(), circle.Height);
}

// The layout rules of the pages, in twips, without a window.
#include <gtest/gtest.h>

#include "ui/PageLayout.h"

namespace zeb2hart::ui {
namespace {

TEST(TwipsTest, FifteenTwipsMakeOnePixelAndTheLogoStandsTenFromTheRightEdge)
{
    EXPECT_EQ(twipsToPixels(315), 21);
    EXPECT_EQ(twipsToPixels(120), 8);
    EXPECT_EQ(twipsToPixels(7), 0);
    EXPECT_EQ(twipsToPixels(8), 1);
    EXPECT_EQ(pixelsToTwips(48), 720);
    EXPECT_EQ(clampedSize(-1), 0);
    EXPECT_EQ(clampedSize(0), 0);
    EXPECT_EQ(clampedSize(5), 5);
    EXPECT_EQ(headlineLogoLeft(9600, 1260), 9600 - 1260 - 10);
    EXPECT_EQ(headlineLogoLeft(1000, 1260), -270);
}

TEST(MonitorLayoutTest, AreasFollowThePageSize)
{
    MonitorLayout l = layoutMonitor(9600, 7200);
    EXPECT_EQ(l.headline, (TwipRect{0, 0, 9600, 315}));
    EXPECT_EQ(l.parameterFreeArea, (TwipRect{120, 435, 9360, 6645}));
    // Check boxes at left 315, each 30 below the one above.
    EXPECT_EQ(l.chkFDTInterface, (TwipRect{315, 315, 2400, 255}));
    EXPECT_EQ(l.chkZEBProtocols, (TwipRect{315, 600, 2400, 255}));
    EXPECT_EQ(l.chkHARTProtocols, (TwipRect{315, 885, 2400, 255}));
    // Settings: as high as the bottom of chkZEBProtocols + 500, at the bottom, 75 below MonitorBack.
    EXPECT_EQ(l.monitorSettings, (TwipRect{0, 6645 - 1355, 9360, 1355}));
    EXPECT_EQ(l.monitorBack, (TwipRect{0, 0, 9360, 6645 - 1355 - 75}));
    EXPECT_EQ(l.monitorSettings.top, l.monitorBack.bottom() + 75);
    EXPECT_EQ(l.monitorSettings.bottom(), l.parameterFreeArea.height);
    EXPECT_EQ(l.richTextBox, (TwipRect{120, 120, 9360 - 240, l.monitorBack.height - 240}));

    // Sizes never go below zero.
    l = layoutMonitor(100, 200);
    EXPECT_EQ(l.parameterFreeArea.width, 0);
    EXPECT_EQ(l.parameterFreeArea.height, 0);
    EXPECT_EQ(l.monitorBack.height, 0);
    EXPECT_EQ(l.richTextBox.width, 0);
    EXPECT_EQ(l.richTextBox.height, 0);
    EXPECT_EQ(l.monitorSettings.top, 75);
}

TEST(MonitorLayoutTest, ButtonsStandRightOrAfterTheCheckBoxes)
{
    struct Case {
        int pageWidth;
        int clearLeft;
        int saveLeft;
    };
    // 2400 + 315 + 315 + 1200 + 150 + 1200 + 315 = 5895: the area must be wider than that
    // for the buttons to stand at the right edge.
    const Case cases[] = {
        {9600, 9360 - 315 - 1200, 9360 - 315 - 1200 - 150 - 1200},
        {5896 + 240, 5896 - 1515, 5896 - 1515 - 1350},
        // An area exactly 5895 wide is not wider: the buttons follow the check boxes.
        {5895 + 240, 2400 + 630 + 1200 + 150, 2400 + 630},
        {3000, 2400 + 630 + 1200 + 150, 2400 + 630},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pageWidth);
        const MonitorLayout l = layoutMonitor(c.pageWidth, 6000);
        EXPECT_EQ(l.btnClear, (TwipRect{c.clearLeft, 315, 1200, l.btnClear.height}));
        EXPECT_EQ(l.btnSave, (TwipRect{c.saveLeft, 315, 1200, l.btnSave.height}));
    }
}

TEST(OfflineParamLayoutTest, LeftColumnAndParameterArea)
{
    OfflineParamLayout l = layoutOfflineParam(10800, 7200);
    EXPECT_EQ(l.headline, (TwipRect{0, 0, 10800, 315}));
    EXPECT_EQ(l.deviceArea, (TwipRect{120, 435, 2700, 930}));
    EXPECT_EQ(l.statusArea, (TwipRect{120, 435 + 930 + 75, 2700, 600}));
    EXPECT_EQ(l.treeArea, (TwipRect{120, 435 + 930 + 75 + 600 + 75, 2700, 7200 - (315 + 390 + 930 + 600)}));
    // The tree area ends 120 above the page's bottom edge.
    EXPECT_EQ(l.treeArea.bottom(), 7200 - 120);
    EXPECT_EQ(l.lblDeviceType.left, 960);
    EXPECT_EQ(l.lblDeviceType.top, (930 - l.lblDeviceType.height) / 2);
    EXPECT_EQ(l.lblCommStatus.left, 960);

    EXPECT_EQ(l.parameterFreeArea, (TwipRect{2700 + 240, 435, 10800 - 3060, 7200 - 555}));
    EXPECT_EQ(l.titleParameterArea, (TwipRect{0, 0, 10800 - 3060, 480}));
    EXPECT_EQ(l.lblParameter.left, 315);
    EXPECT_EQ(l.lblParameter.top, 135);
    EXPECT_EQ(l.parameterArea.top, 555);
    EXPECT_EQ(l.parameterArea.width, 10800 - 3060);

    EXPECT_EQ(l.lblGateway.left, 315);
    EXPECT_EQ(l.lblGateway.top, 120);
    EXPECT_EQ(l.lblDevType.left, 315);
    EXPECT_EQ(l.lblDevType.top, 495);
    EXPECT_EQ(l.lblWarmstartDelay.left, 315);
    EXPECT_EQ(l.lblWarmstartDelay.top, l.lblDevType.bottom() + 345);
    EXPECT_EQ(l.devTypeCombo.left, 2700);
    EXPECT_EQ(l.devTypeCombo.top, 450);
    EXPECT_EQ(l.wsDelayValue.left, 2700);
    EXPECT_EQ(l.wsDelayValue.top, l.devTypeCombo.bottom() + 345);
    EXPECT_EQ(l.lblUnitDelay.left, l.wsDelayValue.right() + 150);
    EXPECT_EQ(l.lblUnitDelay.top, l.lblWarmstartDelay.top);
    EXPECT_EQ(l.parameterArea.height, l.wsDelayValue.top + 690 + 450);

    // A small page clamps sizes.
    l = layoutOfflineParam(2000, 1000);
    EXPECT_EQ(l.treeArea.height, 0);
    EXPECT_EQ(l.parameterFreeArea.width, 0);
    EXPECT_EQ(l.parameterFreeArea.height, 1000 - 555);
    EXPECT_EQ(l.titleParameterArea.width, 0);
    EXPECT_EQ(l.parameterArea.width, 0);
}

TEST(AboutLayoutTest, BackPanelFollowsThePageAndLabelsKeepTheirPlaces)
{
    const AboutLayout big = layoutAbout(10800, 7200);
    const AboutLayout small = layoutAbout(3000, 500);
    EXPECT_EQ(big.headline, (TwipRect{0, 0, 10800, 315}));
    EXPECT_EQ(big.aboutBack, (TwipRect{120, 435, 10560, 6645}));
    EXPECT_EQ(small.aboutBack, (TwipRect{120, 435, 2760, 0}));
    EXPECT_EQ(big.lblVersion, small.lblVersion);
    EXPECT_EQ(big.lblDisclaimer, small.lblDisclaimer);
    // The design positions fit the back panel of a 720 x 480 pixel page.
    for (const TwipRect& r : {big.deviceImage, big.lblTitle, big.lblDescription, big.lblVersion, big.lblDisclaimer,
                              big.upperLine, big.lowerLine}) {
        EXPECT_LE(r.right(), big.aboutBack.width);
        EXPECT_LE(r.bottom(), big.aboutBack.height);
    }
}

} // namespace
} // namespace zeb2hart::ui

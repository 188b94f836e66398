// The page rules that need no window: device list, delay entry, filters, log file, status pictures, version
// caption, name filters, the page session, the controls TranslateControls sees, and the layout in twips.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

#include "UiTestSupport.h"
#include "platform/Paths.h"
#include "pages/AboutLogic.h"
#include "pages/MonitorLogic.h"
#include "pages/OfflineParamLogic.h"
#include "pages/PageLayout.h"
#include "pages/ctlMonitor.h"
#include "support/Monitor.h"
#include "ui/qt/PictureBox.h"
#include "ui/qt/QtPageView.h"
#include "ui/qt/QtServices.h"

namespace zeb2hart::ui {
using namespace zeb2hart::pages;

std::ostream& operator<<(std::ostream& out, const TwipRect& r)
{
    return out << "{" << r.left << ", " << r.top << ", " << r.width << ", " << r.height << "}";
}

namespace {

using Names = std::vector<std::string>;

TEST(PageRulesTest, DeviceSelectionDelayKeysStatusPicturesNameFiltersAndVersion)
{
    // {stored index, entries, selected}: beyond the list the first entry, nothing without entries.
    for (const auto& [stored, count, selected] : {std::tuple{0, 0, -1}, {-1, 3, -1}, {0, 1, 0}, {2, 3, 2}, {3, 3, 0}})
        EXPECT_EQ(deviceIndexToSelect(stored, count), selected) << stored << " of " << count;

    for (const char32_t c : {U'0', U'9', char32_t{8}})
        EXPECT_TRUE(isDelayCharacterAccepted(c)) << static_cast<int>(c);
    for (const char32_t c : {U'/', U':', U'a', char32_t{9}, char32_t{22}, char32_t{127}, U'\u0663'})
        EXPECT_FALSE(isDelayCharacterAccepted(c)) << static_cast<int>(c);

    const std::filesystem::path component = "/component";
    for (const auto& [status, name] : {std::pair{0, "connected_13x52.gif"}, {1, "disconn_13x52.gif"},
                                       {2, "error_13x52.gif"}})
        EXPECT_EQ(statusPicture(component, status), component / "Resources" / name);
    EXPECT_FALSE(statusPicture(component, 3));
    EXPECT_EQ(statusValue(fdt::Variant(std::int16_t{7})), 7);
    EXPECT_EQ(statusValue(fdt::Variant(std::string("1"))), 1);
    EXPECT_FALSE(statusValue(fdt::Variant(std::string("connected"))));

    EXPECT_EQ(qtNameFilter(kLogFileFilter), "Logdatei (*.LOG)");
    EXPECT_EQ(qtNameFilter("Text|*.txt|All (*.*)|*.*"), "Text (*.txt);;All (*.*)");
    EXPECT_EQ(qtNameFilter("Text"), "Text");
    EXPECT_EQ(qtNameFilter(""), "");
    EXPECT_EQ(versionCaption(""), ": 1.0.5"); // no dictionary text: colon, blank, version
}

TEST(PageRulesTest, LogFileEndsEveryLineWithCrLfAndWritingTruncatesOrReportsFailure)
{
    EXPECT_EQ(logFileText(""), "\r\n");
    EXPECT_EQ(logFileText("\na\nb"), "\r\na\r\nb\r\n");
    test::TempComponentFolder folder;
    const auto file = folder.path() / "monitor.LOG";
    const std::string name = platform::utf8Of(file);
    ASSERT_TRUE(writeLogFile(name, "a much longer first content\r\n"));
    ASSERT_TRUE(writeLogFile(name, "\r\n"));
    EXPECT_EQ(test::readFile(file), "\r\n");
    EXPECT_FALSE(writeLogFile(platform::utf8Of(folder.path() / "missing" / "x.LOG"), "\r\n"));
    EXPECT_FALSE(writeLogFile(platform::utf8Of(folder.path()), "\r\n"));
    // A name with a NUL names no file: not the one the system would cut it to.
    EXPECT_FALSE(writeLogFile(platform::utf8Of(folder.path() / "cut.LOG") + std::string("\0.txt", 5), "\r\n"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "cut.LOG"));
}

TEST(PageRulesTest, ControlsAsTranslateControlsSeesThemAndAPictureKeepsWhatItShowed)
{
    const auto page = makeQtPage(PageKind::About);
    Names names;
    std::vector<bool> captions;
    for (core::Control* control : page->controlList()) {
        names.push_back(control->name() + (control->index() ? "_" + std::to_string(*control->index()) : ""));
        captions.push_back(control->hasCaption());
    }
    EXPECT_EQ(names, (Names{"ctlHeadline", "AboutBack", "DeviceImage", "lblTitle", "linDecor_0", "lblDescription",
                            "lblVersion", "linDecor_1", "lblDisclaimer"}));
    EXPECT_EQ(captions, (std::vector<bool>{false, false, false, true, false, true, true, false, true}));
    // A caption is what the control shows; the design caption of an about label is its name.
    QWidget& widget = *pageWidget(page);
    EXPECT_EQ(test::control<QLabel>(widget, "lblVersion").text(), QStringLiteral("lblVersion"));
    page->controlList()[about::lblTitle]->setCaption("Gerätetyp");
    EXPECT_EQ(test::control<QLabel>(widget, "lblTitle").text(), QStringLiteral("Gerätetyp"));
    EXPECT_EQ(test::control<QFrame>(widget, "linDecor").property(kControlIndexProperty), QVariant(0));

    auto& picture = test::control<PictureBox>(widget, "DeviceImage");
    ASSERT_TRUE(picture.load(test::componentDir() / "Resources" / "disconn_13x52.gif"));
    EXPECT_FALSE(picture.load("/no/such/picture.gif")); // the picture shown before stays
    EXPECT_EQ(picture.source().filename(), "disconn_13x52.gif");
}

class PageRulesDtmTest : public test::PageTest {
protected:
    std::shared_ptr<PageServices> services = pageServicesOf(dtm);
};

TEST_F(PageRulesDtmTest, EachClickCodeSetsItsFilterAndReportsOnlyAChange)
{
    using core::DTMMain;
    for (const auto& [code, filter, name] :
         {std::tuple{click::FDTInterface, &DTMMain::PersistentFDTInterfaceFilter, "PersistentFDTInterfaceFilter"},
          {click::ZEBProtocols, &DTMMain::PersistentZEBProtocolFilter, "PersistentZEBProtocolFilter"},
          {click::HARTProtocols, &DTMMain::PersistentHARTProtocolFilter, "PersistentHARTProtocolFilter"}}) {
        dtm->PersistentFDTInterfaceFilter = dtm->PersistentZEBProtocolFilter = dtm->PersistentHARTProtocolFilter = true;
        frame->events.clear();
        CheckFilter(services.get(), code, true); // equal: no report
        CheckFilter(services.get(), code, false);
        EXPECT_FALSE((*dtm).*filter);
        EXPECT_EQ(dtm->PersistentFDTInterfaceFilter + dtm->PersistentZEBProtocolFilter +
                      dtm->PersistentHARTProtocolFilter, 2);
        EXPECT_EQ(parameterChanges(), Names{std::string(name) + "=False"});
    }
    EXPECT_EQ(filterPropertyName(3), "");
    CheckFilter(services.get(), 3, true);
    CheckFilter(nullptr, click::FDTInterface, true);
    EXPECT_FALSE(dtm->PersistentHARTProtocolFilter);
    EXPECT_EQ(site->changed.size(), 3u);
}

TEST_F(PageRulesDtmTest, WarmstartDelayTakesSixteenBitValuesAndReportsTheTextAsTyped)
{
    for (const auto& [text, expected, reported] :
         {std::tuple{"", 5, false}, {"05", 5, false}, {"0012", 12, true}, {"0", 0, true}, {"32767", 32767, true},
          {"32768", 5, false}, {"abc", 5, false}}) {
        frame->events.clear();
        dtm->PersistentWarmstartDelay = 5;
        CheckWarmstartDelay(services.get(), text);
        EXPECT_EQ(dtm->PersistentWarmstartDelay, expected) << text;
        EXPECT_EQ(parameterChanges(), reported ? Names{"PersistentWarmstartDelay=" + std::string(text)} : Names{});
    }
    EXPECT_NO_THROW(CheckWarmstartDelay(nullptr, "12"));
}

TEST_F(PageRulesDtmTest, DeviceTypeReadsTheSixIdentityValuesAndReportsOnlyTheIndex)
{
    for (int round = 0; round < 2; ++round) { // the same position again reads but does not report
        dtm->PersistentDeviceID = "changed";
        SetDeviceType(services.get(), 1, "VRA510");
    }
    EXPECT_EQ(dtm->PersistentDeviceTypeIndex, 1);
    EXPECT_EQ((Names{dtm->PersistentManufacturerIDCode, dtm->PersistentManufacturerDevTypeCode,
                     dtm->PersistentRevLevelOfTransmSpecDoc, dtm->PersistentSoftwareRevLevelOfDev,
                     dtm->PersistentHardwareRevLevelOfElectr, dtm->PersistentDeviceID}),
              (Names{"13002.32", "13000.32", "13016.32", "13015.32", "13014.32", "31516.28"}));
    EXPECT_EQ(parameterChanges(), Names{"PersistentDeviceTypeIndex=1"});
    EXPECT_EQ(site->changed, Names{"PersistentDeviceTypeIndex"});
    // A type without a section reads empty values; a position out of range changes nothing.
    SetDeviceType(services.get(), 2, "NoSuchType");
    SetDeviceType(services.get(), -1, "VRA510");
    SetDeviceType(services.get(), 32768, "VRA510");
    SetDeviceType(nullptr, 0, "VRA520");
    EXPECT_EQ(dtm->PersistentDeviceTypeIndex, 2);
    EXPECT_EQ(dtm->PersistentDeviceID, "");
    SetDeviceType(services.get(), 32767, "VRA510");
    EXPECT_EQ(dtm->PersistentDeviceTypeIndex, 32767);
}

TEST_F(PageRulesDtmTest, APageOpensOnlyOnTheGatewayDtmAndReleasesThroughTheFrame)
{
    EXPECT_FALSE(pageServicesOf(std::make_shared<fakes::PlainObject>()));
    const auto page = std::dynamic_pointer_cast<ctlMonitor>(makeQtPage(PageKind::Monitor));
    EXPECT_FALSE(page->Init("id", "", std::make_shared<fakes::PlainObject>()));
    EXPECT_FALSE(page->PrepareToRelease());
    dtm->PersistentFDTInterfaceFilter = true;
    ASSERT_TRUE(page->Init("id-1", "", dtm));
    dtm->MonitorMsg("registered", "", support::color::Black, support::filter::FdtInterface);
    EXPECT_TRUE(page->PrepareToRelease());
    dtm->MonitorMsg("unregistered", "", support::color::Black, support::filter::FdtInterface);
    EXPECT_EQ(frame->events, (std::vector<fakes::Call>{{"OnApplicationClosed", {"id-1"}}}));
    EXPECT_NE(page->viewText().find("registered"), std::string::npos);
    EXPECT_EQ(page->viewText().find("unregistered"), std::string::npos);
    // A DTM without a frame opens the page but cannot release it.
    const auto second = makeQtPage(PageKind::About);
    ASSERT_TRUE(second->Init("id-2", "", core::DTMMain::create(folder.path())));
    EXPECT_FALSE(second->PrepareToRelease());
    // A property the table does not know is an error of the services, not a crash.
    EXPECT_THROW(services->property("NoSuchProperty"), fdt::NotFoundError);
}

TEST(PageLayoutTest, AreasAndControlsFollowThePageSizeAndNeverGoBelowZero)
{
    EXPECT_EQ(twipsToPixels(7), 0); // 15 twips a pixel, rounded
    EXPECT_EQ(twipsToPixels(8), 1);
    EXPECT_EQ(headlineLogoLeft(9600, 1260), 9600 - 1260 - 10);
    const MonitorLayout m = layoutMonitor(9600, 7200), ms = layoutMonitor(100, 200);
    // The buttons stand right only in an area wider than 2400 + 315 + 315 + 1200 + 150 + 1200 + 315 = 5895.
    const MonitorLayout wide = layoutMonitor(5896 + 240, 6000), narrow = layoutMonitor(5895 + 240, 6000);
    const OfflineParamLayout o = layoutOfflineParam(10800, 7200), os = layoutOfflineParam(2000, 1000);
    const AboutLayout a = layoutAbout(10800, 7200);
    const std::pair<TwipRect, TwipRect> places[] = { // laid out, expected
        // The monitor's settings are as high as the bottom of chkZEBProtocols + 500, 75 below MonitorBack.
        {m.headline, {0, 0, 9600, 315}}, {m.parameterFreeArea, {120, 435, 9360, 6645}},
        {m.chkFDTInterface, {315, 315, 2400, 255}}, {m.chkZEBProtocols, {315, 600, 2400, 255}},
        {m.chkHARTProtocols, {315, 885, 2400, 255}}, {m.monitorBack, {0, 0, 9360, 6645 - 1355 - 75}},
        {m.monitorSettings, {0, 6645 - 1355, 9360, 1355}}, {m.richTextBox, {120, 120, 9120, 6645 - 1355 - 75 - 240}},
        {m.btnClear, {9360 - 1515, 315, 1200, 375}}, {m.btnSave, {9360 - 1515 - 1350, 315, 1200, 375}},
        {wide.btnClear, {5896 - 1515, 315, 1200, 375}}, {wide.btnSave, {5896 - 1515 - 1350, 315, 1200, 375}},
        {narrow.btnSave, {2400 + 630, 315, 1200, 375}}, {narrow.btnClear, {2400 + 630 + 1350, 315, 1200, 375}},
        {ms.parameterFreeArea, {120, 435, 0, 0}}, {ms.monitorBack, {0, 0, 0, 0}},
        {ms.monitorSettings, {0, 75, 0, 1355}}, {ms.richTextBox, {120, 120, 0, 0}},
        // The offline page's left column: device 930 high, status 600, the tree to 120 above the bottom edge;
        // labels and pictures centred in their areas.
        {o.headline, {0, 0, 10800, 315}}, {o.deviceArea, {120, 435, 2700, 930}},
        {o.statusArea, {120, 1440, 2700, 600}}, {o.treeArea, {120, 2115, 2700, 7200 - 120 - 2115}},
        {o.deviceImage, {120, (930 - 720) / 2, 720, 720}}, {o.lblDeviceType, {960, (930 - 255) / 2, 1680, 255}},
        {o.lblHeadlineTitle, {960, 90, 1680, 255}}, {o.statusImage, {120, (600 - 195) / 2, 780, 195}},
        {o.lblCommStatus, {960, (600 - 255) / 2, 1680, 255}},
        {o.parameterFreeArea, {2940, 435, 10800 - 3060, 7200 - 555}}, {o.titleParameterArea, {0, 0, 7740, 480}},
        {o.lblParameter, {315, 135, 3000, 255}}, {o.lblGateway, {315, 120, 3000, 255}},
        {o.lblDevType, {315, 495, 2250, 315}}, {o.lblWarmstartDelay, {315, 495 + 315 + 345, 2250, 315}},
        {o.devTypeCombo, {2700, 450, 2700, 315}}, {o.wsDelayValue, {2700, 450 + 315 + 345, 1200, 315}},
        {o.lblUnitDelay, {2700 + 1200 + 150, 1155, 600, 315}}, {o.parameterArea, {0, 555, 7740, 1110 + 690 + 450}},
        {os.treeArea, {120, 2115, 2700, 0}}, {os.parameterFreeArea, {2940, 435, 0, 1000 - 555}},
        {os.titleParameterArea, {0, 0, 0, 480}}, {os.parameterArea, {0, 555, 0, 2250}},
        // The about page's back panel follows the page; the texts keep their places.
        {a.headline, {0, 0, 10800, 315}}, {a.aboutBack, {120, 435, 10560, 6645}},
        {layoutAbout(3000, 500).aboutBack, {120, 435, 2760, 0}}, {a.deviceImage, {360, 360, 720, 720}},
        {a.lblTitle, {1320, 360, 7560, 375}}, {a.upperLine, {1320, 825, 7560, 15}},
        {a.lblDescription, {1320, 960, 7560, 735}}, {a.lblVersion, {1320, 1800, 7560, 285}},
        {a.lowerLine, {360, 2400, 8520, 15}}, {a.lblDisclaimer, {360, 2535, 8520, 735}}};
    for (std::size_t i = 0; i < std::size(places); ++i)
        EXPECT_EQ(places[i].first, places[i].second) << "place " << i;
}

} // namespace
} // namespace zeb2hart::ui

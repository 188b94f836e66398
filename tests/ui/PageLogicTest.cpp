// The page rules that need no window: device list, delay entry, filters, log
// file, status pictures, version caption, the page session and the controls
// TranslateControls sees.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include <filesystem>

#include "UiTestSupport.h"
#include "ui/AboutLogic.h"
#include "ui/MonitorLogic.h"
#include "ui/OfflineParamLogic.h"
#include "ui/PageSession.h"
#include "ui/PictureBox.h"
#include "ui/QtServices.h"
#include "ui/WidgetControl.h"

namespace zeb2hart::ui {
namespace {

using test::ParameterChange;

TEST(DeviceListTest, SplitsAtEachComma)
{
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"", {}}, {"VRA520", {"VRA520"}}, {"VRA520,VRA510,VRA540", {"VRA520", "VRA510", "VRA540"}},
        // A blank after a comma stays at the start of the next name.
        {"VRA520, VRA510", {"VRA520", " VRA510"}},
        // Two commas in a row give an empty entry between the names.
        {"A,,B", {"A", "", "B"}},
        // A trailing comma adds no entry; a leading one gives an empty first entry.
        {"A,B,", {"A", "B"}}, {",A", {"", "A"}}, {",", {""}}, {"A ,B", {"A ", "B"}},
    };
    for (const auto& [list, names] : cases)
        EXPECT_EQ(splitDeviceList(list), names) << '"' << list << '"';
}

TEST(DeviceIndexTest, StoredIndexOrFallbackToTheFirstEntry)
{
    EXPECT_EQ(deviceIndexToSelect(0, 3), 0);
    EXPECT_EQ(deviceIndexToSelect(2, 3), 2);
    EXPECT_EQ(deviceIndexToSelect(3, 3), 0);
    EXPECT_EQ(deviceIndexToSelect(5, 3), 0);
    EXPECT_EQ(deviceIndexToSelect(0, 0), -1);
    EXPECT_EQ(deviceIndexToSelect(-1, 3), -1);
}

TEST(DelayKeyFilterTest, DigitsAndBackspacePass)
{
    for (char32_t c = U'0'; c <= U'9'; ++c)
        EXPECT_TRUE(isDelayCharacterAccepted(c));
    EXPECT_TRUE(isDelayCharacterAccepted(8));
    for (const char32_t c : {U'a', U'Z', U'-', U'+', U' ', U'.', U',', U'/', U':', U'\t', U'\r', char32_t{22},
                             char32_t{127}, U'\u0663'})
        EXPECT_FALSE(isDelayCharacterAccepted(c)) << static_cast<int>(c);
}

TEST(LogFileTest, EveryLineEndsWithCrLfAndWritingTruncatesOrReportsFailure)
{
    EXPECT_EQ(logFileText(""), "\r\n");
    EXPECT_EQ(logFileText("\nfirst"), "\r\nfirst\r\n");
    EXPECT_EQ(logFileText("\na\nb"), "\r\na\r\nb\r\n");

    test::TempComponentFolder folder;
    const auto file = folder.path() / "monitor.LOG";
    ASSERT_TRUE(writeLogFile(file, "a much longer first content\r\n"));
    ASSERT_TRUE(writeLogFile(file, "\r\n"));
    EXPECT_EQ(test::readFile(file), "\r\n");
    EXPECT_FALSE(writeLogFile(folder.path() / "missing" / "folder" / "x.LOG", "\r\n"));
    EXPECT_FALSE(writeLogFile(folder.path(), "\r\n"));
}

TEST(AboutTextTest, VersionFromTheBuild)
{
    EXPECT_EQ(componentVersion(), "1.0.5");
    EXPECT_EQ(versionCaption("Version"), "Version: 1.0.5");
    EXPECT_EQ(versionCaption(""), ": 1.0.5");
    EXPECT_EQ(std::string(kVendorAddress).rfind("https://", 0), 0u);
}

TEST(QtServicesTest, NameFilterInQtForm)
{
    EXPECT_EQ(qtNameFilter(kLogFileFilter), "Logdatei (*.LOG)");
    EXPECT_EQ(qtNameFilter("Text|*.txt|All (*.*)|*.*"), "Text (*.txt);;All (*.*)");
    EXPECT_EQ(qtNameFilter(""), "");
}

TEST(StatusPictureTest, ThreeStatusValuesHavePictures)
{
    const std::filesystem::path folder = "/component";
    EXPECT_EQ(statusPicture(folder, 0), folder / "Resources" / "connected_13x52.gif");
    EXPECT_EQ(statusPicture(folder, 1), folder / "Resources" / "disconn_13x52.gif");
    EXPECT_EQ(statusPicture(folder, 2), folder / "Resources" / "error_13x52.gif");
    EXPECT_FALSE(statusPicture(folder, 3));
    EXPECT_FALSE(statusPicture(folder, -1));
    EXPECT_EQ(statusValue(fdt::Variant(std::int32_t{2})), 2);
    EXPECT_EQ(statusValue(fdt::Variant(std::int16_t{7})), 7);
    EXPECT_EQ(statusValue(fdt::Variant(std::string("1"))), 1);
    EXPECT_FALSE(statusValue(fdt::Variant(std::string("connected"))));
}

TEST(WidgetControlTest, NameIndexAndCaptionAsTranslateControlsSeesThem)
{
    QWidget page;
    const auto named = [&page]<class W>(W* widget, const char* name) {
        widget->setParent(&page);
        widget->setObjectName(QString::fromLatin1(name));
        return widget;
    };
    auto* label = named(new QLabel(QStringLiteral("design")), "lblTitle");
    auto* button = named(new QPushButton, "btnSave");
    auto* box = named(new QCheckBox, "chkFDTInterface");
    auto* line = named(new QFrame, "linDecor");
    line->setProperty(kControlIndexProperty, 1);
    auto* picture = named(new PictureBox, "DeviceImage");
    auto* combo = named(new QComboBox, "DevTypeCombo");
    auto* unnamed = new QLabel(&page);

    WidgetControl l(label), b(button), c(box), f(line), p(picture), o(combo), u(unnamed);
    EXPECT_EQ(l.name(), "lblTitle");
    EXPECT_FALSE(l.index());
    EXPECT_EQ(f.index(), 1);
    EXPECT_THROW(u.name(), std::runtime_error);
    EXPECT_TRUE(l.hasCaption());
    EXPECT_TRUE(b.hasCaption());
    EXPECT_TRUE(c.hasCaption());
    EXPECT_FALSE(f.hasCaption());
    EXPECT_FALSE(p.hasCaption());
    EXPECT_FALSE(o.hasCaption());

    l.setCaption("Gerätetyp");
    b.setCaption("Speichern");
    EXPECT_EQ(label->text(), QStringLiteral("Gerätetyp"));
    EXPECT_EQ(button->text(), QStringLiteral("Speichern"));
    EXPECT_THROW(p.setCaption("x"), std::runtime_error);

    // A control whose widget is gone has no name and no caption.
    delete label;
    EXPECT_THROW(l.name(), std::runtime_error);
    EXPECT_FALSE(l.hasCaption());
}

class PageRulesTest : public test::PageTest {};

TEST_F(PageRulesTest, CheckFilterUsesTheClickCodesOfTheCheckBoxes)
{
    dtm->PersistentFDTInterfaceFilter = false;
    dtm->PersistentZEBProtocolFilter = false;
    dtm->PersistentHARTProtocolFilter = false;

    CheckFilter(dtm.get(), click::FDTInterface, true);
    EXPECT_TRUE(dtm->PersistentFDTInterfaceFilter);
    CheckFilter(dtm.get(), click::ZEBProtocols, true);
    EXPECT_TRUE(dtm->PersistentZEBProtocolFilter);
    EXPECT_FALSE(dtm->PersistentHARTProtocolFilter);
    CheckFilter(dtm.get(), click::HARTProtocols, true);
    EXPECT_TRUE(dtm->PersistentHARTProtocolFilter);
    // Equal state: no report.
    CheckFilter(dtm.get(), click::HARTProtocols, true);
    CheckFilter(dtm.get(), click::HARTProtocols, false);
    // Unknown code and no DTM change nothing.
    CheckFilter(dtm.get(), 3, false);
    CheckFilter(nullptr, click::FDTInterface, false);

    EXPECT_EQ(parameterChanges(), (std::vector<ParameterChange>{{"PersistentFDTInterfaceFilter", "True"},
                                                                {"PersistentZEBProtocolFilter", "True"},
                                                                {"PersistentHARTProtocolFilter", "True"},
                                                                {"PersistentHARTProtocolFilter", "False"}}));
    EXPECT_EQ(site->changed, (std::vector<std::string>{"PersistentFDTInterfaceFilter", "PersistentZEBProtocolFilter",
                                                       "PersistentHARTProtocolFilter",
                                                       "PersistentHARTProtocolFilter"}));
    EXPECT_TRUE(dtm->PersistentFDTInterfaceFilter);

    // Without frame events the report fails silently, after the property was set.
    const auto lonely = core::DTMMain::create(folder.path());
    lonely->PersistentZEBProtocolFilter = false;
    EXPECT_NO_THROW(CheckFilter(lonely.get(), click::ZEBProtocols, true));
    EXPECT_TRUE(lonely->PersistentZEBProtocolFilter);
}

TEST_F(PageRulesTest, WarmstartDelayAcceptsSixteenBitValuesOnly)
{
    struct Case {
        std::string text;
        std::int16_t expected;
        bool reported; // with the text as typed
    };
    const Case cases[] = {{"", 5, false},      {"5", 5, false},      {"05", 5, false},       {"6", 6, true},
                          {"0012", 12, true},  {"0", 0, true},       {"32767", 32767, true}, {"32768", 5, false},
                          {"99999", 5, false}, {"abc", 5, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE('"' + c.text + '"');
        frame->events.clear();
        dtm->PersistentWarmstartDelay = 5;
        CheckWarmstartDelay(dtm.get(), c.text);
        EXPECT_EQ(dtm->PersistentWarmstartDelay, c.expected);
        const std::vector<ParameterChange> reported = {{"PersistentWarmstartDelay", c.text}};
        EXPECT_EQ(parameterChanges(), c.reported ? reported : std::vector<ParameterChange>());
    }
    EXPECT_NO_THROW(CheckWarmstartDelay(nullptr, "12"));
    dtm->PersistentWarmstartDelay = 42;
    EXPECT_EQ(warmstartDelayText(*dtm), "42");
}

TEST_F(PageRulesTest, SetDeviceTypeReadsTheIdentityOfTheType)
{
    dtm->PersistentDeviceTypeIndex = 0;
    SetDeviceType(dtm.get(), 1, "VRA510");
    EXPECT_EQ(dtm->PersistentDeviceTypeIndex, 1);
    EXPECT_EQ(dtm->PersistentManufacturerIDCode, "13002.32");
    EXPECT_EQ(dtm->PersistentManufacturerDevTypeCode, "13000.32");
    EXPECT_EQ(dtm->PersistentRevLevelOfTransmSpecDoc, "13016.32");
    EXPECT_EQ(dtm->PersistentSoftwareRevLevelOfDev, "13015.32");
    EXPECT_EQ(dtm->PersistentHardwareRevLevelOfElectr, "13014.32");
    EXPECT_EQ(dtm->PersistentDeviceID, "31516.28");
    // The same position again reads the values but reports nothing.
    dtm->PersistentDeviceID = "changed";
    SetDeviceType(dtm.get(), 1, "VRA510");
    EXPECT_EQ(dtm->PersistentDeviceID, "31516.28");
    EXPECT_EQ(parameterChanges(), (std::vector<ParameterChange>{{"PersistentDeviceTypeIndex", "1"}}));
    // The six identity values are not reported as changed properties.
    EXPECT_EQ(site->changed, (std::vector<std::string>{"PersistentDeviceTypeIndex"}));

    // A type of an unknown section reads empty values.
    dtm->PersistentDeviceTypeIndex = 2;
    SetDeviceType(dtm.get(), 2, "NoSuchType");
    for (const std::string* value : {&dtm->PersistentManufacturerIDCode, &dtm->PersistentDeviceID})
        EXPECT_EQ(*value, "");
    EXPECT_EQ(parameterChanges().size(), 1u);
    SetDeviceType(nullptr, 0, "VRA520");
}

TEST_F(PageRulesTest, SessionOpensOnlyWithInvokeIdAndGatewayDtm)
{
    PageSession session;
    EXPECT_FALSE(session.open("", dtm));
    EXPECT_FALSE(session.open("id", nullptr));
    EXPECT_FALSE(session.open("id", std::make_shared<test::PlainObject>()));
    EXPECT_EQ(session.dtm(), nullptr);
    EXPECT_FALSE(session.release([](core::DTMMain&) { FAIL() << "nothing to unregister"; }));

    ASSERT_TRUE(session.open("id-1", dtm));
    EXPECT_EQ(session.dtm(), dtm.get());
    EXPECT_EQ(session.frame(), fdt::ObjectPtr(frame));
    EXPECT_EQ(session.invokeId(), "id-1");

    int unregistered = 0;
    EXPECT_TRUE(session.release([&](core::DTMMain& d) {
        EXPECT_EQ(&d, dtm.get());
        ++unregistered;
    }));
    EXPECT_EQ(unregistered, 1);
    EXPECT_EQ(frameCalls("OnApplicationClosed"), (std::vector<test::Call>{{"OnApplicationClosed", {"id-1"}}}));

    session.close();
    EXPECT_EQ(session.dtm(), nullptr);
    EXPECT_EQ(session.invokeId(), "");
    EXPECT_FALSE(session.release(nullptr));

    // A DTM without a frame cannot release.
    const auto withoutEnvironment = core::DTMMain::create(folder.path());
    ASSERT_TRUE(session.open("id-2", withoutEnvironment));
    unregistered = 0;
    EXPECT_FALSE(session.release([&](core::DTMMain&) { ++unregistered; }));
    EXPECT_EQ(unregistered, 0);
}

} // namespace
} // namespace zeb2hart::ui

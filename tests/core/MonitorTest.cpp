// Monitor lines, communication status, page registration, control translation
// and the report of a changed persistent value.

#include <gtest/gtest.h>

#include "core/DtmFixture.h"
#include "fdt/Errors.h"

namespace zeb2hart::test {
namespace {

using support::color::Black;
using support::color::Blue;
using support::color::Green;
using support::color::Red;

using MonitorTest = DtmFixture;

TEST_F(MonitorTest, NameColumnIsFiftyCharactersWide)
{
    openMonitor();
    const std::string fifty(50, 'N');
    const std::pair<std::string, std::string> cases[] = {
        {fifty, fifty + "- msg"},
        {fifty + "X", fifty + "- msg"},
        {"", std::string(50, ' ') + "- msg"},
        {"IDtm_Config()", "IDtm_Config()" + std::string(37, ' ') + "- msg"},
        // Characters, not bytes: 49 letters and an umlaut fill the column exactly.
        {std::string(49, 'a') + "\xC3\xA4", std::string(49, 'a') + "\xC3\xA4" + "- msg"},
        {std::string(49, 'a') + "\xC3\xA4\xC3\xB6", std::string(49, 'a') + "\xC3\xA4" + "- msg"},
        {"\xC3\x9C" "berwachung", "\xC3\x9C" "berwachung" + std::string(39, ' ') + "- msg"},
        {std::string(30, ' '), std::string(50, ' ') + "- msg"},
    };
    for (const auto& [name, expected] : cases) {
        dtm->MonitorMsg(name, "msg", Green, 2);
        ASSERT_EQ(monitor->lines.size(), 1u) << name;
        EXPECT_EQ(monitor->lines.front().text, expected);
        monitor->lines.clear();
    }
}

TEST_F(MonitorTest, MessageAndColourArePassedAsGiven)
{
    openMonitor();
    dtm->MonitorMsg("Response ZEB", "line one\r\nline two", Blue, 0);
    dtm->MonitorMsg("Request HART", "", Black, 1);
    for (std::int32_t color : {Green, Red, 0x123456})
        dtm->MonitorMsg("colour", "c", color, 2);
    expectLines({{"Response ZEB", "line one\r\nline two", 0xFF0000}, {"Request HART", "", 0x000000},
                 {"colour", "c", 0x009600}, {"colour", "c", 0x0000FF}, {"colour", "c", 0x123456}});
}

TEST_F(MonitorTest, FilterCodesFollowTheirProperties)
{
    struct Case {
        bool zeb, hart, fdtInterface;
        std::vector<std::int16_t> shown; // of the codes 0, 1, 2, 3, -1, 255
    };
    const Case cases[] = {
        {true, true, true, {0, 1, 2}}, {false, false, false, {}},  {true, false, false, {0}},
        {false, true, false, {1}},     {false, false, true, {2}},   {true, true, false, {0, 1}},
        {false, true, true, {1, 2}},   {true, false, true, {0, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.zeb << c.hart << c.fdtInterface);
        openMonitor(c.zeb, c.hart, c.fdtInterface);
        for (std::int16_t code : {0, 1, 2, 3, -1, 255})
            dtm->MonitorMsg("code", std::to_string(code), Black, code);
        std::vector<ExpectedLine> expected;
        for (std::int16_t code : c.shown)
            expected.push_back({"code", std::to_string(code), Black});
        expectLines(expected);
    }
}

TEST_F(MonitorTest, LinesGoOnlyToTheRegisteredPage)
{
    dtm->PersistentFDTInterfaceFilter = true;
    dtm->MonitorMsg("before", "x", Green, 2);
    dtm->CtlMonitorPointer(monitor);
    EXPECT_TRUE(monitor->lines.empty()); // nothing is shown later
    dtm->MonitorMsg("while", "x", Green, 2);
    dtm->CtlMonitorPointer(nullptr);
    dtm->MonitorMsg("after", "x", Green, 2);
    expectLines({{"while", "x", Green}});

    // A second page replaces the first.
    openMonitor();
    const auto second = std::make_shared<RecordingMonitorPage>();
    dtm->CtlMonitorPointer(second);
    dtm->MonitorMsg("line", "x", Green, 2);
    EXPECT_TRUE(monitor->lines.empty());
    EXPECT_EQ(second->lines.size(), 1u);
    // A page without the line operation, or one that vanished, shows nothing.
    dtm->CtlMonitorPointer(about);
    dtm->MonitorMsg("line", "x", Green, 2);
    EXPECT_EQ(about->languageUpdates, 0);
    openMonitor();
    monitor.reset();
    dtm->MonitorMsg("line", "x", Green, 2);
}

TEST_F(MonitorTest, TheObserverSeesEveryMessageBeforeTheFilter)
{
    std::vector<std::string> seen;
    dtm->setMonitorObserver([&seen](const std::string& name, const std::string& message, std::int32_t color,
                                    std::int16_t filter) {
        seen.push_back(name + "|" + message + "|" + std::to_string(color) + "|" + std::to_string(filter));
    });
    dtm->MonitorMsg("no page", "a", Red, 2);
    openMonitor(false, false, false);
    dtm->MonitorMsg("filtered", "b", Blue, 0);
    dtm->MonitorMsg("unknown code", "c", Black, 7);
    EXPECT_EQ(seen, (std::vector<std::string>{"no page|a|255|2", "filtered|b|16711680|0", "unknown code|c|0|7"}));
    EXPECT_TRUE(monitor->lines.empty());
}

TEST_F(MonitorTest, SetStatusMapsTheThreeValuesAndPushesToTheOfflinePage)
{
    // Without the offline page only the text changes.
    dtm->CommStatus(std::int32_t{0});
    dtm->Set_Status();
    EXPECT_EQ(dtm->StatusText(), "Connected");

    dtm->CtlOfflineParamPointer(offline);
    struct Case {
        fdt::Variant value;
        std::int32_t status;
        const char* text;
    };
    const Case cases[] = {
        {std::int32_t{0}, 0, "Connected"},        {std::int32_t{2}, 2, "Connection error"},
        {std::int32_t{7}, 7, "Connection error"}, // unknown: the text stays
        {std::string("1"), 1, "Disconnected"},    {std::int16_t{0}, 0, "Connected"},
        {std::int32_t{-1}, -1, "Connected"},      {true, -1, "Connected"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        dtm->CommStatus(c.value);
        EXPECT_EQ(dtm->CommStatus(), fdt::Variant(c.status));
        dtm->Set_Status();
        EXPECT_EQ(dtm->StatusText(), c.text);
        ASSERT_FALSE(offline->statuses.empty());
        EXPECT_EQ(offline->statuses.back().value, fdt::Variant(c.status));
        EXPECT_EQ(offline->statuses.back().text, c.text);
    }
    EXPECT_EQ(offline->statuses.size(), std::size(cases));

    dtm->CtlOfflineParamPointer(nullptr);
    dtm->CommStatus(std::int32_t{2});
    dtm->Set_Status();
    EXPECT_EQ(dtm->StatusText(), "Connection error");
    EXPECT_EQ(offline->statuses.size(), std::size(cases));

    // Conversion errors reach the caller.
    EXPECT_THROW(dtm->CommStatus(fdt::Variant(std::string("connected"))), fdt::TypeMismatchError);
    EXPECT_THROW(dtm->CommStatus(fdt::Variant(3.0e10)), fdt::OverflowError);
    EXPECT_EQ(dtm->CommStatus(), fdt::Variant(std::int32_t{2}));
}

TEST_F(MonitorTest, StatusTextFollowsTheLanguageAtTheNextSetStatus)
{
    ASSERT_TRUE(dtm->SetLanguage(7));
    EXPECT_EQ(dtm->StatusText(), "Disconnected");
    dtm->Set_Status();
    EXPECT_EQ(dtm->StatusText(), "Nicht verbunden");
}

TEST_F(MonitorTest, DictionaryTextOfMissingKeysIsEmpty)
{
    EXPECT_EQ(dtm->GetDictionaryText("ctlOfflineParam_lblDevType"), "Device type");
    EXPECT_EQ(dtm->GetDictionaryText("no_such_key"), "");
    EXPECT_EQ(dtm->GetDictionaryText(""), "");

    TempComponentFolder folder;
    folder.write("XMLData/DTMDictionary.xml", R"(<Dictionary><Language localeId="0009">
<Category name="keys"><msg_Connected text="Connected"/></Category></Language></Dictionary>)");
    TestEnvironment folderEnvironment(folder.path());
    const auto noSelection = core::DTMMain::create(folder.path());
    EXPECT_EQ(noSelection->GetDictionaryText("msg_Connected"), "");
    EXPECT_EQ(noSelection->StatusText(), "");
}

std::vector<std::string> captions(std::initializer_list<const FakeControl*> controls)
{
    std::vector<std::string> result;
    for (const FakeControl* control : controls)
        result.push_back(control->caption);
    return result;
}

TEST_F(MonitorTest, TranslateControlsSetsCaptionsFromTheDictionary)
{
    FakeControl clear("btnClear");
    FakeControl save("btnSave");
    FakeControl unknown("lblUnknown");
    FakeControl panel("MonitorBack", std::nullopt, false);
    FakeControl unnamed("");
    FakeControl unreadable("chkFDTInterface");
    unreadable.nameFails = true;
    FakeControl arrayMember("btnClear", 0); // ctlMonitor_btnClear_0 has no entry
    core::ControlList controls = {&clear, nullptr, &save, &unknown, &panel, &unnamed, &unreadable, &arrayMember};
    const std::string design = "design caption";

    dtm->TranslateControls("ctlMonitor_", controls);
    EXPECT_EQ(captions({&clear, &save, &unknown, &panel, &unnamed, &unreadable, &arrayMember}),
              (std::vector<std::string>{"Clear", "Save", "", design, design, design, ""}));
    EXPECT_EQ(unknown.captionWrites, 1);
    ASSERT_TRUE(dtm->SetLanguage(7));
    dtm->TranslateControls("ctlMonitor_", controls);
    EXPECT_EQ(captions({&clear, &save}), (std::vector<std::string>{"L\xC3\xB6schen", "Speichern"}));

    // An array member's index is appended to its name.
    TempComponentFolder folder;
    folder.write("XMLData/DTMDictionary.xml", R"(<Dictionary><Language localeId="0009" isDefault="1">
<Category name="keys"><page_lbl_0 text="zero"/><page_lbl_12 text="twelve"/><page_lbl text="plain"/></Category>
</Language></Dictionary>)");
    TestEnvironment folderEnvironment(folder.path());
    FakeControl zero("lbl", 0);
    FakeControl twelve("lbl", 12);
    FakeControl plain("lbl");
    FakeControl three("lbl", 3);
    core::DTMMain::create(folder.path())->TranslateControls("page_", {&zero, &twelve, &plain, &three});
    EXPECT_EQ(captions({&zero, &twelve, &plain, &three}), (std::vector<std::string>{"zero", "twelve", "plain", ""}));
}

TEST_F(MonitorTest, PersistentParamChangedNotifiesTheFrameAndMarksTheProperty)
{
    const auto site = std::make_shared<RecordingPersistenceSite>();
    dtm->setPersistenceSite(site);
    // Without the environment there is no frame to tell.
    EXPECT_THROW(dtm->PersistentParamChanged("PersistentZEBProtocolFilter", "True"), fdt::NullObjectError);
    EXPECT_TRUE(site->changed.empty());

    ASSERT_TRUE(environment());
    dtm->PersistentParamChanged("PersistentWarmstartDelay", "12");
    ASSERT_EQ(frame->events.size(), 1u);
    EXPECT_EQ(frame->events[0].name, "OnParameterChanged");
    EXPECT_EQ(frame->events[0].args[0], "GW1");
    validated(frame->events[0].args[1])
        .expect("FDT/ChangedParameter", {{"ParamName", "PersistentWarmstartDelay"}, {"NewValue", "12"}});
    EXPECT_EQ(site->changed, (std::vector<std::string>{"PersistentWarmstartDelay"}));
}

} // namespace
} // namespace zeb2hart::test

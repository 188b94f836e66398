// The offline parameter page driven as a user and a frame drive it.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <optional>

#include "UiTestSupport.h"
#include "ui/PageLayout.h"
#include "ui/PageStyle.h"
#include "ui/PictureBox.h"
#include "ui/ctlOfflineParam.h"

namespace zeb2hart::ui {
namespace {

using test::control;
using test::ParameterChange;

class OfflineParamPageTest : public test::PageTest {
protected:
    OfflineParamPageTest()
    {
        dtm->PersistentWarmstartDelay = 5;
        dtm->PersistentDeviceTypeIndex = 0;
        page->resize(720, 480);
        page->show();
    }

    void setDeviceList(const std::string& devices)
    {
        folder.write("Resources/DTM.ini", test::iniWith(folder.path(), "DeviceList", "Devices", devices));
    }
    bool open(const std::string& invokeId = "offline-1") { return page->Init(invokeId, "10", dtm); }

    QComboBox& combo() { return control<QComboBox>(*page, "DevTypeCombo"); }
    QLineEdit& delayBox() { return control<QLineEdit>(*page, "WSDelayValue"); }
    QLabel& statusLabel() { return control<QLabel>(*page, "lblCommStatus"); }
    PictureBox& statusImage() { return control<PictureBox>(*page, "StatusImage"); }
    std::string statusPictureName() { return statusImage().source().filename().string(); }

    static std::vector<std::string> entries(const QComboBox& box)
    {
        std::vector<std::string> names;
        for (int i = 0; i < box.count(); ++i)
            names.push_back(box.itemText(i).toStdString());
        return names;
    }

    std::shared_ptr<ctlOfflineParam> page = makePage<ctlOfflineParam>();
};

TEST_F(OfflineParamPageTest, InitWithoutInvokeIdDoesNothing)
{
    EXPECT_FALSE(open(""));
    EXPECT_FALSE(page->Init("offline-1", "10", nullptr));
    EXPECT_EQ(combo().count(), 0);
    EXPECT_EQ(dtm->PersistentDeviceList, "VRA520"); // not read from the settings file
    dtm->CommStatus(fdt::Variant(std::int32_t{0}));
    dtm->Set_Status();
    EXPECT_FALSE(statusImage().hasPicture());
    EXPECT_FALSE(page->PrepareToRelease());
}

TEST_F(OfflineParamPageTest, EveryOpenReadsTheDeviceListAndSelectsTheStoredType)
{
    struct Case {
        const char* name;
        std::optional<std::string> settings; // the list in the settings file, when changed
        std::int16_t storedIndex;
        std::vector<std::string> entries;
        int selected;
        std::string manufacturerId;
        std::vector<ParameterChange> changes;
    };
    const std::vector<Case> cases = {
        {"the settings file's list", {}, 1, {"VRA520", "VRA510", "VRA540"}, 1, "13002.32", {}},
        // A stored index beyond the list falls back to the first entry.
        {"index beyond the list", {}, 5, {"VRA520", "VRA510", "VRA540"}, 0, "14002.32",
         {{"PersistentDeviceTypeIndex", "0"}}},
        // Split exactly as written: " VRA510" names no section, so the identity values read empty.
        {"list as written", "VRA520, VRA510,,VRA540,", 1, {"VRA520", " VRA510", "", "VRA540"}, 1, "", {}},
        // An empty list selects nothing and loads no identity.
        {"empty list", "", 0, {}, -1, "kept", {}},
        {"another list", "VRA540,VRA520", 0, {"VRA540", "VRA520"}, 0, "15002.40", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.settings)
            setDeviceList(*c.settings);
        dtm->PersistentDeviceList = "VRA520";
        dtm->PersistentDeviceTypeIndex = c.storedIndex;
        dtm->PersistentManufacturerIDCode = "kept";
        frame->events.clear();
        site->changed.clear();
        const auto page = makePage<ctlOfflineParam>();
        ASSERT_TRUE(page->Init(std::string("offline-") + c.name, "10", dtm));
        auto& combo = control<QComboBox>(*page, "DevTypeCombo");
        EXPECT_EQ(entries(combo), c.entries);
        EXPECT_EQ(dtm->PersistentDeviceList, c.settings.value_or("VRA520,VRA510,VRA540"));
        EXPECT_EQ(combo.currentIndex(), c.selected);
        EXPECT_EQ(dtm->PersistentDeviceTypeIndex, std::max(c.selected, 0));
        EXPECT_EQ(dtm->PersistentManufacturerIDCode, c.manufacturerId);
        EXPECT_EQ(parameterChanges(), c.changes);
        EXPECT_EQ(site->changed.size(), c.changes.size());
        EXPECT_TRUE(page->PrepareToRelease());
    }
    EXPECT_EQ(dtm->PersistentDeviceID, "33516.30");
}

TEST_F(OfflineParamPageTest, ChoosingATypeReportsTheIndexAndLoadsItsIdentity)
{
    ASSERT_TRUE(open());
    combo().setFocus();
    QTest::keyClick(&combo(), Qt::Key_Down);
    QTest::keyClick(&combo(), Qt::Key_Down);
    EXPECT_EQ(combo().currentIndex(), 2);
    EXPECT_EQ(dtm->PersistentDeviceTypeIndex, 2);
    EXPECT_EQ(dtm->PersistentManufacturerIDCode, "15002.40");
    EXPECT_EQ(dtm->PersistentManufacturerDevTypeCode, "15000.40");
    EXPECT_EQ(dtm->PersistentRevLevelOfTransmSpecDoc, "15016.40");
    EXPECT_EQ(dtm->PersistentSoftwareRevLevelOfDev, "15015.40");
    EXPECT_EQ(dtm->PersistentHardwareRevLevelOfElectr, "15014.40");
    EXPECT_EQ(dtm->PersistentDeviceID, "33516.30");
    EXPECT_EQ(parameterChanges(), (std::vector<ParameterChange>{{"PersistentDeviceTypeIndex", "1"},
                                                                {"PersistentDeviceTypeIndex", "2"}}));
}

TEST_F(OfflineParamPageTest, LettersAndSignsAreDiscardedAndTypedDigitsReportedAsTyped)
{
    ASSERT_TRUE(open());
    delayBox().setFocus();
    QTest::keyClicks(&delayBox(), "a-+ .x");
    QTest::keyClick(&delayBox(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(delayBox().text(), QStringLiteral("5"));
    EXPECT_EQ(dtm->PersistentWarmstartDelay, 5);
    EXPECT_TRUE(parameterChanges().empty());

    QTest::keyClick(&delayBox(), Qt::Key_End);
    QTest::keyClick(&delayBox(), Qt::Key_2);
    EXPECT_EQ(dtm->PersistentWarmstartDelay, 52);
    EXPECT_EQ(delayBox().text(), QStringLiteral("52"));
    EXPECT_EQ(parameterChanges(), (std::vector<ParameterChange>{{"PersistentWarmstartDelay", "52"}}));
    EXPECT_EQ(site->changed, (std::vector<std::string>{"PersistentWarmstartDelay"}));
}

TEST_F(OfflineParamPageTest, ValueAbove32767IsRejectedAndTheBoxShowsTheOldValue)
{
    dtm->PersistentWarmstartDelay = 3276;
    ASSERT_TRUE(open());
    EXPECT_EQ(delayBox().text(), QStringLiteral("3276")); // the DTM's value, not reported
    EXPECT_TRUE(parameterChanges().empty());
    delayBox().setFocus();
    QTest::keyClick(&delayBox(), Qt::Key_End);
    QTest::keyClick(&delayBox(), Qt::Key_8); // 32768
    EXPECT_EQ(dtm->PersistentWarmstartDelay, 3276);
    EXPECT_EQ(delayBox().text(), QStringLiteral("3276"));
    QTest::keyClick(&delayBox(), Qt::Key_7); // 32767 fits
    EXPECT_EQ(dtm->PersistentWarmstartDelay, 32767);
    EXPECT_EQ(delayBox().text(), QStringLiteral("32767"));
    QTest::keyClick(&delayBox(), Qt::Key_0); // 327670
    EXPECT_EQ(dtm->PersistentWarmstartDelay, 32767);
    EXPECT_EQ(delayBox().text(), QStringLiteral("32767"));
    EXPECT_EQ(parameterChanges(), (std::vector<ParameterChange>{{"PersistentWarmstartDelay", "32767"}}));
}

TEST_F(OfflineParamPageTest, ClearedBoxShowsTheValueAgainAfterTheKeyAndLeadingZerosDisappear)
{
    ASSERT_TRUE(open());
    delayBox().setFocus();
    QTest::keyClick(&delayBox(), Qt::Key_End);
    // Pressed but not yet released: the box is empty and the DTM keeps its value.
    QTest::keyPress(&delayBox(), Qt::Key_Backspace);
    EXPECT_EQ(delayBox().text(), QStringLiteral(""));
    EXPECT_EQ(dtm->PersistentWarmstartDelay, 5);
    QTest::keyRelease(&delayBox(), Qt::Key_Backspace);
    EXPECT_EQ(delayBox().text(), QStringLiteral("5"));

    // Leading zeros disappear.
    QTest::keyClick(&delayBox(), Qt::Key_Home);
    QTest::keyPress(&delayBox(), Qt::Key_0);
    EXPECT_EQ(delayBox().text(), QStringLiteral("05"));
    QTest::keyRelease(&delayBox(), Qt::Key_0);
    EXPECT_EQ(delayBox().text(), QStringLiteral("5"));
    EXPECT_TRUE(parameterChanges().empty());
}

TEST_F(OfflineParamPageTest, StatusPictureAndTextFollowTheDtm)
{
    ASSERT_TRUE(open());
    // The DTM starts disconnected.
    EXPECT_EQ(statusPictureName(), "disconn_13x52.gif");
    EXPECT_EQ(statusLabel().text(), QStringLiteral("Disconnected"));
    EXPECT_TRUE(statusImage().hasPicture());

    dtm->CommStatus(fdt::Variant(std::int32_t{0}));
    dtm->Set_Status();
    EXPECT_EQ(statusPictureName(), "connected_13x52.gif");
    EXPECT_EQ(statusLabel().text(), QStringLiteral("Connected"));

    dtm->CommStatus(fdt::Variant(std::int32_t{2}));
    dtm->Set_Status();
    EXPECT_EQ(statusPictureName(), "error_13x52.gif");
    EXPECT_EQ(statusLabel().text(), QStringLiteral("Connection error"));

    // An unknown status keeps text and picture and rewrites the label with that text.
    statusLabel().setText(QStringLiteral("overwritten"));
    dtm->CommStatus(fdt::Variant(std::int32_t{7}));
    dtm->Set_Status();
    EXPECT_EQ(statusPictureName(), "error_13x52.gif");
    EXPECT_EQ(statusLabel().text(), QStringLiteral("Connection error"));

    // A released page no longer receives the status.
    EXPECT_TRUE(page->PrepareToRelease());
    EXPECT_EQ(frameCalls("OnApplicationClosed"), (std::vector<test::Call>{{"OnApplicationClosed", {"offline-1"}}}));
    dtm->CommStatus(fdt::Variant(std::int32_t{0}));
    dtm->Set_Status();
    EXPECT_EQ(statusPictureName(), "error_13x52.gif");
}

TEST_F(OfflineParamPageTest, MissingStatusPictureKeepsThePreviousOne)
{
    std::filesystem::remove(folder.path() / "Resources" / "connected_13x52.gif");
    ASSERT_TRUE(open());
    dtm->CommStatus(fdt::Variant(std::int32_t{0}));
    dtm->Set_Status();
    EXPECT_EQ(statusPictureName(), "disconn_13x52.gif");
    EXPECT_EQ(statusLabel().text(), QStringLiteral("Connected"));
}

TEST_F(OfflineParamPageTest, LanguageSwitchTranslatesLabelsAndStatusAndTheLayoutFollowsThePageSize)
{
    ASSERT_TRUE(open());
    EXPECT_EQ(control<QLabel>(*page, "lblDevType").text(), QStringLiteral("Device type"));
    EXPECT_EQ(page->headline().title(), QStringLiteral("ZEB to HART Gateway"));
    ASSERT_TRUE(dtm->SetLanguage(1031));
    EXPECT_EQ(control<QLabel>(*page, "lblDevType").text(), QStringLiteral("Gerätetyp"));
    EXPECT_EQ(control<QLabel>(*page, "lblWarmstartDelay").text(), QStringLiteral("Warmstartverzögerung"));
    EXPECT_EQ(statusLabel().text(), QStringLiteral("Nicht verbunden"));
    EXPECT_EQ(page->headline().title(), QStringLiteral("ZEB-HART-Gateway"));
    // Captionless controls keep what they hold.
    EXPECT_EQ(delayBox().text(), QStringLiteral("5"));
    EXPECT_EQ(combo().count(), 3);

    // The layout follows the page size.
    page->resize(1000, 700);
    QApplication::processEvents();
    const OfflineParamLayout l = layoutOfflineParam(1000 * 15, 700 * 15);
    EXPECT_EQ(control<QWidget>(*page, "ParameterFreeArea").geometry(), toPixels(l.parameterFreeArea));
    EXPECT_EQ(control<QWidget>(*page, "TreeArea").geometry(), toPixels(l.treeArea));
    EXPECT_EQ(control<QWidget>(*page, "ParameterArea").geometry(), toPixels(l.parameterArea));
    EXPECT_EQ(delayBox().geometry(), toPixels(l.wsDelayValue));
    EXPECT_EQ(control<QWidget>(*page, "ctlHeadline").width(), 1000);
}

} // namespace
} // namespace zeb2hart::ui

// The offline parameter page driven as a user and a frame drive it.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

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

    std::vector<std::string> entries()
    {
        std::vector<std::string> names;
        for (int i = 0; i < combo().count(); ++i)
            names.push_back(combo().itemText(i).toStdString());
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

TEST_F(OfflineParamPageTest, DeviceListFromTheSettingsFileAndStoredSelection)
{
    dtm->PersistentDeviceTypeIndex = 1;
    ASSERT_TRUE(open());
    EXPECT_EQ(dtm->PersistentDeviceList, "VRA520,VRA510,VRA540");
    EXPECT_EQ(entries(), (std::vector<std::string>{"VRA520", "VRA510", "VRA540"}));
    EXPECT_EQ(combo().currentIndex(), 1);
    EXPECT_EQ(dtm->PersistentManufacturerIDCode, "13002.32");
    EXPECT_EQ(dtm->PersistentDeviceID, "31516.28");
    EXPECT_TRUE(parameterChanges().empty());
}

TEST_F(OfflineParamPageTest, StoredIndexBeyondTheListFallsBackToTheFirstEntry)
{
    dtm->PersistentDeviceTypeIndex = 5;
    ASSERT_TRUE(open());
    EXPECT_EQ(combo().currentIndex(), 0);
    EXPECT_EQ(dtm->PersistentDeviceTypeIndex, 0);
    EXPECT_EQ(dtm->PersistentManufacturerIDCode, "14002.32");
    EXPECT_EQ(parameterChanges(), (std::vector<ParameterChange>{{"PersistentDeviceTypeIndex", "0"}}));
    EXPECT_EQ(site->changed, (std::vector<std::string>{"PersistentDeviceTypeIndex"}));
}

TEST_F(OfflineParamPageTest, ListIsSplitExactlyAsWritten)
{
    setDeviceList("VRA520, VRA510,,VRA540,");
    dtm->PersistentDeviceTypeIndex = 1;
    ASSERT_TRUE(open());
    EXPECT_EQ(entries(), (std::vector<std::string>{"VRA520", " VRA510", "", "VRA540"}));
    // " VRA510" names no section: the identity values read empty.
    EXPECT_EQ(dtm->PersistentManufacturerIDCode, "");
}

TEST_F(OfflineParamPageTest, EmptyListSelectsNothingAndLoadsNoIdentity)
{
    setDeviceList("");
    dtm->PersistentDeviceList = "VRA520";
    dtm->PersistentManufacturerIDCode = "kept";
    ASSERT_TRUE(open());
    EXPECT_EQ(dtm->PersistentDeviceList, "");
    EXPECT_EQ(combo().count(), 0);
    EXPECT_EQ(combo().currentIndex(), -1);
    EXPECT_EQ(dtm->PersistentManufacturerIDCode, "kept");
    EXPECT_TRUE(parameterChanges().empty());
}

TEST_F(OfflineParamPageTest, EveryOpenReadsTheListAgain)
{
    ASSERT_TRUE(open());
    EXPECT_TRUE(page->PrepareToRelease());
    setDeviceList("VRA540,VRA520");
    const auto second = makePage<ctlOfflineParam>();
    ASSERT_TRUE(second->Init("offline-2", "10", dtm));
    EXPECT_EQ(dtm->PersistentDeviceList, "VRA540,VRA520");
    EXPECT_EQ(control<QComboBox>(*second, "DevTypeCombo").count(), 2);
    EXPECT_EQ(dtm->PersistentManufacturerIDCode, "15002.40");
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

TEST_F(OfflineParamPageTest, DelayBoxShowsTheDtmValue)
{
    dtm->PersistentWarmstartDelay = 17;
    ASSERT_TRUE(open());
    EXPECT_EQ(delayBox().text(), QStringLiteral("17"));
    EXPECT_TRUE(parameterChanges().empty());
}

TEST_F(OfflineParamPageTest, TypedDigitsChangeTheDelayAndAreReportedAsTyped)
{
    ASSERT_TRUE(open());
    delayBox().setFocus();
    QTest::keyClick(&delayBox(), Qt::Key_End);
    QTest::keyClick(&delayBox(), Qt::Key_2);
    EXPECT_EQ(dtm->PersistentWarmstartDelay, 52);
    EXPECT_EQ(delayBox().text(), QStringLiteral("52"));
    EXPECT_EQ(parameterChanges(), (std::vector<ParameterChange>{{"PersistentWarmstartDelay", "52"}}));
    EXPECT_EQ(site->changed, (std::vector<std::string>{"PersistentWarmstartDelay"}));
}

TEST_F(OfflineParamPageTest, LettersAndSignsAreDiscarded)
{
    ASSERT_TRUE(open());
    delayBox().setFocus();
    QTest::keyClicks(&delayBox(), "a-+ .x");
    QTest::keyClick(&delayBox(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(delayBox().text(), QStringLiteral("5"));
    EXPECT_EQ(dtm->PersistentWarmstartDelay, 5);
    EXPECT_TRUE(parameterChanges().empty());
}

TEST_F(OfflineParamPageTest, ValueAbove32767IsRejectedAndTheBoxShowsTheOldValue)
{
    dtm->PersistentWarmstartDelay = 3276;
    ASSERT_TRUE(open());
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

TEST_F(OfflineParamPageTest, ClearedBoxShowsTheValueAgainAfterTheKey)
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
    EXPECT_TRUE(parameterChanges().empty());
}

TEST_F(OfflineParamPageTest, LeadingZerosDisappear)
{
    ASSERT_TRUE(open());
    delayBox().setFocus();
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

TEST_F(OfflineParamPageTest, ReleasedPageNoLongerReceivesTheStatus)
{
    ASSERT_TRUE(open());
    EXPECT_TRUE(page->PrepareToRelease());
    EXPECT_EQ(frameCalls("OnApplicationClosed"), (std::vector<test::Call>{{"OnApplicationClosed", {"offline-1"}}}));
    dtm->CommStatus(fdt::Variant(std::int32_t{0}));
    dtm->Set_Status();
    EXPECT_EQ(statusPictureName(), "disconn_13x52.gif");
}

TEST_F(OfflineParamPageTest, LanguageSwitchTranslatesLabelsAndStatus)
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
}

TEST_F(OfflineParamPageTest, LayoutFollowsThePageSize)
{
    ASSERT_TRUE(open());
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

// The about page and the headline strip.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include "UiTestSupport.h"
#include "ui/AboutLogic.h"
#include "ui/PageLayout.h"
#include "ui/PageStyle.h"
#include "ui/ctlAbout.h"
#include "ui/ctlHeadline.h"

namespace zeb2hart::ui {
namespace {

using test::control;

class AboutPageTest : public test::PageTest {
protected:
    AboutPageTest()
    {
        page->resize(720, 480);
        page->show();
    }
    bool open(const std::string& invokeId = "about-1") { return page->Init(invokeId, "50", dtm); }
    QString label(const char* name) { return control<QLabel>(*page, name).text(); }

    std::shared_ptr<ctlAbout> page = makePage<ctlAbout>();
};

TEST_F(AboutPageTest, DesignCaptionsAreTheLabelNamesAndStayWithoutAnInvokeId)
{
    EXPECT_EQ(label("lblTitle"), QStringLiteral("lblTitle"));
    EXPECT_EQ(label("lblVersion"), QStringLiteral("lblVersion"));

    EXPECT_FALSE(open(""));
    ASSERT_TRUE(dtm->SetLanguage(1031));
    // Neither translated at Init nor by the language switch.
    EXPECT_EQ(label("lblTitle"), QStringLiteral("lblTitle"));
    EXPECT_FALSE(control<PictureBox>(*page, "DeviceImage").hasPicture());
    EXPECT_FALSE(page->PrepareToRelease());
}

TEST_F(AboutPageTest, TextsComeFromTheDictionaryAndTheVersionFromTheBuild)
{
    ASSERT_TRUE(open());
    EXPECT_EQ(label("lblTitle"), QStringLiteral("ZEB to HART Gateway DTM"));
    EXPECT_EQ(label("lblVersion"), QStringLiteral("Version: 1.0.5"));
    EXPECT_FALSE(label("lblDescription").isEmpty());
    EXPECT_FALSE(label("lblDisclaimer").isEmpty());
    EXPECT_EQ(page->headline().title(), QStringLiteral("ZEB to HART Gateway"));
    EXPECT_TRUE(control<PictureBox>(*page, "DeviceImage").hasPicture());

    // Switching the language back and forth shows the version once.
    ASSERT_TRUE(dtm->SetLanguage(1031));
    ASSERT_TRUE(dtm->SetLanguage(1033));
    ASSERT_TRUE(dtm->SetLanguage(1031));
    EXPECT_EQ(label("lblVersion"), QStringLiteral("Version: 1.0.5"));
    EXPECT_EQ(label("lblTitle"), QStringLiteral("ZEB-HART-Gateway-DTM"));
    page->UpdateLanguage();
    page->UpdateLanguage();
    EXPECT_EQ(label("lblVersion"), QStringLiteral("Version: 1.0.5"));

    // The layout follows the page size.
    page->resize(800, 560);
    QApplication::processEvents();
    const AboutLayout l = layoutAbout(800 * 15, 560 * 15);
    EXPECT_EQ(control<QWidget>(*page, "AboutBack").geometry(), toPixels(l.aboutBack));
    EXPECT_EQ(control<QWidget>(*page, "lblVersion").geometry(), toPixels(l.lblVersion));
    EXPECT_EQ(control<QWidget>(*page, "ctlHeadline").geometry(), QRect(0, 0, 800, 21));
}

TEST_F(AboutPageTest, VersionWithoutDictionaryEntryIsColonBlankAndVersion)
{
    const std::string dictionary = test::readFile(folder.path() / "XMLData" / "DTMDictionary.xml");
    std::string without = dictionary;
    for (std::size_t at; (at = without.find("<ctlAbout_lblVersion")) != std::string::npos;)
        without.erase(at, without.find("/>", at) + 2 - at);
    ASSERT_NE(without, dictionary);
    folder.write("XMLData/DTMDictionary.xml", without);
    const auto otherDtm = core::DTMMain::create(folder.path());
    ASSERT_TRUE(otherDtm->Environment("GW2", frame));
    ASSERT_TRUE(page->Init("about-2", "50", otherDtm));
    EXPECT_EQ(label("lblVersion"), QStringLiteral(": 1.0.5"));
    page->UpdateLanguage();
    EXPECT_EQ(label("lblVersion"), QStringLiteral(": 1.0.5"));
}

TEST_F(AboutPageTest, ReleaseTellsTheFrameAndEndsTranslation)
{
    ASSERT_TRUE(open());
    EXPECT_TRUE(page->PrepareToRelease());
    EXPECT_EQ(frameCalls("OnApplicationClosed"), (std::vector<test::Call>{{"OnApplicationClosed", {"about-1"}}}));
    ASSERT_TRUE(dtm->SetLanguage(1031));
    EXPECT_EQ(label("lblTitle"), QStringLiteral("ZEB to HART Gateway DTM"));
}

class HeadlineTest : public test::PageTest {};

TEST_F(HeadlineTest, LogoStaysTenTwipsFromTheRightEdgeAndTheTitleShowsTextOnly)
{
    ctlHeadline headline;
    headline.show();
    ASSERT_TRUE(headline.imgLogo().hasPicture());
    for (const int width : {600, 731, 1024}) {
        headline.resize(width, 21);
        const QRect logo = headline.imgLogo().geometry();
        EXPECT_EQ(logo.x(), twipsToPixels(headlineLogoLeft(width * 15, logo.width() * 15))) << width;
        // 10 twips are two thirds of a pixel: the gap shows as one pixel.
        EXPECT_EQ(width - (logo.x() + logo.width()), 1) << width;
        EXPECT_GE(logo.y(), 0);
        EXPECT_LE(logo.bottom(), 20);
    }

    // The title shows text only.
    headline.Title(fdt::Variant(std::string("Gateway")));
    EXPECT_EQ(headline.title(), QStringLiteral("Gateway"));
    headline.Title(fdt::Variant(std::int32_t{3}));
    EXPECT_EQ(headline.title(), QString());
}

TEST_F(HeadlineTest, LogoClickOpensTheVendorAddressAndAMissingLogoLeavesThePictureEmpty)
{
    ctlHeadline headline;
    headline.resize(600, 21);
    headline.show();
    QTest::mouseClick(&headline.imgLogo(), Qt::LeftButton);
    EXPECT_EQ(env.shell().opened, (std::vector<std::string>{kVendorAddress}));
    // A click beside the logo opens nothing.
    QTest::mouseClick(&headline, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(env.shell().opened.size(), 1u);

    // A missing logo leaves the picture empty.
    std::filesystem::remove(folder.path() / "Resources" / "manufacturer_logo.bmp");
    ctlHeadline without;
    EXPECT_FALSE(without.imgLogo().hasPicture());
}

} // namespace
} // namespace zeb2hart::ui

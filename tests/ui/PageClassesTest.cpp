// Creating the pages by their ProgIDs, hosting them in a window, and the
// offscreen render of the pages.
#include <gtest/gtest.h>

#include <QImage>
#include <QMainWindow>
#include <QPointer>

#include "UiTestSupport.h"
#include "platform/ClassRegistry.h"
#include "ui/PageClasses.h"
#include "ui/PageHost.h"
#include "ui/Screenshots.h"
#include "ui/ctlAbout.h"
#include "ui/ctlMonitor.h"
#include "ui/ctlOfflineParam.h"

namespace zeb2hart::ui {
namespace {

class PageClassesTest : public test::PageTest {};

TEST_F(PageClassesTest, PagesAreCreatedByTheirProgIds)
{
    registerPageClasses();
    auto& registry = platform::ClassRegistry::instance();
    const fdt::ObjectPtr monitor = registry.create(core::kProgIdMonitor);
    const fdt::ObjectPtr offline = registry.create(core::kProgIdOfflineParam);
    const fdt::ObjectPtr about = registry.create(core::kProgIdAbout);
    EXPECT_TRUE(std::dynamic_pointer_cast<ctlMonitor>(monitor));
    EXPECT_TRUE(std::dynamic_pointer_cast<ctlOfflineParam>(offline));
    EXPECT_TRUE(std::dynamic_pointer_cast<ctlAbout>(about));
    for (const auto& page : {monitor, offline, about}) {
        EXPECT_TRUE(fdt::query<fdt::IDtmActiveXControl>(page));
        EXPECT_TRUE(fdt::query<core::IActiveXGUI>(page));
        EXPECT_NE(pageWidget(page), nullptr);
    }
    EXPECT_TRUE(fdt::query<core::IMonitorPage>(monitor));
    EXPECT_TRUE(fdt::query<core::IOfflineParamPage>(offline));
    EXPECT_FALSE(fdt::query<core::IMonitorPage>(about));
    // Created by class identifier as well, under the identifiers core registered.
    const auto clsid = registry.clsidOf(core::kProgIdAbout);
    ASSERT_TRUE(clsid);
    EXPECT_TRUE(std::dynamic_pointer_cast<ctlAbout>(registry.create(*clsid)));
    // Registering again keeps the identifiers.
    registerPageClasses();
    EXPECT_EQ(registry.clsidOf(core::kProgIdAbout), clsid);
}

TEST_F(PageClassesTest, PageOpenedThroughTheFrameRoute)
{
    const fdt::ObjectPtr monitor = platform::ClassRegistry::instance().create(core::kProgIdMonitor);
    const auto control = fdt::query<fdt::IDtmActiveXControl>(monitor);
    ASSERT_TRUE(control);
    dtm->PersistentFDTInterfaceFilter = true;
    ASSERT_TRUE(control->Init("frame-1", "30", dtm));
    dtm->MonitorMsg("IDtm_Config()", "Successful", 0x009600, 2);
    EXPECT_EQ(std::dynamic_pointer_cast<ctlMonitor>(monitor)->viewText(),
              "\n" + test::monitorLine("IDtm_Config()", "Successful"));
    EXPECT_TRUE(control->PrepareToRelease());
}

TEST_F(PageClassesTest, HostLetsGoOfAPageOthersStillHoldAndDeletesOneItHoldsAlone)
{
    fdt::ObjectPtr page = makePage<ctlAbout>();
    QPointer<QWidget> widget = pageWidget(page);
    {
        QMainWindow window;
        auto* host = new PageHost(page);
        window.setCentralWidget(host);
        window.show();
        EXPECT_EQ(widget->parentWidget(), host);
    }
    ASSERT_TRUE(widget);
    EXPECT_EQ(widget->parentWidget(), nullptr);
    page.reset();
    EXPECT_FALSE(widget);

    // A host holding the last reference deletes the page.
    {
        QMainWindow window;
        fdt::ObjectPtr only = makePage<ctlMonitor>();
        widget = pageWidget(only);
        window.setCentralWidget(new PageHost(std::move(only)));
        window.show();
    }
    EXPECT_FALSE(widget);
}

TEST_F(PageClassesTest, ScreenshotsOfEveryPageInBothLanguages)
{
    const auto out = folder.path() / "shots";
    ScreenshotOptions options;
    options.width = 640;
    options.height = 400;
    const auto files = renderPageScreenshots(out, options);
    ASSERT_EQ(files.size(), 6u);
    for (const char* name : {"monitor_en.png", "monitor_de.png", "offlineparam_en.png", "offlineparam_de.png",
                             "about_en.png", "about_de.png"}) {
        const QImage image(QString::fromStdString((out / name).string()));
        ASSERT_FALSE(image.isNull()) << name;
        EXPECT_EQ(image.size(), QSize(640, 400)) << name;
        // The page's blue frames the picture.
        EXPECT_EQ(image.pixelColor(2, 30), QColor(57, 115, 188)) << name;
    }
    // The German and the English monitor differ in their captions.
    EXPECT_NE(QImage(QString::fromStdString((out / "monitor_en.png").string())),
              QImage(QString::fromStdString((out / "monitor_de.png").string())));
}

} // namespace
} // namespace zeb2hart::ui

// The pages where a frame script cannot look: refused Init, the place of each control, the monitor's colours,
// selection, scrolling, saved file and trace, the settings file's device list, keys the delay box refuses, the
// headline, and the screenshots.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include <map>
#include <set>

#include "UiTestSupport.h"
#include "core/ComponentData.h"
#include "support/Monitor.h"
#include "support/Trace.h"
#include "pages/AboutLogic.h"
#include "ui/qt/MonitorView.h"
#include "pages/PageLayout.h"
#include "ui/qt/PageStyle.h"
#include "ui/qt/Screenshots.h"
#include "pages/ctlMonitor.h"
#include "ui/qt/HeadlineWidget.h"
#include "ui/qt/QtPageView.h"

namespace zeb2hart::ui {
using namespace zeb2hart::pages;
namespace {

using test::control;
using Names = std::vector<std::string>;

class PagesTest : public test::PageTest {
protected:
    ~PagesTest() override { support::ResetTraceMode(); }
    std::shared_ptr<Page> open(PageKind kind)
    {
        auto page = makeQtPage(kind);
        pageWidget(page)->resize(720, 480);
        pageWidget(page)->show();
        EXPECT_TRUE(page->Init("page-1", "", dtm));
        return page;
    }
    std::shared_ptr<ctlMonitor> openMonitor() { return std::dynamic_pointer_cast<ctlMonitor>(open(PageKind::Monitor)); }
};

TEST_F(PagesTest, PagesOpenOnlyWithInvokeIdAndGatewayDtmAndTheirControlsFollowThePageSize)
{
    const std::shared_ptr<Page> pages[] = {makeQtPage(PageKind::Monitor), makeQtPage(PageKind::OfflineParam),
                                           makeQtPage(PageKind::About)};
    const std::pair<const char*, TwipRect> places[] = {{"btnSave", layoutMonitor(13500, 9000).btnSave},
                                                       {"TreeArea", layoutOfflineParam(13500, 9000).treeArea},
                                                       {"AboutBack", layoutAbout(13500, 9000).aboutBack}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_FALSE(pages[i]->Init("", "", dtm)) << places[i].first;
        EXPECT_FALSE(pages[i]->Init("id", "", nullptr));
        EXPECT_FALSE(pages[i]->Init("id", "", frame)); // not the gateway DTM
        EXPECT_FALSE(pages[i]->PrepareToRelease());
        QWidget& page = *pageWidget(pages[i]);
        page.show();
        page.resize(900, 600);
        EXPECT_EQ(control<QWidget>(page, places[i].first).geometry(), toPixels(places[i].second));
        EXPECT_EQ(control<QWidget>(page, "ctlHeadline").geometry(), QRect(0, 0, 900, 21));
    }
    EXPECT_EQ(control<QComboBox>(*pageWidget(pages[1]), "DevTypeCombo").count(), 0); // the device list is read at Init
}

// The table of dictionary texts (which zeb2hart check checks) lists exactly the captions the pages translate.
TEST(PageTables, TheDictionaryTextsOfThePagesAreTheCaptionsTheyTranslate)
{
    for (const PageTable* table : pageTables()) {
        const std::string prefix = std::string(table->controlName) + "_";
        std::set<std::string> captions, listed;
        for (int row = 0; row < static_cast<int>(table->controls.size()); ++row) {
            if (table->controls[static_cast<std::size_t>(row)].caption)
                captions.insert(table->dictionaryKey(row));
            EXPECT_EQ(table->find(table->controls[static_cast<std::size_t>(row)].name,
                                  table->controls[static_cast<std::size_t>(row)].index),
                      row);
        }
        for (const auto& text : core::dictionaryTexts()) {
            if (text.id.starts_with(prefix))
                listed.insert(std::string(text.id));
        }
        EXPECT_FALSE(captions.empty()) << prefix;
        EXPECT_EQ(captions, listed) << prefix;
        EXPECT_EQ(table->layOut({9000, 6000}).size(), table->controls.size());
    }
    // The rows the page logic names are the rows of those names.
    EXPECT_EQ(monitorTable().find("btnSave"), monitor::btnSave);
    EXPECT_EQ(offlineParamTable().find("WSDelayValue"), offline::WSDelayValue);
    EXPECT_EQ(aboutTable().find("linDecor", 1), about::linDecor1);
    EXPECT_EQ(aboutTable().find("linDecor"), -1);
}

TEST_F(PagesTest, MonitorLinesKeepColoursAndBreaksAndTheViewFollowsTheNewestUnlessTheUserLooksElsewhere)
{
    const auto page = openMonitor();
    auto& view = control<MonitorView>(*pageWidget(page), "RichTextBoxComm");
    page->MessageLine("green line", support::color::Green);
    page->MessageLine("red line", support::color::Red);
    QApplication::processEvents();
    const int lineHeight = QFontMetrics(view.font()).lineSpacing();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(20, 3 + lineHeight + lineHeight / 2));
    ASSERT_EQ(view.selectedText(), QStringLiteral("green line"));
    // Shift+click extends from the line clicked before it, the first line too.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(20, 3 + lineHeight / 2));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(20, 3 + lineHeight + lineHeight / 2));
    EXPECT_EQ(view.selectedText(), QStringLiteral("\ngreen line"));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(20, 3 + lineHeight + lineHeight / 2));
    page->MessageLine("blue\r\nCR LF\nLF\rCR", support::color::Blue); // each breaks the line
    page->MessageLine("black\r", support::color::Black);

    std::vector<std::pair<std::string, QColor>> lines;
    for (int line = 0; line < view.lineCount(); ++line)
        lines.emplace_back(view.lineText(line).toStdString(), view.lineColor(line));
    const QColor green(0, 150, 0), red(255, 0, 0), blue(0, 0, 255), black(0, 0, 0);
    EXPECT_EQ(lines, (std::vector<std::pair<std::string, QColor>>{
                         {"", black}, {"green line", green}, {"red line", red}, {"blue", blue}, {"CR LF", blue},
                         {"LF", blue}, {"CR", blue}, {"black", black}, {"", black}}));
    // The selection is left as it was, and can be copied; Ctrl+A selects everything.
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("green line"));
    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(view.selectedText().toStdString(), page->viewText());
    EXPECT_TRUE(QFontInfo(view.font()).fixedPitch()); // so that the name column lines up

    // The view follows the newest line unless the user scrolled up.
    QTest::mouseClick(&control<QWidget>(*pageWidget(page), "btnClear"), Qt::LeftButton);
    for (int i = 0; i < 200; ++i)
        page->MessageLine("line " + std::to_string(i), support::color::Black);
    QApplication::processEvents();
    QScrollBar& bar = *view.verticalScrollBar();
    EXPECT_EQ(bar.value(), bar.maximum());
    EXPECT_EQ(view.lineText(view.firstVisibleLine() + bar.pageStep() - 1), QStringLiteral("line 199"));
    bar.setValue(10);
    page->MessageLine("line 200", support::color::Black);
    QApplication::processEvents();
    EXPECT_EQ(bar.value(), 10);
    EXPECT_EQ(view.lineCount(), 202);
    QTest::mouseClick(&control<QWidget>(*pageWidget(page), "btnClear"), Qt::LeftButton);
    EXPECT_EQ(view.lineCount(), 1);
    EXPECT_EQ(bar.maximum(), 0);
    // A line of a megabyte is cut; past the line limit the oldest lines go, a block at a time.
    page->MessageLine(std::string(1 << 20, 'x'), support::color::Black);
    EXPECT_EQ(view.lineText(view.lineCount() - 1).size(), kMonitorLineLength);
    const int removed = kMonitorTrimBlock + 1; // when the 5001st line arrives
    for (int i = 0; i < kMonitorLineLimit; ++i) {
        page->MessageLine("line " + std::to_string(i), support::color::Black);
        if (i == removed - 1)
            view.selectLines(removed, removed + 1); // the first two lines kept
    }
    // 2 + 5000 lines: at the 5001st the view keeps 4500, and one more follows; the selection moves up with them.
    EXPECT_EQ(view.lineCount(), kMonitorLineLimit - kMonitorTrimBlock + 1);
    EXPECT_EQ(view.lineText(view.lineCount() - 1).toStdString(), "line " + std::to_string(kMonitorLineLimit - 1));
    EXPECT_EQ(view.selectedText().toStdString(),
              "line " + std::to_string(removed - 2) + "\nline " + std::to_string(removed - 1));
}

TEST_F(PagesTest, MonitorSavesItsLinesWithCrLfAndTracesTheExitOnlyWhenWritten)
{
    folder.write("Resources/DTM.ini", test::iniWith(folder.path(), "TimeCritical", "Trace", "ExternalFile"));
    support::ResetTraceMode();
    dtm->PersistentZEBProtocolFilter = true;
    const auto page = openMonitor();
    dtm->MonitorMsg("Request ZEB", "secret telegram", support::color::Blue, support::filter::ZebProtocol);
    const auto file = folder.path() / "traffic.LOG";
    for (const auto& answer : {std::optional<std::string>(), std::optional((folder.path() / "no" / "x.LOG").string()),
                               std::optional(file.string())}) { // cancelled, not writable, written
        env.fileDialog().answer = answer;
        QTest::mouseClick(&control<QWidget>(*pageWidget(page), "btnSave"), Qt::LeftButton);
    }
    EXPECT_EQ(test::readFile(file), "\r\n" + test::monitorLine("Request ZEB", "secret telegram") + "\r\n");

    // Entry, return value and exit are traced, but never the lines themselves.
    Names traced;
    for (const std::string& entry : test::traceEntries(folder.path()))
        for (const char* operation : {"ctlMonitor-IDtmActiveXControl_Init:", "ctlMonitor-btnSave_Click:"})
            if (entry.starts_with(operation))
                traced.push_back(entry.substr(entry.find(':') + 2));
    EXPECT_EQ(traced, (Names{"entry", "ReturnValue = TRUE", "exit", "entry", "entry", "entry", "exit"}));
    EXPECT_EQ(test::readFile(folder.path() / "TraceInfoFile.txt").find("secret telegram"), std::string::npos);
}

TEST_F(PagesTest, OfflinePageReadsTheDeviceListAtEachOpenAndItsDelayBoxTakesDigitsOnly)
{
    // {list, stored index, entries, selected, identity}: beyond the list the first entry, reported; " VRA510" names
    // no section, so the identity reads empty; an empty list selects nothing and loads no identity.
    const std::tuple<std::string, std::int16_t, int, int, std::string, Names> cases[] = {
        {"VRA520,VRA510,VRA540", 5, 3, 0, "14002.32", {"PersistentDeviceTypeIndex=0"}},
        {"VRA520, VRA510,,VRA540,", 1, 4, 1, "", {}},
        {"", 0, 0, -1, "kept", {}}};
    for (const auto& [list, stored, entries, selected, manufacturerId, changes] : cases) {
        folder.write("Resources/DTM.ini", test::iniWith(folder.path(), "DeviceList", "Devices", list));
        dtm->PersistentDeviceTypeIndex = stored;
        dtm->PersistentManufacturerIDCode = "kept";
        frame->events.clear();
        const auto page = open(PageKind::OfflineParam);
        const auto& combo = control<QComboBox>(*pageWidget(page), "DevTypeCombo");
        EXPECT_EQ(combo.count(), entries) << list;
        EXPECT_EQ(dtm->PersistentDeviceList, list);
        EXPECT_EQ(combo.currentIndex(), selected) << list;
        EXPECT_EQ(dtm->PersistentManufacturerIDCode, manufacturerId) << list;
        EXPECT_EQ(parameterChanges(), changes) << list;
    }

    // The delay box refuses pasting; Delete removes a digit.
    dtm->PersistentWarmstartDelay = 52;
    frame->events.clear();
    const auto page = open(PageKind::OfflineParam);
    auto& box = control<QLineEdit>(*pageWidget(page), "WSDelayValue");
    QApplication::clipboard()->setText(QStringLiteral("7"));
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box.text(), QStringLiteral("52"));
    QTest::keyClick(&box, Qt::Key_Home);
    QTest::keyClick(&box, Qt::Key_Delete);
    EXPECT_EQ(box.text(), QStringLiteral("2"));
    EXPECT_EQ(parameterChanges(), Names{"PersistentWarmstartDelay=2"});
    EXPECT_EQ(control<HeadlineWidget>(*pageWidget(page), "ctlHeadline").title(), QStringLiteral("ZEB to HART Gateway"));
}

TEST_F(PagesTest, HeadlineLogoStaysAtTheRightEdgeAndOnlyALeftClickOnItOpensTheVendorsAddress)
{
    const auto page = makeQtPage(PageKind::About);
    auto& headline = control<HeadlineWidget>(*pageWidget(page), "ctlHeadline");
    pageWidget(page)->show();
    PictureBox& logo = headline.imgLogo();
    ASSERT_TRUE(logo.hasPicture());
    for (const int width : {600, 731, 1024}) {
        headline.resize(width, 21);
        // 10 twips are two thirds of a pixel: the gap shows as one pixel.
        EXPECT_EQ(width - (logo.x() + logo.width()), 1) << width;
        EXPECT_EQ(logo.y(), (21 - logo.height()) / 2);
    }
    QTest::mouseClick(&logo, Qt::RightButton);
    QTest::mousePress(&logo, Qt::LeftButton);
    QTest::mouseRelease(&logo, Qt::LeftButton, {}, QPoint(-5, 5)); // released beside the logo
    EXPECT_TRUE(env.shell().opened.empty());
    QTest::mouseClick(&logo, Qt::LeftButton);
    EXPECT_EQ(env.shell().opened, Names{kVendorAddress});
}

// True when `picture` appears somewhere in `shot`, each of its opaque pixels as it is.
bool shows(const QImage& shot, const QImage& picture)
{
    const QImage big = shot.convertToFormat(QImage::Format_RGB32);
    const QImage small = picture.convertToFormat(QImage::Format_ARGB32);
    const auto matchesAt = [&](int x, int y) {
        for (int row = 0; row < small.height(); ++row) {
            const auto* want = reinterpret_cast<const QRgb*>(small.constScanLine(row));
            const auto* have = reinterpret_cast<const QRgb*>(big.constScanLine(y + row)) + x;
            for (int column = 0; column < small.width(); ++column)
                if (qAlpha(want[column]) == 255 && (want[column] & 0xFFFFFF) != (have[column] & 0xFFFFFF))
                    return false;
        }
        return true;
    };
    for (int y = 0; y + small.height() <= big.height(); ++y)
        for (int x = 0; x + small.width() <= big.width(); ++x)
            if (matchesAt(x, y))
                return true;
    return false;
}

// How many pixels of `shot` are of a colour close to `colour`.
int pixelsNear(const QImage& shot, QColor colour)
{
    int count = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor pixel = shot.pixelColor(x, y);
            count += std::abs(pixel.red() - colour.red()) + std::abs(pixel.green() - colour.green()) +
                         std::abs(pixel.blue() - colour.blue()) <= 60;
        }
    return count;
}

TEST_F(PagesTest, ScreenshotsOfEveryPageInBothLanguages)
{
    std::map<std::string, QImage> shots; // the page's blue frames each
    for (const auto& file : renderPageScreenshots(folder.path() / "shots", ScreenshotOptions{640, 400, {}}))
        shots[file.filename().string()] = QImage(QString::fromStdString(file.string()));
    for (const std::string page : {"monitor", "offlineparam", "about"}) {
        EXPECT_EQ(shots[page + "_en.png"].size(), QSize(640, 400)) << page;
        EXPECT_EQ(shots[page + "_de.png"].pixelColor(2, 30), QColor(57, 115, 188)) << page;
        EXPECT_NE(shots[page + "_en.png"], shots[page + "_de.png"]) << page;
    }
    EXPECT_EQ(shots.size(), 6u);
    // The monitor shows the sample traffic in its colours, the offline page the status of a connected gateway.
    const std::filesystem::path picture = test::componentDir() / "Resources" / "connected_13x52.gif";
    const QImage connected(QString::fromStdString(picture.string()));
    ASSERT_FALSE(connected.isNull());
    for (const char* language : {"en", "de"}) {
        const std::string suffix = std::string("_") + language + ".png";
        EXPECT_GT(pixelsNear(shots["monitor" + suffix], QColor(0, 150, 0)), 0) << language;
        EXPECT_GT(pixelsNear(shots["monitor" + suffix], QColor(0, 0, 255)), 0) << language;
        EXPECT_TRUE(shows(shots["offlineparam" + suffix], connected)) << language;
    }
}

} // namespace
} // namespace zeb2hart::ui

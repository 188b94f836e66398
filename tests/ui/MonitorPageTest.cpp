// The communication monitor page driven as a user and a frame drive it.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "UiTestSupport.h"
#include "support/Monitor.h"
#include "support/Trace.h"
#include "ui/PageLayout.h"
#include "ui/MonitorView.h"
#include "ui/PageStyle.h"
#include "ui/ctlMonitor.h"

namespace zeb2hart::ui {
namespace {

using test::control;
using test::ParameterChange;

class MonitorPageTest : public test::PageTest {
protected:
    MonitorPageTest()
    {
        dtm->PersistentFDTInterfaceFilter = true;
        dtm->PersistentZEBProtocolFilter = true;
        dtm->PersistentHARTProtocolFilter = true;
        page->resize(720, 480);
        page->show();
    }

    bool open(const std::string& invokeId = "monitor-1") { return page->Init(invokeId, "30", dtm); }
    QCheckBox& box(const char* name) { return control<QCheckBox>(*page, name); }
    MonitorView& view() { return control<MonitorView>(*page, "RichTextBoxComm"); }
    void click(const char* name) { QTest::mouseClick(&control<QAbstractButton>(*page, name), Qt::LeftButton); }

    // The colour each line of the view is shown in, line by line.
    std::vector<std::pair<std::string, QColor>> coloredLines()
    {
        std::vector<std::pair<std::string, QColor>> lines;
        for (int line = 0; line < view().lineCount(); ++line)
            lines.emplace_back(view().lineText(line).toStdString(), view().lineColor(line));
        return lines;
    }

    std::shared_ptr<ctlMonitor> page = makePage<ctlMonitor>();
};

TEST_F(MonitorPageTest, LinesAppearOnlyWhileThePageIsRegistered)
{
    EXPECT_FALSE(page->Init("", "30", dtm));
    EXPECT_FALSE(page->Init("monitor-1", "30", nullptr));
    EXPECT_FALSE(page->Init("monitor-1", "30", std::make_shared<test::PlainObject>()));
    dtm->MonitorMsg("IDtm_Config()", "Successful", support::color::Green, support::filter::FdtInterface);
    EXPECT_EQ(page->viewText(), "");
    EXPECT_FALSE(page->PrepareToRelease());
    EXPECT_TRUE(frameCalls("OnApplicationClosed").empty());

    // Lines appear only while the page is registered.
    ASSERT_TRUE(open());
    dtm->MonitorMsg("IDtm_Config()", "Successful", support::color::Green, support::filter::FdtInterface);
    EXPECT_EQ(page->viewText(), "\n" + test::monitorLine("IDtm_Config()", "Successful"));

    EXPECT_TRUE(page->PrepareToRelease());
    EXPECT_EQ(frameCalls("OnApplicationClosed"), (std::vector<test::Call>{{"OnApplicationClosed", {"monitor-1"}}}));
    dtm->MonitorMsg("After", "not shown", support::color::Black, support::filter::HartProtocol);
    EXPECT_EQ(page->viewText(), "\n" + test::monitorLine("IDtm_Config()", "Successful"));
}

TEST_F(MonitorPageTest, CheckBoxesShowTheFiltersAndEachClickReportsOneChange)
{
    dtm->PersistentFDTInterfaceFilter = true;
    dtm->PersistentZEBProtocolFilter = false;
    dtm->PersistentHARTProtocolFilter = false;
    ASSERT_TRUE(open());
    EXPECT_TRUE(box("chkFDTInterface").isChecked());
    EXPECT_FALSE(box("chkZEBProtocols").isChecked());
    EXPECT_FALSE(box("chkHARTProtocols").isChecked());
    EXPECT_TRUE(parameterChanges().empty());
    EXPECT_TRUE(site->changed.empty());

    // Each click reports one change of its own filter.
    click("chkZEBProtocols");
    EXPECT_TRUE(dtm->PersistentZEBProtocolFilter);
    EXPECT_TRUE(dtm->PersistentFDTInterfaceFilter);
    EXPECT_FALSE(dtm->PersistentHARTProtocolFilter);
    click("chkZEBProtocols");
    EXPECT_FALSE(dtm->PersistentZEBProtocolFilter);
    click("chkFDTInterface");
    click("chkHARTProtocols");
    EXPECT_EQ(parameterChanges(), (std::vector<ParameterChange>{{"PersistentZEBProtocolFilter", "True"},
                                                                {"PersistentZEBProtocolFilter", "False"},
                                                                {"PersistentFDTInterfaceFilter", "False"},
                                                                {"PersistentHARTProtocolFilter", "True"}}));
    EXPECT_FALSE(dtm->PersistentFDTInterfaceFilter);
    EXPECT_TRUE(dtm->PersistentHARTProtocolFilter);
    EXPECT_TRUE(box("chkHARTProtocols").isChecked());
}

TEST_F(MonitorPageTest, ClearingHartHidesOnlyTheHartLinesThatFollow)
{
    ASSERT_TRUE(open());
    dtm->MonitorMsg("Request HART 'Command #0'", "first", support::color::Black, support::filter::HartProtocol);
    click("chkHARTProtocols");
    dtm->MonitorMsg("Request HART 'Command #1'", "hidden", support::color::Black, support::filter::HartProtocol);
    dtm->MonitorMsg("Request ZEB", "zeb", support::color::Blue, support::filter::ZebProtocol);
    dtm->MonitorMsg("IDtm_Config()", "Successful", support::color::Green, support::filter::FdtInterface);
    EXPECT_EQ(page->viewText(), "\n" + test::monitorLine("Request HART 'Command #0'", "first") + "\n" +
                                    test::monitorLine("Request ZEB", "zeb") + "\n" +
                                    test::monitorLine("IDtm_Config()", "Successful"));
}

TEST_F(MonitorPageTest, LinesKeepTheirColoursAndGoToTheEndWhateverIsSelectedAndLineBreaksSpanLines)
{
    ASSERT_TRUE(open());
    page->MessageLine("green line", support::color::Green);
    page->MessageLine("red line", support::color::Red);
    // The user selects the green line with the mouse.
    QApplication::processEvents();
    const int lineHeight = QFontMetrics(view().font()).lineSpacing();
    QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, QPoint(20, 3 + lineHeight + lineHeight / 2));
    ASSERT_EQ(view().selectedText(), QStringLiteral("green line"));
    page->MessageLine("blue line", support::color::Blue);
    page->MessageLine("black line", support::color::Black);

    const auto lines = coloredLines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].first, "");
    EXPECT_EQ(lines[1], std::make_pair(std::string("green line"), QColor(0, 150, 0)));
    EXPECT_EQ(lines[2], std::make_pair(std::string("red line"), QColor(255, 0, 0)));
    EXPECT_EQ(lines[3], std::make_pair(std::string("blue line"), QColor(0, 0, 255)));
    EXPECT_EQ(lines[4], std::make_pair(std::string("black line"), QColor(0, 0, 0)));
    // The user's selection is left as it was, and can be copied.
    EXPECT_EQ(view().selectedText(), QStringLiteral("green line"));
    view().setFocus();
    QTest::keyClick(&view(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("green line"));
    QTest::keyClick(&view(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(view().selectedText().toStdString(), page->viewText());

    // A message with line breaks spans several lines.
    click("btnClear");
    dtm->MonitorMsg("Response ZEB", "InvokeID 1\r\nData : 0102\r\n", support::color::Blue,
                    support::filter::ZebProtocol);
    const auto broken = coloredLines();
    ASSERT_EQ(broken.size(), 4u);
    EXPECT_EQ(broken[1].first, test::monitorLine("Response ZEB", "InvokeID 1"));
    EXPECT_EQ(broken[2].first, "Data : 0102");
    EXPECT_EQ(broken[3].first, "");
    EXPECT_EQ(broken[2].second, QColor(0, 0, 255));
}

TEST_F(MonitorPageTest, SaveWritesThePlainTextWithCrLfAndACancelledSaveNothing)
{
    ASSERT_TRUE(open());
    page->MessageLine("first", support::color::Red);
    page->MessageLine("second", support::color::Blue);
    const auto file = folder.path() / "traffic.LOG";
    env.fileDialog().answer = file.string();
    click("btnSave");
    ASSERT_EQ(env.fileDialog().asked.size(), 1u);
    EXPECT_EQ(env.fileDialog().asked[0].filter, "Logdatei (*.LOG)|*.LOG");
    EXPECT_TRUE(env.fileDialog().asked[0].promptOverwrite);
    EXPECT_EQ(test::readFile(file), "\r\nfirst\r\nsecond\r\n");

    // After Clear the file holds just CR LF, whatever it held before.
    click("btnClear");
    EXPECT_EQ(page->viewText(), "");
    const auto cleared = folder.path() / "cleared.LOG";
    folder.write("cleared.LOG", "old content that must go");
    env.fileDialog().answer = cleared.string();
    click("btnSave");
    EXPECT_EQ(test::readFile(cleared), "\r\n");

    // A cancelled save writes nothing.
    page->MessageLine("first", support::color::Red);
    const auto filesIn = [this] {
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.path()))
            files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        return files;
    };
    const auto before = filesIn();
    env.fileDialog().answer.reset();
    click("btnSave");
    EXPECT_EQ(env.fileDialog().asked.size(), 3u);
    EXPECT_EQ(filesIn(), before);
}

TEST_F(MonitorPageTest, SecondPageReplacesTheFirstAndTheFirstReleaseClearsBoth)
{
    ASSERT_TRUE(open("first"));
    const auto second = makePage<ctlMonitor>();
    ASSERT_TRUE(second->Init("second", "30", dtm));
    page->MessageLine("direct", support::color::Black);
    dtm->MonitorMsg("Routed", "to the second", support::color::Black, support::filter::HartProtocol);
    EXPECT_EQ(page->viewText(), "\ndirect");
    EXPECT_EQ(second->viewText(), "\n" + test::monitorLine("Routed", "to the second"));

    EXPECT_TRUE(page->PrepareToRelease());
    dtm->MonitorMsg("Dropped", "by both", support::color::Black, support::filter::HartProtocol);
    EXPECT_EQ(second->viewText(), "\n" + test::monitorLine("Routed", "to the second"));
    EXPECT_EQ(frameCalls("OnApplicationClosed"), (std::vector<test::Call>{{"OnApplicationClosed", {"first"}}}));
}

TEST_F(MonitorPageTest, CaptionsFollowTheLanguageAndTheLayoutThePageSize)
{
    ASSERT_TRUE(open());
    EXPECT_EQ(control<QPushButton>(*page, "btnClear").text(), QStringLiteral("Clear"));
    EXPECT_EQ(box("chkFDTInterface").text(), QStringLiteral("FDT interface"));
    ASSERT_TRUE(dtm->SetLanguage(1031));
    EXPECT_EQ(control<QPushButton>(*page, "btnClear").text(), QStringLiteral("Löschen"));
    EXPECT_EQ(control<QPushButton>(*page, "btnSave").text(), QStringLiteral("Speichern"));
    EXPECT_EQ(box("chkHARTProtocols").text(), QStringLiteral("HART-Protokolle"));
    ASSERT_TRUE(dtm->SetLanguage(1033));
    EXPECT_EQ(control<QPushButton>(*page, "btnSave").text(), QStringLiteral("Save"));

    // The layout follows the page size.
    page->resize(900, 600);
    QApplication::processEvents();
    const MonitorLayout l = layoutMonitor(900 * 15, 600 * 15);
    EXPECT_EQ(control<QWidget>(*page, "ParameterFreeArea").geometry(), toPixels(l.parameterFreeArea));
    EXPECT_EQ(control<QWidget>(*page, "RichTextBoxComm").geometry(), toPixels(l.richTextBox));
    EXPECT_EQ(control<QWidget>(*page, "btnClear").geometry(), toPixels(l.btnClear));
    EXPECT_EQ(control<QWidget>(*page, "btnSave").geometry(), toPixels(l.btnSave));
    EXPECT_EQ(control<QWidget>(*page, "ctlHeadline").geometry(), QRect(0, 0, 900, 21));
    // The monitor view is in a fixed-pitch font, so that the name column lines up.
    EXPECT_TRUE(QFontInfo(view().font()).fixedPitch());
}

TEST_F(MonitorPageTest, ViewFollowsTheNewestLineUnlessTheUserScrolledUp)
{
    ASSERT_TRUE(open());
    for (int i = 0; i < 200; ++i)
        page->MessageLine("line " + std::to_string(i), support::color::Black);
    QApplication::processEvents();
    QScrollBar& bar = *view().verticalScrollBar();
    EXPECT_GT(bar.maximum(), 0);
    EXPECT_EQ(bar.value(), bar.maximum());
    EXPECT_EQ(view().lineText(view().firstVisibleLine() + bar.pageStep() - 1), QStringLiteral("line 199"));

    bar.setValue(10);
    page->MessageLine("line 200", support::color::Black);
    QApplication::processEvents();
    EXPECT_EQ(bar.value(), 10);
    EXPECT_EQ(view().lineCount(), 202);

    click("btnClear");
    EXPECT_EQ(view().lineCount(), 1);
    EXPECT_EQ(bar.maximum(), 0);
}

class MonitorTraceTest : public MonitorPageTest {
protected:
    MonitorTraceTest()
    {
        folder.write("Resources/DTM.ini", test::iniWith(folder.path(), "TimeCritical", "Trace", "ExternalFile"));
        support::ResetTraceMode();
    }
    ~MonitorTraceTest() override { support::ResetTraceMode(); }
};

TEST_F(MonitorTraceTest, OperationsTraceEntryExitAndReturnValue)
{
    ASSERT_TRUE(open());
    click("btnClear");
    // The lines themselves never reach the trace file.
    dtm->MonitorMsg("Request ZEB", "secret telegram", support::color::Blue, support::filter::ZebProtocol);
    EXPECT_EQ(test::traceEntries(folder.path()).back(), "ctlMonitor-MessageLine: exit");
    EXPECT_NE(page->viewText().find("secret telegram"), std::string::npos);
    EXPECT_EQ(test::readFile(folder.path() / "TraceInfoFile.txt").find("secret telegram"), std::string::npos);
    EXPECT_TRUE(page->PrepareToRelease());
    std::vector<std::string> entries = test::traceEntries(folder.path());
    for (const char* entry : {"IDtmActiveXControl_Init: entry", "IDtmActiveXControl_Init: ReturnValue = TRUE",
                              "IDtmActiveXControl_Init: exit", "InitScreen: entry", "IActiveXGUI_UpdateLanguage: exit",
                              "btnClear_Click: entry", "btnClear_Click: exit",
                              "IDtmActiveXControl_PrepareToRelease: returnValue = TRUE"})
        EXPECT_NE(std::find(entries.begin(), entries.end(), std::string("ctlMonitor-") + entry), entries.end()) << entry;
    // The return value comes before the exit record.
    const auto value = std::find(entries.begin(), entries.end(), "ctlMonitor-IDtmActiveXControl_Init: ReturnValue = TRUE");
    const auto exit = std::find(entries.begin(), entries.end(), "ctlMonitor-IDtmActiveXControl_Init: exit");
    EXPECT_LT(value, exit);

    // A cancelled save leaves its entry record only.
    env.fileDialog().answer.reset();
    click("btnSave");
    entries = test::traceEntries(folder.path());
    EXPECT_EQ(entries.back(), "ctlMonitor-btnSave_Click: entry");

    // So does a file that cannot be written; a file that can gets the exit record.
    env.fileDialog().answer = (folder.path() / "no such folder" / "traffic.LOG").string();
    click("btnSave");
    EXPECT_EQ(test::traceEntries(folder.path()).back(), "ctlMonitor-btnSave_Click: entry");
    env.fileDialog().answer = (folder.path() / "traffic.LOG").string();
    click("btnSave");
    EXPECT_EQ(test::traceEntries(folder.path()).back(), "ctlMonitor-btnSave_Click: exit");

    // A refused Init traces FALSE before its exit.
    const auto refused = makePage<ctlMonitor>();
    EXPECT_FALSE(refused->Init("", "30", dtm));
    entries = test::traceEntries(folder.path());
    ASSERT_GE(entries.size(), 3u);
    EXPECT_EQ(entries[entries.size() - 2], "ctlMonitor-IDtmActiveXControl_Init: ReturnValue = FALSE");
    EXPECT_EQ(entries.back(), "ctlMonitor-IDtmActiveXControl_Init: exit");
}

} // namespace
} // namespace zeb2hart::ui

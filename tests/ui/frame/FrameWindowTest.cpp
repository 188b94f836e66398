// The frame window of `zeb2hart ui`, driven as a user drives it, on a manual event loop whose clock moves only
// when the test says: the topology, opening and closing the gateway's pages, the language, the HART device panel,
// project save and load, and closing the window.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <cstdio>
#include <fstream>

#include "ControlActions.h"
#include "CountersPanel.h"
#include "FrameWindow.h"
#include "HartPanel.h"
#include "fdt/Errors.h"
#include "platform/ManualEventLoop.h"

namespace zeb2hart::frame {
namespace {

using Texts = std::vector<std::string>;

class FrameWindowTest : public ::testing::Test {
protected:
    FrameWindowTest()
    {
        window->confirmDiscard = [] { return true; };
        window->show();
    }

    QWidget& control(const char* name) { return findControl(*window, name); }
    QAction& action(const std::string& name) { return *window->findChild<QAction*>(QString::fromStdString(name)); }
    HartDeviceDtm& child() { return window->topology().child(); }
    // Runs what the peers and the gateway have posted; the clock stays.
    void settle()
    {
        loop->runPending();
        QApplication::processEvents();
    }
    void clickAndSettle(const char* name)
    {
        QTest::mouseClick(&control(name), Qt::LeftButton);
        settle();
    }
    std::size_t send(int command)
    {
        window->panel().chooseCommand(command);
        clickAndSettle("btnSend");
        return child().answers().size();
    }
    Texts closedInvokeIds() const
    {
        Texts ids;
        for (const Json& call : window->frameCalls())
            if (call.value("op", "") == "IDtmEvents::OnApplicationClosed")
                ids.push_back(call["args"]["invokeId"]);
        return ids;
    }

    QTemporaryDir temporary;
    const std::filesystem::path folder = temporary.path().toStdString();
    std::shared_ptr<platform::ManualEventLoop> loop = std::make_shared<platform::ManualEventLoop>();
    std::unique_ptr<FrameWindow> window = std::make_unique<FrameWindow>([this] {
        FrameWindowOptions options;
        options.loop = loop;
        return options;
    }());
};

TEST_F(FrameWindowTest, ShowsTheTopologyAndTheGatewaysFunctionsInTheChosenLanguage)
{
    ASSERT_EQ(window->topologyTree().topLevelItemCount(), 1);
    Texts rows;
    for (QTreeWidgetItem* item = window->topologyTree().topLevelItem(0); item; item = item->child(0))
        rows.push_back((item->text(0) + " | " + item->text(1)).toStdString());
    EXPECT_EQ(rows, (Texts{"ZEB communication DTM | VRA520 (simulated)", "ZEB2HART_GW1 | VRA520, disconnected",
                           "HARTChannel1 | HART", "LT-101 | address 0, disconnected"}));
    Texts functions;
    for (const DtmFunction& function : window->functions()) {
        EXPECT_EQ(function.userInterface, "ActiveX");
        EXPECT_EQ(action("function" + function.id).text().toStdString(), function.name); // the Gateway menu
        functions.push_back(function.id + " " + function.name);
    }
    EXPECT_EQ(functions, (Texts{"10 Offline parameter", "30 Communication monitor", "50 About"}));

    // The Language menu switches the gateway; the function names, tab titles and the window's own texts follow.
    const auto windowTexts = [this] {
        return (window->menuBar()->actions().front()->text() + " | " + control("topologyDock").windowTitle() + " | " +
               window->topologyTree().headerItem()->text(1) + " | " + control("btnConnect").property("text").toString() +
               " | " + control("gatewayStatus").property("text").toString() + " | " +
               control("pageHint").property("text").toString().section(QLatin1Char('.'), 0, 0))
            .toStdString();
    };
    EXPECT_EQ(windowTexts(), "&File | Topology | State | Connect | Gateway ZEB2HART_GW1: disconnected | No page is open");
    action("language1031").trigger();
    EXPECT_EQ(window->language(), 1031);
    EXPECT_FALSE(action("language1033").isChecked());
    EXPECT_EQ(window->tabs().tabText(0) + " | " + action("function50").text(), "Kommunikationsmonitor | Info");
    EXPECT_EQ(windowTexts(), "&Datei | Topologie | Zustand | Verbinden | Gateway ZEB2HART_GW1: getrennt | Keine Seite ist geöffnet");
    EXPECT_EQ(window->panel().identityText(), "Identität: noch nicht gelesen (Kommando 0 senden)");
    action("language1033").trigger();
    EXPECT_EQ(window->tabs().tabText(0), "Communication monitor");
    EXPECT_EQ(window->panel().identityText(), "Identity: not read yet (send command 0)");
    // A language the gateway does not know is refused and changes nothing.
    EXPECT_FALSE(window->setLanguage(1036));
    EXPECT_EQ(window->language(), 1033);
    EXPECT_TRUE(action("language1033").isChecked());
}

TEST_F(FrameWindowTest, EachFunctionOpensItsPageOnceAndClosingTheTabThePageOrTheWindowReleasesIt)
{
    // The monitor opened with the session and has shown the gateway's traffic since its frame was set.
    ASSERT_EQ(window->tabs().count(), 1);
    ASSERT_NE(window->pageOf("30"), nullptr);
    EXPECT_TRUE(controlState(findControl(*window->pageOf("30"), "RichTextBoxComm"))["text"].get<std::string>().find(
                    "IDtm.SetCommunication()") != std::string::npos);
    EXPECT_FALSE(control("pageHint").isVisible());
    EXPECT_TRUE(window->closeFunction("30"));
    EXPECT_TRUE(control("pageHint").isVisible()) << "no page open: the page area says how to open one";

    for (const auto& [id, title, page] : {std::tuple{std::string("10"), "Offline parameter", "ctlOfflineParam"},
                                          {"30", "Communication monitor", "ctlMonitor"}, {"50", "About", "ctlAbout"}}) {
        action("function" + id).trigger();
        ui::PageHost* host = window->pageOf(id);
        ASSERT_NE(host, nullptr) << id;
        EXPECT_EQ(ui::pageWidget(host->page())->objectName().toStdString(), page);
        EXPECT_EQ(window->tabs().tabText(window->tabs().currentIndex()).toStdString(), title);
        const std::string invokeId = window->invokeIdOf(id);
        EXPECT_EQ(invokeId.size(), 36u) << invokeId;
        EXPECT_EQ(window->openFunction(id), host); // again: the same tab
        EXPECT_EQ(window->tabs().count(), 1);

        const std::weak_ptr<fdt::Object> watch = host->page();
        emit window->tabs().tabCloseRequested(window->tabs().indexOf(host)); // the tab's close button
        EXPECT_EQ(window->tabs().count(), 0);
        EXPECT_TRUE(control("pageHint").isVisible());
        EXPECT_EQ(closedInvokeIds().back(), invokeId);
        EXPECT_TRUE(watch.expired()) << "the page outlived its tab";
        EXPECT_FALSE(window->closeFunction(id));
    }
    EXPECT_EQ(window->openFunction("20"), nullptr); // no page for that function
    EXPECT_EQ(window->frameLog().findItems("no page for function 20", Qt::MatchContains).size(), 1);

    // A page released from elsewhere than its tab loses the tab after its call, and only once.
    ui::PageHost* host = window->openFunction("50");
    ASSERT_NE(host, nullptr);
    const std::size_t closedBefore = closedInvokeIds().size();
    const std::weak_ptr<fdt::Object> watch = host->page();
    EXPECT_TRUE(fdt::query<fdt::IDtmActiveXControl>(host->page())->PrepareToRelease());
    EXPECT_EQ(window->tabs().count(), 1) << "the tab went while the page was still in its call";
    settle();
    EXPECT_EQ(window->tabs().count(), 0);
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(closedInvokeIds().size(), closedBefore + 1);

    // Closing the window releases the open pages, the connection and the gateway.
    ASSERT_NE(window->openFunction("30"), nullptr);
    ASSERT_NE(window->openFunction("10"), nullptr);
    clickAndSettle("btnConnect");
    ASSERT_TRUE(child().connected());
    const std::weak_ptr<core::DTMMain> dtm = window->session().dtmPtr();
    Texts closed = closedInvokeIds();
    closed.insert(closed.end(), {window->invokeIdOf("10"), window->invokeIdOf("30")});
    EXPECT_TRUE(window->close());
    EXPECT_EQ(closedInvokeIds(), closed);
    EXPECT_TRUE(dtm.expired()) << "the gateway outlived the window's release";
}

TEST_F(FrameWindowTest, PanelPrefillsEachCommandAndSendsWhatTheFieldHoldsOnceConnected)
{
    const ZebDeviceModel& model = window->topology().model();
    auto& combo = dynamic_cast<QComboBox&>(control("cmbCommand"));
    // Choosing from the list prefills the request as the demo sends it; 128 reads a real object of the model.
    combo.setCurrentIndex(combo.findData(128));
    char demo[24];
    std::snprintf(demo, sizeof demo, "%02X %02X %02X 00 00", model.demoObjectNo / 256, model.demoObjectNo % 256,
                  model.demoSubNo);
    EXPECT_EQ(window->panel().dataText().toStdString(), demo);
    const ZebObject* object = model.find(model.demoObjectNo, model.demoSubNo);
    ASSERT_NE(object, nullptr) << "the prefilled telegram reads an object the model does not hold";

    EXPECT_FALSE(control("btnSend").isEnabled()) << "commands need a connection";
    clickAndSettle("btnConnect");
    ASSERT_TRUE(child().connected());
    EXPECT_FALSE(control("btnConnect").isEnabled());
    EXPECT_EQ(window->panel().connectionText(), "Connected, communication reference ZEB-VRA520-0001");
    EXPECT_EQ(window->topologyTree().topLevelItem(0)->child(0)->child(0)->child(0)->text(1), "address 0, connected");
    ASSERT_EQ(send(0), 1u);
    EXPECT_EQ(window->panel().answerRows(), Texts{"Command 0 → 0 (Success) | data FE 61 D2 05 05 05 03 11 00 12 34 56"});
    EXPECT_EQ(window->panel().identityText().toStdString(),
              "Identity (command 0): manufacturer 0x61, device type 0xD2, device id 0x123456, universal revision 5, "
              "transmitter revision 5, software revision 3, hardware revision 2, signalling code 1, 5 preambles, "
              "flags 0x00");
    ASSERT_EQ(send(128), 2u);
    EXPECT_EQ(window->panel().answerRows().back(), "Command 128 → 0 (Success) | data 50 00 01 00 04 44 7A 00 00 | "
                                                   "object 20480.1 (primary value) = 1000 mbar");
    // The answer telegram: object, sub-number, status, length, the object's data.
    const HartAnswer& answer = child().answers().back();
    EXPECT_EQ(answer.responseCode, 0);
    ASSERT_EQ(answer.data.size(), 5u + object->data.size());
    EXPECT_EQ(std::vector<std::uint8_t>(answer.data.begin() + 5, answer.data.end()), object->data);

    // An odd number of digits is refused before it leaves the panel.
    window->panel().chooseCommand(59);
    dynamic_cast<QLineEdit&>(control("txtData")).setText("0 5 3");
    EXPECT_FALSE(window->panel().send());
    EXPECT_TRUE(control("lblCommandHint").property("text").toString().contains("hexadecimal"));
    settle();
    EXPECT_EQ(child().answers().size(), 2u);
    clickAndSettle("btnDisconnect");
    EXPECT_FALSE(child().connected());
    EXPECT_FALSE(control("btnSend").isEnabled());
    EXPECT_EQ(window->panel().connectionText(), "Disconnected");

    // The counters panel followed the traffic, in the window's language.
    action("language1031").trigger();
    settle();
    CountersPanel& counters = window->counters();
    EXPECT_EQ(counters.headingText(), "Verbindung ZEB-VRA520-0001 (geschlossen), 0 davor");
    EXPECT_EQ(counters.rows(), (Texts{"0 | 1 | 1 | 0 | 0 / 0.0 / 0", "128 | 1 | 1 | 0 | 0 / 0.0 / 0"}));
    // Six identity reads, command 128 and the disconnect's broadcast, each answered.
    EXPECT_EQ(counters.totalsText().toStdString(),
              "Anfragen an das Eltern-DTM 8, Antworten davon 8; Fehlerantworten: keine; Antworten auf unbekannte "
              "Aufrufkennungen 0; abgelehnte Anfragen 0; Time-out-Broadcasts 0");
}

TEST_F(FrameWindowTest, TheWireTimingCheckBoxMakesTheParentAnswerAfterTheFieldTime)
{
    clickAndSettle("btnConnect");
    auto& wireTiming = dynamic_cast<QCheckBox&>(control("wireTiming"));
    wireTiming.click();
    // Command 128 on VRA520 takes 600 ms (worked out in tests/scripts/wire-timing.jsonl).
    EXPECT_EQ(send(128), 0u);
    loop->advance(std::chrono::milliseconds(599));
    settle();
    EXPECT_EQ(child().answers().size(), 0u);
    loop->advance(std::chrono::milliseconds(1));
    settle();
    EXPECT_EQ(child().answers().size(), 1u);
    wireTiming.click();
    EXPECT_EQ(send(128), 2u) << "without wire timing the answer comes at once";
}

TEST_F(FrameWindowTest, ProjectSaveAndLoadAndFilesTheGatewayCannotTake)
{
    // The user changes the device type and the warm-start delay on the offline page.
    ASSERT_NE(window->openFunction("10"), nullptr);
    selectEntry(findControl(*window->pageOf("10"), "DevTypeCombo"), std::nullopt, std::string("VRA540"));
    typeKeys(findControl(*window->pageOf("10"), "WSDelayValue"), "0"); // "5" becomes "50"
    EXPECT_TRUE(window->windowTitle().contains('*')) << window->windowTitle().toStdString();
    const auto file = folder / "plant.json";
    window->saveProject(file);
    EXPECT_TRUE(window->windowTitle().startsWith("plant.json"));
    EXPECT_FALSE(window->windowTitle().contains('*'));

    // A new project starts from the settings file again, without the old instance's pages.
    window->newProject();
    EXPECT_EQ(window->session().dtm().PersistentWarmstartDelay, 5);
    EXPECT_TRUE(window->projectFile().empty());
    EXPECT_EQ(window->tabs().count(), 1); // the new session's monitor
    EXPECT_NE(window->pageOf("30"), nullptr);
    window->loadProject(file);
    EXPECT_EQ(window->session().dtm().PersistentWarmstartDelay, 50);
    EXPECT_EQ(window->projectFile(), file);
    // The simulated device follows the project's device type.
    EXPECT_EQ(window->topologyTree().topLevelItem(0)->text(1), "VRA540 (simulated)");
    ASSERT_NE(window->openFunction("10"), nullptr);
    EXPECT_EQ(controlState(findControl(*window->pageOf("10"), "DevTypeCombo"))["text"], "VRA540");

    // A value the gateway cannot take is found before the running instance is given up.
    const core::DTMMain* running = &window->session().dtm();
    std::ofstream(folder / "bad.json") << R"({"PersistentWarmstartDelay": {"type": "string", "value": "soon"}})";
    EXPECT_THROW(window->loadProject(folder / "bad.json"), fdt::Error);
    EXPECT_THROW(window->saveProject(folder / "no-such-folder" / "p.json"), fdt::FileError);
    EXPECT_EQ(&window->session().dtm(), running);
    EXPECT_EQ(window->projectFile(), file);
}

} // namespace
} // namespace zeb2hart::frame

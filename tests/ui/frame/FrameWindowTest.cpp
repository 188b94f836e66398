// The frame window of `zeb2hart ui`, driven as a user drives it, on Qt's event
// loop: the topology, opening and closing the gateway's pages, the language,
// the HART device panel, project save and load.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <fstream>
#include <random>
#include <sstream>

#include <nlohmann/json.hpp>

#include "ControlActions.h"
#include "FrameWindow.h"
#include "HartPanel.h"
#include "fdt/Errors.h"
#include "ui/ctlAbout.h"
#include "ui/ctlMonitor.h"
#include "ui/ctlOfflineParam.h"

namespace zeb2hart::frame {
namespace {

using std::chrono::milliseconds;

std::string readText(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class FrameWindowTest : public ::testing::Test {
protected:
    FrameWindowTest()
    {
        std::random_device random;
        folder = std::filesystem::temp_directory_path() / ("zeb2hart-frame-window-" + std::to_string(random()));
        std::filesystem::create_directories(folder);
        window = std::make_unique<FrameWindow>(FrameWindowOptions{});
        window->confirmDiscard = [] { return true; };
        window->resize(1180, 760);
        window->show();
    }

    ~FrameWindowTest() override
    {
        window.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    QWidget& control(const char* name) { return findControl(*window, name); }

    template <class Page>
    Page* page(const std::string& functionId)
    {
        ui::PageHost* host = window->pageOf(functionId);
        return host ? dynamic_cast<Page*>(host->page().get()) : nullptr;
    }

    std::vector<Json> frameCalls(const std::string& op) const
    {
        std::vector<Json> calls;
        for (const Json& call : window->frameCalls()) {
            if (call.value("op", "") == op)
                calls.push_back(call);
        }
        return calls;
    }

    bool connectFromPanel()
    {
        QTest::mouseClick(&control("btnConnect"), Qt::LeftButton);
        return QTest::qWaitFor([this] { return window->topology().child().connected(); }, 3000);
    }

    // Sends the command chosen in the panel and waits for its answer.
    bool sendFromPanel(int command)
    {
        window->panel().chooseCommand(command);
        const std::size_t before = window->topology().child().answers().size();
        QTest::mouseClick(&control("btnSend"), Qt::LeftButton);
        return QTest::qWaitFor([&] { return window->topology().child().answers().size() > before; }, 3000);
    }

    std::filesystem::path folder;
    std::unique_ptr<FrameWindow> window;
};

TEST_F(FrameWindowTest, ShowsTheTopologyAndTheGatewaysFunctions)
{
    QTreeWidget& tree = window->topologyTree();
    ASSERT_EQ(tree.topLevelItemCount(), 1);
    QTreeWidgetItem* parent = tree.topLevelItem(0);
    EXPECT_EQ(parent->text(0), "ZEB communication DTM");
    EXPECT_EQ(parent->text(1), "VRA520 (simulated)");
    ASSERT_EQ(parent->childCount(), 1);
    QTreeWidgetItem* gateway = parent->child(0);
    EXPECT_EQ(gateway->text(0), "ZEB2HART_GW1");
    EXPECT_EQ(gateway->text(1), "VRA520, disconnected");
    ASSERT_EQ(gateway->childCount(), 1);
    ASSERT_EQ(gateway->child(0)->childCount(), 1);
    QTreeWidgetItem* child = gateway->child(0)->child(0);
    EXPECT_EQ(child->text(0), "LT-101");
    EXPECT_EQ(child->text(1), "address 0, disconnected");

    const auto& functions = window->functions();
    ASSERT_EQ(functions.size(), 3u);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"10", "Offline parameter"}, {"30", "Communication monitor"}, {"50", "About"}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(functions[i].id, expected[i].first);
        EXPECT_EQ(functions[i].name, expected[i].second);
        EXPECT_EQ(functions[i].userInterface, "ActiveX");
        auto* action = window->findChild<QAction*>(QString::fromStdString("function" + expected[i].first));
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text().toStdString(), expected[i].second);
    }
    // The frame set the gateway up as a frame does: its environment, then the child.
    EXPECT_EQ(window->session().dtm().systemTag(), "ZEB2HART_GW1");
    EXPECT_EQ(window->session().dtm().childSystemTag(), "LT-101");
}

TEST_F(FrameWindowTest, EachFunctionOpensItsPageAndClosingItOrThePageItselfReleasesIt)
{
    const struct {
        const char* id;
        const char* title;
        std::function<bool(const fdt::ObjectPtr&)> isPage;
    } functions[] = {
        {"10", "Offline parameter", [](const fdt::ObjectPtr& p) { return !!std::dynamic_pointer_cast<ui::ctlOfflineParam>(p); }},
        {"30", "Communication monitor", [](const fdt::ObjectPtr& p) { return !!std::dynamic_pointer_cast<ui::ctlMonitor>(p); }},
        {"50", "About", [](const fdt::ObjectPtr& p) { return !!std::dynamic_pointer_cast<ui::ctlAbout>(p); }},
    };
    for (const auto& function : functions) {
        SCOPED_TRACE(function.id);
        // Through the Gateway menu, as the user opens it.
        window->findChild<QAction*>(QString("function") + function.id)->trigger();
        ui::PageHost* host = window->pageOf(function.id);
        ASSERT_NE(host, nullptr);
        EXPECT_TRUE(function.isPage(host->page()));
        EXPECT_EQ(window->tabs().currentWidget(), host);
        EXPECT_EQ(window->tabs().tabText(window->tabs().currentIndex()).toStdString(), function.title);
        const std::string invokeId = window->invokeIdOf(function.id);
        EXPECT_EQ(invokeId.size(), 36u) << invokeId;
        // Opening it again shows the same tab.
        EXPECT_EQ(window->openFunction(function.id), host);
        EXPECT_EQ(window->tabs().count(), 1);

        std::weak_ptr<fdt::Object> watch = host->page();
        const std::size_t closedBefore = frameCalls("IDtmEvents::OnApplicationClosed").size();
        // The tab's close button.
        emit window->tabs().tabCloseRequested(window->tabs().indexOf(host));
        EXPECT_EQ(window->tabs().count(), 0);
        EXPECT_EQ(window->pageOf(function.id), nullptr);
        const auto closed = frameCalls("IDtmEvents::OnApplicationClosed");
        ASSERT_EQ(closed.size(), closedBefore + 1);
        EXPECT_EQ(closed.back()["args"]["invokeId"], invokeId);
        EXPECT_TRUE(watch.expired()) << "the page outlived its tab";
        EXPECT_FALSE(window->closeFunction(function.id));
    }
    QApplication::processEvents();
    // Each page was asked for through the gateway's ActiveX information.
    ASSERT_NE(window->openFunction("30"), nullptr);
    window->openFunction("50");
    const std::string monitor = page<ui::ctlMonitor>("30")->viewText();
    EXPECT_NE(monitor.find("IDtmActiveXInformation_GetActiveXProgId()"), std::string::npos) << monitor;
    EXPECT_EQ(window->tabs().count(), 2);
    // An unknown function has no page: nothing opens.
    EXPECT_EQ(window->openFunction("20"), nullptr);
    EXPECT_EQ(window->tabs().count(), 2);
    EXPECT_TRUE(window->frameLog().findItems("no page for function 20", Qt::MatchContains).size() == 1);

    // A page that releases itself loses its tab after the call.
    ui::PageHost* host = window->pageOf("50");
    ASSERT_NE(host, nullptr);
    const std::size_t closedBefore = frameCalls("IDtmEvents::OnApplicationClosed").size();
    const std::string invokeId = window->invokeIdOf("50");
    std::weak_ptr<fdt::Object> watch = host->page();
    // Released from elsewhere than the tab: the page tells the frame, which lets the tab go later.
    EXPECT_TRUE(fdt::query<fdt::IDtmActiveXControl>(host->page())->PrepareToRelease());
    EXPECT_EQ(window->tabs().count(), 2) << "the tab went while the page was still in its call";
    EXPECT_TRUE(QTest::qWaitFor([this] { return window->tabs().count() == 1; }, 1000));
    EXPECT_EQ(window->pageOf("50"), nullptr);
    EXPECT_TRUE(watch.expired());
    const auto closed = frameCalls("IDtmEvents::OnApplicationClosed");
    ASSERT_EQ(closed.size(), closedBefore + 1) << "the frame released the page a second time";
    EXPECT_EQ(closed.back()["args"]["invokeId"], invokeId);
}

TEST_F(FrameWindowTest, LanguageMenuSwitchesTheGatewayAndItsPages)
{
    ASSERT_NE(window->openFunction("30"), nullptr);
    auto& zeb = dynamic_cast<QCheckBox&>(findControl(*window->pageOf("30"), "chkZEBProtocols"));
    EXPECT_EQ(zeb.text(), "ZEB protocols");
    EXPECT_EQ(window->language(), 1033);

    window->findChild<QAction*>("language1031")->trigger();
    EXPECT_EQ(window->language(), 1031);
    EXPECT_TRUE(window->findChild<QAction*>("language1031")->isChecked());
    EXPECT_FALSE(window->findChild<QAction*>("language1033")->isChecked());
    EXPECT_EQ(zeb.text(), "ZEB-Protokolle");
    EXPECT_EQ(window->functions().at(1).name, "Kommunikationsmonitor");
    EXPECT_EQ(window->tabs().tabText(0), "Kommunikationsmonitor");
    EXPECT_EQ(window->findChild<QAction*>("function50")->text(), "Info");

    window->findChild<QAction*>("language1033")->trigger();
    EXPECT_EQ(window->language(), 1033);
    EXPECT_EQ(zeb.text(), "ZEB protocols");
    EXPECT_EQ(window->tabs().tabText(0), "Communication monitor");

    // A language the gateway does not know is refused and changes nothing.
    EXPECT_FALSE(window->setLanguage(1036));
    EXPECT_EQ(window->language(), 1033);
    EXPECT_TRUE(window->findChild<QAction*>("language1033")->isChecked());
}

TEST_F(FrameWindowTest, Command0FromThePanelIsAnsweredAndTheTimeOutBroadcastFiresOnQtsEventLoop)
{
    ASSERT_NE(window->openFunction("30"), nullptr);
    auto& send = dynamic_cast<QPushButton&>(control("btnSend"));
    EXPECT_FALSE(send.isEnabled()) << "commands need a connection";
    ASSERT_TRUE(connectFromPanel());
    EXPECT_TRUE(send.isEnabled());
    EXPECT_FALSE(control("btnConnect").isEnabled());
    EXPECT_EQ(window->panel().connectionText(), "Connected, communication reference ZEB-VRA520-0001");
    EXPECT_EQ(window->topologyTree().topLevelItem(0)->child(0)->child(0)->child(0)->text(1), "address 0, connected");

    ASSERT_TRUE(sendFromPanel(0));
    ASSERT_EQ(window->panel().answerRows().size(), 1u);
    EXPECT_EQ(window->panel().answerRows()[0], "Command 0 → 0 (Success) | data FE 61 D2 05 05 05 03 11 00 12 34 56");
    EXPECT_EQ(window->panel().identityText().toStdString(),
              "Identity (command 0): manufacturer 0x61, device type 0xD2, device id 0x123456; revisions: universal 5, "
              "transmitter 5, software 3, hardware 17; 5 preambles");
    // The monitor page showed the traffic: the HART request and answer, and the six ZEB reads between.
    const std::string monitor = page<ui::ctlMonitor>("30")->viewText();
    EXPECT_NE(monitor.find("Request HART 'Command #0'"), std::string::npos) << monitor;
    EXPECT_NE(monitor.find("Response HART 'Command #0'"), std::string::npos) << monitor;
    std::size_t zebReads = 0;
    for (std::size_t at = monitor.find("Response ZEB"); at != std::string::npos; at = monitor.find("Response ZEB", at + 1))
        ++zebReads;
    EXPECT_EQ(zebReads, 6u);

    // The time-out broadcast after a write fires on Qt's event loop.
    window->session().dtm().PersistentWarmstartDelay = 1;
    ASSERT_TRUE(sendFromPanel(128));
    auto* monitorPage = page<ui::ctlMonitor>("30");
    EXPECT_EQ(monitorPage->viewText().find("Warmstart actuated"), std::string::npos);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return monitorPage->viewText().find("Warmstart actuated") != std::string::npos; }, 3000))
        << monitorPage->viewText();
}

TEST_F(FrameWindowTest, PanelPrefillsEachCommandAndSendsWhatTheFieldHolds)
{
    const ZebDeviceModel& model = window->topology().model();
    auto& combo = dynamic_cast<QComboBox&>(control("cmbCommand"));
    std::vector<int> offered;
    for (int i = 0; i < combo.count(); ++i)
        offered.push_back(combo.itemData(i).toInt());
    EXPECT_EQ(offered, (std::vector<int>{0, 1, 59, 128, 129, 131}));
    // Choosing from the list prefills the request as the demo sends it; 128 reads a real object of the model.
    const struct {
        int command;
        std::string data;
    } prefilled[] = {{0, ""}, {1, ""}, {59, "05"}, {129, "80 00 00 03 00"}, {131, ""}};
    for (const auto& row : prefilled) {
        combo.setCurrentIndex(combo.findData(row.command));
        EXPECT_EQ(window->panel().dataText().toStdString(), row.data) << row.command;
    }
    combo.setCurrentIndex(combo.findData(128));
    const QStringList bytes = window->panel().dataText().split(' ');
    ASSERT_EQ(bytes.size(), 5);
    EXPECT_EQ(bytes[0].toInt(nullptr, 16) * 256 + bytes[1].toInt(nullptr, 16), model.demoObjectNo);
    EXPECT_EQ(bytes[2].toInt(nullptr, 16), model.demoSubNo);
    const ZebObject* object = model.find(model.demoObjectNo, model.demoSubNo);
    ASSERT_NE(object, nullptr) << "the prefilled telegram reads an object the model does not hold";

    ASSERT_TRUE(connectFromPanel());
    ASSERT_TRUE(sendFromPanel(128));
    const HartAnswer& answer = window->topology().child().answers().back();
    EXPECT_EQ(answer.responseCode, 0);
    // The answer telegram: object, sub-number, status, length, the object's data.
    ASSERT_GE(answer.data.size(), 5u + object->data.size());
    EXPECT_EQ(std::vector<std::uint8_t>(answer.data.begin() + 5, answer.data.begin() + 5 + static_cast<long>(object->data.size())),
              object->data);

    // What the user typed is sent: an odd number of digits is refused before it leaves the panel.
    const std::size_t sent = window->topology().child().answers().size();
    window->panel().chooseCommand(59);
    dynamic_cast<QLineEdit&>(control("txtData")).setText("0 5 3");
    EXPECT_FALSE(window->panel().send());
    EXPECT_TRUE(findControl(*window, "lblCommandHint").property("text").toString().contains("hexadecimal"));
    QTest::qWait(50);
    EXPECT_EQ(window->topology().child().answers().size(), sent);

    QTest::mouseClick(&control("btnDisconnect"), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !window->topology().child().connected(); }, 3000));
    EXPECT_FALSE(control("btnSend").isEnabled());
    EXPECT_EQ(window->panel().connectionText(), "Disconnected");
}

TEST_F(FrameWindowTest, ProjectSaveAndLoadRoundTrip)
{
    // The user changes the device type and the warm-start delay on the offline page.
    ASSERT_NE(window->openFunction("10"), nullptr);
    QWidget& offline = *window->pageOf("10");
    selectEntry(findControl(offline, "DevTypeCombo"), std::nullopt, std::string("VRA540"));
    typeKeys(findControl(offline, "WSDelayValue"), "0"); // "5" becomes "50"
    EXPECT_EQ(window->session().dtm().PersistentWarmstartDelay, 50);
    EXPECT_TRUE(window->windowTitle().contains('*')) << window->windowTitle().toStdString();

    const auto file = folder / "plant.json";
    window->saveProject(file);
    EXPECT_EQ(window->projectFile(), file);
    EXPECT_FALSE(window->windowTitle().contains('*'));
    EXPECT_TRUE(window->windowTitle().startsWith("plant.json"));
    const auto saved = nlohmann::json::parse(readText(file));
    EXPECT_EQ(saved["PersistentWarmstartDelay"], (nlohmann::json{{"type", "int16"}, {"value", 50}}));
    EXPECT_EQ(saved["PersistentDeviceTypeIndex"], (nlohmann::json{{"type", "int16"}, {"value", 2}}));
    EXPECT_EQ(saved["PersistentDeviceList"]["value"], "VRA520,VRA510,VRA540");
    EXPECT_EQ(saved["PersistentZEBProtocolFilter"], (nlohmann::json{{"type", "bool"}, {"value", true}}));
    EXPECT_EQ(saved["PersistentDeviceID"]["type"], "string");
    EXPECT_FALSE(std::filesystem::exists(file.string() + ".saving"));

    // A new project starts from the settings file again.
    window->newProject();
    EXPECT_EQ(window->session().dtm().PersistentWarmstartDelay, 5);
    EXPECT_EQ(window->session().dtm().PersistentDeviceTypeIndex, 0);
    EXPECT_TRUE(window->projectFile().empty());
    EXPECT_EQ(window->tabs().count(), 0) << "the pages of the old instance stayed open";

    window->loadProject(file);
    core::DTMMain& loaded = window->session().dtm();
    EXPECT_EQ(loaded.PersistentWarmstartDelay, 50);
    EXPECT_EQ(loaded.PersistentDeviceTypeIndex, 2);
    EXPECT_EQ(window->projectFile(), file);
    // The simulated device follows the project's device type.
    EXPECT_EQ(window->topology().model().deviceType, "VRA540");
    EXPECT_EQ(window->topologyTree().topLevelItem(0)->text(1), "VRA540 (simulated)");
    ASSERT_NE(window->openFunction("10"), nullptr);
    EXPECT_EQ(controlState(findControl(*window->pageOf("10"), "WSDelayValue"))["text"], "50");
    EXPECT_EQ(controlState(findControl(*window->pageOf("10"), "DevTypeCombo"))["text"], "VRA540");
    // Saved again unchanged, the file is the same.
    const std::string first = readText(file);
    window->saveProject(file);
    EXPECT_EQ(readText(file), first);
}

TEST_F(FrameWindowTest, UnusableProjectFilesChangeNothing)
{
    window->session().dtm().PersistentWarmstartDelay = 7;
    const core::DTMMain* running = &window->session().dtm();
    const struct {
        const char* name;
        const char* content;
    } files[] = {
        {"malformed.json", "{\"PersistentWarmstartDelay\": "},
        {"array.json", "[1, 2]"},
        {"bad-value.json", "{\"PersistentWarmstartDelay\": {\"type\": \"string\", \"value\": \"soon\"}}"},
    };
    for (const auto& bad : files) {
        SCOPED_TRACE(bad.name);
        std::ofstream(folder / bad.name) << bad.content;
        EXPECT_THROW(window->loadProject(folder / bad.name), fdt::Error);
        EXPECT_EQ(&window->session().dtm(), running);
        EXPECT_EQ(window->session().dtm().PersistentWarmstartDelay, 7);
    }
    EXPECT_THROW(window->loadProject(folder / "missing.json"), fdt::FileError);

    // A save that cannot be written leaves the previous file as it was.
    const auto file = folder / "kept.json";
    window->saveProject(file);
    const std::string before = readText(file);
    window->session().dtm().PersistentWarmstartDelay = 9;
    std::filesystem::create_directories(file.string() + ".saving"); // the temporary file cannot be made
    EXPECT_THROW(window->saveProject(file), fdt::FileError);
    EXPECT_EQ(readText(file), before);
    EXPECT_THROW(window->saveProject(folder / "no-such-folder" / "p.json"), fdt::FileError);
}

TEST_F(FrameWindowTest, ClosingTheWindowReleasesPagesAndTheGateway)
{
    ASSERT_NE(window->openFunction("30"), nullptr);
    ASSERT_NE(window->openFunction("10"), nullptr);
    ASSERT_TRUE(connectFromPanel());
    std::weak_ptr<core::DTMMain> dtm = window->session().dtmPtr();
    std::weak_ptr<fdt::Object> monitor = window->pageOf("30")->page();
    const std::string monitorInvokeId = window->invokeIdOf("30");
    const std::string offlineInvokeId = window->invokeIdOf("10");
    const auto& calls = window->frameCalls();
    const std::size_t before = calls.size();
    EXPECT_TRUE(window->close());
    std::vector<std::string> closed;
    for (std::size_t i = before; i < calls.size(); ++i) {
        if (calls[i]["op"] == "IDtmEvents::OnApplicationClosed")
            closed.push_back(calls[i]["args"]["invokeId"]);
    }
    EXPECT_EQ(closed, (std::vector<std::string>{offlineInvokeId, monitorInvokeId}));
    EXPECT_TRUE(monitor.expired());
    EXPECT_TRUE(dtm.expired()) << "the gateway outlived the window's release";
}

} // namespace
} // namespace zeb2hart::frame

#pragma once
// `zeb2hart ui`: a main window acting as the FDT frame of the demo topology.
// It shows the topology (the ZEB communication DTM, the gateway, the HART
// device DTM on its channel), opens the gateway's functions as the frame opens
// a DTM's user interfaces (GetFunctions, GetActiveXProgId, the class registry,
// IDtmActiveXControl::Init) in tabs and releases them when their tab closes,
// opens the communication monitor with every session, shows how to open a
// page while none is open, switches the gateway's language (and its own
// texts with it), drives the simulated child from a panel,
// and saves and loads the gateway's properties as a project file.

#include <QMainWindow>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "FrameTexts.h"
#include "peers/PeerDocuments.h"
#include "host/Session.h"
#include "host/Topology.h"
#include "transcript/Transcript.h"
#include "platform/EventLoop.h"
#include "ui/qt/PageHost.h"
#include "ui/qt/QtPageView.h"

class QAction;
class QCheckBox;
class QActionGroup;
class QDockWidget;
class QListWidget;
class QMenu;
class QStackedWidget;
class QTabWidget;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class QLabel;

namespace zeb2hart::frame {

class CountersPanel;
class HartPanel;

struct FrameWindowOptions {
    std::string device = "VRA520"; // the simulated device's model and the gateway's device type
    int language = 9;              // primary language number: 7 German, 9 English
    std::filesystem::path componentFolder; // empty: frameComponentFolder()
    // The event loop the gateway and the peers run on; nullptr: Qt's, through ui::QtEventLoop.
    std::shared_ptr<platform::EventLoop> loop;
    // Numbered GUIDs and a fixed clock (repeatable screenshots).
    bool deterministic = false;
};

class FrameWindow final : public QMainWindow {
public:
    // Sets up the topology; throws HostError or ModelError when it cannot.
    explicit FrameWindow(FrameWindowOptions options, QWidget* parent = nullptr);
    ~FrameWindow() override;
    FrameWindow(const FrameWindow&) = delete;
    FrameWindow& operator=(const FrameWindow&) = delete;

    // --- what the menus, the tree and the panel do --------------------------------------
    // The gateway's functions as IDtm::GetFunctions last listed them.
    const std::vector<DtmFunction>& functions() const { return m_functions; }
    // Opens the function's page in a tab, or shows its tab when it is open.
    // nullptr (and a line in the frame log) when the gateway names no page for
    // it, the page cannot be created or its Init fails.
    ui::PageHost* openFunction(const std::string& functionId);
    // The page of an open function and the invoke identifier it was opened
    // under; nullptr and "" when it is not open.
    ui::PageHost* pageOf(const std::string& functionId) const;
    std::string invokeIdOf(const std::string& functionId) const;
    // As the tab's close button: PrepareToRelease, then the tab goes. False when
    // no page of that function is open.
    bool closeFunction(const std::string& functionId);
    // IDtm::SetLanguage with 1031 (German) or 1033 (English); the functions, the
    // tab titles and the window's own texts follow.
    bool setLanguage(std::int32_t localeId);
    std::int32_t language() const { return m_localeId; }

    bool connectChild();
    bool disconnectChild();
    bool sendCommand(int number, const std::vector<std::uint8_t>& data);

    // A fresh gateway instance with new properties.
    void newProject();
    // The gateway's properties to a JSON property-bag file, replaced atomically:
    // a failed save leaves the previous file. Throws fdt::FileError.
    void saveProject(const std::filesystem::path& file);
    // A new gateway instance loaded from the file. A file that cannot be read
    // or holds unusable values throws fdt::Error and leaves everything as it was.
    void loadProject(const std::filesystem::path& file);
    const std::filesystem::path& projectFile() const { return m_projectFile; }

    // Runs the loop's work until `done` or `limit` has passed; answers done().
    bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit);

    // --- for the frame stand-in's own use and its tests ------------------------------------
    Session& session() { return *m_session; }
    SimulatedTopology& topology() { return *m_topology; }
    HartPanel& panel() { return *m_panel; }
    CountersPanel& counters() { return *m_counters; }
    QTabWidget& tabs() { return *m_tabs; }
    QTreeWidget& topologyTree() { return *m_tree; }
    QListWidget& frameLog() { return *m_log; }
    // The calls the gateway and its pages made on the frame's container and
    // event interface, as transcript events ({"op": "IDtmEvents::OnApplicationClosed", "args": ...}).
    const std::vector<Json>& frameCalls() const { return m_frameCalls; }

    // Asks for a project file (File > Open, Save as); nothing when the user cancels.
    std::function<std::optional<std::filesystem::path>(bool saving)> chooseProjectFile;
    // Asks whether unsaved changes may go (File > New, Open, closing the window).
    std::function<bool()> confirmDiscard;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct OpenPage {
        std::string functionId;
        std::string invokeId;
        ui::PageHost* host;
    };

    void buildWindow();
    void startSession(platform::PropertyBag* loaded, const std::string& device);
    void endSession();
    void closeAllPages();
    void closeTab(int index);
    void refreshFunctions();
    void refreshTopology();
    void refreshChild();
    void updateTitle();
    // The window's own texts in the language of m_localeId.
    void retranslate();
    QString textOf(FrameText id) const;
    void log(const QString& text);
    void frameEvent(const Json& event);
    // The counters panel in a dock tabbed with `below`; returns the dock.
    QDockWidget* addCountersPanel(QDockWidget* below);
    bool saveWithDialog(bool askForName);
    void openWithDialog();
    std::string functionName(const std::string& functionId) const;
    std::optional<std::size_t> pageIndex(const std::string& functionId) const;

    FrameWindowOptions m_options;
    std::shared_ptr<platform::EventLoop> m_loop;
    Transcript m_transcript;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<SimulatedTopology> m_topology;
    std::vector<DtmFunction> m_functions;
    std::vector<OpenPage> m_pages;
    std::vector<Json> m_frameCalls;
    std::filesystem::path m_projectFile;
    std::int32_t m_localeId;
    bool m_modified = false;

    QTreeWidget* m_tree = nullptr;
    QTreeWidgetItem* m_parentItem = nullptr;
    QTreeWidgetItem* m_gatewayItem = nullptr;
    QTreeWidgetItem* m_channelItem = nullptr;
    QTreeWidgetItem* m_childItem = nullptr;
    QStackedWidget* m_pageArea = nullptr;
    QLabel* m_pageHint = nullptr;
    QTabWidget* m_tabs = nullptr;
    HartPanel* m_panel = nullptr;
    CountersPanel* m_counters = nullptr;
    QListWidget* m_log = nullptr;
    QMenu* m_functionMenu = nullptr;
    std::vector<QAction*> m_functionActions;
    QToolBar* m_functionBar = nullptr;
    QActionGroup* m_languages = nullptr;
    QAction* m_english = nullptr;
    QAction* m_german = nullptr;
    QLabel* m_gatewayStatus = nullptr;
    QLabel* m_childStatus = nullptr;
    QCheckBox* m_wireTiming = nullptr; // the simulated parent's wire timing (docs/simulation.md)
    // The menus, actions and docks whose texts follow the language.
    std::vector<std::pair<QAction*, FrameText>> m_actionTexts;
    std::vector<std::pair<QDockWidget*, FrameText>> m_dockTexts;
};

} // namespace zeb2hart::frame

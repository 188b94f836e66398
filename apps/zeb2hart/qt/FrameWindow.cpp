#include "FrameWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>

#include "core/ComponentClasses.h"
#include "core/ComponentData.h"
#include "core/PersistentProperties.h"
#include "FrameTexts.h"
#include "host/ComponentHost.h"
#include "CountersPanel.h"
#include "HartPanel.h"
#include "peers/ZebDeviceModel.h"
#include "fdt/Errors.h"
#include "platform/ClassRegistry.h"
#include "platform/ManualEventLoop.h"
#include "platform/PropertyBag.h"
#include "support/Conversions.h"
#include "ui/qt/PageClasses.h"
#include "ui/qt/QtEventLoop.h"
#include "ui/qt/QtServices.h"
#include "xml/DocumentPaths.h"

namespace zeb2hart::frame {

namespace {

constexpr std::int32_t kGerman = kGermanLocale;
constexpr std::int32_t kEnglish = kEnglishLocale;
// The function whose page opens with every session: the communication monitor.
constexpr const char* kMonitorFunction = core::kFunctionMonitor;

QString text(const std::string& value)
{
    return QString::fromStdString(value);
}

// A transcript event's arguments in a line: documents are named, not shown.
QString argumentSummary(const Json& args)
{
    QStringList parts;
    if (!args.is_object())
        return {};
    for (const auto& [key, value] : args.items()) {
        QString shown;
        if (value.is_string()) {
            const std::string& s = value.get_ref<const std::string&>();
            shown = s.rfind("<?xml", 0) == 0 || s.rfind("<FDT", 0) == 0 ? QStringLiteral("<document>") : text(s);
        } else {
            shown = text(value.dump());
        }
        parts << QStringLiteral("%1=%2").arg(text(key), shown);
    }
    return parts.join(QStringLiteral(", "));
}

// The device type a property bag selects: the entry of its device list at its index.
std::optional<std::string> deviceTypeOf(platform::PropertyBag& bag)
{
    try {
        const fdt::Variant list = bag.read(std::string(core::key::PersistentDeviceList), fdt::Variant{});
        if (!list.is<std::string>())
            return std::nullopt;
        const int index = support::toInteger(bag.read(std::string(core::key::PersistentDeviceTypeIndex), std::int16_t{0}));
        return core::deviceAt(list.as<std::string>(), index);
    } catch (const fdt::Error&) {
        return std::nullopt;
    }
}

} // namespace

FrameWindow::FrameWindow(FrameWindowOptions options, QWidget* parent)
    : QMainWindow(parent), m_options(std::move(options)), m_localeId(0x400 + m_options.language)
{
    ui::registerPageClasses();
    m_loop = m_options.loop ? m_options.loop : std::make_shared<ui::QtEventLoop>();
    // A window stays open for hours: the transcript feeds the frame log and keeps nothing.
    m_transcript.setKeepEvents(false);
    m_transcript.setListener([this](const Json& event) { frameEvent(event); });
    chooseProjectFile = [this](bool saving) -> std::optional<std::filesystem::path> {
        const QString filter = textOf(FrameText::ProjectFilter);
        const QString start = m_projectFile.empty() ? QString() : text(m_projectFile.string());
        const QString file = saving ? QFileDialog::getSaveFileName(this, textOf(FrameText::SaveProjectTitle), start, filter)
                                    : QFileDialog::getOpenFileName(this, textOf(FrameText::OpenProjectTitle), start, filter);
        if (file.isEmpty())
            return std::nullopt;
        return std::filesystem::path(file.toStdString());
    };
    confirmDiscard = [this] {
        const auto answer =
            QMessageBox::question(this, textOf(FrameText::UnsavedTitle), textOf(FrameText::UnsavedText),
                                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
        if (answer == QMessageBox::Save)
            return saveWithDialog(false);
        return answer == QMessageBox::Discard;
    };
    buildWindow();
    startSession(nullptr, m_options.device);
}

FrameWindow::~FrameWindow()
{
    try {
        endSession();
    } catch (const std::exception&) {
        // Going anyway: what could not be released goes with the session.
    }
    m_transcript.setListener(nullptr);
}

void FrameWindow::buildWindow()
{
    setObjectName(QStringLiteral("frameWindow"));
    resize(1280, 800);

    // The topology: parent, gateway, its channel, the child on the channel.
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("topologyTree"));
    m_tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_parentItem = new QTreeWidgetItem(m_tree);
    m_parentItem->setIcon(0, style()->standardIcon(QStyle::SP_DriveNetIcon));
    m_gatewayItem = new QTreeWidgetItem(m_parentItem);
    m_channelItem = new QTreeWidgetItem(m_gatewayItem);
    m_channelItem->setIcon(0, style()->standardIcon(QStyle::SP_DirLinkIcon));
    m_childItem = new QTreeWidgetItem(m_channelItem);
    m_childItem->setIcon(0, style()->standardIcon(QStyle::SP_DriveHDIcon));
    m_tree->expandAll();
    auto* topologyDock = new QDockWidget(this);
    m_dockTexts.emplace_back(topologyDock, FrameText::DockTopology);
    topologyDock->setObjectName(QStringLiteral("topologyDock"));
    topologyDock->setWidget(m_tree);
    addDockWidget(Qt::LeftDockWidgetArea, topologyDock);

    // The page area: the open pages in tabs, or how to open one while none is open.
    m_pageArea = new QStackedWidget(this);
    m_pageArea->setObjectName(QStringLiteral("pageArea"));
    m_pageHint = new QLabel(m_pageArea);
    m_pageHint->setObjectName(QStringLiteral("pageHint"));
    m_pageHint->setAlignment(Qt::AlignCenter);
    m_pageHint->setWordWrap(true);
    m_pageHint->setMargin(48);
    m_pageHint->setForegroundRole(QPalette::PlaceholderText);
    m_tabs = new QTabWidget(m_pageArea);
    m_tabs->setObjectName(QStringLiteral("pageTabs"));
    m_tabs->setTabsClosable(true);
    m_tabs->setDocumentMode(true);
    m_pageArea->addWidget(m_pageHint);
    m_pageArea->addWidget(m_tabs);
    setCentralWidget(m_pageArea);
    connect(m_tabs, &QTabWidget::tabCloseRequested, this, [this](int index) { closeTab(index); });
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        m_pageArea->setCurrentWidget(index < 0 ? static_cast<QWidget*>(m_pageHint) : m_tabs);
    });

    m_panel = new HartPanel(this);
    m_panel->onConnect = [this] { return connectChild(); };
    m_panel->onDisconnect = [this] { return disconnectChild(); };
    m_panel->onSend = [this](int number, const std::vector<std::uint8_t>& data) { return sendCommand(number, data); };
    auto* panelDock = new QDockWidget(this);
    m_dockTexts.emplace_back(panelDock, FrameText::DockHartDevice);
    panelDock->setObjectName(QStringLiteral("hartDock"));
    panelDock->setWidget(m_panel);
    addDockWidget(Qt::LeftDockWidgetArea, panelDock);
    splitDockWidget(topologyDock, panelDock, Qt::Vertical);
    resizeDocks({topologyDock, panelDock}, {140, 520}, Qt::Vertical);
    resizeDocks({topologyDock}, {440}, Qt::Horizontal);

    m_log = new QListWidget(this);
    m_log->setObjectName(QStringLiteral("frameLog"));
    m_log->setUniformItemSizes(true);
    auto* logDock = new QDockWidget(this);
    m_dockTexts.emplace_back(logDock, FrameText::DockFrameLog);
    logDock->setObjectName(QStringLiteral("logDock"));
    logDock->setWidget(m_log);
    addDockWidget(Qt::BottomDockWidgetArea, logDock);
    resizeDocks({logDock}, {110}, Qt::Vertical);
    QDockWidget* countersDock = addCountersPanel(panelDock);

    // Menus; their texts are set by retranslate().
    const auto named = [this](QAction* action, FrameText id) {
        m_actionTexts.emplace_back(action, id);
        return action;
    };
    QMenu* file = menuBar()->addMenu(QString());
    named(file->menuAction(), FrameText::MenuFile);
    named(file->addAction(QString(), QKeySequence::New, this,
                          [this] {
                              if (!m_modified || confirmDiscard())
                                  newProject();
                          }),
          FrameText::MenuNewProject);
    named(file->addAction(QString(), QKeySequence::Open, this, [this] { openWithDialog(); }),
          FrameText::MenuOpenProject);
    named(file->addAction(QString(), QKeySequence::Save, this, [this] { saveWithDialog(false); }),
          FrameText::MenuSaveProject);
    named(file->addAction(QString(), QKeySequence::SaveAs, this, [this] { saveWithDialog(true); }),
          FrameText::MenuSaveProjectAs);
    file->addSeparator();
    named(file->addAction(QString(), QKeySequence::Quit, this, [this] { close(); }), FrameText::MenuQuit);

    m_functionMenu = menuBar()->addMenu(QString());
    named(m_functionMenu->menuAction(), FrameText::MenuGateway);
    m_functionBar = addToolBar(QString());
    m_functionBar->setObjectName(QStringLiteral("functionBar"));
    m_functionBar->setToolButtonStyle(Qt::ToolButtonTextOnly);

    QMenu* device = menuBar()->addMenu(QString());
    named(device->menuAction(), FrameText::MenuHartDevice);
    named(device->addAction(QString(), this, [this] { connectChild(); }), FrameText::MenuConnect);
    named(device->addAction(QString(), this, [this] { disconnectChild(); }), FrameText::MenuDisconnect);

    QMenu* languages = menuBar()->addMenu(QString());
    named(languages->menuAction(), FrameText::MenuLanguage);
    m_languages = new QActionGroup(this);
    // Each language in its own name.
    m_english = languages->addAction(QStringLiteral("English (1033)"), this, [this] { setLanguage(kEnglish); });
    m_german = languages->addAction(QStringLiteral("Deutsch (1031)"), this, [this] { setLanguage(kGerman); });
    m_english->setObjectName(QStringLiteral("language1033"));
    m_german->setObjectName(QStringLiteral("language1031"));
    for (QAction* action : {m_english, m_german}) {
        action->setCheckable(true);
        m_languages->addAction(action);
    }

    QMenu* view = menuBar()->addMenu(QString());
    named(view->menuAction(), FrameText::MenuView);
    for (QDockWidget* dock : {topologyDock, panelDock, logDock, countersDock})
        view->addAction(dock->toggleViewAction());

    QMenu* help = menuBar()->addMenu(QString());
    named(help->menuAction(), FrameText::MenuHelp);
    named(help->addAction(QString(), this,
                          [this] { QMessageBox::about(this, textOf(FrameText::AboutTitle), textOf(FrameText::AboutText)); }),
          FrameText::MenuAbout);

    connect(m_tree, &QTreeWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QTreeWidgetItem* item = m_tree->itemAt(at);
        QMenu menu;
        if (item == m_gatewayItem) {
            for (QAction* action : m_functionMenu->actions())
                menu.addAction(action);
        } else if (item == m_childItem) {
            menu.addAction(textOf(FrameText::ButtonConnect), this, [this] { connectChild(); });
            menu.addAction(textOf(FrameText::ButtonDisconnect), this, [this] { disconnectChild(); });
        }
        if (!menu.isEmpty())
            menu.exec(m_tree->viewport()->mapToGlobal(at));
    });

    m_gatewayStatus = new QLabel(this);
    m_gatewayStatus->setObjectName(QStringLiteral("gatewayStatus"));
    m_childStatus = new QLabel(this);
    m_childStatus->setObjectName(QStringLiteral("childStatus"));
    for (QLabel* label : {m_gatewayStatus, m_childStatus}) {
        label->setContentsMargins(8, 0, 8, 0);
        label->setFrameShape(QFrame::StyledPanel);
        statusBar()->addPermanentWidget(label);
    }
    // Off by default: the simulated parent answers at once; on, after each request's field time.
    m_wireTiming = new QCheckBox(this);
    m_wireTiming->setObjectName(QStringLiteral("wireTiming"));
    connect(m_wireTiming, &QCheckBox::toggled, this, [this](bool on) {
        if (m_session && m_session->simulatedParent())
            m_session->simulatedParent()->setWireTiming(on);
    });
    statusBar()->addPermanentWidget(m_wireTiming);
    retranslate();
}

QString FrameWindow::textOf(FrameText id) const
{
    return frameText(id, m_localeId);
}

void FrameWindow::retranslate()
{
    for (const auto& [action, id] : m_actionTexts)
        action->setText(textOf(id));
    for (const auto& [dock, id] : m_dockTexts)
        dock->setWindowTitle(textOf(id));
    m_functionBar->setWindowTitle(textOf(FrameText::ToolBarFunctions));
    m_tree->setHeaderLabels({textOf(FrameText::ColumnObject), textOf(FrameText::ColumnState)});
    m_pageHint->setText(textOf(FrameText::PageAreaHint));
    m_wireTiming->setText(textOf(FrameText::WireTiming));
    m_wireTiming->setToolTip(textOf(FrameText::WireTimingTip));
    m_panel->setLanguage(m_localeId);
    m_counters->setLanguage(m_localeId);
    m_english->setChecked(m_localeId == kEnglish);
    m_german->setChecked(m_localeId == kGerman);
    refreshTopology();
    refreshChild();
    updateTitle();
}

// --- the session ---------------------------------------------------------------------

void FrameWindow::startSession(platform::PropertyBag* loaded, const std::string& device)
{
    ZebDeviceModel model = ZebDeviceModel::load(deviceModelFile(device));
    SessionOptions sessionOptions;
    sessionOptions.componentFolder = m_options.componentFolder;
    sessionOptions.frameSchemaFolder = frameSchemaFolder();
    sessionOptions.deterministic = m_options.deterministic;
    sessionOptions.loop = m_loop;
    sessionOptions.dialogs = ui::qtDialogServices();
    m_session = std::make_unique<Session>(m_transcript, sessionOptions);

    TopologyOptions topologyOptions;
    topologyOptions.device = device;
    topologyOptions.language = m_localeId - 0x400;
    m_topology = std::make_unique<SimulatedTopology>(*m_session, model, topologyOptions);
    m_session->simulatedParent()->setWireTiming(m_wireTiming->isChecked());
    m_topology->onStage([this](const std::string& stage) { log(QStringLiteral("Frame: ") + text(stage)); });
    m_topology->onProblem([this](const std::string& problem) { log(QStringLiteral("Problem: ") + text(problem)); });
    // The monitor opens as soon as the gateway has its frame, so that it shows the traffic from the
    // first call after that on.
    m_topology->setUp(loaded, [this] {
        refreshFunctions();
        openFunction(kMonitorFunction);
    });
    m_topology->child().setObserver([this] { refreshChild(); });

    m_panel->setModel(model);
    m_panel->showChild(&m_topology->child());
    refreshFunctions();
    m_modified = false;
    retranslate();
}

void FrameWindow::endSession()
{
    if (!m_session)
        return;
    closeAllPages();
    if (m_topology && m_topology->isSetUp()) {
        HartDeviceDtm& child = m_topology->child();
        child.setObserver(nullptr);
        if (child.connected() && child.disconnect())
            waitFor([&child] { return !child.connected(); }, std::chrono::seconds(2));
        m_topology->release();
    }
    m_panel->showChild(nullptr);
    m_topology.reset();
    m_session.reset();
    m_functions.clear();
}

void FrameWindow::newProject()
{
    endSession();
    m_projectFile.clear();
    startSession(nullptr, m_options.device);
    log(QStringLiteral("New project"));
}

void FrameWindow::saveProject(const std::filesystem::path& file)
{
    platform::JsonFilePropertyBag bag(file);
    m_session->dtm().SaveProperties(bag);
    bag.save();
    m_projectFile = file;
    m_modified = false;
    updateTitle();
    log(QStringLiteral("Project saved to %1").arg(text(file.string())));
}

void FrameWindow::loadProject(const std::filesystem::path& file)
{
    platform::JsonFilePropertyBag bag(file);
    bag.load();
    // Values the gateway cannot take are found on a scratch instance, before
    // the running one is given up.
    core::DTMMain::create(m_session->componentFolder())->LoadProperties(bag);
    const std::string device = deviceTypeOf(bag).value_or(m_topology->model().deviceType);
    std::error_code missing;
    const bool modelExists = std::filesystem::exists(deviceModelFile(device), missing);
    endSession();
    startSession(&bag, modelExists ? device : m_options.device);
    m_projectFile = file;
    updateTitle();
    log(QStringLiteral("Project loaded from %1").arg(text(file.string())));
}

bool FrameWindow::saveWithDialog(bool askForName)
{
    std::optional<std::filesystem::path> file = m_projectFile;
    if (askForName || m_projectFile.empty())
        file = chooseProjectFile(true);
    if (!file || file->empty())
        return false;
    if (!file->has_extension())
        *file += ".json";
    try {
        saveProject(*file);
        return true;
    } catch (const std::exception& error) {
        log(QStringLiteral("Problem: the project was not saved: ") + text(error.what()));
        QMessageBox::critical(this, textOf(FrameText::SaveProjectTitle),
                              textOf(FrameText::SaveFailed) + QStringLiteral("\n\n") + text(error.what()));
        return false;
    }
}

void FrameWindow::openWithDialog()
{
    if (m_modified && !confirmDiscard())
        return;
    const std::optional<std::filesystem::path> file = chooseProjectFile(false);
    if (!file)
        return;
    try {
        loadProject(*file);
    } catch (const std::exception& error) {
        log(QStringLiteral("Problem: the project was not loaded: ") + text(error.what()));
        QMessageBox::critical(this, textOf(FrameText::OpenProjectTitle),
                              textOf(FrameText::LoadFailed) + QStringLiteral("\n\n") + text(error.what()));
    }
}

void FrameWindow::closeEvent(QCloseEvent* event)
{
    if (m_modified && !confirmDiscard()) {
        event->ignore();
        return;
    }
    endSession();
    event->accept();
}

// --- functions and pages ------------------------------------------------------------------

void FrameWindow::refreshFunctions()
{
    m_functions.clear();
    if (m_session) {
        if (const auto dtm = fdt::query<fdt::IDtm>(m_session->dtmPtr()))
            m_functions = m_session->documents().functions(dtm->GetFunctions(""));
    }
    // The menu and the tool bar share the actions: neither deletes them on clear().
    m_functionMenu->clear();
    m_functionBar->clear();
    qDeleteAll(m_functionActions);
    m_functionActions.clear();
    for (const DtmFunction& function : m_functions) {
        auto* action = new QAction(text(functionName(function.id)), this);
        m_functionActions.push_back(action);
        action->setObjectName(text("function" + function.id));
        const std::string id = function.id;
        connect(action, &QAction::triggered, this, [this, id] { openFunction(id); });
        m_functionMenu->addAction(action);
        m_functionBar->addAction(action);
    }
    for (const OpenPage& page : m_pages)
        m_tabs->setTabText(m_tabs->indexOf(page.host), text(functionName(page.functionId)));
}

std::string FrameWindow::functionName(const std::string& functionId) const
{
    for (const DtmFunction& function : m_functions) {
        if (function.id == functionId && !function.name.empty())
            return function.name;
    }
    return textOf(FrameText::FunctionFallback).arg(text(functionId)).toStdString();
}

std::optional<std::size_t> FrameWindow::pageIndex(const std::string& functionId) const
{
    for (std::size_t i = 0; i < m_pages.size(); ++i) {
        if (m_pages[i].functionId == functionId)
            return i;
    }
    return std::nullopt;
}

ui::PageHost* FrameWindow::pageOf(const std::string& functionId) const
{
    const auto index = pageIndex(functionId);
    return index ? m_pages[*index].host : nullptr;
}

std::string FrameWindow::invokeIdOf(const std::string& functionId) const
{
    const auto index = pageIndex(functionId);
    return index ? m_pages[*index].invokeId : std::string();
}

ui::PageHost* FrameWindow::openFunction(const std::string& functionId)
{
    if (ui::PageHost* open = pageOf(functionId)) {
        m_tabs->setCurrentWidget(open);
        return open;
    }
    if (!m_session)
        return nullptr;
    const std::string functionCall = m_session->documents().functionCall(functionId);
    const auto information = fdt::query<fdt::IDtmActiveXInformation>(m_session->dtmPtr());
    const std::string progId = information ? information->GetActiveXProgId(functionCall) : std::string();
    if (progId.empty()) {
        log(QStringLiteral("Problem: the gateway names no page for function %1").arg(text(functionId)));
        return nullptr;
    }
    auto& registry = platform::ClassRegistry::instance();
    const auto clsid = registry.clsidOf(progId);
    const fdt::ObjectPtr object = clsid ? registry.create(*clsid) : nullptr;
    const auto control = fdt::query<fdt::IDtmActiveXControl>(object);
    if (!control || !ui::pageWidget(object)) {
        log(QStringLiteral("Problem: the page %1 could not be created").arg(text(progId)));
        return nullptr;
    }
    auto* host = new ui::PageHost(object);
    host->setObjectName(text("page" + functionId));
    const std::string invokeId = support::NewGuidString(false);
    // Shown first, so that the page lays itself out at the size it gets.
    const int index = m_tabs->addTab(host, text(functionName(functionId)));
    m_tabs->setCurrentIndex(index);
    if (!control->Init(invokeId, functionCall, m_session->dtmPtr())) {
        m_tabs->removeTab(m_tabs->indexOf(host));
        delete host;
        log(QStringLiteral("Problem: %1 refused IDtmActiveXControl::Init").arg(text(progId)));
        return nullptr;
    }
    m_pages.push_back({functionId, invokeId, host});
    m_tabs->setTabToolTip(index, text(progId + ", invoke identifier " + invokeId));
    log(QStringLiteral("Frame: opened %1 (%2), invoke identifier %3")
            .arg(text(functionName(functionId)), text(progId), text(invokeId)));
    return host;
}

bool FrameWindow::closeFunction(const std::string& functionId)
{
    ui::PageHost* host = pageOf(functionId);
    if (!host)
        return false;
    closeTab(m_tabs->indexOf(host));
    return true;
}

void FrameWindow::closeTab(int index)
{
    QWidget* widget = m_tabs->widget(index);
    for (auto it = m_pages.begin(); it != m_pages.end(); ++it) {
        if (it->host != widget)
            continue;
        const OpenPage page = *it;
        // Out of the list first: the page tells the frame it has closed while it releases.
        m_pages.erase(it);
        const auto control = fdt::query<fdt::IDtmActiveXControl>(page.host->page());
        if (!control || !control->PrepareToRelease())
            log(QStringLiteral("Problem: the page of function %1 refused IDtmActiveXControl::PrepareToRelease")
                    .arg(text(page.functionId)));
        m_tabs->removeTab(m_tabs->indexOf(page.host));
        delete page.host;
        return;
    }
    m_tabs->removeTab(index);
}

void FrameWindow::closeAllPages()
{
    while (!m_pages.empty())
        closeTab(m_tabs->indexOf(m_pages.back().host));
}

bool FrameWindow::setLanguage(std::int32_t localeId)
{
    const auto dtm = m_session ? fdt::query<fdt::IDtm>(m_session->dtmPtr()) : nullptr;
    const bool accepted = dtm && dtm->SetLanguage(localeId);
    if (accepted)
        m_localeId = localeId;
    else
        log(QStringLiteral("Problem: IDtm::SetLanguage(%1) returned false").arg(localeId));
    refreshFunctions();
    retranslate();
    return accepted;
}

// --- the child ----------------------------------------------------------------------------

bool FrameWindow::connectChild()
{
    const bool accepted = m_topology && m_topology->child().connect();
    if (!accepted)
        log(QStringLiteral("Problem: the gateway refused the connect request"));
    refreshChild();
    return accepted;
}

bool FrameWindow::disconnectChild()
{
    const bool accepted = m_topology && m_topology->child().disconnect();
    if (!accepted)
        log(QStringLiteral("Problem: the gateway refused the disconnect request"));
    refreshChild();
    return accepted;
}

bool FrameWindow::sendCommand(int number, const std::vector<std::uint8_t>& data)
{
    const bool accepted = m_topology && m_topology->child().sendCommand(number, data);
    if (!accepted)
        log(QStringLiteral("Problem: the gateway refused HART command %1").arg(number));
    refreshChild();
    return accepted;
}

bool FrameWindow::waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    QElapsedTimer clock;
    clock.start();
    auto* manual = dynamic_cast<platform::ManualEventLoop*>(m_loop.get());
    while (!done()) {
        if (manual && manual->runPending() > 0)
            continue;
        if (clock.elapsed() >= limit.count())
            return done();
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
    }
    return true;
}

// --- what the window shows ------------------------------------------------------------------

void FrameWindow::refreshTopology()
{
    if (!m_topology)
        return;
    const ZebDeviceModel& model = m_topology->model();
    m_parentItem->setText(0, textOf(FrameText::ParentName));
    m_parentItem->setText(1, textOf(FrameText::ParentSimulated).arg(text(model.deviceType)));
    m_parentItem->setToolTip(1, textOf(FrameText::ParentTip).arg(text(model.deviceType), text(model.description)));
    QString deviceType;
    QString state = textOf(FrameText::StateUnknown);
    if (m_session && m_session->dtmPtr()) {
        core::DTMMain& dtm = m_session->dtm();
        deviceType = text(core::deviceAt(dtm.PersistentDeviceList, dtm.PersistentDeviceTypeIndex).value_or(""));
        try {
            const std::int32_t status = support::toLong(dtm.CommStatus());
            state = textOf(status == 0 ? FrameText::StateConnected
                                       : (status == 2 ? FrameText::StateConnectionError : FrameText::StateDisconnected));
        } catch (const fdt::Error&) {
            // A status that is no number (a page may set any value) is shown as unknown.
        }
    }
    m_gatewayItem->setText(0, text(kGatewayTag));
    m_gatewayItem->setText(1, QStringLiteral("%1, %2").arg(deviceType, state));
    m_gatewayItem->setToolTip(0, textOf(FrameText::GatewayTip));
    m_gatewayItem->setToolTip(1, textOf(FrameText::GatewayStateTip).arg(deviceType, state));
    const QString icon = text((m_session ? m_session->componentFolder() : std::filesystem::path()).string()) +
                         QStringLiteral("/Resources/device.gif");
    m_gatewayItem->setIcon(0, QIcon(icon));
    m_channelItem->setText(0, QStringLiteral("HARTChannel1"));
    m_channelItem->setText(1, QStringLiteral("HART"));
    m_channelItem->setToolTip(0, textOf(FrameText::ChannelTip));
    m_gatewayStatus->setText(textOf(FrameText::GatewayStatus).arg(text(kGatewayTag), state));
}

void FrameWindow::refreshChild()
{
    if (!m_topology || !m_topology->isSetUp())
        return;
    const HartDeviceDtm& child = m_topology->child();
    const QString state = textOf(child.connected() ? FrameText::StateConnected : FrameText::StateDisconnected);
    m_childItem->setText(0, text(child.tag()));
    m_childItem->setText(1, textOf(FrameText::ChildState).arg(child.shortAddress()).arg(state));
    m_childItem->setToolTip(0, textOf(FrameText::ChildTip));
    m_childItem->setToolTip(1, child.connected()
                                   ? textOf(FrameText::ConnectedReference).arg(text(child.communicationReference()))
                                   : state);
    m_childStatus->setText(textOf(FrameText::ChildStatus).arg(text(child.tag()), state));
    m_panel->showChild(&child);
    refreshTopology();
}

void FrameWindow::updateTitle()
{
    const QString project = m_projectFile.empty() ? textOf(FrameText::UnsavedProject) : text(m_projectFile.filename().string());
    setWindowTitle(textOf(FrameText::WindowTitle).arg(project, m_modified ? QStringLiteral(" *") : QString()));
}

void FrameWindow::log(const QString& line)
{
    m_log->addItem(line);
    // The log keeps the last lines only.
    while (m_log->count() > 2000)
        delete m_log->takeItem(0);
    m_log->scrollToBottom();
}

QDockWidget* FrameWindow::addCountersPanel(QDockWidget* below)
{
    m_counters = new CountersPanel(this);
    m_counters->source = [this] {
        try {
            return m_session ? m_session->hosted().counters() : std::string();
        } catch (const fdt::Error&) {
            return std::string(); // released with its session
        }
    };
    auto* dock = new QDockWidget(this);
    m_dockTexts.emplace_back(dock, FrameText::DockCounters);
    dock->setObjectName(QStringLiteral("countersDock"));
    dock->setWidget(m_counters);
    addDockWidget(Qt::LeftDockWidgetArea, dock);
    tabifyDockWidget(below, dock);
    below->raise();
    return dock;
}

void FrameWindow::frameEvent(const Json& event)
{
    const std::string kind = event.value("ev", "");
    if (m_counters && (kind == "call" || kind == "out"))
        m_counters->trafficSeen();
    if (kind == "changed") {
        if (!m_modified) {
            m_modified = true;
            updateTitle();
        }
        return;
    }
    if (kind != "out" || event.value("to", "") != "frame")
        return;
    m_frameCalls.push_back(event);
    const std::string op = event.value("op", "");
    const Json args = event.contains("args") ? event["args"] : Json::object();
    QString shown = argumentSummary(args);
    if (op == "IDtmEvents::OnParameterChanged" && m_session && args.contains("parameter")) {
        const std::string document = args["parameter"].get<std::string>();
        const auto name = m_session->documents().attribute(document, xml::paths::kChangedParameter, "ParamName");
        const auto value = m_session->documents().attribute(document, xml::paths::kChangedParameter, "NewValue");
        if (name)
            shown = QStringLiteral("%1 = %2").arg(text(*name), text(value.value_or("")));
        refreshTopology();
    }
    log(QStringLiteral("→ frame %1(%2)").arg(text(op), shown));
    if (op == "IDtmEvents::OnApplicationClosed") {
        // A page that closed by itself: its tab goes once the page's call is over.
        const std::string invokeId = args.value("invokeId", "");
        QMetaObject::invokeMethod(
            this,
            [this, invokeId] {
                for (auto it = m_pages.begin(); it != m_pages.end(); ++it) {
                    if (it->invokeId == invokeId) {
                        ui::PageHost* host = it->host;
                        m_pages.erase(it);
                        m_tabs->removeTab(m_tabs->indexOf(host));
                        delete host;
                        return;
                    }
                }
            },
            Qt::QueuedConnection);
    }
}

} // namespace zeb2hart::frame

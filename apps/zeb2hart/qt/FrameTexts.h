#pragma once
// The frame window's own texts (menus, tool bar, docks, the topology, the HART
// device panel, the counters panel, the page area, the status bar and the window's dialogs) in
// English and German, in one table; the window shows them in the gateway's
// language. The frame log and the decoded answers keep the engineer's English,
// as the monitor's lines do. Called on the GUI thread.

#include <QString>

#include <cstdint>

namespace zeb2hart::frame {

enum class FrameText {
    // menus and tool bar
    MenuFile, MenuNewProject, MenuOpenProject, MenuSaveProject, MenuSaveProjectAs, MenuQuit, MenuGateway,
    ToolBarFunctions, MenuHartDevice, MenuConnect, MenuDisconnect, MenuLanguage, MenuView, MenuHelp, MenuAbout,
    AboutTitle, AboutText,
    // project dialogs
    ProjectFilter, SaveProjectTitle, OpenProjectTitle, UnsavedTitle, UnsavedText, SaveFailed, LoadFailed,
    // docks, topology and status bar
    DockTopology, DockHartDevice, DockFrameLog, ColumnObject, ColumnState, ParentName, ParentSimulated,
    ParentTip, StateUnknown, StateConnected, StateConnectionError, StateDisconnected, GatewayTip, GatewayStateTip,
    ChannelTip, ChildState, ChildTip, ConnectedReference, GatewayStatus, ChildStatus, UnsavedProject,
    WindowTitle, FunctionFallback, PageAreaHint,
    // the HART device panel
    GroupConnection, ButtonConnect, ButtonDisconnect, GroupCommand, LabelCommand, LabelData, NoDataBytes,
    ButtonSend, GroupAnswers, Command0, Command1, Command59, Command128, Command129, Command131, Hint0, Hint1,
    Hint59, Hint128, Hint129, Hint131, DataNotHex, ChildAttached, NoChild, Aborted, Disconnected, Refused,
    CommunicationError, NoData, AnswerData, WaitingForAnswer, AnswerRow, InvokeIdTip, IdentityRead,
    IdentityNotRead,
    // the status bar's switch of the simulated parent's wire timing
    WireTiming, WireTimingTip,
    // the gateway's counters
    DockCounters, CountersCommand, CountersRequests, CountersAnswers, CountersErrors, CountersLatency,
    CountersNoConnection, CountersConnection, CountersOpen, CountersClosed, CountersTotals, CountersNone,
    Count
};

constexpr std::int32_t kGermanLocale = 1031;
constexpr std::int32_t kEnglishLocale = 1033;

// The text in German for 1031 and in English for any other locale.
QString frameText(FrameText id, std::int32_t localeId);

} // namespace zeb2hart::frame

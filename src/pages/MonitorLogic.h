#pragma once
// The rules of the communication monitor page that need no window: its trace
// records, the filter check boxes applied to the DTM, and the saved log file.
// Called by ctlMonitor on the thread of the DTM that opened it.

#include <string>
#include <string_view>

#include "pages/PageServices.h"

namespace zeb2hart::pages {

// The filter of the monitor's save dialog.
constexpr const char* kLogFileFilter = "Logdatei (*.LOG)|*.LOG";

// Click codes of the monitor's filter check boxes. They are the page's own and
// differ from the monitor's filter codes (0 ZEB, 1 HART, 2 FDT).
namespace click {
constexpr int FDTInterface = 0;
constexpr int ZEBProtocols = 1;
constexpr int HARTProtocols = 2;
} // namespace click

// One trace record of the monitor page: "ctlMonitor-<operation>", message.
void monitorTrace(std::string_view operation, const std::string& message);

// Applies a filter check box to its DTM property: sets the property and
// reports it as changed when the state differs; nothing without a DTM or for
// an unknown click code. Errors end it silently.
void CheckFilter(PageServices* dtm, int clickCode, bool checked);

// The key of the persisted property that a click code governs; "" for an unknown code.
std::string_view filterPropertyName(int clickCode);

// The saved log: the view's plain text with every line break written as CR LF,
// followed by CR LF.
std::string logFileText(std::string_view viewText);

// Creates or truncates the file named by the UTF-8 text (as the file dialog
// answers it) and writes the content; false on any error, a name that is no
// path (one with a NUL) among them.
bool writeLogFile(const std::string& fileName, const std::string& content);

} // namespace zeb2hart::pages

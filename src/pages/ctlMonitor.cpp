#include "pages/ctlMonitor.h"

#include "core/PersistentProperties.h"
#include "pages/MonitorLogic.h"
#include "platform/Services.h"

namespace zeb2hart::pages {

namespace {

// The click code, trace name and property of each filter check box.
struct FilterBox {
    int row;
    int clickCode;
    const char* handler;
};
constexpr FilterBox kFilterBoxes[] = {
    {monitor::chkFDTInterface, click::FDTInterface, "chkFDTInterface_Click"},
    {monitor::chkZEBProtocols, click::ZEBProtocols, "chkZEBProtocols_Click"},
    {monitor::chkHARTProtocols, click::HARTProtocols, "chkHARTProtocols_Click"},
};

} // namespace

ctlMonitor::ctlMonitor(std::unique_ptr<PageView> view) : Page(std::move(view))
{
    InitScreen();
}

ctlMonitor::~ctlMonitor()
{
    monitorTrace("UserControl_Terminate", "entry");
    close();
    monitorTrace("UserControl_Terminate", "exit");
}

bool ctlMonitor::Init(const std::string& invokeId, const std::string&, const fdt::ObjectPtr& dtm)
{
    monitorTrace("IDtmActiveXControl_Init", "entry");
    const bool opened = open(invokeId, dtm);
    if (opened) {
        services()->registerPage(PageKind::Monitor, self());
        InitScreen();
        // A box set here reports its state as a click would.
        for (const FilterBox& box : kFilterBoxes)
            setFilterBox(box.row, services()->property(filterPropertyName(box.clickCode)).as<bool>());
        UpdateLanguage();
    }
    monitorTrace("IDtmActiveXControl_Init", opened ? "ReturnValue = TRUE" : "ReturnValue = FALSE");
    monitorTrace("IDtmActiveXControl_Init", "exit");
    return opened;
}

void ctlMonitor::setFilterBox(int row, bool checked)
{
    if (view().checked(row) == checked)
        return;
    view().setChecked(row, checked);
    clicked(row);
}

bool ctlMonitor::PrepareToRelease()
{
    monitorTrace("IDtmActiveXControl_PrepareToRelease", "entry");
    const bool released = release();
    monitorTrace("IDtmActiveXControl_PrepareToRelease", released ? "returnValue = TRUE" : "returnValue = FALSE");
    monitorTrace("IDtmActiveXControl_PrepareToRelease", "exit");
    return released;
}

void ctlMonitor::UpdateLanguage()
{
    monitorTrace("IActiveXGUI_UpdateLanguage", "entry");
    if (PageServices* dtm = services())
        dtm->translate(std::string(view().table().controlName) + "_", controlList());
    monitorTrace("IActiveXGUI_UpdateLanguage", "exit");
}

void ctlMonitor::MessageLine(const std::string& textLine, std::int32_t color)
{
    monitorTrace("MessageLine", "entry");
    // The view puts the line at the end whatever the user has selected.
    view().appendLine(monitor::RichTextBoxComm, textLine, static_cast<std::uint32_t>(color));
    monitorTrace("MessageLine", "exit");
}

std::string ctlMonitor::viewText() const
{
    return view().linesText(monitor::RichTextBoxComm);
}

void ctlMonitor::resized()
{
    monitorTrace("UserControl_Resize", "entry");
    InitScreen();
    monitorTrace("UserControl_Resize", "exit");
}

void ctlMonitor::InitScreen()
{
    monitorTrace("InitScreen", "entry");
    layOut();
    monitorTrace("InitScreen", "exit");
}

void ctlMonitor::clicked(int row)
{
    for (const FilterBox& box : kFilterBoxes) {
        if (box.row == row) {
            monitorTrace(box.handler, "entry");
            CheckFilter(services(), box.clickCode, view().checked(row));
            monitorTrace(box.handler, "exit");
            return;
        }
    }
    if (row == monitor::btnClear) {
        monitorTrace("btnClear_Click", "entry");
        view().clearLines(monitor::RichTextBoxComm);
        monitorTrace("btnClear_Click", "exit");
    } else if (row == monitor::btnSave) {
        btnSave_Click();
    } else {
        Page::clicked(row);
    }
}

void ctlMonitor::btnSave_Click()
{
    monitorTrace("btnSave_Click", "entry");
    const auto& dialog = platform::services().fileDialog;
    if (!dialog)
        return;
    // Prompt before overwriting, no read-only box.
    const std::optional<std::string> fileName = dialog->askSaveFileName(kLogFileFilter, true);
    if (!fileName || fileName->empty())
        return;
    if (!writeLogFile(*fileName, logFileText(viewText())))
        return;
    monitorTrace("btnSave_Click", "exit");
}

} // namespace zeb2hart::pages

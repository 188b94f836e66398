#include "ui/qt/ctlMonitor.h"

#include <exception>

#include "platform/Services.h"
#include "support/Conversions.h"
#include "pages/MonitorLogic.h"
#include "pages/PageLayout.h"
#include "ui/qt/PageStyle.h"

namespace zeb2hart::ui {
using namespace zeb2hart::pages;

ctlMonitor::ctlMonitor() : PageWidget("ctlMonitor")
{
    m_parameterFreeArea = addPanel("ParameterFreeArea", this, support::kPanelLightBlue);
    m_monitorBack = addPanel("MonitorBack", m_parameterFreeArea, kWhite);
    m_richTextBoxComm = addControl<MonitorView>("RichTextBoxComm", m_monitorBack);
    m_monitorSettings = addPanel("MonitorSettings", m_parameterFreeArea, kWhite);
    m_chkFDTInterface = addControl<QCheckBox>("chkFDTInterface", m_monitorSettings);
    m_chkZEBProtocols = addControl<QCheckBox>("chkZEBProtocols", m_monitorSettings);
    m_chkHARTProtocols = addControl<QCheckBox>("chkHARTProtocols", m_monitorSettings);
    m_btnClear = addControl<QPushButton>("btnClear", m_monitorSettings);
    m_btnSave = addControl<QPushButton>("btnSave", m_monitorSettings);

    m_richTextBoxComm->setFont(monitorFont());

    m_chkFDTInterface->setText(QStringLiteral("FDT-Interface"));
    m_chkZEBProtocols->setText(QStringLiteral("ZEB-Protocols"));
    m_chkHARTProtocols->setText(QStringLiteral("HART-Protocols"));
    m_btnClear->setText(QStringLiteral("Clear"));
    m_btnSave->setText(QStringLiteral("Save"));
    for (QCheckBox* box : {m_chkFDTInterface, m_chkZEBProtocols, m_chkHARTProtocols}) {
        box->setFont(pageFont());
        setBackground(*box, kWhite);
    }

    // A check box's state changes the same way whether the user or Init sets it.
    connect(m_chkFDTInterface, &QCheckBox::toggled, this, [this] { chkFDTInterface_Click(); });
    connect(m_chkZEBProtocols, &QCheckBox::toggled, this, [this] { chkZEBProtocols_Click(); });
    connect(m_chkHARTProtocols, &QCheckBox::toggled, this, [this] { chkHARTProtocols_Click(); });
    connect(m_btnClear, &QPushButton::clicked, this, [this] { btnClear_Click(); });
    connect(m_btnSave, &QPushButton::clicked, this, [this] { btnSave_Click(); });

    resize(640, 480);
    InitScreen();
}

ctlMonitor::~ctlMonitor()
{
    monitorTrace("UserControl_Terminate", "entry");
    m_session.close();
    monitorTrace("UserControl_Terminate", "exit");
}

bool ctlMonitor::Init(const std::string& invokeId, const std::string&, const fdt::ObjectPtr& dtm)
{
    monitorTrace("IDtmActiveXControl_Init", "entry");
    const bool opened = m_session.open(invokeId, dtm);
    if (opened) {
        core::DTMMain& gatewayDtm = *m_session.dtm();
        gatewayDtm.CtlMonitorPointer(self());
        InitScreen();
        m_chkFDTInterface->setChecked(gatewayDtm.PersistentFDTInterfaceFilter);
        m_chkZEBProtocols->setChecked(gatewayDtm.PersistentZEBProtocolFilter);
        m_chkHARTProtocols->setChecked(gatewayDtm.PersistentHARTProtocolFilter);
        UpdateLanguage();
    }
    monitorTrace("IDtmActiveXControl_Init", opened ? "ReturnValue = TRUE" : "ReturnValue = FALSE");
    monitorTrace("IDtmActiveXControl_Init", "exit");
    return opened;
}

bool ctlMonitor::PrepareToRelease()
{
    monitorTrace("IDtmActiveXControl_PrepareToRelease", "entry");
    const bool released = m_session.release([](core::DTMMain& dtm) { dtm.CtlMonitorPointer(nullptr); });
    monitorTrace("IDtmActiveXControl_PrepareToRelease", released ? "returnValue = TRUE" : "returnValue = FALSE");
    monitorTrace("IDtmActiveXControl_PrepareToRelease", "exit");
    return released;
}

void ctlMonitor::UpdateLanguage()
{
    monitorTrace("IActiveXGUI_UpdateLanguage", "entry");
    if (core::DTMMain* dtm = m_session.dtm())
        dtm->TranslateControls("ctlMonitor_", controlList());
    monitorTrace("IActiveXGUI_UpdateLanguage", "exit");
}

void ctlMonitor::MessageLine(const std::string& textLine, std::int32_t color)
{
    monitorTrace("MessageLine", "entry");
    // The view puts the line at the end whatever the user has selected.
    m_richTextBoxComm->appendLine(QString::fromStdString(textLine), windowsColor(static_cast<std::uint32_t>(color)));
    monitorTrace("MessageLine", "exit");
}

std::string ctlMonitor::viewText() const
{
    return m_richTextBoxComm->toPlainText().toStdString();
}

void ctlMonitor::pageResized()
{
    monitorTrace("UserControl_Resize", "entry");
    InitScreen();
    monitorTrace("UserControl_Resize", "exit");
}

void ctlMonitor::InitScreen()
{
    monitorTrace("InitScreen", "entry");
    const TwipSize page = twipSize(*this);
    const MonitorLayout l = layoutMonitor(page.width, page.height);
    place(*m_headline, l.headline);
    place(*m_parameterFreeArea, l.parameterFreeArea);
    place(*m_monitorBack, l.monitorBack);
    place(*m_monitorSettings, l.monitorSettings);
    place(*m_richTextBoxComm, l.richTextBox);
    place(*m_chkFDTInterface, l.chkFDTInterface);
    place(*m_chkZEBProtocols, l.chkZEBProtocols);
    place(*m_chkHARTProtocols, l.chkHARTProtocols);
    place(*m_btnClear, l.btnClear);
    place(*m_btnSave, l.btnSave);
    monitorTrace("InitScreen", "exit");
}

void ctlMonitor::chkFDTInterface_Click()
{
    monitorTrace("chkFDTInterface_Click", "entry");
    CheckFilter(m_session.dtm(), click::FDTInterface, m_chkFDTInterface->isChecked());
    monitorTrace("chkFDTInterface_Click", "exit");
}

void ctlMonitor::chkZEBProtocols_Click()
{
    monitorTrace("chkZEBProtocols_Click", "entry");
    CheckFilter(m_session.dtm(), click::ZEBProtocols, m_chkZEBProtocols->isChecked());
    monitorTrace("chkZEBProtocols_Click", "exit");
}

void ctlMonitor::chkHARTProtocols_Click()
{
    monitorTrace("chkHARTProtocols_Click", "entry");
    CheckFilter(m_session.dtm(), click::HARTProtocols, m_chkHARTProtocols->isChecked());
    monitorTrace("chkHARTProtocols_Click", "exit");
}

void ctlMonitor::btnClear_Click()
{
    monitorTrace("btnClear_Click", "entry");
    m_richTextBoxComm->clear();
    monitorTrace("btnClear_Click", "exit");
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

} // namespace zeb2hart::ui

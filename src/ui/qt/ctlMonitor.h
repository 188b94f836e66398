#pragma once
// ctlMonitor: the communication monitor page. It shows the lines DTMMain's
// MonitorMsg passes it, each in its colour, lets the user choose which traffic
// is shown (three filter check boxes bound to the DTM's persisted filters),
// clear the view and save it to a log file.

#include <QCheckBox>
#include <QPushButton>

#include <cstdint>
#include <string>

#include "ui/qt/MonitorView.h"
#include "ui/qt/PageWidget.h"

namespace zeb2hart::ui {

class ctlMonitor final : public PageWidget, public core::IMonitorPage {
public:
    ctlMonitor();
    ~ctlMonitor() override;

    // IDtmActiveXControl
    bool Init(const std::string& invokeId, const std::string& functionCall, const fdt::ObjectPtr& dtm) override;
    bool PrepareToRelease() override;
    // IActiveXGUI
    void UpdateLanguage() override;
    // IMonitorPage: appends CR LF and the line at the end of the view, in the colour given.
    void MessageLine(const std::string& textLine, std::int32_t color) override;

    // The view's plain text, lines separated by "\n" (the first line is empty once a line was shown).
    std::string viewText() const;

protected:
    void pageResized() override;

private:
    void InitScreen();
    void chkFDTInterface_Click();
    void chkZEBProtocols_Click();
    void chkHARTProtocols_Click();
    void btnClear_Click();
    void btnSave_Click();

    QWidget* m_parameterFreeArea;
    QWidget* m_monitorBack;
    QWidget* m_monitorSettings;
    MonitorView* m_richTextBoxComm;
    QCheckBox* m_chkFDTInterface;
    QCheckBox* m_chkZEBProtocols;
    QCheckBox* m_chkHARTProtocols;
    QPushButton* m_btnClear;
    QPushButton* m_btnSave;
};

} // namespace zeb2hart::ui

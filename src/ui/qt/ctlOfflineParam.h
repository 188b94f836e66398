#pragma once
// ctlOfflineParam: the offline parameter page. The user chooses the gateway's
// device type from the settings file's list and types the warm-start delay;
// the page shows the communication status the DTM pushes to it.

#include <QComboBox>
#include <QLabel>

#include <string>

#include "fdt/Variant.h"
#include "ui/qt/DelayBox.h"
#include "ui/qt/PageWidget.h"
#include "ui/qt/PictureBox.h"

namespace zeb2hart::ui {

class ctlOfflineParam final : public PageWidget, public core::IOfflineParamPage {
public:
    ctlOfflineParam();
    ~ctlOfflineParam() override;

    // IDtmActiveXControl
    bool Init(const std::string& invokeId, const std::string& functionCall, const fdt::ObjectPtr& dtm) override;
    bool PrepareToRelease() override;
    // IActiveXGUI
    void UpdateLanguage() override;
    // IOfflineParamPage: the picture of status 0, 1 or 2 (others keep the
    // picture) and the text, whatever the status.
    void SetParameterStatus(const fdt::Variant& newValue, const std::string& statusText) override;

protected:
    void pageResized() override;

private:
    void layOut();
    void fillDeviceList();
    void DevTypeCombo_Click(int position);
    void WSDelayValue_Change();
    void WSDelayValue_KeyUp();

    QWidget* m_deviceArea;
    PictureBox* m_deviceImage;
    QLabel* m_lblDeviceType;
    QLabel* m_lblHeadlineTitle;
    QWidget* m_statusArea;
    PictureBox* m_statusImage;
    QLabel* m_lblCommStatus;
    QWidget* m_treeArea;
    QWidget* m_parameterFreeArea;
    QWidget* m_titleParameterArea;
    QLabel* m_lblParameter;
    QWidget* m_parameterArea;
    QLabel* m_lblGateway;
    QLabel* m_lblDevType;
    QLabel* m_lblWarmstartDelay;
    QLabel* m_lblUnitDelay;
    QComboBox* m_devTypeCombo;
    DelayBox* m_wsDelayValue;
};

} // namespace zeb2hart::ui

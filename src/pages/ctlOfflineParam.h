#pragma once
// ctlOfflineParam: the offline parameter page. The user chooses the gateway's
// device type from the settings file's list and types the warm-start delay;
// the page shows the communication status the DTM pushes to it. Called on the
// thread of the DTM that opened it, by the frame, the DTM and its view.

#include <string>

#include "fdt/Variant.h"
#include "pages/Page.h"

namespace zeb2hart::pages {

class ctlOfflineParam final : public Page, public core::IOfflineParamPage {
public:
    explicit ctlOfflineParam(std::unique_ptr<PageView> view);
    ~ctlOfflineParam() override;

    // IDtmActiveXControl
    bool Init(const std::string& invokeId, const std::string& functionCall, const fdt::ObjectPtr& dtm) override;
    bool PrepareToRelease() override;
    // IActiveXGUI
    void UpdateLanguage() override;
    // IOfflineParamPage: the picture of status 0, 1 or 2 (others keep the
    // picture) and the text, whatever the status.
    void SetParameterStatus(const fdt::Variant& newValue, const std::string& statusText) override;

private:
    void fillDeviceList();
    // Shows the text in the delay box; a change runs the change handler as typing does.
    void setDelayText(const std::string& text);
    void chosen(int row, int position) override;
    void edited(int row) override;
    void keyReleased(int row) override;
    void DevTypeCombo_Click(int position);
    void WSDelayValue_Change();
    void WSDelayValue_KeyUp();
};

} // namespace zeb2hart::pages

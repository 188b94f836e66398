#pragma once
// ctlMonitor: the communication monitor page. It shows the lines DTMMain's
// MonitorMsg passes it, each in its colour, lets the user choose which traffic
// is shown (three filter check boxes bound to the DTM's persisted filters),
// clear the view and save it to a log file. Every operation writes its trace.
// Called on the thread of the DTM that opened it, by the frame, the DTM and its view.

#include <cstdint>
#include <string>

#include "pages/Page.h"

namespace zeb2hart::pages {

class ctlMonitor final : public Page, public core::IMonitorPage {
public:
    explicit ctlMonitor(std::unique_ptr<PageView> view);
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

private:
    void InitScreen();
    void clicked(int row) override;
    void resized() override;
    void setFilterBox(int row, bool checked);
    void btnSave_Click();
};

} // namespace zeb2hart::pages

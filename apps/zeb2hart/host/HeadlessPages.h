#pragma once
// Pages without a window, for the command-line frame: the communication
// monitor and the offline parameter page as the DTM sees them. They register
// with the DTM the way the real pages do (Init stores them, PrepareToRelease
// clears them and tells the frame) and hand every line and status they get to
// the frame stand-in. They reach the DTM as the frame stand-in hosts it
// (HostedDtm), in this process or through COM. Used on the thread that runs
// the session.
//
// They record what the DTM sends its pages, and nothing of the pages' own
// logic: a real page's Init also reads and sets the DTM's properties (the
// filters, the device list, the identity), which is what scripts that open
// the real pages record ("qt", and on Windows the Win32 pages through OLE).
// The scripts written for the headless pages keep their transcripts so.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/NamedControl.h"
#include "core/Pages.h"
#include "fdt/DtmInterfaces.h"
#include "host/HostedDtm.h"
#include "pages/PageControls.h"

namespace zeb2hart::frame {

// A control of a headless page.
using HeadlessControl = core::NamedControl;

// The hosted DTM that the object given to Init is; nullptr for any other object.
using HostedDtmLookup = std::function<HostedDtm*(const fdt::ObjectPtr& dtm)>;

class HeadlessPage : public fdt::IDtmActiveXControl, public core::IActiveXGUI {
public:
    // The page has the controls of its table.
    HeadlessPage(const pages::PageTable& table, HostedDtmLookup lookup);

    bool Init(const std::string& invokeId, const std::string& functionCall, const fdt::ObjectPtr& dtm) override;
    bool PrepareToRelease() override;
    void UpdateLanguage() override;

    const std::vector<HeadlessControl>& controls() const { return m_controls; }
    // Told after each UpdateLanguage, with the controls as translated.
    void onTranslated(std::function<void(const std::vector<HeadlessControl>&)> handler)
    {
        m_onTranslated = std::move(handler);
    }

protected:
    virtual void registerWith(HostedDtm& dtm, const fdt::ObjectPtr& page) = 0;
    virtual fdt::ObjectPtr self() = 0;

private:
    // The DTM the page was opened on, while it lives and is hosted; else nullptr.
    HostedDtm* hostedDtm() const;

    std::string m_prefix;
    std::vector<HeadlessControl> m_controls;
    HostedDtmLookup m_lookup;
    // Weak, as a page does not keep its DTM alive.
    std::weak_ptr<fdt::Object> m_dtm;
    fdt::ObjectPtr m_frame;
    std::string m_invokeId;
    std::function<void(const std::vector<HeadlessControl>&)> m_onTranslated;
};

class HeadlessMonitorPage final : public HeadlessPage,
                                  public core::IMonitorPage,
                                  public std::enable_shared_from_this<HeadlessMonitorPage> {
public:
    using LineHandler = std::function<void(const std::string& textLine, std::int32_t color)>;
    HeadlessMonitorPage(LineHandler onLine, HostedDtmLookup lookup);
    void MessageLine(const std::string& textLine, std::int32_t color) override;

private:
    void registerWith(HostedDtm& dtm, const fdt::ObjectPtr& page) override { dtm.CtlMonitorPointer(page); }
    fdt::ObjectPtr self() override { return shared_from_this(); }
    LineHandler m_onLine;
};

class HeadlessOfflinePage final : public HeadlessPage,
                                  public core::IOfflineParamPage,
                                  public std::enable_shared_from_this<HeadlessOfflinePage> {
public:
    using StatusHandler = std::function<void(const fdt::Variant& value, const std::string& statusText)>;
    HeadlessOfflinePage(StatusHandler onStatus, HostedDtmLookup lookup);
    void SetParameterStatus(const fdt::Variant& newValue, const std::string& statusText) override;

private:
    void registerWith(HostedDtm& dtm, const fdt::ObjectPtr& page) override { dtm.CtlOfflineParamPointer(page); }
    fdt::ObjectPtr self() override { return shared_from_this(); }
    StatusHandler m_onStatus;
};

} // namespace zeb2hart::frame

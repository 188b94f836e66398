#pragma once
// The DTM as the frame stand-in hosts it: the object itself, whose FDT
// interfaces the frame reaches with fdt::query and fdt::require, and what
// scripts reach beyond FDT (persistence, the state by name, the services the
// DTM offers its pages, the monitor and changed-property reports). Two hosts
// implement it: the DTM in this process (InProcessDtm) and, on Windows, the
// DTM created through COM from its registered DLL (ComDtm). Used on the thread
// that runs the session.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/Pages.h"
#include "fdt/Object.h"
#include "fdt/Variant.h"
#include "platform/PropertyBag.h"
#include "platform/Services.h"

namespace zeb2hart::frame {

// What the DTM reports to its frame outside FDT.
struct DtmReports {
    // Every monitor message before it is filtered.
    std::function<void(const std::string& functionName, const std::string& message, std::int32_t lineColor,
                       std::int16_t filter)>
        monitor;
    // A persisted property has a new value.
    std::function<void(const std::string& propertyName)> propertyChanged;
};

class HostedDtm {
public:
    virtual ~HostedDtm() = default;

    // The DTM as an object; nullptr after release().
    virtual fdt::ObjectPtr object() const = 0;
    // Drops the host's reference; true when that destroyed the object.
    virtual bool release() = 0;
    // Where the reports go from now on; empty handlers stop them.
    virtual void report(DtmReports reports) = 0;

    // Persistence through the DTM's property bag persistence.
    virtual void initNewProperties() = 0;
    virtual void loadProperties(platform::PropertyBag& bag) = 0;
    virtual void saveProperties(platform::PropertyBag& bag) = 0;
    // Persistence through the DTM's stream (IPersistStreamInit): the bytes Save
    // wrote (clearing the dirty state), Load from bytes, what GetSizeMax and
    // IsDirty answer.
    virtual std::vector<std::uint8_t> saveStream() = 0;
    virtual void loadStream(std::span<const std::uint8_t> bytes) = 0;
    virtual std::uint64_t streamSizeMax() = 0;
    virtual bool isDirty() = 0;

    // The DTM's state by name (core::DtmState); its errors reach the caller.
    virtual fdt::Variant state(const std::string& name) = 0;
    virtual void setState(const std::string& name, const fdt::Variant& value) = 0;
    // The gateway's counters as one JSON text (gateway::countersJson);
    // fdt::NullObjectError after release().
    virtual std::string counters() = 0;

    // The services of DTMMain its pages call.
    virtual fdt::ObjectPtr GetFramePointer() = 0;
    virtual fdt::ObjectPtr OnInitControl() = 0;
    // The folder the DTM's document toolkit reads from (XMLHelpPointer).
    virtual std::string xmlHelpFolder() = 0;
    virtual std::string GetDictionaryText(const std::string& textId) = 0;
    virtual void CtlMonitorPointer(const fdt::ObjectPtr& page) = 0;
    virtual void CtlOfflineParamPointer(const fdt::ObjectPtr& page) = 0;
    virtual void CtlAboutPointer(const fdt::ObjectPtr& page) = 0;
    virtual void PersistentParamChanged(const std::string& paramName, const std::string& newValue) = 0;
    virtual void MonitorMsg(const std::string& functionName, const std::string& message, std::int32_t lineColor,
                            std::int16_t filter) = 0;
    virtual void Set_Status() = 0;
    virtual void TranslateControls(const std::string& prefix, const core::ControlList& controls) = 0;
};

// Makes the hosted DTM under the frame's services (already installed in this process).
using HostedDtmFactory = std::function<std::unique_ptr<HostedDtm>(const platform::Services& frameServices)>;

} // namespace zeb2hart::frame

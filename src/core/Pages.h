#pragma once
// What DTMMain knows of its pages: the private page interface IActiveXGUI, the
// two operations it calls on the monitor and the offline parameter page, and
// the control abstraction TranslateControls walks.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fdt/Object.h"
#include "fdt/Variant.h"

namespace zeb2hart::core {

class IActiveXGUI : public virtual fdt::Object {
public:
    virtual void UpdateLanguage() = 0;
};

class IMonitorPage : public virtual fdt::Object {
public:
    virtual void MessageLine(const std::string& textLine, std::int32_t color) = 0;
};

class IOfflineParamPage : public virtual fdt::Object {
public:
    virtual void SetParameterStatus(const fdt::Variant& newValue, const std::string& statusText) = 0;
};

// One child control of a page, as TranslateControls sees it.
class Control {
public:
    virtual ~Control() = default;
    // Throws when the name cannot be read.
    virtual std::string name() const = 0;
    // The index of a member of a control array.
    virtual std::optional<int> index() const = 0;
    virtual bool hasCaption() const = 0;
    virtual void setCaption(const std::string& caption) = 0;
};

using ControlList = std::vector<Control*>;

// The page classes the component registers (ProgID and fixed CLSID).
constexpr const char* kProgIdOfflineParam = "ZEB2HARTGateway.ctlOfflineParam";
constexpr const char* kProgIdMonitor = "ZEB2HARTGateway.ctlMonitor";
constexpr const char* kProgIdAbout = "ZEB2HARTGateway.ctlAbout";
constexpr const char* kProgIdDtm = "ZEB2HARTGateway.DTMMain";

} // namespace zeb2hart::core

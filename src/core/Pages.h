#pragma once
// What DTMMain knows of its pages: the private page interface IActiveXGUI, the
// two operations it calls on the monitor and the offline parameter page, and
// the control abstraction TranslateControls walks. The three page interfaces
// carry the identifiers of their private COM interfaces (IZeb2hartActiveXGUI,
// IZeb2hartMonitorPage, IZeb2hartOfflineParamPage), so that a DTM in the DLL
// reaches a frame's pages through COM.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/ComponentClasses.h"
#include "fdt/Object.h"
#include "fdt/Variant.h"

namespace zeb2hart::core {

class IActiveXGUI : public virtual fdt::Object {
public:
    static constexpr fdt::Guid kIid{0x5CEBCF56, 0x522B, 0x4291, {0xA6, 0x7D, 0xD1, 0xAB, 0x35, 0x19, 0x29, 0xD6}};
    virtual void UpdateLanguage() = 0;
};

class IMonitorPage : public virtual fdt::Object {
public:
    static constexpr fdt::Guid kIid{0xCBA12860, 0xEC34, 0x49DC, {0xA9, 0x3C, 0xF3, 0x8B, 0x52, 0x29, 0x47, 0xFD}};
    virtual void MessageLine(const std::string& textLine, std::int32_t color) = 0;
};

class IOfflineParamPage : public virtual fdt::Object {
public:
    static constexpr fdt::Guid kIid{0xE749B772, 0xBAD5, 0x40A7, {0x86, 0x08, 0x07, 0x5A, 0x1C, 0x24, 0x27, 0x69}};
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

} // namespace zeb2hart::core

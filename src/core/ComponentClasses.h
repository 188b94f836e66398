#pragma once
// The component's classes as a frame finds them: the DTM and its three pages,
// each under its ProgID with a fixed class identifier. libzeb2hart registers
// them with the class registry when it is loaded; a frame creates the DTM with
// ClassRegistry::instance().create(kProgIdDtm). Called on the frame's thread.

#include "../fdt/Export.h"

namespace zeb2hart::core {

constexpr const char* kProgIdDtm = "ZEB2HARTGateway.DTMMain";
constexpr const char* kProgIdOfflineParam = "ZEB2HARTGateway.ctlOfflineParam";
constexpr const char* kProgIdMonitor = "ZEB2HARTGateway.ctlMonitor";
constexpr const char* kProgIdAbout = "ZEB2HARTGateway.ctlAbout";

// The identifiers of the DTM's functions that the pages implement, as the
// functions document lists them and a function call names them.
constexpr const char* kFunctionOfflineParam = "10";
constexpr const char* kFunctionMonitor = "30";
constexpr const char* kFunctionAbout = "50";

struct ComponentClass {
    const char* progId;
    const char* clsid; // registry form
    const char* functionId = nullptr; // a page's function; none for the DTM
};

constexpr ComponentClass kDtmClass{kProgIdDtm, "{57A3E071-EDD7-412B-A84E-4C20E0C88770}"};
constexpr ComponentClass kPageClasses[] = {
    {kProgIdOfflineParam, "{123C16C9-91D8-4711-AEE5-9C2B58B274B9}", kFunctionOfflineParam},
    {kProgIdMonitor, "{5E2A1315-8998-4327-8EA1-F6EC8900B436}", kFunctionMonitor},
    {kProgIdAbout, "{1A898714-DDAA-4F59-A3E4-EACF0B661DF5}", kFunctionAbout},
};

// Registers the DTM and the page classes with the class registry (a page class
// the user interface registered with its factory stays as it is). Called when
// the library is loaded; safe to call again, as a program that links the
// component statically must.
ZEB2HART_API void registerComponentClasses();

} // namespace zeb2hart::core

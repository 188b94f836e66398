#pragma once
// The change flag frames compare before they update their DTM catalogue:
// HKLM\SOFTWARE\FDT\DTMCatalogUpdates, ModificationFlag (REG_SZ, a GUID made
// anew each time) and ModificationComment (REG_SZ). DllRegisterServer and
// DllUnregisterServer set it after they succeed, so that registering by hand
// and an installer (which calls them) tell frames the same. Written in the
// registry view of the module's own bitness, the one frames of that bitness
// read. Called by regsvr32 or an installer, on one thread.

#include <windows.h>

#include <string>

namespace zeb2hart::com {

class CatalogueUpdates {
public:
    static constexpr const wchar_t* kKey = L"SOFTWARE\\FDT\\DTMCatalogUpdates";

    // Writes a new ModificationFlag and the comment.
    static HRESULT announce(const std::wstring& comment);
};

} // namespace zeb2hart::com

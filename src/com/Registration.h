#pragma once
// What DllRegisterServer writes under HKEY_CLASSES_ROOT and DllUnregisterServer
// removes again, leaving no key of the component behind:
//   CLSID\{class}                for the DTM and each page: InprocServer32 (the
//                                DLL's path, ThreadingModel Apartment), ProgID,
//                                TypeLib; a page also VersionIndependentProgID,
//                                Control, Programmable, MiscStatus ("0", and
//                                MiscStatus\1 for the content aspect) and Version
//   <ProgID>\CLSID               the class, for the DTM and each page
//   TypeLib\{library}\1.0        the embedded type library (0\win32 or 0\win64,
//                                FLAGS, HELPDIR)
//   Interface\{iid}              only with `withInterfaces`: every dual interface
//                                of the library, marshalled by the type library.
// The DTM class is also made a member of the FDT component categories a frame's
// catalogue lists, "FDT DTM" and "FDT DTM Device", and each page of "Controls",
// through the system's component categories manager: a missing category is
// created with its English name, an existing one is left as it is.
// Unregistration takes the classes out of them and leaves the categories,
// which other components share. A 32- and a 64-bit copy registered side by
// side share the ProgIDs and the type library's key: the first copy removed
// leaves them to the other.
// The FDT interfaces' Interface keys belong to the frame's FDT type library, so
// an installed component leaves them alone; RegisterTypeLib is not used for the
// same reason, as it would point them at this library. The project's own test
// builds ask for them (ZEB2HART_COM_TEST_REGISTRATION).
// Called by regsvr32 or an installer, on one thread.

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

namespace zeb2hart::com {

class Registration {
public:
    struct Value {
        std::wstring key;  // below HKEY_CLASSES_ROOT
        std::wstring name; // empty: the key's default value
        std::wstring data;
    };

    // Every value registration writes, in order.
    static std::vector<Value> values(const std::filesystem::path& module, bool withInterfaces);
    // The keys unregistration removes with everything below them: those of the
    // DLL's registry view (the classes, the interfaces)...
    static std::vector<std::wstring> ownedKeys(bool withInterfaces);
    // ...and those the 32- and 64-bit views of 64-bit Windows share (the
    // ProgIDs, the type library). While a copy of the other architecture is
    // registered beside this one, only the type library's entry of this
    // platform is removed of them.
    static std::vector<std::wstring> sharedKeys();

    static HRESULT install(const std::filesystem::path& module, bool withInterfaces);
    static HRESULT remove(bool withInterfaces);
};

} // namespace zeb2hart::com

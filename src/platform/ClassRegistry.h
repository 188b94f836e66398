#pragma once
// The component's own class registration: ProgID to CLSID, and creation of an
// object by its CLSID, as the frame creates DTMs and pages.
// One thread calls it: the frame's apartment, creating the component's objects.

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "../fdt/Export.h"
#include "../fdt/Guid.h"
#include "../fdt/Object.h"

namespace zeb2hart::platform {

class ZEB2HART_API ClassRegistry {
public:
    using Factory = std::function<fdt::ObjectPtr()>;

    static ClassRegistry& instance();

    // Registers or replaces a class. A class registered without a factory is
    // known by name but cannot be created (yet).
    void add(const std::string& progId, const fdt::Guid& clsid, Factory factory = {});
    std::optional<fdt::Guid> clsidOf(const std::string& progId) const;
    // Creates an object of the class; nullptr for an unknown class or one without factory.
    fdt::ObjectPtr create(const fdt::Guid& clsid) const;
    fdt::ObjectPtr create(const std::string& progId) const;

private:
    struct Entry {
        fdt::Guid clsid;
        Factory factory;
    };
    std::map<std::string, Entry> m_byProgId;
};

} // namespace zeb2hart::platform

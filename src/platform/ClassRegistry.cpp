#include "platform/ClassRegistry.h"

namespace zeb2hart::platform {

ClassRegistry& ClassRegistry::instance()
{
    static ClassRegistry registry;
    return registry;
}

void ClassRegistry::add(const std::string& progId, const fdt::Guid& clsid, Factory factory)
{
    m_byProgId[progId] = Entry{clsid, std::move(factory)};
}

std::optional<fdt::Guid> ClassRegistry::clsidOf(const std::string& progId) const
{
    const auto it = m_byProgId.find(progId);
    if (it == m_byProgId.end())
        return std::nullopt;
    return it->second.clsid;
}

fdt::ObjectPtr ClassRegistry::create(const fdt::Guid& clsid) const
{
    for (const auto& [progId, entry] : m_byProgId) {
        if (entry.clsid == clsid)
            return entry.factory ? entry.factory() : nullptr;
    }
    return nullptr;
}

fdt::ObjectPtr ClassRegistry::create(const std::string& progId) const
{
    const auto it = m_byProgId.find(progId);
    if (it == m_byProgId.end() || !it->second.factory)
        return nullptr;
    return it->second.factory();
}

} // namespace zeb2hart::platform

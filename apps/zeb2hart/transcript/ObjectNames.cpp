#include "transcript/ObjectNames.h"

namespace zeb2hart::frame {

void ObjectNames::add(const fdt::ObjectPtr& object, const std::string& name)
{
    if (object)
        m_names[fdt::identityOf(object.get())] = name;
}

Json ObjectNames::nameOf(const fdt::ObjectPtr& object) const
{
    if (!object)
        return nullptr;
    const auto it = m_names.find(fdt::identityOf(object.get()));
    return it == m_names.end() ? Json("object") : Json(it->second);
}

} // namespace zeb2hart::frame

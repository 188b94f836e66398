#include "core/ChannelCollection.h"

namespace zeb2hart::core {

void ChannelCollection::Add(const std::string& key, const fdt::ObjectPtr& item)
{
    m_items.emplace_back(key, item);
}

fdt::ObjectPtr ChannelCollection::Item(std::int32_t index)
{
    if (index < 1 || index > Count())
        throw fdt::NotFoundError("channel collection: no item at position " + std::to_string(index));
    return m_items[static_cast<std::size_t>(index - 1)].second.lock();
}

fdt::ObjectPtr ChannelCollection::Item(const std::string& key)
{
    for (const auto& [itemKey, item] : m_items) {
        if (itemKey == key)
            return item.lock();
    }
    throw fdt::NotFoundError("channel collection: no item under the key " + key);
}

} // namespace zeb2hart::core

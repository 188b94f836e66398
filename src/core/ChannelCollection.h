#pragma once
// The channel list a DTM hands out: items under string keys, in insertion
// order. Items are held without ownership, so that the DTM listing itself does
// not keep itself alive.

#include <string>
#include <utility>
#include <vector>

#include "fdt/DtmInterfaces.h"

namespace zeb2hart::core {

class ChannelCollection final : public fdt::IFdtChannelCollection {
public:
    void Add(const std::string& key, const fdt::ObjectPtr& item);
    fdt::ObjectPtr Item(std::int32_t index) override;
    fdt::ObjectPtr Item(const std::string& key) override;
    std::int32_t Count() override { return static_cast<std::int32_t>(m_items.size()); }

private:
    std::vector<std::pair<std::string, std::weak_ptr<fdt::Object>>> m_items;
};

} // namespace zeb2hart::core

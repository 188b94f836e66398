#include "core/PersistentProperties.h"

#include <algorithm>
#include <array>
#include <utility>

#include "fdt/Errors.h"
#include "support/Conversions.h"

namespace zeb2hart::core {

namespace {

// The rows marked as identity texts, as (first row, count of the rows marked from
// it on without a gap).
constexpr std::pair<std::size_t, std::size_t> identityRows(std::span<const PersistentProperty> table)
{
    const auto first = std::ranges::find(table, true, &PersistentProperty::identityItem);
    const auto end = std::find_if(first, table.end(), [](const PersistentProperty& row) { return !row.identityItem; });
    return {static_cast<std::size_t>(first - table.begin()), static_cast<std::size_t>(end - first)};
}

} // namespace

std::span<const PersistentProperty> PersistentProperty::all()
{
    using D = DTMMain;
    static constexpr std::array<PersistentProperty, 14> table{{
        {key::PresistentTrace, "TimeCritical", "PresistentTrace", "", "None", true, &D::PresistentTrace},
        {key::PersistentZEBProtocolFilter, "InitialValues", "PersistentZEBProtocolFilter", "", "False", true,
         &D::PersistentZEBProtocolFilter},
        {key::PersistentHARTProtocolFilter, "InitialValues", "PersistentHARTProtocolFilter", "", "False", true,
         &D::PersistentHARTProtocolFilter},
        {key::PersistentFDTInterfaceFilter, "InitialValues", "PersistentFDTInterfaceFilter", "", "False", true,
         &D::PersistentFDTInterfaceFilter},
        {key::PersistentDeviceTypeIndex, "InitialValues", "PersistentDeviceTypeIndex", "", "0", true,
         &D::PersistentDeviceTypeIndex},
        {key::PersistentWarmstartDelay, "InitialValues", "PersistentWarmstartDelay", "", "0", true,
         &D::PersistentWarmstartDelay},
        {key::PersistentDeviceList, "DeviceList", "Devices", "", "VRA520", true, &D::PersistentDeviceList},
        {key::PersistentManufacturerIDCode, "VRA520", "PersistentManufacturerIDCode", "", "14002.32", true,
         &D::PersistentManufacturerIDCode, true},
        {key::PersistentManufacturerDevTypeCode, "VRA520", "PersistentManufacturerDevTypeCode", "", "14000.32", true,
         &D::PersistentManufacturerDevTypeCode, true},
        {key::PersistentRevLevelOfTransmSpecDoc, "VRA520", "PersistentRevLevelOfTransmSpecDoc", "", "14016.32", true,
         &D::PersistentRevLevelOfTransmSpecDoc, true},
        {key::PersistentSoftwareRevLevelOfDev, "VRA520", "PersistentSoftwareRevLevelOfDev", "", "14015.32", true,
         &D::PersistentSoftwareRevLevelOfDev, true},
        {key::PersistentHardwareRevLevelOfElectr, "VRA520", "PersistentHardwareRevLevelOfElectr", "", "14014.32", true,
         &D::PersistentHardwareRevLevelOfElectr, true},
        {key::PersistentDeviceID, "VRA520", "PersistentDeviceID", "", "32516.28", true, &D::PersistentDeviceID, true},
        {"m_ChannelUUID", "", "", DTMMain::kChannelKey, "AD46AA4C-4366-4C7E-9C4D-0562F001308B", false,
         &D::m_ChannelUUID},
    }};
    static_assert(identityRows(table).second == 6 && std::ranges::count(table, true, &PersistentProperty::identityItem) == 6,
                  "the identity texts are six rows, one after the other");
    return table;
}

std::span<const PersistentProperty> PersistentProperty::identity()
{
    static const auto rows = identityRows(all());
    return all().subspan(rows.first, rows.second);
}

const PersistentProperty* PersistentProperty::find(std::string_view key)
{
    const auto properties = all();
    const auto found = std::ranges::find(properties, key, &PersistentProperty::key);
    return found == properties.end() ? nullptr : &*found;
}

fdt::Variant PersistentProperty::defaultValue() const
{
    switch (type()) {
    case PropertyType::Boolean:
        return support::toBoolean(defaultText);
    case PropertyType::Integer16:
        return support::toInteger(defaultText);
    case PropertyType::Text:
        break;
    }
    return std::string(defaultText);
}

fdt::Variant PersistentProperty::get(const DTMMain& dtm) const
{
    return std::visit([&dtm](auto pointer) { return fdt::Variant(dtm.*pointer); }, member);
}

void PersistentProperty::set(DTMMain& dtm, const fdt::Variant& value) const
{
    if (const auto* flag = std::get_if<bool DTMMain::*>(&member)) {
        dtm.*(*flag) = support::toBoolean(value);
    } else if (const auto* number = std::get_if<std::int16_t DTMMain::*>(&member)) {
        dtm.*(*number) = support::toInteger(value);
    } else if (value.is<std::string>()) {
        dtm.*std::get<std::string DTMMain::*>(member) = value.as<std::string>();
    } else if (value.isEmpty()) {
        dtm.*std::get<std::string DTMMain::*>(member) = std::string();
    } else {
        throw fdt::TypeMismatchError("Type mismatch: property " + std::string(key) + " is not a text");
    }
}

} // namespace zeb2hart::core

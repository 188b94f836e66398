#pragma once
// The instance data the frame keeps with its project: one table of DTMMain's
// persisted properties (property-bag key, DTM.ini source, member, type and
// default). Its order is the order in which they are initialised, loaded, saved
// and reported as changed. Called on the frame's thread, like DTMMain itself;
// the frame stand-in reads and writes the properties by key through it.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "core/DTMMain.h"
#include "fdt/Variant.h"

namespace zeb2hart::core {

// The properties' bag keys, as published: the table below uses them, and so
// does whatever names one property.
namespace key {
inline constexpr std::string_view PresistentTrace = "PresistentTrace";
inline constexpr std::string_view PersistentZEBProtocolFilter = "PersistentZEBProtocolFilter";
inline constexpr std::string_view PersistentHARTProtocolFilter = "PersistentHARTProtocolFilter";
inline constexpr std::string_view PersistentFDTInterfaceFilter = "PersistentFDTInterfaceFilter";
inline constexpr std::string_view PersistentDeviceTypeIndex = "PersistentDeviceTypeIndex";
inline constexpr std::string_view PersistentWarmstartDelay = "PersistentWarmstartDelay";
inline constexpr std::string_view PersistentDeviceList = "PersistentDeviceList";
inline constexpr std::string_view PersistentManufacturerIDCode = "PersistentManufacturerIDCode";
inline constexpr std::string_view PersistentManufacturerDevTypeCode = "PersistentManufacturerDevTypeCode";
inline constexpr std::string_view PersistentRevLevelOfTransmSpecDoc = "PersistentRevLevelOfTransmSpecDoc";
inline constexpr std::string_view PersistentSoftwareRevLevelOfDev = "PersistentSoftwareRevLevelOfDev";
inline constexpr std::string_view PersistentHardwareRevLevelOfElectr = "PersistentHardwareRevLevelOfElectr";
inline constexpr std::string_view PersistentDeviceID = "PersistentDeviceID";
} // namespace key

enum class PropertyType { Text, Boolean, Integer16 };

struct PersistentProperty {
    // The member that holds the value; its alternative is the property's type.
    using Member = std::variant<std::string DTMMain::*, bool DTMMain::*, std::int16_t DTMMain::*>;

    std::string_view key;        // property-bag key as published, also the member's name
    std::string_view iniSection; // where InitNewProperties reads it in DTM.ini; empty: it takes newText
    std::string_view iniKey;
    std::string_view newText;    // what InitNewProperties sets when there is no DTM.ini section
    std::string_view defaultText; // the value of a fresh object and of a key missing from a loaded bag
    bool published;              // a public member (false for m_ChannelUUID, which the frame only reads)
    Member member;
    bool identityItem = false;   // one of the device type's six identity texts (identity())

    PropertyType type() const { return static_cast<PropertyType>(member.index()); }
    // The default as the property's type (text, Boolean or 16-bit integer).
    fdt::Variant defaultValue() const;
    // The current value as the property's type.
    fdt::Variant get(const DTMMain& dtm) const;
    // Stores `value` converted to the property's type as a loaded bag value is:
    // text from text (Empty gives ""), Booleans and numbers from text or numbers.
    // A value that does not convert throws (fdt::TypeMismatchError, fdt::OverflowError)
    // and leaves the member as it was.
    void set(DTMMain& dtm, const fdt::Variant& value) const;

    // All fourteen, in their order.
    static std::span<const PersistentProperty> all();
    // The six identity texts of the device type ("object.sub" in DTM.ini's section of
    // the type), in the order of the command 0 layout: the rows of all() marked
    // identityItem, which stand together.
    static std::span<const PersistentProperty> identity();
    // The property with this bag key (case-sensitive), or nullptr.
    static const PersistentProperty* find(std::string_view key);
};

} // namespace zeb2hart::core

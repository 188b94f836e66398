#include "peers/HartAnswerDecoder.h"

#include <bit>
#include <charconv>

#include "fdt/Hex.h"
#include "support/Conversions.h"

namespace zeb2hart::frame {

namespace {

std::string hex2(unsigned value)
{
    return "0x" + support::HexByte(static_cast<std::uint8_t>(value));
}

// Most significant byte first.
std::uint32_t bigEndian(const std::vector<std::uint8_t>& data)
{
    std::uint32_t value = 0;
    for (std::uint8_t byte : data)
        value = (value << 8) | byte;
    return value;
}

std::string shortest(float value)
{
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return std::string(digits, end);
}

} // namespace

std::optional<HartIdentity> decodeCommand0(const std::vector<std::uint8_t>& data)
{
    if (data.size() < 12)
        return std::nullopt;
    HartIdentity identity;
    identity.expansion = data[0];
    identity.manufacturerId = data[1];
    identity.deviceType = data[2];
    identity.preambles = data[3];
    identity.universalRevision = data[4];
    identity.transmitterRevision = data[5];
    identity.softwareRevision = data[6];
    identity.hardwareRevision = static_cast<std::uint8_t>(data[7] >> 3);
    identity.signallingCode = static_cast<std::uint8_t>(data[7] & 0x07);
    identity.flags = data[8];
    identity.deviceId = (std::uint32_t{data[9]} << 16) | (std::uint32_t{data[10]} << 8) | data[11];
    return identity;
}

std::string responseCodeMeaning(std::uint8_t code)
{
    switch (code) {
    case 0:
        return "Success";
    case 1:
        return "Undefined";
    case 2:
        return "Invalid Selection";
    case 3:
        return "Passed Parameter Too Large";
    case 4:
        return "Passed Parameter Too Small";
    case 5:
        return "Too Few Data Bytes Received";
    case 6:
        return "Device-Specific Command Error";
    case 7:
        return "In Write Protect Mode";
    case 16:
        return "Access Restricted";
    case 32:
        return "Busy";
    case 33:
        return "Delayed Response Initiated";
    case 34:
        return "Delayed Response Running";
    case 35:
        return "Delayed Response Dead";
    case 36:
        return "Delayed Response Conflict";
    case 64:
        return "Command Not Implemented";
    default:
        break;
    }
    if (code >= 8 && code <= 15)
        return "Command-Specific Error " + std::to_string(code);
    if (code >= 24 && code <= 31)
        return "Command-Specific Warning " + std::to_string(code);
    return "Command-Specific Response " + std::to_string(code);
}

std::string identityText(const HartIdentity& identity)
{
    const std::string deviceId = "0x" + fdt::hexText(identity.deviceId, 6);
    return "manufacturer " + hex2(identity.manufacturerId) + ", device type " + hex2(identity.deviceType) +
           ", device id " + deviceId + ", universal revision " + std::to_string(identity.universalRevision) +
           ", transmitter revision " + std::to_string(identity.transmitterRevision) + ", software revision " +
           std::to_string(identity.softwareRevision) + ", hardware revision " +
           std::to_string(identity.hardwareRevision) + ", signalling code " + std::to_string(identity.signallingCode) +
           ", " + std::to_string(identity.preambles) + " preambles, flags " + hex2(identity.flags);
}

std::optional<std::string> zebValueText(const ZebObject& description, const std::vector<std::uint8_t>& data)
{
    std::string value;
    switch (description.type) {
    case ZebValueType::Float32:
        if (data.size() != 4)
            return std::nullopt;
        value = shortest(std::bit_cast<float>(bigEndian(data)));
        break;
    case ZebValueType::Unsigned:
        if (data.empty() || data.size() > 4)
            return std::nullopt;
        value = std::to_string(bigEndian(data));
        break;
    case ZebValueType::Bytes:
        return std::nullopt;
    }
    return description.unit.empty() ? value : value + " " + description.unit;
}

std::string answerDataText(int command, const std::vector<std::uint8_t>& data, const ZebDeviceModel& model)
{
    if (command == 0) {
        const auto identity = decodeCommand0(data);
        return identity ? identityText(*identity) : std::string();
    }
    // The ZEB telegram: object (2 bytes), sub-number, status, length, data.
    if ((command != 128 && command != 129) || data.size() < 5)
        return {};
    const std::int32_t objectNo = (std::int32_t{data[0]} << 8) | data[1];
    const std::uint8_t subNo = data[2];
    const std::uint8_t status = data[3];
    const std::vector<std::uint8_t> value(data.begin() + 5, data.end());
    std::string text = "object " + std::to_string(objectNo) + "." + std::to_string(subNo);
    const ZebObject* description = model.find(objectNo, subNo);
    if (description && !description->name.empty())
        text += " (" + description->name + ")";
    if (status != 0)
        text += ", ZEB status " + std::to_string(status);
    if (value.empty())
        return text + ", no data";
    if (const auto shown = description ? zebValueText(*description, value) : std::nullopt)
        return text + " = " + *shown;
    return text + ", data " + support::ByteArrayToHex(value);
}

} // namespace zeb2hart::frame

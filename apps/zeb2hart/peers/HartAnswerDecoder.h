#pragma once
// Reading the data of a HART answer as a HART engineer reads it: the identity
// of command 0 field by field, response codes by their meaning, and the ZEB
// telegram that answers commands 128 and 129 with the value of an object the
// device model describes, in its unit. The one decoder of the frame window's
// HART panel and the demo's summary; pure functions, any thread.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "peers/ZebDeviceModel.h"

namespace zeb2hart::frame {

// The identity of a HART device as command 0 reports it.
struct HartIdentity {
    std::uint8_t expansion = 0; // 254
    std::uint8_t manufacturerId = 0;
    std::uint8_t deviceType = 0;
    std::uint8_t preambles = 0;
    std::uint8_t universalRevision = 0;
    std::uint8_t transmitterRevision = 0;
    std::uint8_t softwareRevision = 0;
    std::uint8_t hardwareRevision = 0; // byte 7, upper five bits
    std::uint8_t signallingCode = 0;   // byte 7, lower three bits: the physical signalling code
    std::uint8_t flags = 0;
    std::uint32_t deviceId = 0;
};

// The identity from the 12 data bytes of a command 0 answer; nothing for fewer bytes.
std::optional<HartIdentity> decodeCommand0(const std::vector<std::uint8_t>& data);
// What a HART command response code means ("Success", "Access Restricted", ...).
std::string responseCodeMeaning(std::uint8_t code);

// "manufacturer 0x61, device type 0xD2, device id 0x123456, universal revision 5, ..., hardware
// revision 2, signalling code 1, 5 preambles, flags 0x00".
std::string identityText(const HartIdentity& identity);

// The value the data bytes hold for an object of that type, with its unit ("1000 mbar"); nothing
// for an untyped object or data that does not fit the type.
std::optional<std::string> zebValueText(const ZebObject& description, const std::vector<std::uint8_t>& data);

// What the data of an answer to `command` say beyond their bytes: the identity of command 0; for the
// ZEB telegram of 128 and 129 the object, its status and its value as the model describes it
// ("object 20480.1 (primary value) = 1000 mbar"). "" for other commands and data too short to read.
std::string answerDataText(int command, const std::vector<std::uint8_t>& data, const ZebDeviceModel& model);

} // namespace zeb2hart::frame

#pragma once
// The ZEB device behind the simulated communication DTM: its objects (object
// number, sub-number, data bytes, status byte), the answers to the broadcast
// telegram and to the delayed-data read, and the switch that makes it answer
// with a ZEB error, refuse requests or stay silent; the bus it sits on (wire
// timing) and the faults it shows. Loaded from Devices/<TYPE>.json.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "peers/FieldFaults.h"
#include "peers/WireTiming.h"

namespace zeb2hart::frame {

// A device model that cannot be read or makes no sense.
class ModelError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// How an object's data bytes read as a value: raw bytes, an IEEE-754 single float or an unsigned
// whole number (each most significant byte first).
enum class ZebValueType { Bytes, Float32, Unsigned };

struct ZebObject {
    std::int32_t objectNo = 0;
    std::uint8_t subNo = 0;
    std::uint8_t status = 0;
    std::vector<std::uint8_t> data;
    std::string name;
    ZebValueType type = ZebValueType::Bytes;
    std::string unit; // of the value ("mbar"); empty: none
};

// What the device answers to a request that is not an object read or write.
struct ZebReply {
    std::uint8_t status = 0;
    std::vector<std::uint8_t> data;
};

// How the device answers requests: normally, with a ZEB error document,
// by refusing the request call, or not at all.
struct ZebAnswerMode {
    enum class Kind { Normal, Error, Refuse, Silent };
    Kind kind = Kind::Normal;
    std::string error = "timeout"; // ZebcommError of an error answer
    bool zebActive = true;         // ZebActive of an error answer
};

class ZebDeviceModel {
public:
    // Throws ModelError naming the file and the problem.
    static ZebDeviceModel load(const std::filesystem::path& file);
    static ZebDeviceModel fromJson(const nlohmann::ordered_json& json, const std::string& origin);
    // One entry of "objects": {"object", "sub", "data"} with "status", "name",
    // "unit" and "type" optional. Throws ModelError naming `origin` and `where`.
    static ZebObject objectFromJson(const nlohmann::ordered_json& entry, const std::string& origin,
                                    const std::string& where);

    const ZebObject* find(std::int32_t objectNo, std::uint8_t subNo) const;
    ZebObject* find(std::int32_t objectNo, std::uint8_t subNo);
    // The object a DTM.ini identity text ("number.sub") makes the gateway read: sub-number plus one.
    const ZebObject* identityObject(std::size_t item) const;

    std::string deviceType;
    std::string description;
    std::string tag;
    std::string communicationReference;
    std::array<std::string, 6> identity; // "object.sub" texts as in DTM.ini
    std::vector<ZebObject> objects;
    ZebReply broadcastReply;  // status 0 and no data unless the model says otherwise
    ZebReply delayedResponse; // likewise
    std::uint8_t unknownObjectStatus = 0x82;
    ZebAnswerMode answerMode;
    // The object the demo reads with a command 128 telegram (the first object unless the model says otherwise).
    std::int32_t demoObjectNo = 0;
    std::uint8_t demoSubNo = 0;
    BusParameters bus = defaultBusParameters(); // the "bus" section
    FaultSettings faults;                       // the "faults" section
};

// Parses "number.sub" as DTM.ini writes the identity items.
std::optional<std::pair<std::int32_t, std::uint8_t>> parseIdentityText(const std::string& text);

// Reads an answer mode from its JSON form: "normal", "refuse", "silent", or
// {"error": NAME, "zebActive": BOOL}. Throws ModelError.
ZebAnswerMode answerModeFromJson(const nlohmann::ordered_json& json);

// Reads the keys of a "bus" section over `bus` (busKeys(): whole numbers in their range; missing keys
// keep their value). Throws ModelError naming `origin` and the key.
BusParameters busFromJson(const nlohmann::ordered_json& json, const std::string& origin, BusParameters bus);

} // namespace zeb2hart::frame

#pragma once
// Seeded faults of the simulated parent: the `faults` section of a device model
// (probabilities per data-exchange request, seed, late time, busy status) and
// the draw that picks one fault per request from a std::mt19937 with a uniform
// mapping of its own, so that one seed gives the same session with every
// standard library. Used by the simulated parent on the session's thread.

#include <cstdint>
#include <random>
#include <string>

#include <nlohmann/json.hpp>

namespace zeb2hart::frame {

enum class FieldFault { None, NoAnswer, Late, Corrupt, Busy };

struct FaultSettings {
    double noAnswer = 0;         // probability that the request is never answered
    double late = 0;             // ... that the answer comes lateMs after its time
    double corrupt = 0;          // ... that the answer is corrupted (a ZEB communication error reaches the gateway)
    double busy = 0;             // ... that the device answers busyStatus without data
    std::uint32_t seed = 1;
    int lateMs = 35'000;         // beyond the longest warm-start delay (32 s)
    std::uint8_t busyStatus = 0x84; // class 0x80 with bit 2: the gateway reports HART response code 32, busy
    std::string corruptError = "ChecksumError"; // ZebcommError of a corrupted answer

    bool any() const { return noAnswer > 0 || late > 0 || corrupt > 0 || busy > 0; }
};

// Reads the keys `json` gives over `settings` (a model's section, or a script's change of it).
// Throws ModelError naming `origin` and the key for a value of the wrong type or out of range,
// or probabilities that add up to more than 1.
FaultSettings faultsFromJson(const nlohmann::ordered_json& json, const std::string& origin, FaultSettings settings);

// The seeded draw: one 32-bit output of std::mt19937 per request, mapped to [0, 1) by
// dividing by 2^32 and compared with the running sum of the probabilities in the order
// noAnswer, late, corrupt, busy.
class FaultDraw {
public:
    explicit FaultDraw(std::uint32_t seed = 1) : m_generator(seed) {}
    void reseed(std::uint32_t seed) { m_generator.seed(seed); }
    // No draw is made while every probability is 0.
    FieldFault next(const FaultSettings& settings);

private:
    std::mt19937 m_generator;
};

} // namespace zeb2hart::frame

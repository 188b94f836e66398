#include "peers/FieldFaults.h"

#include "peers/ZebDeviceModel.h"

namespace zeb2hart::frame {

namespace {

using Json = nlohmann::ordered_json;

// The probabilities by key, in the order of the draw.
struct ProbabilityKey {
    const char* key;
    double FaultSettings::*member;
};
constexpr ProbabilityKey kProbabilities[] = {
    {"noAnswer", &FaultSettings::noAnswer},
    {"late", &FaultSettings::late},
    {"corrupt", &FaultSettings::corrupt},
    {"busy", &FaultSettings::busy},
};

long long wholeNumber(const Json& value, long long low, long long high, const std::string& where)
{
    if (!value.is_number_integer())
        throw ModelError(where + " must be a whole number");
    const long long number = value.get<long long>();
    if (number < low || number > high)
        throw ModelError(where + " must lie in " + std::to_string(low) + ".." + std::to_string(high));
    return number;
}

} // namespace

FaultSettings faultsFromJson(const Json& json, const std::string& origin, FaultSettings settings)
{
    const std::string prefix = origin + ": faults";
    if (!json.is_object())
        throw ModelError(prefix + " must be an object");
    for (const auto& item : json.items()) {
        const std::string& key = item.key();
        const Json& value = item.value();
        const std::string where = prefix + "." + key;
        bool known = false;
        for (const auto& probability : kProbabilities) {
            if (key != probability.key)
                continue;
            known = true;
            if (!value.is_number())
                throw ModelError(where + " must be a number from 0 to 1");
            const double p = value.get<double>();
            if (!(p >= 0 && p <= 1))
                throw ModelError(where + " must be a number from 0 to 1");
            settings.*probability.member = p;
        }
        if (known)
            continue;
        if (key == "seed") {
            settings.seed = static_cast<std::uint32_t>(wholeNumber(value, 0, 0xFFFFFFFFLL, where));
        } else if (key == "lateMs") {
            settings.lateMs = static_cast<int>(wholeNumber(value, 0, 3'600'000, where));
        } else if (key == "busyStatus") {
            settings.busyStatus = static_cast<std::uint8_t>(wholeNumber(value, 0, 255, where));
        } else if (key == "corruptError") {
            if (!value.is_string() || value.get<std::string>().empty())
                throw ModelError(where + " must be the ZEB error name, a text");
            settings.corruptError = value.get<std::string>();
        } else {
            throw ModelError(prefix + " knows noAnswer, late, corrupt, busy, seed, lateMs, busyStatus and "
                                      "corruptError, not \"" + key + "\"");
        }
    }
    double sum = 0;
    for (const auto& probability : kProbabilities)
        sum += settings.*probability.member;
    if (sum > 1 + 1e-9)
        throw ModelError(prefix + ": the probabilities add up to more than 1");
    return settings;
}

FieldFault FaultDraw::next(const FaultSettings& settings)
{
    if (!settings.any())
        return FieldFault::None;
    // mt19937 yields exactly 32 bits, the same on every standard library; divide by 2^32 ourselves.
    const double u = static_cast<double>(static_cast<std::uint32_t>(m_generator())) / 4294967296.0;
    constexpr FieldFault kFaults[] = {FieldFault::NoAnswer, FieldFault::Late, FieldFault::Corrupt, FieldFault::Busy};
    double bound = 0;
    for (std::size_t i = 0; i < std::size(kProbabilities); ++i) {
        bound += settings.*kProbabilities[i].member;
        if (u < bound)
            return kFaults[i];
    }
    return FieldFault::None;
}

} // namespace zeb2hart::frame

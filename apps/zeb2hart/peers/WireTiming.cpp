#include "peers/WireTiming.h"

namespace zeb2hart::frame {

namespace {

// Microseconds of `characters` at `bitsPerCharacter` and `bitRate`, rounded to the nearest.
std::chrono::microseconds characterTime(std::size_t characters, int bitsPerCharacter, int bitRate)
{
    const long long bits = static_cast<long long>(characters) * bitsPerCharacter;
    return std::chrono::microseconds((bits * 1'000'000 + bitRate / 2) / bitRate);
}

} // namespace

const std::vector<BusKey>& busKeys()
{
    static const std::vector<BusKey> keys = {
        {"zebBitRate", &BusParameters::zebBitRate, 9600, 1, 10'000'000, "ZEB bit rate (bit/s)"},
        {"zebBitsPerCharacter", &BusParameters::zebBitsPerCharacter, 11, 1, 64,
         "ZEB bits per character (start, 8 data, parity, stop)"},
        {"zebOverheadCharacters", &BusParameters::zebOverheadCharacters, 8, 0, 1000,
         "ZEB characters per telegram besides its payload (synchronisation, address, checksum)"},
        {"zebTurnaroundMs", &BusParameters::zebTurnaroundMs, 10, 0, 60'000, "ZEB device turnaround (ms)"},
        {"hartTurnaroundMs", &BusParameters::hartTurnaroundMs, 150, 0, 60'000, "HART slave turnaround (ms)"},
        {"hartPreambles", &BusParameters::hartPreambles, 5, 2, 255, "HART preambles per frame"},
    };
    return keys;
}

BusParameters defaultBusParameters()
{
    BusParameters bus{};
    for (const auto& key : busKeys())
        bus.*key.member = key.defaultValue;
    return bus;
}

std::size_t hartRequestCharacters(int preambles, int command, std::size_t requestData)
{
    const std::size_t address = command == 0 ? 1 : 5;
    return static_cast<std::size_t>(preambles) + 1 + address + 1 + 1 + requestData + 1;
}

std::size_t hartResponseCharacters(int preambles, int command, std::size_t responseData)
{
    const std::size_t address = command == 0 ? 1 : 5;
    return static_cast<std::size_t>(preambles) + 1 + address + 1 + 1 + 2 + responseData + 1;
}

std::chrono::microseconds hartTransactionTime(const BusParameters& bus, int preambles, int command,
                                              std::size_t requestData, std::size_t responseData)
{
    const std::size_t characters = hartRequestCharacters(preambles, command, requestData) +
                                   hartResponseCharacters(preambles, command, responseData);
    return characterTime(characters, kHartBitsPerCharacter, kHartBitRate) +
           std::chrono::milliseconds(bus.hartTurnaroundMs);
}

std::chrono::microseconds zebRequestTime(const BusParameters& bus, std::size_t requestData, std::size_t answerData)
{
    const std::size_t characters = 2 * static_cast<std::size_t>(bus.zebOverheadCharacters) +
                                   2 * kZebHeaderCharacters + requestData + answerData;
    return characterTime(characters, bus.zebBitsPerCharacter, bus.zebBitRate) +
           std::chrono::milliseconds(bus.zebTurnaroundMs);
}

std::chrono::milliseconds timerMilliseconds(std::chrono::microseconds time)
{
    return std::chrono::milliseconds((time.count() + 999) / 1000);
}

} // namespace zeb2hart::frame

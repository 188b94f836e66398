#pragma once
// Field time of the simulated parent: the bus parameters of a device model
// (one table of keys and defaults, read by the model reader, listed by the
// docs and used by the tests) and the frame times of HART transactions and of
// ZEB requests. Plain functions without state; any thread may call them.

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace zeb2hart::frame {

// The HART line is modelled at 1200 bit/s with 11 bits per character (start, 8 data, odd parity, stop).
constexpr int kHartBitRate = 1200;
constexpr int kHartBitsPerCharacter = 11;
// Characters of a ZEB request or answer besides its data: object number 2, sub-number 1,
// message type 1, control (request) or status (answer) 1, data byte count 1.
constexpr int kZebHeaderCharacters = 6;

// The `bus` section of a device model. Its values come from kBusKeys' defaults unless the model says otherwise.
struct BusParameters {
    int zebBitRate;              // bit/s
    int zebBitsPerCharacter;     // bits on the wire per character
    int zebOverheadCharacters;   // per telegram (each request and each answer)
    int zebTurnaroundMs;         // the ZEB device's time between request and answer
    int hartTurnaroundMs;        // the HART slave's time between request and response
    int hartPreambles;           // preambles of each HART frame unless the child changed them
};

// One key of the `bus` section: its name, its member, its default, the values it takes, what it is.
struct BusKey {
    const char* key;
    int BusParameters::*member;
    int defaultValue;
    int minimum;
    int maximum;
    const char* meaning;
};
const std::vector<BusKey>& busKeys();
BusParameters defaultBusParameters();

// Characters of a HART request and response frame of `command` with that much data.
// Request: preambles + delimiter 1 + address (1 short for command 0, else 5 long) + command 1 + byte count 1
// + data + checksum 1. Response: the same with 2 status bytes before its data.
std::size_t hartRequestCharacters(int preambles, int command, std::size_t requestData);
std::size_t hartResponseCharacters(int preambles, int command, std::size_t responseData);

// The HART transaction on the line: both frames at 1200 bit/s, 11 bits each character, plus the slave's turnaround.
std::chrono::microseconds hartTransactionTime(const BusParameters& bus, int preambles, int command,
                                              std::size_t requestData, std::size_t responseData);
// One ZEB request on the bus: overhead + header + request data, overhead + header + answer data,
// at the ZEB bit rate, plus the device's turnaround.
std::chrono::microseconds zebRequestTime(const BusParameters& bus, std::size_t requestData, std::size_t answerData);

// Whole milliseconds, rounded up: what the event loop's timer is given.
std::chrono::milliseconds timerMilliseconds(std::chrono::microseconds time);

} // namespace zeb2hart::frame

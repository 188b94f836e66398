// The frame times of the wire timing against times worked out by hand. How the simulated
// parent applies them (queueing, preambles, which command a request stands for) is shown by
// tests/scripts/wire-timing.jsonl; the table of docs/simulation.md by the timing-table test.

#include <gtest/gtest.h>

#include "peers/WireTiming.h"

namespace zeb2hart::frame {
namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;

TEST(WireTiming, FrameTimesMatchTheHandCalculation)
{
    BusParameters bus = defaultBusParameters(); // 9600 bit/s, 11 bits, 8 overhead, 10 ms; HART 150 ms
    BusParameters bare = bus;
    bare.zebBitRate = 19200;
    bare.zebBitsPerCharacter = 10;
    bare.zebOverheadCharacters = 0;
    bare.zebTurnaroundMs = 0;
    bare.hartTurnaroundMs = 0;
    struct Case {
        const char* what;
        microseconds got;
        microseconds expected;
    };
    const Case cases[] = {
        // HART command 0, 5 preambles: request 5+1+1(short address)+1+1+0+1 = 10, response
        // 5+1+1+1+1+2+12+1 = 24; 34 characters * 11 bits / 1200 bit/s = 311.667 ms, + 150 ms.
        {"HART 0", hartTransactionTime(bus, 5, 0, 0, 12), microseconds(311'667 + 150'000)},
        // HART command 128 reading 4 data bytes: request 5+1+5(long address)+1+1+5+1 = 19, response
        // 5+1+5+1+1+2+9+1 = 25; 44 * 11 / 1200 = 403.333 ms, + 150 ms.
        {"HART 128", hartTransactionTime(bus, 5, 128, 5, 9), microseconds(403'333 + 150'000)},
        // HART command 131, 20 preambles, 5 response bytes, no turnaround: request 20+1+5+1+1+0+1 = 29,
        // response 20+1+5+1+1+2+5+1 = 36; 65 * 11 / 1200 = 595.833 ms.
        {"HART 131", hartTransactionTime(bare, 20, 131, 0, 5), microseconds(595'833)},
        // ZEB read answering 4 bytes: (8 + 6 + 0) + (8 + 6 + 4) = 32 characters * 11 / 9600 = 36.667 ms, + 10 ms.
        {"ZEB read", zebRequestTime(bus, 0, 4), microseconds(36'667 + 10'000)},
        // ZEB write of 3 bytes, bare bus: (0 + 6 + 3) + (0 + 6 + 0) = 15 * 10 / 19200 = 7.8125 ms, to 7.813.
        {"ZEB write", zebRequestTime(bare, 3, 0), microseconds(7'813)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.expected) << c.what;

    // The timer gets whole milliseconds, rounded up: 600.000 ms stays 600, 723.333 ms is 724.
    EXPECT_EQ(timerMilliseconds(microseconds(600'000)), milliseconds(600));
    EXPECT_EQ(timerMilliseconds(microseconds(723'333)), milliseconds(724));
    EXPECT_EQ(timerMilliseconds(microseconds(0)), milliseconds(0));
}

TEST(WireTiming, TheDefaultsGiveACommand0TransactionOfAboutHalfASecond)
{
    const BusParameters bus = defaultBusParameters();
    const auto command0 = hartTransactionTime(bus, bus.hartPreambles, 0, 0, 12);
    EXPECT_GE(command0, milliseconds(400));
    EXPECT_LE(command0, milliseconds(650));
}

} // namespace
} // namespace zeb2hart::frame

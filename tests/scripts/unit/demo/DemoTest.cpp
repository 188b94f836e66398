// The demo's printing of monitor lines, which no script sees.

#include <gtest/gtest.h>

#include "demo/Demo.h"
#include "support/Monitor.h"

namespace zeb2hart::frame {
namespace {

TEST(MonitorPrinting, LinesAsThePageShowsThem)
{
    // A message ending in CR LF leaves an empty row after it, as on the page.
    EXPECT_EQ(formatMonitorLine("A - b\r\nc\r\n", support::color::Black, false), "A - b\nc\n\n");
    EXPECT_EQ(formatMonitorLine("x", support::color::Green, true), "\033[32mx\033[0m\n");
    EXPECT_EQ(formatMonitorLine("x", support::color::Red, true), "\033[31mx\033[0m\n");
    EXPECT_EQ(formatMonitorLine("x", support::color::Blue, true), "\033[34mx\033[0m\n");
    EXPECT_EQ(formatMonitorLine("x", support::color::Black, true), "x\n");
    EXPECT_EQ(formatMonitorLine("a\rb", support::color::Black, false), "a\rb\n");
}

} // namespace
} // namespace zeb2hart::frame

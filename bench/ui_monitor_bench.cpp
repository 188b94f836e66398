// MessageLine into the communication monitor's view: lines per second over
// 100,000 lines, and the longest single append. With "repaint" the event loop
// runs every 100 lines, as it does between the calls of a real frame, so the
// view's painting is part of the cost.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <algorithm>
#include <array>
#include <chrono>
#include <memory>
#include <string>

#include "core/DTMMain.h"
#include "support/Monitor.h"
#include "pages/ctlMonitor.h"
#include "ui/qt/QtPageView.h"

namespace {

using zeb2hart::pages::ctlMonitor;

void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "zeb2hart_bench";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
}

// Lines as the gateway writes them: a 50-character name column, "- ", the message.
const std::array<std::string, 4> kLines = {
    "Request HART 'Command #0'                         - InvokeID 7D3A0C1E-5B2F-4E61-9A44-2C8F1B6D0E93",
    "Request ZEB                                       - InvokeID 0F9B2D77-3C41-4A8E-B5D2-6E1A7C3F9B20",
    "                                                  - Data : FE001A0505010C0D0100000001",
    "IFdtCommunication_TransactionRequest()            - Successful",
};
const std::array<std::int32_t, 4> kColors = {zeb2hart::support::color::Black, zeb2hart::support::color::Blue,
                                            zeb2hart::support::color::Blue, zeb2hart::support::color::Green};

std::shared_ptr<ctlMonitor> shownMonitor()
{
    auto page = std::dynamic_pointer_cast<ctlMonitor>(zeb2hart::ui::makeQtPage(zeb2hart::pages::PageKind::Monitor));
    QWidget* widget = zeb2hart::ui::pageWidget(page);
    widget->resize(720, 480);
    widget->show();
    QApplication::processEvents();
    return page;
}

template <class Append>
void measure(benchmark::State& state, Append&& append, std::shared_ptr<ctlMonitor>& page)
{
    const int lines = static_cast<int>(state.range(0));
    const bool repaint = state.range(1) != 0;
    double longestMicroseconds = 0.0;
    for (auto _ : state) {
        for (int i = 0; i < lines; ++i) {
            const auto start = std::chrono::steady_clock::now();
            append(i);
            const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
            longestMicroseconds = std::max(longestMicroseconds, took.count());
            if (repaint && i % 100 == 99)
                QApplication::processEvents();
        }
        state.PauseTiming();
        benchmark::DoNotOptimize(page->viewText().size());
        state.ResumeTiming();
    }
    state.counters["lines_per_second"] =
        benchmark::Counter(static_cast<double>(lines) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
    state.counters["longest_append_us"] = longestMicroseconds;
}

void BM_MonitorMessageLine(benchmark::State& state)
{
    ensureApplication();
    auto page = shownMonitor();
    measure(
        state, [&](int i) { page->MessageLine(kLines[i % 4], kColors[i % 4]); }, page);
}

// The whole road of a line: DTMMain::MonitorMsg formats and filters it, then the page appends it.
void BM_MonitorMsgThroughDtm(benchmark::State& state)
{
    ensureApplication();
    auto page = shownMonitor();
    const auto dtm = zeb2hart::core::DTMMain::create();
    dtm->PersistentZEBProtocolFilter = dtm->PersistentHARTProtocolFilter = dtm->PersistentFDTInterfaceFilter = true;
    if (!page->Init("bench", "30", dtm))
        state.SkipWithError("the monitor page did not open");
    measure(
        state,
        [&](int i) {
            dtm->MonitorMsg("Request ZEB", "InvokeID 0F9B2D77-3C41-4A8E-B5D2-6E1A7C3F9B20",
                            zeb2hart::support::color::Blue, zeb2hart::support::filter::ZebProtocol);
            (void)i;
        },
        page);
}

} // namespace

BENCHMARK(BM_MonitorMessageLine)
    ->ArgNames({"lines", "repaint"})
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_MonitorMsgThroughDtm)
    ->ArgNames({"lines", "repaint"})
    ->Args({100000, 1})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

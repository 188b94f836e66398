// A HART transaction through a connected DTM against its floor (Transactions.h),
// each alone and both interleaved in one run with their ratio as counters.
// Instructions per transaction: valgrind --tool=callgrind on zeb2hart_long_run
// (see docs/performance.md).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "Transactions.h"

namespace zeb2hart::bench {

namespace {

void BM_Command128_Gateway(benchmark::State& state)
{
    const std::vector<Command128Documents> variants = command128Documents();
    BenchServices services;
    ConnectedDtm instance;
    if (!runCommand128(instance, variants[0])) {
        state.SkipWithError("command 128 was not answered");
        return;
    }
    std::size_t n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(runCommand128(instance, variants[n++ % kVariants]));
}
BENCHMARK(BM_Command128_Gateway);

void BM_Command128_Floor(benchmark::State& state)
{
    const CompiledSchemas schemas;
    const std::vector<Command128Documents> variants = command128Documents();
    if (!floorCommand128(schemas, variants[0])) {
        state.SkipWithError("a document of command 128 is not valid");
        return;
    }
    std::size_t n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(floorCommand128(schemas, variants[n++ % kVariants]));
}
BENCHMARK(BM_Command128_Floor);

void BM_Command0_Gateway(benchmark::State& state)
{
    const std::vector<Command0Documents> variants = command0Documents();
    BenchServices services;
    ConnectedDtm instance;
    if (!runCommand0(instance, variants[0])) {
        state.SkipWithError("command 0 was not answered");
        return;
    }
    std::size_t n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(runCommand0(instance, variants[n++ % kVariants]));
}
BENCHMARK(BM_Command0_Gateway);

void BM_Command0_Floor(benchmark::State& state)
{
    const CompiledSchemas schemas;
    const std::vector<Command0Documents> variants = command0Documents();
    if (!floorCommand0(schemas, variants[0])) {
        state.SkipWithError("a document of command 0 is not valid");
        return;
    }
    std::size_t n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(floorCommand0(schemas, variants[n++ % kVariants]));
}
BENCHMARK(BM_Command0_Floor);

// Gateway and floor interleaved in one run, in rounds of `kRound` transactions
// each, so that both see the same machine; the counters give the processor
// time of each and their ratio.
template <class Documents, class Gateway, class Floor>
void measureRatio(benchmark::State& state, const std::vector<Documents>& variants, Gateway gateway, Floor floor)
{
    using Clock = ThreadClock;
    constexpr std::size_t kRound = 50;
    std::size_t next = 0;
    Clock::duration gatewayTime{};
    Clock::duration floorTime{};
    std::int64_t rounds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        for (std::size_t i = 0; i < kRound; ++i)
            benchmark::DoNotOptimize(gateway(variants[(next + i) % kVariants]));
        const auto middle = Clock::now();
        for (std::size_t i = 0; i < kRound; ++i)
            benchmark::DoNotOptimize(floor(variants[(next + i) % kVariants]));
        next += kRound;
        const auto end = Clock::now();
        gatewayTime += middle - start;
        floorTime += end - middle;
        ++rounds;
    }
    const double transactions = static_cast<double>(rounds) * kRound;
    const auto micros = [&](Clock::duration d) {
        return std::chrono::duration<double, std::micro>(d).count() / transactions;
    };
    state.counters["gateway_us"] = micros(gatewayTime);
    state.counters["floor_us"] = micros(floorTime);
    state.counters["ratio"] = micros(gatewayTime) / micros(floorTime);
}

void BM_Command128_Ratio(benchmark::State& state)
{
    const CompiledSchemas schemas;
    const std::vector<Command128Documents> variants = command128Documents();
    BenchServices services;
    ConnectedDtm instance;
    if (!runCommand128(instance, variants[0]) || !floorCommand128(schemas, variants[0])) {
        state.SkipWithError("command 128 does not go through");
        return;
    }
    measureRatio(
        state, variants, [&](const Command128Documents& d) { return runCommand128(instance, d); },
        [&](const Command128Documents& d) { return floorCommand128(schemas, d); });
}
BENCHMARK(BM_Command128_Ratio);

void BM_Command0_Ratio(benchmark::State& state)
{
    const CompiledSchemas schemas;
    const std::vector<Command0Documents> variants = command0Documents();
    BenchServices services;
    ConnectedDtm instance;
    if (!runCommand0(instance, variants[0]) || !floorCommand0(schemas, variants[0])) {
        state.SkipWithError("command 0 does not go through");
        return;
    }
    measureRatio(
        state, variants, [&](const Command0Documents& d) { return runCommand0(instance, d); },
        [&](const Command0Documents& d) { return floorCommand0(schemas, d); });
}
BENCHMARK(BM_Command0_Ratio);

} // namespace

} // namespace zeb2hart::bench

// Many instances in one frame project: N DTM instances, each through InitNew,
// Environment (the frame's and the component's schema folders) and a
// connected child, all kept alive. Each run starts on fresh copies of the
// component's data and the frame's schemas, so the first instance finds
// nothing compiled or parsed yet. Counters: the first and the last instance's
// processor time, their ratio, and what each further instance adds to the heap in use
// and to the resident memory (the latter is only meaningful as the first
// benchmark of a process: --benchmark_filter=BM_Instances/200).
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "BenchPeers.h"

namespace zeb2hart::bench {

namespace {

// A private copy of the component's data and the frame's schemas, dated an
// hour back as installed files are.
class FreshFolders {
public:
    FreshFolders()
    {
        std::random_device random;
        m_root = fs::temp_directory_path() / ("zeb2hart-bench-" + std::to_string(random()));
        fs::create_directories(component());
        for (const char* dir : {"XMLData", "XMLSchemas", "Resources"})
            fs::copy(componentDir() / dir, component() / dir, fs::copy_options::recursive);
        fs::copy(frameSchemaDir(), frameSchemas(), fs::copy_options::recursive);
        const auto anHourAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);
        for (const auto& entry : fs::recursive_directory_iterator(m_root))
            if (entry.is_regular_file())
                fs::last_write_time(entry.path(), anHourAgo);
    }
    ~FreshFolders()
    {
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }
    FreshFolders(const FreshFolders&) = delete;
    FreshFolders& operator=(const FreshFolders&) = delete;

    fs::path component() const { return m_root / "component"; }
    fs::path frameSchemas() const { return m_root / "FrameSchemas"; }

private:
    fs::path m_root;
};

std::size_t heapInUse()
{
    return mallinfo2().uordblks;
}

void BM_Instances(benchmark::State& state)
{
    using Clock = ThreadClock;
    const auto count = static_cast<std::size_t>(state.range(0));
    double firstMicros = 0;
    double lastMicros = 0;
    double tailMicros = 0;
    double heapPerInstance = 0;
    double residentPerInstance = 0;
    std::int64_t runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        {
            const FreshFolders folders;
            const BenchServices services(folders.component());
            std::vector<std::unique_ptr<ConnectedDtm>> instances;
            instances.reserve(count);
            std::vector<double> micros;
            std::size_t heapAfterFirst = 0;
            std::size_t residentAfterFirst = 0;
            state.ResumeTiming();
            for (std::size_t i = 0; i < count; ++i) {
                const auto start = Clock::now();
                instances.push_back(
                    std::make_unique<ConnectedDtm>(folders.frameSchemas(), "GW" + std::to_string(i + 1)));
                micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
                if (i == 0) {
                    state.PauseTiming();
                    heapAfterFirst = heapInUse();
                    residentAfterFirst = residentBytes();
                    state.ResumeTiming();
                }
            }
            state.PauseTiming();
            if (instances.back()->dtm->gateway().communicator().communicationReference() != "REF-1")
                state.SkipWithError("the last instance did not connect");
            if (count > 1) {
                heapPerInstance += static_cast<double>(heapInUse() - heapAfterFirst) / static_cast<double>(count - 1);
                residentPerInstance += static_cast<double>(residentBytes() - residentAfterFirst) /
                                       static_cast<double>(count - 1);
            }
            firstMicros += micros.front();
            lastMicros += micros.back();
            const std::size_t tail = std::min<std::size_t>(10, micros.size());
            double tailSum = 0;
            for (std::size_t i = micros.size() - tail; i < micros.size(); ++i)
                tailSum += micros[i];
            tailMicros += tailSum / static_cast<double>(tail);
            ++runs;
            instances.clear();
        }
        state.ResumeTiming();
    }
    const double n = static_cast<double>(runs);
    state.counters["first_us"] = firstMicros / n;
    state.counters["last_us"] = lastMicros / n;
    state.counters["last10_us"] = tailMicros / n;
    state.counters["last_over_first"] = lastMicros / firstMicros;
    state.counters["last10_over_first"] = tailMicros / firstMicros;
    if (count > 1) {
        state.counters["heap_KiB_per_further"] = heapPerInstance / n / 1024.0;
        state.counters["rss_KiB_per_further"] = residentPerInstance / n / 1024.0;
    }
}
BENCHMARK(BM_Instances)->Arg(1)->Arg(200)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace zeb2hart::bench

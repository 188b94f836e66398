// zeb2hart_long_run: one DTM instance serving a long run of transactions, and
// single transactions counted instruction by instruction.
//
//   zeb2hart_long_run [TRANSACTIONS]
//       Commands 59 and 128 alternating, each answered (default 1,000,000).
//       Prints the resident memory as the run goes; fails (exit status 1) when
//       it grows by 1 MiB or more after the first 10,000 transactions.
//   zeb2hart_long_run --only KIND COUNT
//       COUNT transactions of KIND (command128, command128-floor, command0,
//       command0-floor) after a warm-up. Under callgrind the counters are
//       zeroed after the warm-up and dumped after the run, so the dump holds
//       the instructions of COUNT transactions exactly:
//         valgrind --tool=callgrind --callgrind-out-file=cg.out zeb2hart_long_run --only command128 500
//       bench/instructions.sh runs all four and prints the ratios.
#include <malloc.h>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_ZERO_STATS
#define CALLGRIND_DUMP_STATS_AT(name)
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "Transactions.h"

namespace {

using namespace zeb2hart::bench;

constexpr std::size_t kSettled = 10'000;
constexpr std::size_t kAllowedGrowth = std::size_t{1} << 20;

std::string command59Request(std::size_t n)
{
    return hartRequest("59", hexByte(n) + "01");
}

int longRun(std::size_t transactions)
{
    BenchServices services;
    ConnectedDtm instance;
    std::size_t settled = 0;
    std::size_t highest = 0;
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t n = 0; n < transactions; ++n) {
        const std::string invokeId = "child-" + std::to_string(n);
        if (n % 2 == 0) {
            instance.dtm->TransactionRequest(invokeId, command59Request(n / 2));
        } else {
            const std::size_t v = n / 2;
            instance.dtm->TransactionRequest(invokeId, hartRequest("128", "0102030002" + hexByte(v) + hexByte(v >> 8)));
            instance.dtm->OnTransactionResponse(invokeId, zebAnswer(258, 3, hexByte(v) + hexByte(v >> 16)));
        }
        if (instance.child->calls.size() != 1 || instance.child->calls[0].document.empty()) {
            std::fprintf(stderr, "transaction %zu was not answered\n", n + 1);
            return 2;
        }
        instance.parent->calls.clear();
        instance.child->calls.clear();
        const std::size_t done = n + 1;
        if (done == kSettled)
            settled = residentBytes();
        if (done >= kSettled && (done % 50'000 == 0 || done == transactions)) {
            const std::size_t resident = residentBytes();
            highest = std::max(highest, resident);
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::printf("%9zu transactions  %8.1f s  resident %8zu KiB  heap in use %8zu KiB\n", done, seconds,
                        resident >> 10, static_cast<std::size_t>(mallinfo2().uordblks) >> 10);
            std::fflush(stdout);
        }
    }
    if (transactions < kSettled) {
        std::printf("fewer than %zu transactions: no growth measured\n", kSettled);
        return 0;
    }
    const std::size_t growth = highest > settled ? highest - settled : 0;
    std::printf("resident memory after %zu transactions: %zu KiB; highest later: %zu KiB; growth %zu KiB (limit %zu KiB)\n",
                kSettled, settled >> 10, highest >> 10, growth >> 10, kAllowedGrowth >> 10);
    return growth < kAllowedGrowth ? 0 : 1;
}

template <class Documents, class Run>
int countOnly(const std::vector<Documents>& variants, std::size_t count, Run run)
{
    for (std::size_t n = 0; n < 2 * kVariants; ++n)
        if (!run(variants[n % kVariants])) {
            std::fprintf(stderr, "the transaction does not go through\n");
            return 2;
        }
    CALLGRIND_ZERO_STATS;
    bool ok = true;
    for (std::size_t n = 0; n < count; ++n)
        ok &= run(variants[n % kVariants]);
    CALLGRIND_DUMP_STATS_AT("measured");
    if (!ok) {
        std::fprintf(stderr, "a transaction did not go through\n");
        return 2;
    }
    std::printf("%zu transactions\n", count);
    return 0;
}

int only(const std::string& kind, std::size_t count)
{
    if (kind == "command128" || kind == "command128-floor") {
        const std::vector<Command128Documents> variants = command128Documents();
        if (kind == "command128-floor") {
            const CompiledSchemas schemas;
            return countOnly(variants, count, [&](const Command128Documents& d) { return floorCommand128(schemas, d); });
        }
        BenchServices services;
        ConnectedDtm instance;
        return countOnly(variants, count, [&](const Command128Documents& d) { return runCommand128(instance, d); });
    }
    if (kind == "command0" || kind == "command0-floor") {
        const std::vector<Command0Documents> variants = command0Documents();
        if (kind == "command0-floor") {
            const CompiledSchemas schemas;
            return countOnly(variants, count, [&](const Command0Documents& d) { return floorCommand0(schemas, d); });
        }
        BenchServices services;
        ConnectedDtm instance;
        return countOnly(variants, count, [&](const Command0Documents& d) { return runCommand0(instance, d); });
    }
    std::fprintf(stderr, "unknown kind %s\n", kind.c_str());
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        if (argc == 4 && std::string(argv[1]) == "--only")
            return only(argv[2], std::strtoul(argv[3], nullptr, 10));
        if (argc <= 2) {
            const std::size_t transactions = argc == 2 ? std::strtoul(argv[1], nullptr, 10) : 1'000'000;
            return longRun(transactions);
        }
        std::fprintf(stderr, "usage: %s [TRANSACTIONS] | --only KIND COUNT\n", argv[0]);
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 2;
    }
}

#pragma once
// The calls on which a fake peer (FakeParent, FakeChild) fails: the Nth call of
// an operation, or every call of it, raises fdt::Error instead of doing what
// the peer does otherwise. It counts each operation's calls since the peer was
// made. Set by whoever drives the peer (a test, a script step) and read by the
// peer, on the one thread that drives the DTM.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace zeb2hart::fakes {

class PeerFaults {
public:
    // Counts one more call of `op` and answers its number (1 = first).
    long long count(std::string_view op);
    // How many calls of `op` were counted so far.
    long long counted(std::string_view op) const;
    // From now on call `nth` of `op` (every call when nothing) fails.
    void failOn(const std::string& op, std::optional<long long> nth = std::nullopt);
    // From now on every call of every operation fails.
    void failAll() { m_all = true; }
    // Whether call `n` of `op` is to fail.
    bool chosen(std::string_view op, long long n) const;

private:
    std::map<std::string, long long, std::less<>> m_calls;
    std::map<std::string, std::set<long long>, std::less<>> m_nth;
    std::set<std::string, std::less<>> m_every;
    bool m_all = false;
};

} // namespace zeb2hart::fakes

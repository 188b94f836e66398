#pragma once
// The calls on which a scripted peer of a frame script (the scripted parent or
// child) fails: the Nth call of an operation, or every call of it, raises an
// error instead of doing what the peer does otherwise. It counts each
// operation's calls since the peer was made. Set by script steps and read by
// the peer, on the thread that runs the script.

#include <map>
#include <optional>
#include <set>
#include <string>

#include "transcript/Transcript.h"

namespace zeb2hart::frame {

class PeerFaults {
public:
    // Counts one more call of `op` and answers its number (1 = first).
    long long count(const std::string& op);
    // From now on call `nth` of `op` (every call when nothing) fails.
    void failOn(const std::string& op, std::optional<long long> nth);
    // Fails call `n` of `op` when the script chose it: an "out" event from the
    // peer `peer` to the transcript with the error, then fdt::Error thrown.
    void raiseIfChosen(Transcript& transcript, const std::string& peer, const std::string& op,
                       const std::string& shownOp, const Json& args, long long n) const;

private:
    std::map<std::string, long long> m_calls;
    std::map<std::string, std::set<long long>> m_nth;
    std::set<std::string> m_every;
};

} // namespace zeb2hart::frame

#include "peers/PeerFaults.h"

#include "fdt/Errors.h"
#include "transcript/Recording.h"

namespace zeb2hart::frame {

long long PeerFaults::count(const std::string& op)
{
    return ++m_calls[op];
}

void PeerFaults::failOn(const std::string& op, std::optional<long long> nth)
{
    if (nth)
        m_nth[op].insert(*nth);
    else
        m_every.insert(op);
}

void PeerFaults::raiseIfChosen(Transcript& transcript, const std::string& peer, const std::string& op,
                               const std::string& shownOp, const Json& args, long long n) const
{
    const auto nth = m_nth.find(op);
    if (!m_every.count(op) && (nth == m_nth.end() || !nth->second.count(n)))
        return;
    const fdt::Error error("the scripted " + peer + " fails " + op + " (call " + std::to_string(n) + ")");
    transcript.add({{"ev", "out"}, {"to", peer}, {"op", shownOp}, {"args", args}, {"error", errorJson(error)}});
    throw error;
}

} // namespace zeb2hart::frame

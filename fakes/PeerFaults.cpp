#include "PeerFaults.h"

namespace zeb2hart::fakes {

long long PeerFaults::count(std::string_view op)
{
    auto it = m_calls.find(op);
    if (it == m_calls.end())
        it = m_calls.emplace(std::string(op), 0).first;
    return ++it->second;
}

long long PeerFaults::counted(std::string_view op) const
{
    const auto it = m_calls.find(op);
    return it == m_calls.end() ? 0 : it->second;
}

void PeerFaults::failOn(const std::string& op, std::optional<long long> nth)
{
    if (nth)
        m_nth[op].insert(*nth);
    else
        m_every.insert(op);
}

bool PeerFaults::chosen(std::string_view op, long long n) const
{
    if (m_all || m_every.find(op) != m_every.end())
        return true;
    const auto nth = m_nth.find(op);
    return nth != m_nth.end() && nth->second.count(n) > 0;
}

} // namespace zeb2hart::fakes

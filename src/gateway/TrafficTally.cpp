#include "gateway/TrafficTally.h"

#include <algorithm>

namespace zeb2hart::gateway {

void TrafficTally::connectionStarted()
{
    if (ConnectionCounters* connection = current())
        connection->connected = false;
    if (m_connections.size() == kConnectionLimit)
        m_connections.erase(m_connections.begin());
    m_connections.emplace_back().connected = true;
    // What the previous connection still waited for is not this one's.
    for (Pending& pending : m_pending)
        pending.toParent = pending.toChild = false;
    m_answeredHasCommand = false;
}

void TrafficTally::connectionRefused()
{
    if (!m_connections.empty())
        m_connections.pop_back();
}

void TrafficTally::referenceKnown(const std::string& communicationReference)
{
    if (ConnectionCounters* connection = current())
        connection->communicationReference = communicationReference;
}

void TrafficTally::disconnected()
{
    if (ConnectionCounters* connection = current())
        connection->connected = false;
}

void TrafficTally::count(std::uint64_t ConnectionCounters::*field)
{
    if (ConnectionCounters* connection = current())
        ++(connection->*field);
}

CommandCounters& TrafficTally::commandOf(ConnectionCounters& connection, std::int16_t command)
{
    auto& commands = connection.commands;
    auto it = std::lower_bound(commands.begin(), commands.end(), command,
                               [](const CommandCounters& entry, std::int16_t number) { return entry.command < number; });
    if (it == commands.end() || it->command != command) {
        it = commands.insert(it, CommandCounters{});
        it->command = command;
    }
    return *it;
}

TrafficTally::Pending* TrafficTally::find(const std::string& invokeId)
{
    for (Pending& pending : m_pending) {
        if (!pending.free() && pending.invokeId == invokeId)
            return &pending;
    }
    return nullptr;
}

TrafficTally::Pending& TrafficTally::slotFor(const std::string& invokeId)
{
    if (Pending* pending = find(invokeId))
        return *pending;
    Pending* slot = nullptr;
    for (Pending& pending : m_pending) {
        if (pending.free()) {
            slot = &pending;
            break;
        }
    }
    if (!slot && m_pending.size() < kPendingLimit)
        slot = &m_pending.emplace_back();
    if (!slot)
        slot = &*std::min_element(m_pending.begin(), m_pending.end(),
                                  [](const Pending& a, const Pending& b) { return a.start < b.start; });
    // assign keeps the text's storage: a reused slot allocates nothing.
    slot->invokeId.assign(invokeId);
    slot->toParent = slot->toChild = false;
    return *slot;
}

void TrafficTally::childRequest(const std::string& invokeId, std::int16_t command)
{
    ConnectionCounters* connection = current();
    if (!connection)
        return;
    ++commandOf(*connection, command).requests;
    Pending& pending = slotFor(invokeId);
    pending.start = m_loop->now();
    pending.command = command;
    pending.hasCommand = true;
    pending.toParent = false;
    pending.toChild = true;
}

void TrafficTally::requestToParent(const std::string& invokeId, const std::int16_t* command)
{
    ConnectionCounters* connection = current();
    if (!connection)
        return;
    ++connection->requestsToParent;
    Pending* pending = find(invokeId);
    if (!pending) {
        pending = &slotFor(invokeId);
        pending->start = m_loop->now();
        pending->hasCommand = command != nullptr;
        pending->command = command ? *command : 0;
    }
    pending->toParent = true;
}

void TrafficTally::notTaken(const std::string& invokeId)
{
    // The request ends here: no answer comes for it.
    if (Pending* pending = find(invokeId))
        pending->toParent = pending->toChild = false;
}

void TrafficTally::answerFromParent(const std::string& invokeId)
{
    m_answeredHasCommand = false;
    ConnectionCounters* connection = current();
    if (!connection)
        return;
    ++connection->answersFromParent;
    Pending* pending = find(invokeId);
    if (!pending || !pending->toParent) {
        ++connection->unknownAnswers;
        return;
    }
    pending->toParent = false;
    m_answeredHasCommand = pending->hasCommand;
    m_answeredCommand = pending->command;
}

void TrafficTally::errorAnswer(const std::string& errorText)
{
    ConnectionCounters* connection = current();
    if (!connection)
        return;
    auto& kinds = connection->errorAnswers;
    auto it = std::find_if(kinds.begin(), kinds.end(), [&](const auto& kind) { return kind.first == errorText; });
    if (it == kinds.end())
        kinds.emplace_back(errorText, 1);
    else
        ++it->second;
    if (m_answeredHasCommand)
        ++commandOf(*connection, m_answeredCommand).errors;
    m_answeredHasCommand = false;
}

void TrafficTally::answeringChild(const std::string& invokeId)
{
    ConnectionCounters* connection = current();
    Pending* pending = find(invokeId);
    if (!connection || !pending || !pending->toChild)
        return;
    pending->toChild = false;
    CommandCounters& command = commandOf(*connection, pending->command);
    const std::chrono::milliseconds latency = m_loop->now() - pending->start;
    if (command.answers == 0 || latency < command.latencyLeast)
        command.latencyLeast = latency;
    if (command.answers == 0 || latency > command.latencyMost)
        command.latencyMost = latency;
    command.latencyTotal += latency;
    ++command.answers;
}

void TrafficTally::refused(const std::string& invokeId)
{
    count(&ConnectionCounters::refusedRequests);
    // A refused request gets no answer, unless it reached the parent.
    if (Pending* pending = find(invokeId); pending && !pending->toParent)
        pending->toChild = false;
}

} // namespace zeb2hart::gateway

#include "platform/ThreadState.h"

#include <atomic>

namespace zeb2hart::platform {

namespace {

std::atomic<long> g_alive{0};

} // namespace

ThreadState& ThreadState::current()
{
    if (ThreadState* state = stored())
        return *state;
    auto* made = new ThreadState();
    store(made);
    return *made;
}

long ThreadState::alive()
{
    return g_alive;
}

ThreadState::ThreadState() : m_services(systemServices())
{
    ++g_alive;
}

ThreadState::~ThreadState()
{
    m_ending = true;
    endParts();
    m_services = Services{};
    endParts();
    --g_alive;
}

void ThreadState::endParts()
{
    // A part that ends may still reach the thread's data (a frame's services
    // put back, another part); it finds this data until the last part is gone.
    while (!m_parts.empty()) {
        std::shared_ptr<void> object = std::move(m_parts.back().object);
        m_parts.pop_back();
        object.reset();
    }
}

void ThreadState::dropHold()
{
    if (--m_holds == 0 && !m_ending && stored() == this) {
        delete this;
        store(nullptr);
    }
}

ThreadState::Hold::Hold() : m_state(&current())
{
    m_state->addHold();
}

ThreadState::Hold::~Hold()
{
    m_state->dropHold();
}

} // namespace zeb2hart::platform

#include "transcript/Transcript.h"

#include <algorithm>
#include <cstddef>

#include "support/Conversions.h"
#include "support/Monitor.h"

namespace zeb2hart::frame {

std::size_t Transcript::add(Json event)
{
    if (m_beforeEvent && !m_inHook) {
        m_inHook = true;
        try {
            m_beforeEvent();
        } catch (...) {
            m_inHook = false;
            throw;
        }
        m_inHook = false;
    }
    return addDirect(std::move(event));
}

std::size_t Transcript::addDirect(Json event)
{
    Json stamped;
    if (m_line > 0)
        stamped["line"] = m_line;
    for (auto& [key, value] : event.items())
        stamped[key] = std::move(value);
    if (m_out)
        *m_out << stamped.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n' << std::flush;
    if (m_listener)
        m_listener(stamped);
    if (!m_keepEvents)
        return size();
    m_events.push_back(std::move(stamped));
    return size() - 1;
}

void Transcript::forgetBefore(std::size_t index)
{
    const std::size_t count = std::min(index, size()) - std::min(index, m_forgotten);
    m_events.erase(m_events.begin(), m_events.begin() + static_cast<std::ptrdiff_t>(count));
    m_forgotten += count;
}

std::string colorName(std::int32_t color)
{
    switch (color) {
    case support::color::Green:
        return "green";
    case support::color::Red:
        return "red";
    case support::color::Blue:
        return "blue";
    case support::color::Black:
        return "black";
    default:
        return "0x" + support::HexLong(color);
    }
}

} // namespace zeb2hart::frame

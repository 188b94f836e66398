#include "host/Transcript.h"

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
        return m_events.size();
    m_events.push_back(std::move(stamped));
    return m_events.size() - 1;
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

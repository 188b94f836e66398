#pragma once
// The transcript of a frame script: every observable event of the session, in
// the order it happened, kept for the expectations and written as JSON Lines.

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace zeb2hart::frame {

using Json = nlohmann::ordered_json;

class Transcript {
public:
    // Events are written to `out` as they arrive (nullptr: kept only).
    void setOutput(std::ostream* out) { m_out = out; }
    // Runs before every event is added (the trace-file reader uses it to put
    // trace lines in their place).
    void setBeforeEvent(std::function<void()> hook) { m_beforeEvent = std::move(hook); }
    // The script line the following events belong to (0: none).
    void setLine(int line) { m_line = line; }
    // Told of every event once it is added (the frame window's log).
    void setListener(std::function<void(const Json&)> listener) { m_listener = std::move(listener); }
    // false: events go to the output and the listener only, and events() stays
    // empty (a long interactive session would otherwise grow without end).
    void setKeepEvents(bool keep) { m_keepEvents = keep; }

    // Adds an event; "ev" names its kind. Returns its index (when events are kept).
    std::size_t add(Json event);
    // Adds an event without running the before-event hook.
    std::size_t addDirect(Json event);

    // The events kept: all of them, unless forgetBefore() dropped the first ones.
    const std::vector<Json>& events() const { return m_events; }
    // How many events were added (and kept) so far, forgotten ones included.
    std::size_t size() const { return m_forgotten + m_events.size(); }
    // The event of index `index` (as add() returned it), which must not be forgotten.
    const Json& at(std::size_t index) const { return m_events.at(index - m_forgotten); }
    // The index of the first event still kept.
    std::size_t firstKept() const { return m_forgotten; }
    // Drops the events before `index` (a long script keeps only what it can still search).
    void forgetBefore(std::size_t index);

private:
    std::ostream* m_out = nullptr;
    std::function<void()> m_beforeEvent;
    std::function<void(const Json&)> m_listener;
    bool m_keepEvents = true;
    bool m_inHook = false;
    int m_line = 0;
    std::size_t m_forgotten = 0;
    std::vector<Json> m_events;
};

// The name of a monitor colour of the palette ("green", "red", "blue", "black"),
// or the value as "0x00BBGGRR" for any other colour.
std::string colorName(std::int32_t color);

} // namespace zeb2hart::frame

#include "scripts/ExpectSteps.h"

#include "scripts/ScriptRun.h"

namespace zeb2hart::frame {

namespace {

// Failures and script errors are not what a script expects.
bool isObservable(const Json& event)
{
    const auto ev = event.value("ev", "");
    return ev != "fail" && ev != "error";
}

} // namespace

void stepExpect(ScriptRun& run, const Json& j)
{
    const Json matcher = run.references().resolveMatcher(j["expect"]);
    if (!matcher.is_object())
        throw ScriptError("\"expect\" takes an object of event fields, e.g. {\"ev\": \"monitor\", ...}");
    const std::string scope = j.contains("scope") ? ScriptRun::text(j["scope"], "\"scope\"") : "step";
    if (scope != "step" && scope != "all")
        throw ScriptError("\"scope\" takes \"step\" or \"all\"");
    const Transcript& events = run.transcript();
    // The runner keeps every event only for a script that searches them all.
    const std::size_t begin = scope == "all" ? events.firstKept() : run.stepStart();
    const std::size_t end = events.size();
    std::string closest;
    if (j.contains("count")) {
        if (!j["count"].is_number_integer())
            throw ScriptError("\"count\" takes a whole number");
        long long count = 0;
        for (std::size_t i = begin; i < end; ++i) {
            std::string why;
            if (isObservable(events.at(i)) && run.matcher().matches(matcher, events.at(i), why))
                ++count;
        }
        if (count != j["count"].get<long long>())
            run.fail("expected " + j["count"].dump() + " event(s) matching " + matcher.dump() + ", found " +
                     std::to_string(count));
        return;
    }
    const std::size_t from = scope == "all" ? begin : run.cursor();
    for (std::size_t i = from; i < end; ++i) {
        std::string why;
        if (!isObservable(events.at(i)))
            continue;
        if (run.matcher().matches(matcher, events.at(i), why)) {
            if (scope == "step")
                run.cursor() = i + 1;
            return;
        }
        // The first event of the same kind and operation says why it did not match.
        const auto sameAs = [&](const char* key) {
            return !matcher.contains(key) || !matcher[key].is_string() ||
                   (events.at(i).contains(key) && events.at(i)[key] == matcher[key]);
        };
        if (closest.empty() && matcher.contains("ev") && sameAs("ev") && sameAs("op"))
            closest = why;
    }
    run.fail("no event matches " + matcher.dump() + (closest.empty() ? "" : " (nearest: " + closest + ")"));
}

void stepLet(ScriptRun& run, const Json& j)
{
    if (!j["let"].is_object())
        throw ScriptError("\"let\" takes an object of name: value");
    for (const auto& item : j["let"].items())
        run.vars()[item.key()] = run.references().resolve(item.value());
}

} // namespace zeb2hart::frame

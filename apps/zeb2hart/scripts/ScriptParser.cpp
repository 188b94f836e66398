#include "scripts/ScriptParser.h"

#include <algorithm>
#include <fstream>

#include "scripts/ScriptRunner.h"
#include "support/Text.h"

namespace zeb2hart::frame {

namespace {

// A step nests its values at most this deep: the steps' handlers, the matcher
// and the references walk values recursively.
constexpr int kMaxDepth = 200;

// One line as JSON; ScriptError for a line nested too deep (found while it is
// parsed, before a deep value is built) or not JSON at all.
Json parseLine(const std::string& content, const std::string& where)
{
    const Json::parser_callback_t limitDepth = [&where](int depth, Json::parse_event_t event, Json&) {
        // `depth` counts the arrays and objects around the one that starts.
        if ((event == Json::parse_event_t::object_start || event == Json::parse_event_t::array_start) &&
            depth >= kMaxDepth)
            throw ScriptError(where + "values nested more than " + std::to_string(kMaxDepth) + " levels deep");
        return true;
    };
    try {
        return Json::parse(content, limitDepth);
    } catch (const Json::exception& error) { // also a number beyond the range of a double
        throw ScriptError(where + "malformed line (not one JSON object): " + error.what());
    }
}

// A text holding U+0000 would reach the component cut short at that character.
bool holdsNul(const Json& value)
{
    if (value.is_string())
        return value.get_ref<const std::string&>().find('\0') != std::string::npos;
    if (value.is_object()) {
        for (const auto& item : value.items()) {
            if (item.key().find('\0') != std::string::npos || holdsNul(item.value()))
                return true;
        }
    }
    if (value.is_array())
        return std::any_of(value.begin(), value.end(), holdsNul);
    return false;
}

// The kind of a step: the one key that names a step kind, not counting a key
// that the other kind takes ({"attach": ..., "model": {...}} is an attach step).
const StepKind* kindOf(const Json& step, const std::string& where)
{
    std::vector<const StepKind*> named;
    for (const auto& item : step.items()) {
        if (const StepKind* kind = findStepKind(item.key()))
            named.push_back(kind);
    }
    std::vector<const StepKind*> actions;
    for (const StepKind* kind : named) {
        const bool takenByOther = std::any_of(named.begin(), named.end(), [&](const StepKind* other) {
            return other != kind && other->keys.count(kind->name);
        });
        if (!takenByOther)
            actions.push_back(kind);
    }
    if (actions.size() > 1) {
        std::sort(actions.begin(), actions.end(), [](const StepKind* a, const StepKind* b) { return a->name < b->name; });
        throw ScriptError(where + "one step holds both \"" + actions[0]->name + "\" and \"" + actions[1]->name + "\"");
    }
    return actions.empty() ? nullptr : actions.front();
}

} // namespace

void readScript(std::istream& in, const std::string& name, const StepReader& onStep)
{
    std::string text;
    int line = 0;
    while (std::getline(in, text)) {
        ++line;
        const std::string content(support::trimBlanks(text));
        if (content.empty() || content[0] == '#')
            continue;
        const std::string where = name + ":" + std::to_string(line) + ": ";
        Step step;
        step.line = line;
        step.json = parseLine(content, where);
        if (holdsNul(step.json))
            throw ScriptError(where + "a text holds \\u0000, which no text of the component can hold");
        if (!step.json.is_object())
            throw ScriptError(where + "a step is a JSON object, e.g. {\"call\": \"IDtm::InitNew\", ...}");
        step.kind = kindOf(step.json, where);
        if (!step.kind) {
            if (step.json.size() == 1 && step.json.contains("note"))
                continue;
            throw ScriptError(where + "no step kind in " + content.substr(0, 80) + " (expected one of " +
                              stepKindNames() + ")");
        }
        for (const auto& item : step.json.items()) {
            if (item.key() != step.kind->name && item.key() != "note" && !step.kind->keys.count(item.key()))
                throw ScriptError(where + "\"" + step.kind->name + "\" steps take no key \"" + item.key() + "\"");
        }
        if (step.kind->check) {
            try {
                step.kind->check(step.json);
            } catch (const ScriptError& error) {
                throw ScriptError(where + error.what());
            }
        }
        if (!onStep(step))
            return;
    }
    if (in.bad())
        throw ScriptError("cannot read the script " + name);
}

void readScript(const std::filesystem::path& script, const StepReader& onStep)
{
    std::ifstream in(script, std::ios::binary);
    if (!in)
        throw ScriptError("cannot open the script " + script.string());
    readScript(in, script.string(), onStep);
}

} // namespace zeb2hart::frame

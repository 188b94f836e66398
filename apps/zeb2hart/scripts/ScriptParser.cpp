#include "scripts/ScriptParser.h"

#include <algorithm>
#include <fstream>

#include "scripts/ScriptRunner.h"
#include "support/Text.h"

namespace zeb2hart::frame {

namespace {

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

std::vector<Step> parseScript(std::istream& in, const std::string& name)
{
    std::vector<Step> steps;
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
        try {
            step.json = Json::parse(content);
        } catch (const Json::exception& error) { // also a number beyond the range of a double
            throw ScriptError(where + "malformed line (not one JSON object): " + error.what());
        }
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
        steps.push_back(std::move(step));
    }
    return steps;
}

std::vector<Step> parseScript(const std::filesystem::path& script)
{
    std::ifstream in(script, std::ios::binary);
    if (!in)
        throw ScriptError("cannot open the script " + script.string());
    return parseScript(in, script.string());
}

} // namespace zeb2hart::frame

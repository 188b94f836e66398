#include "scripts/CallArguments.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "fdt/Errors.h"
#include "scripts/ScriptRun.h"

namespace zeb2hart::frame {

namespace {

std::string paramList(const Operation& operation)
{
    std::string list = " (";
    for (std::size_t i = 0; i < operation.params.size(); ++i)
        list += (i ? ", " : "") + operation.params[i].name;
    return list + ")";
}

Argument argument(ScriptRun& run, const Param& param, const Json& raw, const std::string& op)
{
    Argument arg;
    const std::string where = op + " argument \"" + param.name + "\"";
    switch (param.kind) {
    case ParamKind::Text: {
        const Json value = run.references().resolve(raw);
        if (!value.is_string())
            throw ScriptError(where + " is text");
        arg.text = value.get<std::string>();
        arg.shown = arg.text;
        break;
    }
    case ParamKind::Object:
        if (raw.is_null()) {
            arg.shown = nullptr;
        } else {
            arg.object = run.session().object(ScriptRun::text(raw, where));
            arg.shown = raw;
        }
        break;
    case ParamKind::Integer:
        if (!raw.is_number_integer())
            throw ScriptError(where + " is a whole number");
        arg.number = raw.get<long long>();
        arg.shown = raw;
        break;
    case ParamKind::Boolean:
        arg.flag = ScriptRun::boolean(raw, where);
        arg.shown = arg.flag;
        break;
    case ParamKind::Bag:
        arg.bag = bagArgument(run, raw);
        arg.shown = bagValues(*arg.bag);
        break;
    case ParamKind::Controls:
        if (!raw.is_array())
            throw ScriptError(where + " is a list of {\"name\", \"index\", \"caption\"}");
        for (const auto& control : raw) {
            if (!control.is_object() || !control.contains("name") || !control["name"].is_string())
                throw ScriptError(where + ": each control has a \"name\"");
            std::optional<int> index;
            if (control.contains("index")) {
                if (!control["index"].is_number_integer())
                    throw ScriptError(where + ": \"index\" is a whole number");
                index = control["index"].get<int>();
            }
            arg.controls.emplace_back(control["name"].get<std::string>(), index, control.value("caption", true));
        }
        arg.shown = raw;
        break;
    }
    return arg;
}

std::shared_ptr<platform::MemoryPropertyBag> copyOf(const platform::MemoryPropertyBag& source)
{
    auto copy = std::make_shared<platform::MemoryPropertyBag>();
    for (const auto& [key, value] : source.entries())
        copy->write(key, value);
    return copy;
}

// Argument names are matched regardless of case, as COM matches names
// ("callback" names ConnectRequest's callBack).
bool sameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

std::vector<Argument> callArguments(ScriptRun& run, const Operation& operation, const Json& given)
{
    std::vector<Json> values;
    if (given.is_array()) {
        if (given.size() != operation.params.size())
            throw ScriptError(operation.name + " takes " + std::to_string(operation.params.size()) + " argument(s)" +
                              paramList(operation) + ", got " + std::to_string(given.size()));
        values.assign(given.begin(), given.end());
    } else if (given.is_object()) {
        for (const auto& param : operation.params) {
            const auto named = std::find_if(given.items().begin(), given.items().end(),
                                            [&](const auto& item) { return sameName(item.key(), param.name); });
            if (named == given.items().end())
                throw ScriptError(operation.name + " needs the argument \"" + param.name + "\"" + paramList(operation));
            values.push_back(named.value());
        }
        for (const auto& item : given.items()) {
            bool known = false;
            for (const auto& param : operation.params)
                known = known || sameName(param.name, item.key());
            if (!known)
                throw ScriptError(operation.name + " has no argument \"" + item.key() + "\"" + paramList(operation));
        }
    } else {
        throw ScriptError("\"args\" is a list of values or an object of name: value");
    }
    std::vector<Argument> args;
    for (std::size_t i = 0; i < values.size(); ++i)
        args.push_back(argument(run, operation.params[i], values[i], operation.name));
    return args;
}

std::shared_ptr<platform::MemoryPropertyBag> bagArgument(ScriptRun& run, const Json& raw)
{
    if (raw == "saved") {
        if (!run.savedBag())
            throw ScriptError("no bag has been saved yet (a \"save\" step comes first)");
        return copyOf(*run.savedBag());
    }
    if (raw.is_object() && raw.contains("file") && raw.size() == 1) {
        platform::JsonFilePropertyBag file(run.scriptPath(ScriptRun::text(raw["file"], "\"file\"")));
        try {
            file.load();
        } catch (const fdt::Error& error) {
            throw ScriptError(error.what());
        }
        return copyOf(file);
    }
    try {
        return bagFromJson(raw);
    } catch (const std::invalid_argument& error) {
        throw ScriptError(error.what());
    }
}

} // namespace zeb2hart::frame

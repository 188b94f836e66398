#include "scripts/Matcher.h"

#include <array>
#include <regex>
#include <stdexcept>

namespace zeb2hart::frame {

namespace {

constexpr std::array<const char*, 10> kOperators = {"contains", "startsWith", "endsWith", "regex", "not",
                                                    "xml",      "present",    "absent",   "oneOf", "equals"};

std::regex compiled(const std::string& pattern)
{
    try {
        return std::regex(pattern);
    } catch (const std::regex_error& error) {
        throw std::invalid_argument("bad regular expression " + Json(pattern).dump() + ": " + error.what());
    }
}

std::string shown(const std::optional<Json>& value)
{
    if (!value)
        return "nothing";
    std::string text = value->dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    if (text.size() > 300)
        text = text.substr(0, 300) + "...";
    return text;
}

const std::string& textOf(const Json& value, const char* op)
{
    if (!value.is_string())
        throw std::invalid_argument(std::string("\"") + op + "\" needs a string");
    return value.get_ref<const std::string&>();
}

bool numbersEqual(const Json& a, const Json& b)
{
    return a.is_number() && b.is_number() && a.get<double>() == b.get<double>();
}

} // namespace

bool Matcher::isOperatorObject(const Json& matcher)
{
    if (!matcher.is_object() || matcher.empty())
        return false;
    for (const auto& item : matcher.items()) {
        bool known = false;
        for (const char* op : kOperators)
            known = known || item.key() == op;
        if (!known)
            return false;
    }
    return true;
}

std::optional<Json> Matcher::field(const Json& value, const std::string& path)
{
    const Json* current = &value;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t dot = path.find('.', start);
        const std::string key = path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        if (current->is_object()) {
            if (!current->contains(key))
                return std::nullopt;
            current = &(*current)[key];
        } else if (current->is_array()) {
            std::size_t index = 0;
            try {
                index = std::stoul(key);
            } catch (const std::exception&) {
                return std::nullopt;
            }
            if (index >= current->size())
                return std::nullopt;
            current = &(*current)[index];
        } else {
            return std::nullopt;
        }
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }
    return *current;
}

bool Matcher::matches(const Json& matcher, const std::optional<Json>& actual, std::string& why) const
{
    if (!matcher.is_object()) {
        const bool equal = actual && (*actual == matcher || numbersEqual(*actual, matcher));
        if (!equal)
            why = "expected " + matcher.dump() + ", got " + shown(actual);
        return equal;
    }

    if (!isOperatorObject(matcher)) {
        // Fields of an object.
        if (!actual || !actual->is_object()) {
            why = "expected an object, got " + shown(actual);
            return false;
        }
        for (const auto& item : matcher.items()) {
            std::string inner;
            if (!matches(item.value(), field(*actual, item.key()), inner)) {
                why = item.key() + ": " + inner;
                return false;
            }
        }
        return true;
    }

    for (const auto& item : matcher.items()) {
        const std::string& op = item.key();
        const Json& spec = item.value();
        const auto text = [&]() -> std::optional<std::string> {
            if (actual && actual->is_string())
                return actual->get<std::string>();
            return std::nullopt;
        };
        bool ok = true;
        if (op == "equals") {
            ok = actual && (*actual == spec || numbersEqual(*actual, spec));
            if (!ok)
                why = "expected " + spec.dump() + ", got " + shown(actual);
        } else if (op == "contains") {
            ok = text() && text()->find(textOf(spec, "contains")) != std::string::npos;
            if (!ok)
                why = "expected text containing " + spec.dump() + ", got " + shown(actual);
        } else if (op == "startsWith") {
            ok = text() && text()->rfind(textOf(spec, "startsWith"), 0) == 0;
            if (!ok)
                why = "expected text starting with " + spec.dump() + ", got " + shown(actual);
        } else if (op == "endsWith") {
            const std::string& end = textOf(spec, "endsWith");
            ok = text() && text()->size() >= end.size() && text()->compare(text()->size() - end.size(), end.size(), end) == 0;
            if (!ok)
                why = "expected text ending with " + spec.dump() + ", got " + shown(actual);
        } else if (op == "regex") {
            const std::regex pattern = compiled(textOf(spec, "regex"));
            ok = text() && std::regex_search(*text(), pattern);
            if (!ok)
                why = "expected text matching /" + spec.get<std::string>() + "/, got " + shown(actual);
        } else if (op == "not") {
            std::string inner;
            ok = !matches(spec, actual, inner);
            if (!ok)
                why = "expected no match of " + spec.dump() + ", got " + shown(actual);
        } else if (op == "present") {
            ok = actual.has_value() == spec.get<bool>();
            if (!ok)
                why = spec.get<bool>() ? "expected a value, got nothing" : "expected nothing, got " + shown(actual);
        } else if (op == "absent") {
            ok = actual.has_value() != spec.get<bool>();
            if (!ok)
                why = spec.get<bool>() ? "expected nothing, got " + shown(actual) : "expected a value, got nothing";
        } else if (op == "oneOf") {
            if (!spec.is_array())
                throw std::invalid_argument("\"oneOf\" needs an array of matchers");
            ok = false;
            for (const auto& candidate : spec) {
                std::string inner;
                ok = ok || matches(candidate, actual, inner);
            }
            if (!ok)
                why = "expected one of " + spec.dump() + ", got " + shown(actual);
        } else if (op == "xml") {
            ok = matchesXml(spec, actual, why);
        }
        if (!ok)
            return false;
    }
    return true;
}

bool Matcher::matchesXml(const Json& spec, const std::optional<Json>& actual, std::string& why) const
{
    if (!spec.is_object())
        throw std::invalid_argument("\"xml\" needs an object of \"PATH@attribute\": matcher");
    if (!actual || !actual->is_string()) {
        why = "expected an XML document, got " + shown(actual);
        return false;
    }
    const std::string& document = actual->get_ref<const std::string&>();
    for (const auto& item : spec.items()) {
        const std::string& key = item.key();
        const auto at = key.rfind('@');
        const std::string path = key.substr(0, at);
        const std::string attribute = at == std::string::npos ? std::string() : key.substr(at + 1);
        const auto value = m_readAttribute(document, path, attribute);
        std::string inner;
        if (attribute.empty()) {
            // "PATH": true/false tests that the element is there.
            if (!item.value().is_boolean())
                throw std::invalid_argument("\"" + key + "\" names an element: its matcher is true or false");
            if (value.has_value() != item.value().get<bool>()) {
                why = key + (value ? ": element present" : ": no such element");
                return false;
            }
            continue;
        }
        if (!matches(item.value(), value ? std::optional<Json>(*value) : std::nullopt, inner)) {
            why = key + ": " + inner;
            return false;
        }
    }
    return true;
}

void Matcher::checkPatterns(const Json& matcher)
{
    if (matcher.is_array()) {
        for (const auto& item : matcher)
            checkPatterns(item);
    }
    if (!matcher.is_object())
        return;
    for (const auto& item : matcher.items()) {
        if (item.key() == "regex" && item.value().is_string())
            compiled(item.value().get<std::string>());
        checkPatterns(item.value());
    }
}

} // namespace zeb2hart::frame

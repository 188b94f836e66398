#pragma once
// The expectations of frame scripts: a value is compared with a matcher,
// written in JSON. A scalar matches an equal value; an object of operators
// ({"contains": ...}, {"xml": {...}}, ...) tests the value; any other object
// matches an object whose named fields (dotted paths) match.

#include <functional>
#include <optional>
#include <string>

#include "transcript/Transcript.h"

namespace zeb2hart::frame {

// Reads attribute `name` of the first element at `path` of an XML document;
// nothing when the element or the attribute is not there.
using XmlAttributeReader =
    std::function<std::optional<std::string>(const std::string& document, const std::string& path, const std::string& name)>;

class Matcher {
public:
    explicit Matcher(XmlAttributeReader readAttribute) : m_readAttribute(std::move(readAttribute)) {}

    // True when `actual` (nothing: the field is missing) matches; otherwise false
    // with the reason in `why`. Throws std::invalid_argument for a malformed matcher.
    bool matches(const Json& matcher, const std::optional<Json>& actual, std::string& why) const;

    // The field at a dotted path ("args.response"); nothing when it is missing.
    static std::optional<Json> field(const Json& value, const std::string& path);
    // True for an object made of matcher operators only.
    static bool isOperatorObject(const Json& matcher);
    // Compiles every "regex" of a matcher, so that a script can be refused before it runs.
    // Throws std::invalid_argument naming the first that does not compile, as matches() would.
    static void checkPatterns(const Json& matcher);

private:
    bool matchesXml(const Json& spec, const std::optional<Json>& actual, std::string& why) const;
    XmlAttributeReader m_readAttribute;
};

} // namespace zeb2hart::frame

// The expectation matchers of frame scripts: what matches, why not, and which
// matchers are refused. Scripts only see the matches; a failing match is
// checked here with its reason.

#include <gtest/gtest.h>

#include <map>

#include "scripts/Matcher.h"

namespace zeb2hart::frame {
namespace {

// A stand-in reader: documents are keys of a map of "path@attribute" to values.
const std::map<std::string, std::string> kDoc = {{"FDT/A@x", "1"}, {"FDT/A@", ""}, {"FDT/A/B@y", "hello"}, {"FDT/A/B@", ""}};
const Matcher kMatcher{[](const std::string& document, const std::string& path,
                          const std::string& name) -> std::optional<std::string> {
    const auto value = kDoc.find(path + "@" + name);
    if (document != "DOC" || value == kDoc.end())
        return std::nullopt;
    return value->second;
}};

TEST(Matcher, MatchesAndSaysWhyNot)
{
    struct Case {
        const char* matcher;
        std::optional<Json> actual; // nullopt: the field is not there
        bool expected;
        const char* why = "";       // the start of the reason of a mismatch
    };
    const std::vector<Case> cases = {
        {R"("abc")", "abc", true},
        {R"("abc")", "abd", false, "expected \"abc\", got \"abd\""},
        {R"(5)", 5.0, true},
        {R"(5)", "5", false},
        {R"(null)", nullptr, true},
        {R"(null)", std::nullopt, false},
        {R"({"contains": "ll"})", "hello", true},
        {R"({"contains": "1"})", 1, false},
        {R"({"startsWith": "he"})", "hello", true},
        {R"({"endsWith": "hello!"})", "hello", false},
        {R"({"regex": "^h.l+o$"})", "hello", true},
        {R"({"regex": "^x"})", "hello", false},
        {R"({"not": "a"})", "a", false},
        {R"({"not": "x"})", std::nullopt, true},
        {R"({"oneOf": [1, 2]})", 2, true},
        {R"({"oneOf": [1, 2]})", 3, false},
        {R"({"equals": {"a": 1, "b": 2}})", Json::parse(R"({"a": 1, "b": 2})"), true},
        {R"({"equals": {"a": 1, "b": 2}})", Json::parse(R"({"b": 2, "a": 1})"), false},
        {R"({"absent": true})", std::nullopt, true},
        {R"({"present": true})", std::nullopt, false},
        {R"({"a.b": 1})", Json::parse(R"({"a": {"b": 1}, "c": 2})"), true},
        {R"({"a.1": "y", "a.2": {"absent": true}, "a.b": {"absent": true}})", Json::parse(R"({"a": ["x", "y"]})"), true},
        {R"({"args": {"invokeId": "a"}})", Json::parse(R"({"args": {"invokeId": "b"}})"), false,
         "args: invokeId: expected \"a\", got \"b\""},
        {R"({"contains": "l", "startsWith": "x"})", "hello", false},
        {R"({"xml": {"FDT/A@x": "1", "FDT/A/B@y": {"startsWith": "he"}}})", "DOC", true},
        {R"({"xml": {"FDT/A/B": true, "FDT/C": false, "FDT/A@z": {"absent": true}}})", "DOC", true},
        {R"({"xml": {"FDT/A@x": "2"}})", "DOC", false, "FDT/A@x: expected \"2\", got \"1\""},
        {R"({"xml": {"FDT/C": true}})", "DOC", false, "FDT/C: no such element"},
        {R"({"xml": {"FDT/A@x": "1"}})", 5, false, "expected an XML document"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.matcher) + " vs " + (c.actual ? c.actual->dump() : "nothing"));
        std::string why;
        EXPECT_EQ(kMatcher.matches(Json::parse(c.matcher), c.actual, why), c.expected);
        EXPECT_EQ(why.rfind(c.why, 0), 0u) << why;
    }
}

TEST(Matcher, MalformedMatchersAreRefused)
{
    for (const char* matcher : {R"({"regex": "("})", R"({"contains": 5})", R"({"oneOf": 5})", R"({"xml": "FDT"})",
                                R"({"xml": {"FDT/A": "yes"}})"}) {
        std::string why;
        EXPECT_THROW(kMatcher.matches(Json::parse(matcher), Json("DOC"), why), std::invalid_argument) << matcher;
    }
}

} // namespace
} // namespace zeb2hart::frame

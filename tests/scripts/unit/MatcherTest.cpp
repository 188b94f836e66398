// The expectation matchers of frame scripts.

#include <gtest/gtest.h>

#include <map>

#include "Matcher.h"

namespace zeb2hart::frame {
namespace {

// A stand-in reader: documents are keys of a map of "path@attribute" to values.
class MatcherTest : public ::testing::Test {
protected:
    std::map<std::string, std::map<std::string, std::string>> documents = {
        {"DOC", {{"FDT/A@x", "1"}, {"FDT/A@", ""}, {"FDT/A/B@y", "hello"}, {"FDT/A/B@", ""}}}};
    Matcher matcher{[this](const std::string& document, const std::string& path, const std::string& name)
                        -> std::optional<std::string> {
        const auto doc = documents.find(document);
        if (doc == documents.end())
            return std::nullopt;
        const auto value = doc->second.find(path + "@" + name);
        if (value == doc->second.end())
            return std::nullopt;
        return value->second;
    }};

    bool matches(const char* matcherJson, const std::optional<Json>& actual, std::string* why = nullptr)
    {
        std::string reason;
        const bool result = matcher.matches(Json::parse(matcherJson), actual, reason);
        if (why)
            *why = reason;
        return result;
    }
};

TEST_F(MatcherTest, ScalarsAndOperators)
{
    struct Case {
        const char* matcher;
        Json actual;
        bool expected;
    };
    const std::vector<Case> cases = {
        {R"("abc")", "abc", true},
        {R"("abc")", "abd", false},
        {R"(5)", 5, true},
        {R"(5)", 5.0, true},
        {R"(5)", "5", false},
        {R"(true)", true, true},
        {R"(null)", nullptr, true},
        {R"({"contains": "ll"})", "hello", true},
        {R"({"contains": "x"})", "hello", false},
        {R"({"contains": "1"})", 1, false},
        {R"({"startsWith": "he"})", "hello", true},
        {R"({"endsWith": "lo"})", "hello", true},
        {R"({"endsWith": "hello!"})", "hello", false},
        {R"({"regex": "^h.l+o$"})", "hello", true},
        {R"({"regex": "^x"})", "hello", false},
        {R"({"not": "a"})", "b", true},
        {R"({"not": "a"})", "a", false},
        {R"({"oneOf": [1, 2]})", 2, true},
        {R"({"oneOf": [1, 2]})", 3, false},
        {R"({"equals": {"a": 1, "b": 2}})", Json::parse(R"({"a": 1, "b": 2})"), true},
        {R"({"equals": {"a": 1, "b": 2}})", Json::parse(R"({"b": 2, "a": 1})"), false},
        {R"({"a": 1})", Json::parse(R"({"a": 1, "b": 2})"), true},
        {R"({"a.b": 1})", Json::parse(R"({"a": {"b": 1}})"), true},
        {R"({"a.1": "y"})", Json::parse(R"({"a": ["x", "y"]})"), true},
        {R"({"a.2": {"absent": true}})", Json::parse(R"({"a": ["x", "y"]})"), true},
        {R"({"a": 2})", Json::parse(R"({"a": 1})"), false},
        {R"({"c": {"present": true}})", Json::parse(R"({"a": 1})"), false},
        {R"({"contains": "l", "startsWith": "x"})", "hello", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.matcher) + " vs " + c.actual.dump());
        EXPECT_EQ(matches(c.matcher, c.actual), c.expected);
    }
}

TEST_F(MatcherTest, AMissingValueMatchesOnlyAbsence)
{
    EXPECT_TRUE(matches(R"({"absent": true})", std::nullopt));
    EXPECT_FALSE(matches(R"({"present": true})", std::nullopt));
    EXPECT_FALSE(matches(R"(null)", std::nullopt));
    EXPECT_TRUE(matches(R"({"not": "x"})", std::nullopt));
}

TEST_F(MatcherTest, XmlAttributesAndElements)
{
    EXPECT_TRUE(matches(R"({"xml": {"FDT/A@x": "1", "FDT/A/B@y": {"startsWith": "he"}}})", "DOC"));
    EXPECT_TRUE(matches(R"({"xml": {"FDT/A/B": true, "FDT/C": false}})", "DOC"));
    EXPECT_TRUE(matches(R"({"xml": {"FDT/A@z": {"absent": true}}})", "DOC"));
    std::string why;
    EXPECT_FALSE(matches(R"({"xml": {"FDT/A@x": "2"}})", "DOC", &why));
    EXPECT_EQ(why, "FDT/A@x: expected \"2\", got \"1\"");
    EXPECT_FALSE(matches(R"({"xml": {"FDT/C": true}})", "DOC", &why));
    EXPECT_EQ(why, "FDT/C: no such element");
    EXPECT_FALSE(matches(R"({"xml": {"FDT/A@x": "1"}})", 5, &why));
    EXPECT_NE(why.find("expected an XML document"), std::string::npos);
}

TEST_F(MatcherTest, ReasonsNameTheField)
{
    std::string why;
    EXPECT_FALSE(matches(R"({"args": {"invokeId": "a"}})", Json::parse(R"({"args": {"invokeId": "b"}})"), &why));
    EXPECT_EQ(why, "args: invokeId: expected \"a\", got \"b\"");
}

TEST_F(MatcherTest, MalformedMatchersAreRefused)
{
    EXPECT_THROW(matches(R"({"regex": "("})", "x"), std::invalid_argument);
    EXPECT_THROW(matches(R"({"contains": 5})", "x"), std::invalid_argument);
    EXPECT_THROW(matches(R"({"oneOf": 5})", "x"), std::invalid_argument);
    EXPECT_THROW(matches(R"({"xml": "FDT"})", "DOC"), std::invalid_argument);
    EXPECT_THROW(matches(R"({"xml": {"FDT/A": "yes"}})", "DOC"), std::invalid_argument);
}

TEST(MatcherField, DottedPaths)
{
    const Json value = Json::parse(R"({"a": {"b": [10, {"c": "x"}]}})");
    EXPECT_EQ(Matcher::field(value, "a.b.0"), Json(10));
    EXPECT_EQ(Matcher::field(value, "a.b.1.c"), Json("x"));
    EXPECT_EQ(Matcher::field(value, "a.b.2"), std::nullopt);
    EXPECT_EQ(Matcher::field(value, "a.x"), std::nullopt);
    EXPECT_EQ(Matcher::field(value, "a.b.c"), std::nullopt);
    EXPECT_TRUE(Matcher::isOperatorObject(Json::parse(R"({"contains": "a", "not": 1})")));
    EXPECT_FALSE(Matcher::isOperatorObject(Json::parse(R"({"contains": "a", "b": 1})")));
    EXPECT_FALSE(Matcher::isOperatorObject(Json::object()));
}

} // namespace
} // namespace zeb2hart::frame

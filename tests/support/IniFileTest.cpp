#include <gtest/gtest.h>

#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "fakes/TestEnvironment.h"
#include "support/IniFile.h"

namespace zeb2hart::support {
namespace {

class IniFileTest : public ::testing::Test {
protected:
    std::filesystem::path write(const std::string& content)
    {
        m_folder.write("Resources/Test.ini", content);
        return m_folder.path() / "Resources" / "Test.ini";
    }
    test::TempComponentFolder m_folder;
};

TEST_F(IniFileTest, ProfileRulesTable)
{
    const auto file = write("; a comment line\r\n[First]\r\nPlain=value\r\n  Padded   =   spaced value   \r\n"
                            "Tabbed=\tx\t\r\nEmpty=\r\nTwice=first\r\ntwice=second\r\n;Hidden=commented out\r\n"
                            "Quoted=\"in quotes\"\r\nEquals=a=b\r\nNoEqualsSign\r\n"
                            "[ Second ]\nKey=from second\nPlain=second plain\n[first]\nLater=in a repeated section\n");
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"First", "Plain", "value"},        {"FIRST", "plain", "value"},         {"first", "PLAIN", "value"},
        {"First", "Padded", "spaced value"}, {"First", "Tabbed", "x"},           {"First", "Empty", ""},
        {"First", "Twice", "first"},        {"First", "Hidden", ""},             {"First", ";Hidden", ""},
        {"First", "Quoted", "in quotes"},   {"First", "Equals", "a=b"},          {"First", "NoEqualsSign", ""},
        {"First", "Key", ""},               {"Second", "Key", "from second"},    {"second", "Plain", "second plain"},
        {"First", "Later", ""}, // only the first section of a name is searched
        {"Missing", "Plain", ""},           {"First", "Missing", ""},
    };
    for (const auto& [section, key, expected] : cases)
        EXPECT_EQ(ReadIniString(file, section, key), expected) << section << "/" << key;

    // A byte order mark and a last line without line end.
    EXPECT_EQ(ReadIniString(write("\xEF\xBB\xBF[S]\nK=last"), "S", "K"), "last");
    // No file, or a folder in its place, reads empty.
    EXPECT_EQ(ReadIniString(m_folder.path() / "NoSuchFile.ini", "TimeCritical", "Trace"), "");
    EXPECT_EQ(ReadIniString(m_folder.path(), "TimeCritical", "Trace"), "");
#ifndef _WIN32
    // Nor does a FIFO, at once (a reader would wait for a writer), or a device that never ends.
    const auto fifo = m_folder.path() / "Fifo.ini";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ReadIniString(fifo, "TimeCritical", "Trace"), "");
    EXPECT_EQ(ReadIniString("/dev/zero", "TimeCritical", "Trace"), "");
#endif
}

TEST_F(IniFileTest, LongValuesComeBackWhole)
{
    for (std::size_t length : {253u, 254u, 255u, 256u, 300u, 510u, 511u, 1024u, 5000u}) {
        std::string value(length, 'x');
        value.back() = 'E';
        EXPECT_EQ(ReadIniString(write("[S]\r\nK=" + value + "\r\n"), "S", "K"), value) << length;
    }
}

TEST_F(IniFileTest, ValuesInTheAnsiCodePageComeBackAsUtf8)
{
    // File bytes -> value read. UTF-8 stays; any other value is read as Windows-1252,
    // whose undefined bytes (81 8D 8F 90 9D) become U+FFFD.
    const std::pair<std::string, std::string> cases[] = {
        {"Ger\xC3\xA4t \xE2\x82\xAC", "Ger\xC3\xA4t \xE2\x82\xAC"},       // UTF-8 kept
        {"\x80", "\xE2\x82\xAC"},                                        // euro sign
        {"Ger\xE4t", "Ger\xC3\xA4t"},                                      // ä
        {"Stra\xDF" "e", "Stra\xC3\x9F" "e"},                               // ß
        {"\x81", "\xEF\xBF\xBD"},                                        // undefined
        {"\x9F\xFF", "\xC5\xB8\xC3\xBF"},                                  // Ÿ ÿ
        {"\xC3\xA4\xE4", "\xC3\x83\xC2\xA4\xC3\xA4"},                       // mixed: the whole value is ANSI
        {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},                  // a surrogate is no UTF-8
        {"\xC0\xAF", "\xC3\x80\xC2\xAF"},                                  // nor an overlong form
        {"\xF4\x90\x80\x80", "\xC3\xB4\xEF\xBF\xBD\xE2\x82\xAC\xE2\x82\xAC"}, // nor beyond U+10FFFF
        {"\xE2\x82", "\xC3\xA2\xE2\x80\x9A"},                             // nor a cut sequence
    };
    for (const auto& [bytes, expected] : cases) {
        EXPECT_EQ(ReadIniString(write("[S]\r\nK=" + bytes + "\r\nUtf8=\xC3\xA4\r\n"), "S", "K"), expected) << bytes;
        EXPECT_EQ(ReadIniString(m_folder.path() / "Resources" / "Test.ini", "S", "Utf8"), "\xC3\xA4");
    }
}

} // namespace
} // namespace zeb2hart::support

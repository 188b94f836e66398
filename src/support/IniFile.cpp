#include "support/IniFile.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/FileText.h"
#include "support/Conversions.h"
#include "support/Text.h"

namespace zeb2hart::support {

namespace {

// A settings file is a few kilobytes; anything beyond this is not one.
constexpr std::size_t kMaxSettingsFileSize = 16 * 1024 * 1024;

// The value of `key` in the first section named `section`, as the profile service
// finds it; nothing when the file, the section or the key is missing. What is
// not a regular file (a FIFO, a device, a folder) or is too large counts as
// missing, without waiting or reading on.
std::optional<std::string> findValue(const std::filesystem::path& fileName, std::string_view section,
                                     std::string_view key)
{
    std::string content;
    if (platform::readFileText(fileName, content, kMaxSettingsFileSize) != platform::FileRead::Read)
        return std::nullopt;
    std::string_view text = content;
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);

    bool inSection = false;
    bool sectionSeen = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = trimBlanks(text.substr(0, end));
        text = (end == std::string_view::npos) ? std::string_view{} : text.substr(end + 1);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            if (sectionSeen)
                return std::nullopt; // only the first section of that name is searched
            const std::size_t close = line.find(']');
            const std::string_view name = trimBlanks(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
            inSection = equalsIgnoringCase(name, section);
            sectionSeen = inSection;
            continue;
        }
        if (!inSection)
            continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        if (!equalsIgnoringCase(trimBlanks(line.substr(0, equals)), key))
            continue;
        std::string_view value = trimBlanks(line.substr(equals + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        // One value at a time: a file edited with both kinds of editor holds both encodings.
        return utf8FromAnsiText(value);
    }
    return std::nullopt;
}

// The profile service: copies the value (or `defaultValue`) into `buffer` of `size`
// characters, cut to size - 1 and terminated, and returns the number of characters copied.
std::size_t getPrivateProfileString(const std::string& section, const std::string& key, const std::string& defaultValue,
                                    char* buffer, std::size_t size, const std::filesystem::path& fileName)
{
    if (size == 0)
        return 0;
    const std::string value = findValue(fileName, section, key).value_or(defaultValue);
    const std::size_t copied = std::min(value.size(), size - 1);
    std::memcpy(buffer, value.data(), copied);
    buffer[copied] = '\0';
    return copied;
}

} // namespace

std::string ReadIniString(const std::filesystem::path& fileName, const std::string& section, const std::string& key)
{
    std::vector<char> buffer(256);
    for (;;) {
        const std::size_t length = getPrivateProfileString(section, key, "", buffer.data(), buffer.size(), fileName);
        // A value that fills the buffer may have been cut: ask again with twice the room.
        if (length == buffer.size() - 1 || length == buffer.size() - 2) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        return std::string(buffer.data(), length);
    }
}

} // namespace zeb2hart::support

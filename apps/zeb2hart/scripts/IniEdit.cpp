#include "scripts/IniEdit.h"

#include <sstream>
#include <vector>

#include "support/Text.h"

namespace zeb2hart::frame {

std::string setIniValue(const std::string& text, const std::string& section, const std::string& key,
                        const std::string& value)
{
    using support::equalsIgnoringCase;
    using support::trimBlanks;
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    int sectionStart = -1;
    int sectionEnd = static_cast<int>(lines.size());
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const std::string_view t = trimBlanks(lines[i]);
        if (!t.empty() && t.front() == '[' && t.back() == ']') {
            if (sectionStart >= 0) {
                sectionEnd = i;
                break;
            }
            if (equalsIgnoringCase(trimBlanks(t.substr(1, t.size() - 2)), section))
                sectionStart = i;
        }
    }
    const std::string entry = key + "=" + value;
    if (sectionStart < 0) {
        lines.push_back("[" + section + "]");
        lines.push_back(entry);
    } else {
        bool replaced = false;
        for (int i = sectionStart + 1; i < sectionEnd && !replaced; ++i) {
            const auto equals = lines[i].find('=');
            if (equals != std::string::npos &&
                equalsIgnoringCase(trimBlanks(std::string_view(lines[i]).substr(0, equals)), key)) {
                lines[i] = entry;
                replaced = true;
            }
        }
        if (!replaced)
            lines.insert(lines.begin() + sectionStart + 1, entry);
    }
    std::string result;
    for (const auto& line : lines)
        result += line + "\r\n";
    return result;
}

} // namespace zeb2hart::frame

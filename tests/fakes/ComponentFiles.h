#pragma once
// A component folder's files as tests read and change them, and the monitor's line layout.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fakes/TestEnvironment.h"
#include "support/Trace.h"

namespace zeb2hart::test {

inline std::string readFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The delivered settings file with one key set (replaced, or appended to its section).
inline std::string iniWith(const std::filesystem::path& componentFolder, const std::string& section,
                           const std::string& key, const std::string& value)
{
    std::istringstream in(readFile(componentFolder / "Resources" / "DTM.ini"));
    std::string out, line, current;
    bool done = false;
    const auto put = [&] { return done ? "" : (done = true, key + "=" + value + "\n"); };
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.starts_with('[')) {
            if (current == section)
                out += put();
            current = line.substr(1, line.find(']') - 1);
        } else if (current == section && line.starts_with(key + "=")) {
            out += put();
            continue;
        }
        out += line + "\n";
    }
    return done ? out : out + (current == section ? "" : "[" + section + "]\n") + put();
}

// The trace file's entries, without their date and time and the word ZEBAdapter.
inline std::vector<std::string> traceEntries(const std::filesystem::path& componentFolder)
{
    const std::string text = readFile(componentFolder / "TraceInfoFile.txt");
    const std::string marker = " ZEBAdapter: ";
    std::vector<std::string> entries;
    for (std::size_t at = text.find(marker); at != std::string::npos;) {
        const std::size_t start = at + marker.size();
        at = text.find(marker, start);
        // An entry runs to the CR LF before the next entry's date and time.
        std::size_t end = at == std::string::npos ? text.size() : text.rfind("\r\n", at);
        std::string entry = text.substr(start, (end == std::string::npos || end < start ? text.size() : end) - start);
        if (entry.ends_with("\r\n"))
            entry.resize(entry.size() - 2);
        entries.push_back(entry);
    }
    return entries;
}

// A temporary component folder whose settings switch the trace file on, under the test services.
class TracingComponent {
public:
    TracingComponent()
    {
        folder.write("Resources/DTM.ini", iniWith(folder.path(), "TimeCritical", "Trace", "ExternalFile"));
        support::ResetTraceMode();
    }
    ~TracingComponent() { support::ResetTraceMode(); }
    std::vector<std::string> entries() const { return traceEntries(folder.path()); }
    TempComponentFolder folder;
    TestEnvironment environment{folder.path()};
};

// The monitor line of an ASCII function name: the name in a 50-character column, "- ", the message.
inline std::string monitorLine(const std::string& functionName, const std::string& message)
{
    return functionName + std::string(50 - functionName.size(), ' ') + "- " + message;
}

} // namespace zeb2hart::test

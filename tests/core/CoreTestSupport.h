#pragma once
// Helpers shared by the core tests: file text, tracing switched on in a
// temporary component folder, and the monitor's expected line layout.

#include <gtest/gtest.h>

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

// The delivered settings file with one line replaced (or appended to its section).
inline std::string iniWith(const std::filesystem::path& componentFolder, const std::string& section,
                           const std::string& key, const std::string& value)
{
    std::istringstream in(readFile(componentFolder / "Resources" / "DTM.ini"));
    std::string out;
    std::string line;
    std::string current;
    bool done = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line.front() == '[') {
            if (current == section && !done) {
                out += key + "=" + value + "\n";
                done = true;
            }
            current = line.substr(1, line.find(']') - 1);
        } else if (current == section && line.rfind(key + "=", 0) == 0) {
            if (!done)
                out += key + "=" + value + "\n";
            done = true;
            continue;
        }
        out += line + "\n";
    }
    if (!done)
        out += (current == section ? "" : "[" + section + "]\n") + key + "=" + value + "\n";
    return out;
}

// Trace lines of the trace file, without their date and time and the word ZEBAdapter.
inline std::vector<std::string> traceEntries(const std::filesystem::path& componentFolder)
{
    const std::string text = readFile(componentFolder / "TraceInfoFile.txt");
    const std::string marker = " ZEBAdapter: ";
    std::vector<std::string> entries;
    std::size_t position = 0;
    while ((position = text.find(marker, position)) != std::string::npos) {
        const std::size_t start = position + marker.size();
        const std::size_t next = text.find(marker, start);
        // The entry runs to the CR LF before the next line's date and time.
        std::size_t end = next == std::string::npos ? text.size() : text.rfind("\r\n", next);
        if (end == std::string::npos || end < start)
            end = text.size();
        std::string entry = text.substr(start, end - start);
        if (entry.size() >= 2 && entry.compare(entry.size() - 2, 2, "\r\n") == 0)
            entry.resize(entry.size() - 2);
        entries.push_back(entry);
        position = start;
    }
    return entries;
}

// A temporary component folder whose settings switch the trace file on, with
// the test services installed for it.
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

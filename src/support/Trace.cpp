#include "support/Trace.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <system_error>

#include "fdt/Errors.h"
#include "platform/Services.h"
#include "platform/ThreadState.h"
#include "support/Conversions.h"
#include "support/IniFile.h"

namespace zeb2hart::support {

namespace {

// The trace mode of the module, shared by every DTM instance of the thread
// (platform::ThreadState); empty until the settings file has been read (and
// again while it reads empty).
struct TraceMode {
    std::string mode;
};
std::string& traceMode()
{
    return platform::ThreadState::current().part<TraceMode>().mode;
}

constexpr const char* kTraceOn = "ExternalFile";

} // namespace

std::filesystem::path traceFilePath()
{
    return platform::services().componentFolder / "TraceInfoFile.txt";
}

std::filesystem::path iniFilePath()
{
    return platform::services().componentFolder / "Resources" / "DTM.ini";
}

std::string FormatTraceLine(const std::tm& localTime, const std::string& functionName, const std::string& message)
{
    char stamp[64];
    if (localTime.tm_hour == 0 && localTime.tm_min == 0 && localTime.tm_sec == 0)
        std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d", localTime.tm_year + 1900, localTime.tm_mon + 1,
                      localTime.tm_mday);
    else
        std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d", localTime.tm_year + 1900,
                      localTime.tm_mon + 1, localTime.tm_mday, localTime.tm_hour, localTime.tm_min, localTime.tm_sec);
    return std::string(stamp) + " ZEBAdapter: " + functionName + ": " + message;
}

bool AppendTraceLine(const std::string& line)
{
    try {
        std::ofstream file(traceFilePath(), std::ios::binary | std::ios::app);
        // A component folder that cannot be written (Program Files): the user's folder.
        if (const auto& elsewhere = platform::services().userDataFolder; !file && !elsewhere.empty()) {
            std::error_code ignored;
            std::filesystem::create_directories(elsewhere, ignored);
            file.open(elsewhere / "TraceInfoFile.txt", std::ios::binary | std::ios::app);
        }
        if (!file)
            return false;
        file << line << "\r\n";
        file.close();
        return !file.fail();
    } catch (...) {
        return false;
    }
}

void Trace(const std::string& functionName, const std::string& message)
{
    try {
        std::string& mode = traceMode();
        if (mode.empty())
            mode = ReadIniString(iniFilePath(), "TimeCritical", "Trace");
        if (mode != kTraceOn)
            return;
        const auto& clock = platform::services().clock;
        if (!clock)
            return;
        AppendTraceLine(FormatTraceLine(clock->localNow(), functionName, message));
    } catch (...) {
        // Tracing never disturbs the operation that traces.
    }
}

void CheckTraceFileSize(const std::filesystem::path& componentFolder)
{
    try {
        double megabytes = 0.0;
        try {
            megabytes = std::round(toDouble(
                ReadIniString(componentFolder / "Resources" / "DTM.ini", "TimeCritical", "TraceFileSizeInMB")));
        } catch (const fdt::Error&) {
            megabytes = 0.0; // missing or not a number
        }
        if (megabytes > 1000.0)
            megabytes = 1000.0;
        const double limit = megabytes * 1000000.0;

        std::error_code error;
        const auto path = componentFolder / "TraceInfoFile.txt";
        const std::uintmax_t size = std::filesystem::file_size(path, error);
        if (error)
            return;
        if (static_cast<double>(size) > limit)
            std::filesystem::remove(path, error);
    } catch (...) {
        // Every error of this check is ignored.
    }
}

void ResetTraceMode()
{
    traceMode().clear();
}

} // namespace zeb2hart::support

#pragma once
// The diagnostic trace: one line per call, appended to TraceInfoFile.txt in the
// component folder, only while the settings file's [TimeCritical] Trace reads
// exactly "ExternalFile". The mode is read once per process (again while empty).

#include <ctime>
#include <filesystem>
#include <string>

namespace zeb2hart::support {

void Trace(const std::string& functionName, const std::string& message);
// Appends the line and CR LF to the trace file; false on any file error, never throws.
bool AppendTraceLine(const std::string& line);

// "YYYY-MM-DD HH:MM:SS ZEBAdapter: FUNCTION: MESSAGE"; exactly midnight shows the date alone.
std::string FormatTraceLine(const std::tm& localTime, const std::string& functionName, const std::string& message);

std::filesystem::path traceFilePath();
std::filesystem::path iniFilePath();

// Deletes the trace file of the component folder when it is longer than [TimeCritical] TraceFileSizeInMB
// megabytes (of 1000000 bytes, at most 1000); a missing or unreadable value counts
// as 0. Every error is ignored.
void CheckTraceFileSize(const std::filesystem::path& componentFolder);

// Forgets the trace mode read so far (a new "load of the component"), for tests and frame scripts.
void ResetTraceMode();

} // namespace zeb2hart::support

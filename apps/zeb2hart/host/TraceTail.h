#pragma once
// Follows the component's trace file for the transcript. Used by the session
// on the thread that runs it.

#include <cstdint>
#include <filesystem>

#include "transcript/Transcript.h"

namespace zeb2hart::frame {

// Appends the lines that reach the trace file to the transcript, in their place.
class TraceTail {
public:
    explicit TraceTail(std::filesystem::path file);
    void poll(Transcript& transcript);

private:
    std::filesystem::path m_file;
    std::uintmax_t m_offset = 0;
};

} // namespace zeb2hart::frame

#include "host/TraceTail.h"

#include <fstream>
#include <string>

namespace zeb2hart::frame {

TraceTail::TraceTail(std::filesystem::path file) : m_file(std::move(file))
{
    std::error_code error;
    const auto size = std::filesystem::file_size(m_file, error);
    m_offset = error ? 0 : size;
}

void TraceTail::poll(Transcript& transcript)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(m_file, error);
    if (error) {
        m_offset = 0;
        return;
    }
    if (size < m_offset)
        m_offset = 0; // the file was deleted and written anew
    if (size == m_offset)
        return;
    std::ifstream in(m_file, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(m_offset));
    std::string line;
    while (std::getline(in, line)) {
        if (in.eof())
            break; // a line still being written
        m_offset += line.size() + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        transcript.addDirect({{"ev", "trace"}, {"text", line}});
    }
}

} // namespace zeb2hart::frame

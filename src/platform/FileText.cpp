#include "platform/FileText.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace zeb2hart::platform {

FileRead readFileText(const std::filesystem::path& file, std::string& content, std::size_t cap)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        return FileRead::Unreadable;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec)
        return FileRead::Unreadable;
    if (size > cap)
        return FileRead::TooLarge;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return FileRead::Unreadable;
    content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.bad() ? FileRead::Unreadable : FileRead::Read;
}

} // namespace zeb2hart::platform

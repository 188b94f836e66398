#include "platform/Paths.h"

#include <cwctype>

#include "fdt/Errors.h"
#include "fdt/Hex.h"

namespace zeb2hart::platform {

std::filesystem::path pathFromUtf8(std::string_view text)
{
    // The system reads a path only up to a NUL: the rest would be lost, and the
    // path would name another file or folder than the text does.
    if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos)
        throw fdt::FileError("The path " + std::string(text.substr(0, nul)) + "\\0... holds a NUL character");
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string utf8Of(const std::filesystem::path& path)
{
#ifdef _WIN32
    const std::u8string text = path.u8string();
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
#else
    return path.native(); // the system's bytes, which are UTF-8 here
#endif
}

std::string fileUrl(const std::filesystem::path& absolutePath)
{
    const std::u8string generic = absolutePath.generic_u8string();
    std::string url = "file://";
    if (generic.empty() || generic.front() != u8'/')
        url += '/'; // a drive letter: file:///C:/...
    for (const char8_t c : generic) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9')
                           || byte == '-' || byte == '.' || byte == '_' || byte == '~' || byte == '/' || byte == ':';
        if (plain) {
            url += static_cast<char>(byte);
        } else {
            char escape[3] = {'%'};
            fdt::writeHex(escape + 1, byte, 2);
            url.append(escape, sizeof escape);
        }
    }
    return url;
}

std::filesystem::path pathOfUrlPath(std::string_view urlPath)
{
#ifdef _WIN32
    if (urlPath.size() >= 3 && urlPath[0] == '/' && urlPath[2] == ':')
        urlPath.remove_prefix(1);
#endif
    return pathFromUtf8(urlPath);
}

bool startsWithDrive(std::string_view text)
{
#ifdef _WIN32
    const auto letter = static_cast<unsigned char>(text.empty() ? '\0' : text[0]);
    return text.size() >= 3 && ((letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z')) && text[1] == ':'
           && (text[2] == '/' || text[2] == '\\');
#else
    (void)text;
    return false;
#endif
}

bool sameName(const std::filesystem::path& a, const std::filesystem::path& b)
{
#ifdef _WIN32
    const std::wstring& left = a.native();
    const std::wstring& right = b.native();
    if (left.size() != right.size())
        return false;
    for (std::size_t i = 0; i < left.size(); ++i)
        if (std::towupper(left[i]) != std::towupper(right[i]))
            return false;
    return true;
#else
    return a == b;
#endif
}

} // namespace zeb2hart::platform

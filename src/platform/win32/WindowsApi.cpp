#include "platform/win32/WindowsApi.h"

namespace zeb2hart::platform {

namespace {

bool isAscii(std::string_view text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

bool isAscii(std::wstring_view text)
{
    for (const wchar_t c : text)
        if (c >= 0x80)
            return false;
    return true;
}

} // namespace

// FDT documents are mostly ASCII, which converts one unit for one; the system's
// converters take the rest.
std::wstring toWide(std::string_view utf8)
{
    if (isAscii(utf8))
        return std::wstring(utf8.begin(), utf8.end());
    const int size = static_cast<int>(utf8.size());
    std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

std::string fromWide(std::wstring_view wide)
{
    if (isAscii(wide))
        return std::string(wide.begin(), wide.end());
    const int size = static_cast<int>(wide.size());
    std::string utf8(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr)),
                     '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
    return utf8;
}

} // namespace zeb2hart::platform

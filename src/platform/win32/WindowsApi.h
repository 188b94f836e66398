#pragma once
// <windows.h> as the component includes it, and the UTF-8 <-> UTF-16 text
// conversions every Windows call needs. windows.h turns names such as
// MessageBox into macros; they are undone here so that the component's own
// names (platform::MessageBox) keep their meaning in every file that includes this one.
// Pure functions: any thread may call them.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#undef MessageBox

#include <string>
#include <string_view>

namespace zeb2hart::platform {

// UTF-8 to UTF-16; a malformed sequence becomes U+FFFD.
std::wstring toWide(std::string_view utf8);
// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string fromWide(std::wstring_view wide);

} // namespace zeb2hart::platform

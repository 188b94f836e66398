#include "platform/win32/Win32Dialogs.h"

#include "platform/win32/WindowsApi.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>

namespace zeb2hart::platform {

void Win32MessageBox::show(const std::string& text, Icon icon)
{
    UINT style = MB_OK;
    switch (icon) {
    case Icon::Information: style |= MB_ICONINFORMATION; break;
    case Icon::Exclamation: style |= MB_ICONEXCLAMATION; break;
    case Icon::Critical: style |= MB_ICONERROR; break;
    }
    MessageBoxW(GetActiveWindow(), toWide(text).c_str(), L"", style);
}

std::optional<std::string> Win32FileDialog::askSaveFileName(const std::string& filter, bool promptOverwrite)
{
    // "Description (*.EXT)|*.EXT" becomes the dialog's "Description (*.EXT)\0*.EXT\0\0".
    std::wstring filters = toWide(filter);
    std::replace(filters.begin(), filters.end(), L'|', L'\0');
    filters.append(2, L'\0');
    std::wstring file(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filters.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | (promptOverwrite ? OFN_OVERWRITEPROMPT : 0);
    if (!GetSaveFileNameW(&dialog))
        return std::nullopt;
    file.resize(wcslen(file.c_str()));
    return fromWide(file);
}

void Win32Shell::open(const std::string& address)
{
    ShellExecuteW(GetActiveWindow(), L"open", toWide(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace zeb2hart::platform

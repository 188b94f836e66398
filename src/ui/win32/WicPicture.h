#pragma once
// WicPicture: an image file decoded with the Windows Imaging Component into a
// device-independent bitmap, its transparent parts filled with the colour of
// what it is drawn on. Made and drawn on the thread of a Win32 page view,
// which has COM initialised.

#include "platform/win32/WindowsApi.h"

#include <cstdint>
#include <filesystem>
#include <optional>

#include "ui/win32/GdiObjects.h"

namespace zeb2hart::ui::win32 {

struct WicPicture {
    GdiObject<HBITMAP> bitmap; // 32 bits a pixel, top-down
    SIZE size{};

    // The first frame of `file` over `background` (0x00BBGGRR); nothing when
    // the file cannot be read or decoded.
    static std::optional<WicPicture> load(const std::filesystem::path& file, std::uint32_t background);
    // Draws the picture at its size with its top left at (x, y).
    void draw(HDC dc, int x, int y) const;
};

} // namespace zeb2hart::ui::win32

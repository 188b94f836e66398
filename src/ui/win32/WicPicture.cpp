#include "ui/win32/WicPicture.h"

#include <wincodec.h>


namespace zeb2hart::ui::win32 {

namespace {

// Releases a COM interface pointer at the end of its scope.
template <class Interface>
class Held {
public:
    ~Held()
    {
        if (m_pointer != nullptr)
            m_pointer->Release();
    }
    Interface* operator->() const { return m_pointer; }
    Interface* get() const { return m_pointer; }
    Interface** out() { return &m_pointer; }

private:
    Interface* m_pointer = nullptr;
};

std::uint8_t blend(std::uint8_t value, std::uint8_t alpha, std::uint8_t background)
{
    return static_cast<std::uint8_t>((value * alpha + background * (255 - alpha) + 127) / 255);
}

} // namespace

std::optional<WicPicture> WicPicture::load(const std::filesystem::path& file, std::uint32_t background)
{
    Held<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.out()))))
        return std::nullopt;
    Held<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromFilename(file.wstring().c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder.out())))
        return std::nullopt;
    Held<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.out())))
        return std::nullopt;
    Held<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.out())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr,
                                     0.0, WICBitmapPaletteTypeCustom)))
        return std::nullopt;
    UINT width = 0;
    UINT height = 0;
    // A picture on a page is small; one larger than a screen many times over is refused.
    constexpr UINT kLargest = 16384;
    if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 || width > kLargest ||
        height > kLargest)
        return std::nullopt;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    GdiObject<HBITMAP> bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || bits == nullptr)
        return std::nullopt;
    const UINT stride = width * 4;
    if (FAILED(converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits))))
        return std::nullopt;
    const auto backBlue = static_cast<std::uint8_t>(background >> 16);
    const auto backGreen = static_cast<std::uint8_t>(background >> 8);
    const auto backRed = static_cast<std::uint8_t>(background);
    auto* pixel = static_cast<std::uint8_t*>(bits);
    for (UINT i = 0; i < width * height; ++i, pixel += 4) {
        const std::uint8_t alpha = pixel[3];
        pixel[0] = blend(pixel[0], alpha, backBlue);
        pixel[1] = blend(pixel[1], alpha, backGreen);
        pixel[2] = blend(pixel[2], alpha, backRed);
        pixel[3] = 0;
    }
    GdiFlush();
    WicPicture picture;
    picture.bitmap = std::move(bitmap);
    picture.size = {static_cast<LONG>(width), static_cast<LONG>(height)};
    return picture;
}

void WicPicture::draw(HDC dc, int x, int y) const
{
    HDC source = CreateCompatibleDC(dc);
    if (source == nullptr)
        return;
    const HGDIOBJ old = SelectObject(source, bitmap.get());
    BitBlt(dc, x, y, size.cx, size.cy, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

} // namespace zeb2hart::ui::win32

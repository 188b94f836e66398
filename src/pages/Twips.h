#pragma once
// Lengths of the pages in twips, the unit their layout rules are written in,
// and the conversion to pixels at 96 dpi (15 twips a pixel). Constants and
// arithmetic; any thread.

#include <algorithm>
#include <cmath>

namespace zeb2hart::pages {

constexpr int kTwipsPerPixel = 15;

inline int twipsToPixels(int twips)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

constexpr int pixelsToTwips(int pixels)
{
    return pixels * kTwipsPerPixel;
}

// A computed width or height never goes below 0.
constexpr int clampedSize(int twips)
{
    return std::max(twips, 0);
}

struct TwipSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const TwipSize&, const TwipSize&) = default;
};

// A control's place inside its container, in twips.
struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    constexpr int right() const { return left + width; }
    constexpr int bottom() const { return top + height; }
    friend bool operator==(const TwipRect&, const TwipRect&) = default;
};

} // namespace zeb2hart::pages

#pragma once
// The look the pages share: Windows colour values (0x00BBGGRR) as Qt colours,
// the page fonts, and placing a control at a rectangle given in twips. Used
// on the GUI thread, where the views that take them live.

#include <QColor>
#include <QFont>
#include <QRect>

#include <cstdint>

#include "pages/Twips.h"

class QWidget;

namespace zeb2hart::ui {

constexpr std::uint32_t kWhite = 0xFFFFFF;

QColor windowsColor(std::uint32_t bgr);

// Fills the widget's background with the colour.
void setBackground(QWidget& widget, std::uint32_t bgr);

// "Arial" 8.25 pt, or the nearest sans-serif font the system has.
QFont pageFont(bool bold = false);
// "Courier New" 8.25 pt, or the nearest fixed-pitch font, so that the monitor's
// name column lines up.
QFont monitorFont();

QRect toPixels(const pages::TwipRect& rect);
void place(QWidget& widget, const pages::TwipRect& rect);
// The widget's size in twips.
pages::TwipSize twipSize(const QWidget& widget);

} // namespace zeb2hart::ui

#include "ui/qt/PageStyle.h"

#include <QPalette>
#include <QWidget>

namespace zeb2hart::ui {

using pages::pixelsToTwips;
using pages::twipsToPixels;
using pages::TwipRect;
using pages::TwipSize;

QColor windowsColor(std::uint32_t bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

void setBackground(QWidget& widget, std::uint32_t bgr)
{
    // Buttons fill with their own role rather than the window's.
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, windowsColor(bgr));
    palette.setColor(widget.backgroundRole(), windowsColor(bgr));
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

QFont pageFont(bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    font.setBold(bold);
    return font;
}

QFont monitorFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSizeF(8.25);
    return font;
}

QRect toPixels(const TwipRect& rect)
{
    return QRect(twipsToPixels(rect.left), twipsToPixels(rect.top), twipsToPixels(rect.width),
                 twipsToPixels(rect.height));
}

void place(QWidget& widget, const TwipRect& rect)
{
    widget.setGeometry(toPixels(rect));
}

TwipSize twipSize(const QWidget& widget)
{
    return {pixelsToTwips(widget.width()), pixelsToTwips(widget.height())};
}

} // namespace zeb2hart::ui

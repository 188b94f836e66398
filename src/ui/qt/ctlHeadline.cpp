#include "ui/qt/ctlHeadline.h"

#include <QPainter>

#include "platform/Services.h"
#include "support/Conversions.h"
#include "pages/AboutLogic.h"
#include "pages/PageLayout.h"
#include "ui/qt/PageStyle.h"

namespace zeb2hart::ui {
using namespace zeb2hart::pages;

ctlHeadline::ctlHeadline(QWidget* parent) : QWidget(parent), m_imgLogo(new PictureBox(this))
{
    setObjectName(QStringLiteral("ctlHeadline"));
    setBackground(*this, kWhite);
    setFont(pageFont(true));
    m_imgLogo->setObjectName(QStringLiteral("imgLogo"));
    m_imgLogo->setAutoSize(true);
    m_imgLogo->setCursor(Qt::PointingHandCursor);
    m_imgLogo->onClick = [this] { imgLogo_Click(); };
    m_imgLogo->load(platform::services().componentFolder / "Resources" / "manufacturer_logo.bmp");
    resize(width(), twipsToPixels(kHeadlineHeight));
    placeLogo();
}

void ctlHeadline::Title(const fdt::Variant& title)
{
    m_title = title.is<std::string>() ? QString::fromStdString(title.as<std::string>()) : QString();
    update();
}

void ctlHeadline::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeLogo();
}

void ctlHeadline::placeLogo()
{
    const int left = headlineLogoLeft(pixelsToTwips(width()), pixelsToTwips(m_imgLogo->width()));
    m_imgLogo->move(twipsToPixels(left), (height() - m_imgLogo->height()) / 2);
}

void ctlHeadline::paintEvent(QPaintEvent*)
{
    if (m_title.isEmpty())
        return;
    QPainter painter(this);
    painter.setPen(windowsColor(support::kPageBlue));
    const QRect textArea(twipsToPixels(120), 0, std::max(0, m_imgLogo->x() - twipsToPixels(240)), height());
    painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_title);
}

void ctlHeadline::imgLogo_Click()
{
    // The shell's answer is not examined: a browser that does not start is not reported.
    if (const auto& shell = platform::services().shell)
        shell->open(kVendorAddress);
}

} // namespace zeb2hart::ui

#include "ui/qt/HeadlineWidget.h"

#include <QPainter>

#include "pages/PageLayout.h"
#include "platform/Services.h"
#include "support/Conversions.h"
#include "ui/qt/PageStyle.h"

namespace zeb2hart::ui {

HeadlineWidget::HeadlineWidget(QWidget* parent) : QWidget(parent), m_imgLogo(new PictureBox(this))
{
    setBackground(*this, kWhite);
    setFont(pageFont(true));
    m_imgLogo->setObjectName(QStringLiteral("imgLogo"));
    m_imgLogo->setAutoSize(true);
    m_imgLogo->setCursor(Qt::PointingHandCursor);
    m_imgLogo->onClick = [this] {
        if (onLogoClick)
            onLogoClick();
    };
    m_imgLogo->load(platform::services().componentFolder / "Resources" / "manufacturer_logo.bmp");
    resize(width(), pages::twipsToPixels(pages::kHeadlineHeight));
    placeLogo();
}

void HeadlineWidget::setTitle(const QString& title)
{
    m_title = title;
    update();
}

void HeadlineWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeLogo();
}

void HeadlineWidget::placeLogo()
{
    using namespace pages;
    const int left = headlineLogoLeft(pixelsToTwips(width()), pixelsToTwips(m_imgLogo->width()));
    m_imgLogo->move(twipsToPixels(left), (height() - m_imgLogo->height()) / 2);
}

void HeadlineWidget::paintEvent(QPaintEvent*)
{
    if (m_title.isEmpty())
        return;
    QPainter painter(this);
    painter.setPen(windowsColor(support::kPageBlue));
    const QRect textArea(pages::twipsToPixels(120), 0, std::max(0, m_imgLogo->x() - pages::twipsToPixels(240)),
                         height());
    painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_title);
}

} // namespace zeb2hart::ui

#include "ui/qt/PictureBox.h"

#include <QMouseEvent>
#include <QPainter>

namespace zeb2hart::ui {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

bool PictureBox::load(const std::filesystem::path& file)
{
    QImage image;
    if (!image.load(QString::fromStdString(file.string())))
        return false;
    m_picture = std::move(image);
    m_source = file;
    if (m_autoSize)
        resize(m_picture.size());
    update();
    return true;
}

void PictureBox::paintEvent(QPaintEvent*)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_picture);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onClick)
        onClick();
    QWidget::mouseReleaseEvent(event);
}

} // namespace zeb2hart::ui

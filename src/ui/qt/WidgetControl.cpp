#include "ui/qt/WidgetControl.h"

#include <QAbstractButton>
#include <QLabel>
#include <QVariant>

#include <stdexcept>

namespace zeb2hart::ui {

std::string WidgetControl::name() const
{
    if (!m_widget || m_widget->objectName().isEmpty())
        throw std::runtime_error("the control has no name");
    return m_widget->objectName().toStdString();
}

std::optional<int> WidgetControl::index() const
{
    if (!m_widget)
        return std::nullopt;
    const QVariant value = m_widget->property(kControlIndexProperty);
    if (!value.isValid())
        return std::nullopt;
    return value.toInt();
}

bool WidgetControl::hasCaption() const
{
    return qobject_cast<QLabel*>(m_widget.data()) || qobject_cast<QAbstractButton*>(m_widget.data());
}

void WidgetControl::setCaption(const std::string& caption)
{
    const QString text = QString::fromStdString(caption);
    if (auto* label = qobject_cast<QLabel*>(m_widget.data()))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(m_widget.data()))
        button->setText(text);
    else
        throw std::runtime_error("the control has no caption");
}

void ControlCollection::add(QWidget* widget)
{
    m_controls.push_back(std::make_unique<WidgetControl>(widget));
}

core::ControlList ControlCollection::list() const
{
    core::ControlList controls;
    controls.reserve(m_controls.size());
    for (const auto& control : m_controls)
        controls.push_back(control.get());
    return controls;
}

} // namespace zeb2hart::ui

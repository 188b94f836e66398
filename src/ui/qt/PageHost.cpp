#include "ui/qt/PageHost.h"

#include <QVBoxLayout>

#include "ui/qt/QtPageView.h"

namespace zeb2hart::ui {

PageHost::PageHost(fdt::ObjectPtr page, QWidget* parent)
    : QWidget(parent), m_page(std::move(page)), m_widget(pageWidget(m_page))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (m_widget)
        layout->addWidget(m_widget);
}

PageHost::~PageHost()
{
    if (m_widget) {
        m_widget->hide();
        m_widget->setParent(nullptr);
    }
    // The page goes now if the host held the last reference, or later with its other owners.
    m_page.reset();
}

} // namespace zeb2hart::ui

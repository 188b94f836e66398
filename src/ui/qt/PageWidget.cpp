#include "ui/qt/PageWidget.h"

#include <QVariant>
#include <QtGlobal>

#include "platform/Services.h"
#include "support/Conversions.h"
#include "ui/qt/PageStyle.h"

namespace zeb2hart::ui {

PageWidget::PageWidget(const char* controlName) : m_headline(nullptr)
{
    setObjectName(QString::fromLatin1(controlName));
    setBackground(*this, support::kPageBlue);
    setFont(pageFont());
    m_headline = addControl<ctlHeadline>("ctlHeadline", this);
}

PageWidget::~PageWidget()
{
    // Deleting a shared page behind its owners' backs (as a parent widget
    // deletes its children) would leave the DTM and the frame holding a dead
    // object: stop here with the reason rather than crash later.
    if (m_sharedOwnership && !m_ownerDeletes)
        qFatal("%s was deleted by its parent widget; show pages through ui::PageHost",
               qPrintable(objectName()));
}

void PageWidget::registerControl(QWidget* widget, const char* name, std::optional<int> index)
{
    widget->setObjectName(QString::fromLatin1(name));
    if (index)
        widget->setProperty(kControlIndexProperty, *index);
    m_controls.add(widget);
}

QWidget* PageWidget::addPanel(const char* name, QWidget* container, std::uint32_t bgr)
{
    auto* panel = addControl<QWidget>(name, container);
    setBackground(*panel, bgr);
    return panel;
}

void PageWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    pageResized();
}

std::filesystem::path PageWidget::componentFolder() const
{
    if (const core::DTMMain* dtm = m_session.dtm())
        return dtm->componentFolder();
    return platform::services().componentFolder;
}

} // namespace zeb2hart::ui

#include "pages/Page.h"

#include "fdt/FrameInterfaces.h"
#include "pages/AboutLogic.h"
#include "pages/ctlAbout.h"
#include "pages/ctlMonitor.h"
#include "pages/ctlOfflineParam.h"
#include "platform/Services.h"

namespace zeb2hart::pages {

// A row of the page's table as TranslateControls sees it; its caption is what the view shows.
class Page::RowControl final : public core::Control {
public:
    RowControl(PageView& view, int row) : m_view(view), m_row(row) {}
    std::string name() const override { return std::string(info().name); }
    std::optional<int> index() const override { return info().index; }
    bool hasCaption() const override { return info().caption != nullptr; }
    void setCaption(const std::string& caption) override { m_view.setText(m_row, caption); }

private:
    const ControlInfo& info() const { return m_view.table().controls[static_cast<std::size_t>(m_row)]; }
    PageView& m_view;
    int m_row;
};

Page::Page(std::unique_ptr<PageView> view) : m_view(std::move(view))
{
    const auto& controls = m_view->table().controls;
    for (std::size_t row = 0; row < controls.size(); ++row) {
        m_controls.push_back(std::make_unique<RowControl>(*m_view, static_cast<int>(row)));
        if (controls[row].caption)
            m_view->setText(static_cast<int>(row), controls[row].caption);
    }
    m_view->setEvents(this);
}

Page::~Page()
{
    m_view->setEvents(nullptr);
}

core::ControlList Page::controlList() const
{
    core::ControlList list;
    list.reserve(m_controls.size());
    for (const auto& control : m_controls)
        list.push_back(control.get());
    return list;
}

std::filesystem::path Page::componentFolder() const
{
    return m_services ? m_services->componentFolder() : platform::services().componentFolder;
}

bool Page::open(const std::string& invokeId, const fdt::ObjectPtr& dtm)
{
    auto services = pageServicesOf(dtm);
    if (invokeId.empty() || !services)
        return false;
    m_frame = services->frame();
    m_services = std::move(services);
    m_invokeId = invokeId;
    return true;
}

bool Page::release()
{
    if (m_invokeId.empty() || !m_frame)
        return false;
    if (m_services)
        m_services->registerPage(kind(), nullptr);
    const auto events = fdt::query<fdt::IDtmEvents>(m_frame);
    if (!events)
        return false;
    events->OnApplicationClosed(m_invokeId);
    return true;
}

void Page::close()
{
    m_invokeId.clear();
    m_services.reset();
    m_frame.reset();
}

void Page::layOut()
{
    const std::vector<TwipRect> rects = m_view->table().layOut(m_view->pageSize());
    for (std::size_t row = 0; row < rects.size(); ++row)
        m_view->place(static_cast<int>(row), rects[row]);
}

void Page::clicked(int row)
{
    // The headline's logo opens the vendor's address; the shell's answer is not
    // examined: a browser that does not start is not reported.
    if (m_view->table().controls[static_cast<std::size_t>(row)].kind == ControlKind::Headline) {
        if (const auto& shell = platform::services().shell)
            shell->open(kVendorAddress);
    }
}

void Page::chosen(int, int) {}
void Page::edited(int) {}
void Page::keyReleased(int) {}

void Page::resized()
{
    layOut();
}

std::shared_ptr<Page> makePage(PageKind kind, std::unique_ptr<PageView> view)
{
    std::shared_ptr<Page> page;
    switch (kind) {
    case PageKind::Monitor:
        page.reset(new ctlMonitor(std::move(view)));
        break;
    case PageKind::OfflineParam:
        page.reset(new ctlOfflineParam(std::move(view)));
        break;
    case PageKind::About:
        page.reset(new ctlAbout(std::move(view)));
        break;
    }
    page->m_self = std::static_pointer_cast<fdt::Object>(std::static_pointer_cast<fdt::IDtmActiveXControl>(page));
    return page;
}

std::shared_ptr<Page> pageOf(const fdt::ObjectPtr& object)
{
    return std::dynamic_pointer_cast<Page>(object);
}

} // namespace zeb2hart::pages

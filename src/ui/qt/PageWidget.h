#pragma once
// PageWidget: what the three pages the frame opens have in common. A page is a
// QWidget and, toward the frame and the DTM, an FDT object held by
// std::shared_ptr (made by makePage); the shared_ptr owns the widget. A host
// shows a page through PageHost, which never lets Qt delete it.

#include <QWidget>

#include <filesystem>
#include <memory>
#include <optional>

#include "core/Pages.h"
#include "fdt/DtmInterfaces.h"
#include "ui/qt/PageSession.h"
#include "ui/qt/WidgetControl.h"
#include "ui/qt/ctlHeadline.h"

namespace zeb2hart::ui {

class PageWidget : public QWidget, public fdt::IDtmActiveXControl, public core::IActiveXGUI {
public:
    ~PageWidget() override;
    PageWidget(const PageWidget&) = delete;
    PageWidget& operator=(const PageWidget&) = delete;

    // The page as the DTM and the frame hold it; null for a page not made by makePage.
    fdt::ObjectPtr self() const { return m_self.lock(); }
    const PageSession& session() const { return m_session; }
    ctlHeadline& headline() { return *m_headline; }
    // The child controls in the order TranslateControls receives them.
    core::ControlList controlList() const { return m_controls.list(); }

protected:
    // `controlName` is the page's own control name, e.g. "ctlMonitor".
    explicit PageWidget(const char* controlName);

    // Creates a child control of type W inside `container`, named as the page's
    // controls are named, and adds it to the page's control collection.
    template <class W>
    W* addControl(const char* name, QWidget* container, std::optional<int> index = std::nullopt)
    {
        auto* widget = new W(container);
        registerControl(widget, name, index);
        return widget;
    }
    // A panel of one colour without a caption.
    QWidget* addPanel(const char* name, QWidget* container, std::uint32_t bgr);

    // Layout on every resize of the page.
    virtual void pageResized() = 0;
    void resizeEvent(QResizeEvent* event) override;

    // The folder holding Resources/: the DTM's once the page is open.
    std::filesystem::path componentFolder() const;

    PageSession m_session;
    ctlHeadline* m_headline;

private:
    void registerControl(QWidget* widget, const char* name, std::optional<int> index);

    ControlCollection m_controls;
    std::weak_ptr<fdt::Object> m_self;
    bool m_sharedOwnership = false;
    bool m_ownerDeletes = false;

    template <class Page>
    friend std::shared_ptr<Page> makePage();
};

// Creates a page owned by the returned shared_ptr. Needs a QApplication.
template <class Page>
std::shared_ptr<Page> makePage()
{
    std::shared_ptr<Page> page(new Page(), [](Page* doomed) {
        doomed->m_ownerDeletes = true;
        delete doomed;
    });
    page->m_self = page;
    page->m_sharedOwnership = true;
    return page;
}

} // namespace zeb2hart::ui

#pragma once
// The three pages' logic, free of any toolkit: each is the FDT object a frame
// opens (IDtmActiveXControl), the DTM's private page interfaces (IActiveXGUI,
// and IMonitorPage or IOfflineParamPage), and the handlers of its controls. A
// page shows itself through the PageView it owns, reaches its DTM through
// PageServices, and writes the traces of its operations. Made by makePage and
// held by std::shared_ptr; the DTM holds it weakly. Called on the thread of the
// DTM that opened it.

#include <cstdint>
#include <memory>
#include <string>

#include "core/Pages.h"
#include "fdt/DtmInterfaces.h"
#include "pages/PageServices.h"
#include "pages/PageView.h"

namespace zeb2hart::pages {

class Page : public fdt::IDtmActiveXControl, public core::IActiveXGUI, protected PageEvents {
public:
    ~Page() override;
    Page(const Page&) = delete;
    Page& operator=(const Page&) = delete;

    PageKind kind() const { return m_view->table().kind; }
    PageView& view() { return *m_view; }
    const PageView& view() const { return *m_view; }
    // The DTM's services while the page is open; nullptr before Init and after the end.
    PageServices* services() const { return m_services.get(); }
    const std::string& invokeId() const { return m_invokeId; }

    // The controls in the order TranslateControls receives them.
    core::ControlList controlList() const;
    // The folder holding Resources/: the DTM's once the page is open, else the component's.
    std::filesystem::path componentFolder() const;

protected:
    explicit Page(std::unique_ptr<PageView> view);
    fdt::ObjectPtr self() const { return m_self.lock(); }

    // Init's first steps: false, and nothing kept, for an empty invoke
    // identifier or an object that is not the gateway DTM.
    bool open(const std::string& invokeId, const fdt::ObjectPtr& dtm);
    // PrepareToRelease: false without invoke identifier or frame object.
    // Otherwise clears the page's registration with the DTM, tells the frame
    // that the page opened under the invoke identifier is closed, and answers
    // true (false when the frame object offers no frame event interface).
    bool release();
    // Termination: forgets the DTM, the frame and the invoke identifier.
    void close();
    // Places every control for the page's size.
    void layOut();

    // PageEvents: nothing by default.
    void clicked(int row) override;
    void chosen(int row, int position) override;
    void edited(int row) override;
    void keyReleased(int row) override;
    void resized() override;

private:
    class RowControl;
    std::unique_ptr<PageView> m_view;
    std::vector<std::unique_ptr<RowControl>> m_controls;
    std::shared_ptr<PageServices> m_services;
    fdt::ObjectPtr m_frame;
    std::string m_invokeId;
    std::weak_ptr<fdt::Object> m_self;

    friend std::shared_ptr<Page> makePage(PageKind kind, std::unique_ptr<PageView> view);
};

// A new page of that kind, showing itself through `view` (made from the same
// kind's table).
std::shared_ptr<Page> makePage(PageKind kind, std::unique_ptr<PageView> view);

// The page behind a page object; nullptr for any other object.
std::shared_ptr<Page> pageOf(const fdt::ObjectPtr& object);

} // namespace zeb2hart::pages

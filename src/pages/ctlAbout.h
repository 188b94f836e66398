#pragma once
// ctlAbout: the about page: the device picture, the title, a description, the
// component's version and a disclaimer, every text from the dictionary.
// Called on the thread of the DTM that opened it, by the frame and the DTM.

#include <string>

#include "pages/Page.h"

namespace zeb2hart::pages {

class ctlAbout final : public Page {
public:
    explicit ctlAbout(std::unique_ptr<PageView> view);
    ~ctlAbout() override;

    // IDtmActiveXControl
    bool Init(const std::string& invokeId, const std::string& functionCall, const fdt::ObjectPtr& dtm) override;
    bool PrepareToRelease() override;
    // IActiveXGUI: translates the labels and rebuilds the version caption.
    void UpdateLanguage() override;
};

} // namespace zeb2hart::pages

#include "pages/ctlAbout.h"

#include "core/ComponentData.h"
#include "pages/AboutLogic.h"

namespace zeb2hart::pages {

ctlAbout::ctlAbout(std::unique_ptr<PageView> view) : Page(std::move(view))
{
    layOut();
}

ctlAbout::~ctlAbout()
{
    close();
}

bool ctlAbout::Init(const std::string& invokeId, const std::string&, const fdt::ObjectPtr& dtm)
{
    if (!open(invokeId, dtm))
        return false;
    view().setPicture(about::DeviceImage, componentFolder() / "Resources" / "Device_small.gif");
    layOut();
    services()->registerPage(PageKind::About, self());
    UpdateLanguage();
    return true;
}

bool ctlAbout::PrepareToRelease()
{
    return release();
}

void ctlAbout::UpdateLanguage()
{
    PageServices* dtm = services();
    if (!dtm)
        return;
    dtm->translate(std::string(view().table().controlName) + "_", controlList());
    view().setText(about::lblVersion, versionCaption(view().text(about::lblVersion)));
    view().setText(about::ctlHeadline, dtm->dictionaryText(std::string(core::text::kDriverName)));
}

} // namespace zeb2hart::pages

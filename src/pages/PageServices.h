#pragma once
// What the gateway DTM offers the pages it opens: the frame object handed on,
// the dictionary, the page registration, the change report, the status, the
// translation of a page's controls, its settings file and its persisted
// properties by key. A page reaches its DTM only through this interface.
// Called on the DTM's thread.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "core/Pages.h"
#include "fdt/Object.h"
#include "fdt/Variant.h"
#include "pages/PageControls.h"

namespace zeb2hart::pages {

class PageServices {
public:
    virtual ~PageServices() = default;

    // The frame object the DTM was given (OnInitControl).
    virtual fdt::ObjectPtr frame() = 0;
    virtual std::string dictionaryText(const std::string& textId) = 0;
    // Registers the open page of that kind with the DTM; nullptr clears it.
    virtual void registerPage(PageKind kind, const fdt::ObjectPtr& page) = 0;
    virtual void parameterChanged(std::string_view key, const std::string& newValue) = 0;
    // Refreshes the status text and shows it on the registered offline page.
    virtual void refreshStatus() = 0;
    virtual void translate(const std::string& prefix, const core::ControlList& controls) = 0;
    virtual std::filesystem::path componentFolder() = 0;
    virtual std::filesystem::path settingsFile() = 0;
    // A persisted property by its key; errors of the property table reach the caller.
    virtual fdt::Variant property(std::string_view key) = 0;
    virtual void setProperty(std::string_view key, const fdt::Variant& value) = 0;
};

// The services of the object given to IDtmActiveXControl::Init: the gateway
// DTM's own, in this process; nullptr for any other object.
std::shared_ptr<PageServices> pageServicesOf(const fdt::ObjectPtr& dtm);

} // namespace zeb2hart::pages

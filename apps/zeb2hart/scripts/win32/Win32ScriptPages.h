#pragma once
// The real pages in frame scripts on Windows: the DLL's pages as ActiveX
// controls, each created by the ProgID the DTM gives and activated in place in
// a window of the frame stand-in's own OLE container (HostedControl). Steps act
// on a control as a user does, through its window (found by the control's row
// in the page's table: its window identifier is the row + 1) and read back
// what it shows. Used on the thread of the script's single-threaded apartment.

#include <memory>
#include <string>
#include <vector>

#include "host/win32/OleContainer.h"
#include "scripts/ScriptPages.h"

namespace zeb2hart::frame {

class Win32ScriptPages final : public ScriptPages {
public:
    static constexpr int kWidth = 720; // pixels, as the Qt pages are shown
    static constexpr int kHeight = 480;

    ~Win32ScriptPages() override;

    std::shared_ptr<fdt::IDtmActiveXControl> create(const std::string& page) override;
    void destroy(const std::string& page) override;
    std::shared_ptr<fdt::IDtmActiveXControl> opened(const std::string& page) const override;
    ControlState act(const ControlAction& action) override;
    Json screenshot(const std::string& page, const std::filesystem::path& file) override;
    Json resize(const std::string& page, int width, int height) override;
    void settle() override;
    void destroyAll() override;

private:
    struct OpenPage {
        std::string name;
        std::unique_ptr<HostedControl> host;
        std::shared_ptr<fdt::IDtmActiveXControl> control;
    };
    const OpenPage* find(const std::string& page) const;
    const OpenPage& require(const std::string& page) const;

    std::vector<OpenPage> m_pages;
};

ScriptPagesFactory win32ScriptPages();

} // namespace zeb2hart::frame

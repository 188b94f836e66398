#pragma once
// The Qt pages of frame scripts: each created through the class registry by
// its ProgID and shown in a host window on Qt's offscreen platform (a
// QApplication is made when the process has none), its controls reached by
// object name.

#include <QApplication>

#include <memory>
#include <string>
#include <vector>

#include "scripts/ScriptPages.h"
#include "ui/qt/PageHost.h"
#include "ui/qt/QtPageView.h"

namespace zeb2hart::frame {

class QtScriptPages final : public ScriptPages {
public:
    static constexpr int kWidth = 720;  // pixels, the size the pages are shown at
    static constexpr int kHeight = 480;

    QtScriptPages();
    ~QtScriptPages() override;
    QtScriptPages(const QtScriptPages&) = delete;
    QtScriptPages& operator=(const QtScriptPages&) = delete;

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
        std::unique_ptr<ui::PageHost> host;
    };
    const OpenPage* find(const std::string& page) const;
    // The open page of that name; PageError when it is not open.
    const OpenPage& require(const std::string& page) const;

    int m_argc = 1;
    char m_programName[9] = "zeb2hart";
    char* m_argv[2] = {m_programName, nullptr};
    std::unique_ptr<QApplication> m_application; // only when made here
    std::vector<OpenPage> m_pages;
};

// The factory zeb2hart's script runner gets when it is built with Qt.
ScriptPagesFactory qtScriptPages();

} // namespace zeb2hart::frame

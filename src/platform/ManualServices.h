#pragma once
// Services that do nothing on their own, installed for the object's lifetime: a
// manual event loop, a clock that moves only when told, numbered GUIDs and recording
// dialogs; the user's folder is the component folder's "UserData", never the real one.
// Tests, benchmarks and fuzz targets run the same way every time under them.
// Made, used and destroyed on the thread that runs the event loop.

#include <ctime>
#include <filesystem>
#include <memory>

#include "../fdt/Export.h"
#include "ManualEventLoop.h"
#include "Services.h"

namespace zeb2hart::platform {

class ZEB2HART_API ManualServices {
public:
    // The clock stands at `moment`; by default at the start of 2026-12-06.
    explicit ManualServices(const std::filesystem::path& componentFolder, std::tm moment = startOfDay(2026, 12, 6));
    ManualServices(const ManualServices&) = delete;
    ManualServices& operator=(const ManualServices&) = delete;

    ManualEventLoop& loop() const { return *m_loop; }
    FixedClock& clock() const { return *m_clock; }
    SequentialGuidSource& guids() const { return *m_guids; }
    RecordingMessageBox& messageBox() const { return *m_messageBox; }
    RecordingFileDialog& fileDialog() const { return *m_fileDialog; }
    RecordingShell& shell() const { return *m_shell; }

    static std::tm startOfDay(int year, int month, int day);

private:
    std::shared_ptr<ManualEventLoop> m_loop = std::make_shared<ManualEventLoop>();
    std::shared_ptr<FixedClock> m_clock;
    std::shared_ptr<SequentialGuidSource> m_guids = std::make_shared<SequentialGuidSource>();
    std::shared_ptr<RecordingMessageBox> m_messageBox = std::make_shared<RecordingMessageBox>();
    std::shared_ptr<RecordingFileDialog> m_fileDialog = std::make_shared<RecordingFileDialog>();
    std::shared_ptr<RecordingShell> m_shell = std::make_shared<RecordingShell>();
    ScopedServices m_scope;
};

} // namespace zeb2hart::platform

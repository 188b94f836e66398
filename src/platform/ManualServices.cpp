#include "platform/ManualServices.h"

namespace zeb2hart::platform {

ManualServices::ManualServices(const std::filesystem::path& componentFolder, std::tm moment)
    : m_clock(std::make_shared<FixedClock>(moment)),
      m_scope(Services{componentFolder, componentFolder / "UserData", m_loop, m_clock, m_guids, m_messageBox, m_fileDialog, m_shell})
{
}

std::tm ManualServices::startOfDay(int year, int month, int day)
{
    std::tm moment{};
    moment.tm_year = year - 1900;
    moment.tm_mon = month - 1;
    moment.tm_mday = day;
    return moment;
}

} // namespace zeb2hart::platform

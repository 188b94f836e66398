#include "pages/MonitorLogic.h"

#include <exception>
#include <fstream>

#include "core/PersistentProperties.h"
#include "platform/Paths.h"
#include "support/Conversions.h"
#include "support/Trace.h"

namespace zeb2hart::pages {

void monitorTrace(std::string_view operation, const std::string& message)
{
    std::string functionName = "ctlMonitor-";
    functionName += operation;
    support::Trace(functionName, message);
}

std::string_view filterPropertyName(int clickCode)
{
    switch (clickCode) {
    case click::FDTInterface:
        return core::key::PersistentFDTInterfaceFilter;
    case click::ZEBProtocols:
        return core::key::PersistentZEBProtocolFilter;
    case click::HARTProtocols:
        return core::key::PersistentHARTProtocolFilter;
    default:
        return {};
    }
}

void CheckFilter(PageServices* dtm, int clickCode, bool checked)
{
    monitorTrace("CheckFilter", "entry");
    try {
        const std::string_view key = filterPropertyName(clickCode);
        if (dtm && !key.empty() && dtm->property(key).as<bool>() != checked) {
            dtm->setProperty(key, checked);
            dtm->parameterChanged(key, support::booleanText(checked));
        }
    } catch (const std::exception&) {
        return;
    }
    monitorTrace("CheckFilter", "exit");
}

std::string logFileText(std::string_view viewText)
{
    std::string text;
    text.reserve(viewText.size() + viewText.size() / 16 + 2);
    for (const char c : viewText) {
        if (c == '\n')
            text += "\r\n";
        else
            text += c;
    }
    text += "\r\n";
    return text;
}

bool writeLogFile(const std::string& fileName, const std::string& content)
{
    try {
        std::ofstream out(platform::pathFromUtf8(fileName), std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.close();
        return !out.fail();
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace zeb2hart::pages

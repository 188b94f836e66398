// The settings-file reader: the input is the file; the sections and keys the
// component reads, in other letter cases, and the first section and key the
// file names itself are looked up.
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "support/IniFile.h"

namespace {

using namespace zeb2hart;

const std::pair<const char*, const char*> kLookups[] = {
    {"TimeCritical", "Trace"},          {"TimeCritical", "TraceFileSizeInMB"},
    {"timecritical", "PRESISTENTTRACE"}, {"InitialValues", "PersistentWarmstartDelay"},
    {"DeviceList", "Devices"},          {"VRA520", "PersistentDeviceID"},
    {"", ""},                           {"Missing", "Key"},
};

// The first "[name]" and the first "key=" of the text, if any.
std::pair<std::string, std::string> namedInFile(std::string_view text)
{
    std::string section;
    std::string key;
    if (const auto open = text.find('['); open != std::string_view::npos)
        if (const auto close = text.find(']', open); close != std::string_view::npos)
            section = std::string(text.substr(open + 1, close - open - 1));
    if (const auto equals = text.find('='); equals != std::string_view::npos) {
        const auto lineStart = text.rfind('\n', equals);
        const auto from = lineStart == std::string_view::npos ? 0 : lineStart + 1;
        key = std::string(text.substr(from, equals - from));
    }
    return {section, key};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fuzz::fs::path file = fuzz::scratchFile("DTM.ini");
    const std::string content = fuzz::text(data, size);
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << content;
    }
    for (const auto& [section, key] : kLookups)
        (void)support::ReadIniString(file, section, key);
    const auto [section, key] = namedInFile(content);
    (void)support::ReadIniString(file, section, key);
    return 0;
}

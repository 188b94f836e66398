// zeb2hart check on broken copies of the component folder: each breakage is
// reported as a problem naming the file, and the shipped folder has none.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "fakes/ComponentFiles.h"
#include "fakes/TestEnvironment.h"
#include "host/ComponentCheck.h"
#include "host/ComponentHost.h"

namespace zeb2hart::frame {
namespace {

using test::TempComponentFolder;

std::string replaced(std::string text, const std::string& what, const std::string& with)
{
    const std::size_t at = text.find(what);
    EXPECT_NE(at, std::string::npos) << what;
    return at == std::string::npos ? text : text.replace(at, what.size(), with);
}

std::string dataFile(const TempComponentFolder& copy, const std::string& relative)
{
    return test::readFile(copy.path() / relative);
}

std::string problemsOf(const CheckReport& report)
{
    std::string text;
    for (const auto& problem : report.problems)
        text += problem.file.filename().string() + ": " + problem.what + "\n";
    return text;
}

TEST(ComponentCheckTest, TheShippedFolderHasNoProblem)
{
    const CheckReport report = checkComponent(test::componentDir(), test::frameSchemaDir(), frameDataFolder() / "Devices");
    EXPECT_EQ(problemsOf(report), "");
    EXPECT_GE(report.templates, 15u);
    EXPECT_EQ(report.deviceTypes, 3u);
}

TEST(ComponentCheckTest, EachBreakageIsOneProblemNamingItsFile)
{
    const std::string dictionary = "XMLData/DTMDictionary.xml";
    const std::string ini = "Resources/DTM.ini";
    struct Case {
        const char* name;
        std::function<void(const TempComponentFolder&)> breakIt;
        std::string problem; // "file: what" as a part of one problem's line
    };
    const Case cases[] = {
        {"template that does not parse",
         [](const auto& copy) { copy.write("XMLData/DTMFunctions.xml", "<FDT><Functions>"); },
         "DTMFunctions.xml: line "},
        {"template that is not valid",
         [](const auto& copy) {
             const std::string file = "XMLData/ZEB2HARTConnectRequest.xml";
             copy.write(file, replaced(dataFile(copy, file), "<ConnectRequest ", "<ConnectQuest "));
         },
         "ZEB2HARTConnectRequest.xml: line 3: "},
        {"schema that does not compile",
         [](const auto& copy) { copy.write("XMLSchemas/ZEBCommunicationSchema.xml", "<xs:schema"); },
         "ZEBCommunicationSchema.xml: "},
        {"missing DTM.ini key of a device type",
         [&](const auto& copy) { copy.write(ini, test::iniWith(copy.path(), "VRA510", "PersistentDeviceID", "")); },
         "DTM.ini: [VRA510] has no value for PersistentDeviceID"},
        {"identity that is no object",
         [&](const auto& copy) { copy.write(ini, test::iniWith(copy.path(), "VRA540", "PersistentDeviceID", "x")); },
         "DTM.ini: [VRA540] PersistentDeviceID=x is not an object"},
        {"missing initial value",
         [&](const auto& copy) {
             copy.write(ini, test::iniWith(copy.path(), "InitialValues", "PersistentWarmstartDelay", ""));
         },
         "DTM.ini: [InitialValues] has no value for PersistentWarmstartDelay"},
        {"missing page text",
         [&](const auto& copy) {
             copy.write(dictionary, replaced(dataFile(copy, dictionary), "<ctlMonitor_btnSave text=\"Speichern\"/>", ""));
         },
         "DTMDictionary.xml: German lacks the text ctlMonitor_btnSave (the communication monitor page)"},
        {"missing function name",
         [&](const auto& copy) {
             copy.write(dictionary, replaced(dataFile(copy, dictionary), "<fct_About text=\"About\"/>", ""));
         },
         "DTMDictionary.xml: English lacks the text fct_About (DTMFunctions.xml)"},
        {"missing language",
         [&](const auto& copy) {
             copy.write(dictionary, replaced(dataFile(copy, dictionary), "localeId=\"0007\"", "localeId=\"000C\""));
         },
         "DTMDictionary.xml: there is no German (localeId 0007)"},
        {"missing device model",
         [&](const auto& copy) {
             std::string text = test::iniWith(copy.path(), "DeviceList", "Devices", "VRA520,VRA510,VRA540,VRA999");
             text = replaced(text, "[VRA540]", "[VRA999]\nPersistentManufacturerIDCode=1.1\n"
                                               "PersistentManufacturerDevTypeCode=1.1\nPersistentRevLevelOfTransmSpecDoc=1.1\n"
                                               "PersistentSoftwareRevLevelOfDev=1.1\nPersistentHardwareRevLevelOfElectr=1.1\n"
                                               "PersistentDeviceID=1.1\n[VRA540]");
             copy.write(ini, text);
         },
         "VRA999.json: no device model"},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.name);
        TempComponentFolder copy;
        item.breakIt(copy);
        const CheckReport report =
            checkComponent(copy.path(), test::frameSchemaDir(), frameDataFolder() / "Devices");
        EXPECT_NE(problemsOf(report).find(item.problem), std::string::npos) << problemsOf(report);
    }
}

} // namespace
} // namespace zeb2hart::frame

#pragma once
// One DTM instance driven as a frame drives it: through the FDT interfaces it
// offers, with a recording frame, recording pages and the test services.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "core/CoreFakes.h"
#include "core/CoreTestSupport.h"
#include "core/DTMMain.h"
#include "gateway/GatewayFakes.h"
#include "dom/SchemaCollection.h"
#include "support/Monitor.h"

namespace zeb2hart::test {

using gateway::test::Document;
using gateway::test::RecordingParent;

inline std::ostream& operator<<(std::ostream& out, const RecordingMonitorPage::Line& line)
{
    return out << "{\"" << line.text << "\", 0x" << std::hex << line.color << std::dec << "}";
}

inline std::ostream& operator<<(std::ostream& out, const Call& call)
{
    out << call.name << "(";
    for (std::size_t i = 0; i < call.args.size(); ++i)
        out << (i ? ", " : "") << '"' << call.args[i] << '"';
    return out << ")";
}

// A monitor line as the page receives it, before formatting.
struct ExpectedLine {
    std::string functionName;
    std::string message;
    std::int32_t color;
};

inline ExpectedLine ok(const std::string& functionName)
{
    return {functionName, "Successful", support::color::Green};
}
inline ExpectedLine denied(const std::string& functionName)
{
    return {functionName, "denied", support::color::Red};
}

// Every schema of the frame and of the component, as the DTM's cache holds them.
inline std::shared_ptr<dom::SchemaCollection> allSchemas()
{
    static const auto schemas = [] {
        auto all = std::make_shared<dom::SchemaCollection>();
        for (const auto& folder : {frameSchemaDir(), componentDir() / "XMLSchemas"}) {
            std::vector<std::filesystem::path> files;
            for (const auto& entry : std::filesystem::directory_iterator(folder))
                files.push_back(entry.path());
            std::sort(files.begin(), files.end());
            for (const auto& file : files) {
                const std::string name = file.filename().string();
                if (name.ends_with("xml") || name.ends_with("XML"))
                    all->add("x-schema:" + name, file);
            }
        }
        return all;
    }();
    return schemas;
}

// A document the DTM returned, validated against every schema.
inline Document validated(const std::string& text)
{
    return Document(text, allSchemas());
}

class DtmFixture : public ::testing::Test {
protected:
    template <class I>
    std::shared_ptr<I> as()
    {
        auto itf = fdt::query<I>(fdt::ObjectPtr(dtm));
        EXPECT_NE(itf, nullptr);
        return itf;
    }

    bool environment(const std::string& systemTag = "GW1")
    {
        frame->schemaPath = frameSchemaDir().string();
        return as<fdt::IDtm>()->Environment(systemTag, frame);
    }

    // Registers the recording monitor with the given filters.
    void openMonitor(bool zeb = true, bool hart = true, bool fdtInterface = true)
    {
        dtm->PersistentZEBProtocolFilter = zeb;
        dtm->PersistentHARTProtocolFilter = hart;
        dtm->PersistentFDTInterfaceFilter = fdtInterface;
        dtm->CtlMonitorPointer(monitor);
    }

    // Expects the lines shown since the last check, and forgets them.
    void expectLines(const std::vector<ExpectedLine>& expected)
    {
        std::vector<RecordingMonitorPage::Line> wanted;
        for (const auto& line : expected)
            wanted.push_back({monitorLine(line.functionName, line.message), line.color});
        EXPECT_EQ(monitor->lines, wanted);
        monitor->lines.clear();
    }

    TestEnvironment env;
    std::shared_ptr<core::DTMMain> dtm = core::DTMMain::create();
    std::shared_ptr<RecordingFrame> frame = std::make_shared<RecordingFrame>();
    CallLog pageLog = makeCallLog();
    std::shared_ptr<RecordingMonitorPage> monitor = std::make_shared<RecordingMonitorPage>(pageLog);
    std::shared_ptr<RecordingOfflinePage> offline = std::make_shared<RecordingOfflinePage>(pageLog);
    std::shared_ptr<RecordingAboutPage> about = std::make_shared<RecordingAboutPage>(pageLog);
};

} // namespace zeb2hart::test

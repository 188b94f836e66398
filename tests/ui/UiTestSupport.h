#pragma once
// What the page tests share: a gateway DTM in a temporary component folder,
// given its environment by a recording frame as a frame opens it, and helpers
// to find a page's controls and read the parameter changes the frame was told.

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "core/CoreFakes.h"
#include "core/CoreTestSupport.h"
#include "core/DTMMain.h"
#include "fakes/TestEnvironment.h"
#include "dom/XmlDom.h"

namespace zeb2hart::test {

struct ParameterChange {
    std::string name;
    std::string value;
    friend bool operator==(const ParameterChange&, const ParameterChange&) = default;
};

inline std::ostream& operator<<(std::ostream& out, const ParameterChange& change)
{
    return out << change.name << "=" << change.value;
}

// The child control of a page with the given name; fails the test when there is none.
template <class W>
W& control(QWidget& page, const char* name)
{
    W* widget = page.findChild<W*>(QString::fromLatin1(name));
    if (!widget)
        throw std::runtime_error(std::string("no control ") + name);
    return *widget;
}

class PageTest : public ::testing::Test {
protected:
    PageTest()
    {
        frame->schemaPath = frameSchemaDir().string();
        dtm->setPersistenceSite(site);
        EXPECT_TRUE(dtm->Environment("GW1", frame));
        frame->events.clear();
    }

    // The ParamName and NewValue of each parameter-changed notification the frame received.
    std::vector<ParameterChange> parameterChanges() const
    {
        std::vector<ParameterChange> changes;
        for (const Call& event : frame->events) {
            if (event.name != "OnParameterChanged")
                continue;
            EXPECT_EQ(event.args.at(0), "GW1");
            dom::XmlDocument document;
            EXPECT_EQ(document.loadXml(event.args.at(1)), dom::LoadResult::Loaded) << event.args.at(1);
            xmlNode* changed = document.selectSingleNode("FDT/ChangedParameter");
            EXPECT_NE(changed, nullptr) << event.args.at(1);
            if (!changed)
                continue;
            changes.push_back({dom::attribute(changed, "ParamName").value_or("<none>"),
                               dom::attribute(changed, "NewValue").value_or("<none>")});
        }
        return changes;
    }

    // Frame notifications other than parameter changes, e.g. OnApplicationClosed.
    std::vector<Call> frameCalls(const std::string& name) const
    {
        std::vector<Call> calls;
        for (const Call& event : frame->events)
            if (event.name == name)
                calls.push_back(event);
        return calls;
    }

    TempComponentFolder folder;
    TestEnvironment env{folder.path()};
    std::shared_ptr<RecordingFrame> frame = std::make_shared<RecordingFrame>();
    std::shared_ptr<RecordingPersistenceSite> site = std::make_shared<RecordingPersistenceSite>();
    std::shared_ptr<core::DTMMain> dtm = core::DTMMain::create(folder.path());
};

} // namespace zeb2hart::test

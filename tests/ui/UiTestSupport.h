#pragma once
// What the page tests share: a gateway DTM in a temporary component folder, given its environment by a recording
// frame, and helpers to find a page's controls and read the parameter changes the frame was told of.

#include <gtest/gtest.h>

#include <QWidget>

#include <stdexcept>

#include "core/DTMMain.h"
#include "fakes/ComponentFiles.h"
#include "FakeFrame.h"
#include "fakes/FakePages.h"
#include "fakes/TestEnvironment.h"
#include "dom/XmlDom.h"

namespace zeb2hart::test {

// The child control of a page with the given name; throws when there is none.
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
        frame->answers->xmlSchemaPath = frameSchemaDir().string();
        dtm->setPersistenceSite(site);
        EXPECT_TRUE(dtm->Environment("GW1", frame));
        frame->events.clear();
    }

    // "ParamName=NewValue" of each parameter-changed notification the frame received.
    std::vector<std::string> parameterChanges() const
    {
        std::vector<std::string> changes;
        for (const fakes::Call& event : frame->events) {
            if (event.name != "OnParameterChanged")
                continue;
            dom::XmlDocument document;
            EXPECT_EQ(document.loadXml(event.args.at(1)), dom::LoadResult::Loaded) << event.args.at(1);
            xmlNode* changed = document.selectSingleNode("FDT/ChangedParameter");
            changes.push_back(dom::attribute(changed, "ParamName").value_or("?") + "=" +
                              dom::attribute(changed, "NewValue").value_or("?"));
        }
        return changes;
    }

    TempComponentFolder folder;
    TestEnvironment env{folder.path()};
    std::shared_ptr<fakes::FakeFrame> frame = std::make_shared<fakes::FakeFrame>();
    std::shared_ptr<RecordingPersistenceSite> site = std::make_shared<RecordingPersistenceSite>();
    std::shared_ptr<core::DTMMain> dtm = core::DTMMain::create(folder.path());
};

} // namespace zeb2hart::test

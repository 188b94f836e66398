#pragma once
// Helpers of the DOM tests: the frame's and the component's schemas in one
// collection, as a DTM instance holds them.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "dom/SchemaCollection.h"
#include "dom/XmlDom.h"
#include "fakes/TestEnvironment.h"

namespace zeb2hart::dom::test {

namespace fs = std::filesystem;
using zeb2hart::test::componentDir;
using zeb2hart::test::frameSchemaDir;
using zeb2hart::test::TempComponentFolder;
using zeb2hart::test::TestEnvironment;

// Every schema file of the frame's folder, then of the component's, under "x-schema:" + its name.
inline std::shared_ptr<SchemaCollection> allSchemas()
{
    auto schemas = std::make_shared<SchemaCollection>();
    for (const fs::path& folder : {frameSchemaDir(), componentDir() / "XMLSchemas"})
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().extension() == ".xml")
                schemas->add("x-schema:" + entry.path().filename().string(), entry.path());
    return schemas;
}

} // namespace zeb2hart::dom::test

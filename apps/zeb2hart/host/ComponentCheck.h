#pragma once
// `zeb2hart check`: checks a component folder as installed, with the
// component's own readers, so that an operator finds a broken template, schema,
// setting or text before a session does (the gateway would send an empty
// document). Called on the program's main thread.

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace zeb2hart::frame {

struct CheckProblem {
    std::filesystem::path file;
    std::string what;
};

struct CheckReport {
    std::vector<CheckProblem> problems;
    std::size_t templates = 0;
    std::size_t schemas = 0;
    std::size_t deviceTypes = 0;
    std::size_t texts = 0; // text ids checked in each language
};

// Checks `componentFolder` (its XMLData/, XMLSchemas/, Resources/DTM.ini), with
// the frame's schemas of `frameSchemaFolder` beside the component's own (the
// templates name both), and a device model in `deviceModelFolder` per device type.
CheckReport checkComponent(const std::filesystem::path& componentFolder,
                           const std::filesystem::path& frameSchemaFolder,
                           const std::filesystem::path& deviceModelFolder);

// The command: checks `componentFolder` (empty: frameComponentFolder(), the one
// beside the program) with the frame stand-in's schemas and device models, writes one
// line per problem and a summary. Returns 0 without problems, 1 with.
int runComponentCheck(const std::filesystem::path& componentFolder, std::ostream& out);

} // namespace zeb2hart::frame

#pragma once
// The values of a frame script: ${...} references, files and built documents
// ({"doc": KIND, ...}) in its texts, and the requests the parent got that
// steps and references name by position. Used by the step handlers of one run,
// on the thread that runs the script.

#include <string>
#include <vector>

#include "transcript/Transcript.h"
#include "peers/ScriptedParent.h"

namespace zeb2hart::frame {

class ScriptRun;

class References {
public:
    explicit References(ScriptRun& run) : m_run(run) {}

    // ${...} references inside a text replaced.
    std::string interpolate(const std::string& input);
    // A value of the script with references replaced, files read and documents built.
    Json resolve(const Json& value);
    // A matcher with references replaced in its texts.
    Json resolveMatcher(const Json& matcher);

    // The last request of kind `op` the parent got, or nullptr.
    const ParentRequest* lastRequest(const std::string& op) const;
    // The Nth TransactionRequest the parent got (1 = first, -1 = last).
    const ParentRequest& transactionRequest(const Json& index) const;
    // The ZEB answer to `request`, from the step's "status"/"data" or "error"/"zebActive".
    std::string transactionAnswer(const Json& step, const ParentRequest& request);

private:
    std::string reference(const std::string& name);
    std::string listReference(const std::string& name);
    std::string buildDocument(const Json& spec);

    ScriptRun& m_run;
};

} // namespace zeb2hart::frame

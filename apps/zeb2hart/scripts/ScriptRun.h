#pragma once
// The state of one frame script run and what every kind of step needs from it:
// the session under test, the transcript, the script's own values, and the
// checks of a step's "result" and "error". Only the script runner and the step
// handlers use it, on the thread that runs the script.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "host/Session.h"
#include "transcript/Transcript.h"
#include "platform/ManualEventLoop.h"
#include "platform/PropertyBag.h"
#include "scripts/Matcher.h"
#include "scripts/References.h"
#include "scripts/ScriptPages.h"
#include "scripts/ScriptRunner.h"

namespace zeb2hart::frame {

class ScriptRun {
public:
    ScriptRun(const ScriptOptions& options, std::ostream& errors);
    ~ScriptRun();
    ScriptRun(const ScriptRun&) = delete;
    ScriptRun& operator=(const ScriptRun&) = delete;

    // The line of the step that runs now, for messages.
    void setLine(int line) { m_currentLine = line; }
    // The events from here on belong to a new step; `expect` searches them.
    // Unless every event is to be kept, the events of the steps before are dropped.
    void beginStep(int line);
    // true: keep every event for the whole run (a script that expects with "scope": "all").
    void keepAllEvents(bool keep) { m_keepAllEvents = keep; }
    // A fresh instance under deterministic services, made as a "create" step's value asks.
    void create(const Json& request);
    void ensureSession();

    // Runs a call into the component, records it, and checks the step's "result" and "error".
    Json invokeChecked(const Json& step, const std::string& from, const std::string& op, Json shownArgs,
                       bool returnsValue, const std::function<Json()>& call);
    void checkResult(const Json& step, const Json& result);
    // A failed expectation: counted, written to the transcript and the error stream.
    void fail(const std::string& reason);

    // The communication reference the gateway holds ("" before there is one).
    std::string commRef();
    std::optional<std::string> readAttribute(const std::string& document, const std::string& path,
                                             const std::string& name);
    // A path of the script, relative to its folder.
    std::filesystem::path scriptPath(const std::string& relative);
    // The folder ${tempDir}, made on first use and removed with the run.
    const std::filesystem::path& temporaryFolder();
    // The real pages, made on first use; ScriptError in a zeb2hart built without them.
    ScriptPages& scriptPages();
    ScriptPages* openedScriptPages() { return m_pages.get(); }
    std::string origin() const;

    Session& session() { return *m_session; }
    bool hasSession() const { return m_session != nullptr; }
    platform::ManualEventLoop& loop() { return *m_loop; }
    Transcript& transcript() { return m_transcript; }
    const Matcher& matcher() const { return m_matcher; }
    References& references() { return m_references; }
    const std::filesystem::path& scriptDir() const { return m_scriptDir; }
    std::map<std::string, Json>& vars() { return m_vars; }
    std::shared_ptr<platform::MemoryPropertyBag>& savedBag() { return m_saved; }
    // The streams saved by name ({"save": {"stream": NAME}}).
    std::map<std::string, std::vector<std::uint8_t>>& savedStreams() { return m_savedStreams; }
    std::size_t stepStart() const { return m_stepStart; }
    std::size_t& cursor() { return m_cursor; }
    int failures() const { return m_failures; }

    // The text or Boolean of a step's value; ScriptError naming `what` otherwise.
    static std::string text(const Json& value, const std::string& what);
    static bool boolean(const Json& value, const std::string& what);
    // The N of "nth" (1 = the first call); ScriptError for anything but a whole number from 1.
    static long long nth(const Json& value);
    // A file's content; ScriptError when it cannot be read.
    static std::string readFile(const std::filesystem::path& file);

private:
    std::filesystem::path newTemporaryFolder(const std::string& kind);
    std::filesystem::path copyComponentFolder(std::filesystem::path source, const Json& spec);
    void checkError(const Json& expected, const Json& error);

    const ScriptOptions& m_options;
    std::ostream& m_errors;
    std::filesystem::path m_scriptDir;
    Transcript m_transcript;
    Matcher m_matcher;
    References m_references;
    std::shared_ptr<platform::ManualEventLoop> m_loop;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<ScriptPages> m_pages;
    std::vector<std::filesystem::path> m_temporaryFolders;
    std::filesystem::path m_tempDir;
    std::map<std::string, Json> m_vars;
    std::shared_ptr<platform::MemoryPropertyBag> m_saved;
    std::map<std::string, std::vector<std::uint8_t>> m_savedStreams;
    std::size_t m_stepStart = 0;
    std::size_t m_cursor = 0;
    int m_currentLine = 0;
    int m_failures = 0;
    bool m_keepAllEvents = true;
};

} // namespace zeb2hart::frame

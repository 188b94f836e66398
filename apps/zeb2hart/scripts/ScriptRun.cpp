#include "scripts/ScriptRun.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

#include "core/Pages.h"
#include "host/ComponentHost.h"
#include "transcript/Recording.h"
#include "scripts/IniEdit.h"

namespace zeb2hart::frame {

ScriptRun::ScriptRun(const ScriptOptions& options, std::ostream& errors)
    : m_options(options), m_errors(errors), m_scriptDir(std::filesystem::absolute(options.script).parent_path()),
      m_matcher([this](const std::string& document, const std::string& path, const std::string& name) {
          return readAttribute(document, path, name);
      }),
      m_references(*this)
{
    m_transcript.setOutput(options.transcript);
}

ScriptRun::~ScriptRun()
{
    // The pages hold the instance: they go first, the application that shows them last.
    if (m_pages)
        m_pages->destroyAll();
    m_session.reset();
    m_pages.reset();
    for (const auto& folder : m_temporaryFolders) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
}

void ScriptRun::beginStep(int line)
{
    m_currentLine = line;
    m_stepStart = m_transcript.size();
    if (!m_keepAllEvents)
        m_transcript.forgetBefore(m_stepStart);
    m_cursor = m_stepStart;
}

void ScriptRun::ensureSession()
{
    if (!m_session)
        create(Json::object());
}

void ScriptRun::create(const Json& spec)
{
    if (!spec.is_object() && !spec.is_boolean())
        throw ScriptError("\"create\" takes true or {\"componentDir\", \"ini\", \"files\"}");
    if (m_pages)
        m_pages->destroyAll();
    m_session.reset();
    m_loop = std::make_shared<platform::ManualEventLoop>();
    SessionOptions options;
    options.loop = m_loop;
    options.deterministic = true;
    options.frameSchemaFolder = frameSchemaFolder();
    options.componentFolder = m_options.componentFolder;
    options.hostDtm = m_options.hostDtm;
    if (spec.is_object() && spec.contains("componentDir"))
        options.componentFolder = scriptPath(text(spec["componentDir"], "componentDir"));
    if (spec.is_object() && (spec.contains("ini") || spec.contains("files")))
        options.componentFolder = copyComponentFolder(options.componentFolder, spec);
    m_session = std::make_unique<Session>(m_transcript, options);
    m_transcript.add({{"ev", "created"},
                      {"componentFolder", m_session->componentFolder().string()},
                      {"progId", core::kProgIdDtm}});
    m_loop->runPending();
}

std::filesystem::path ScriptRun::newTemporaryFolder(const std::string& kind)
{
    std::random_device random;
    const auto folder = std::filesystem::temp_directory_path() /
                        ("zeb2hart-" + kind + "-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(folder);
    m_temporaryFolders.push_back(folder);
    return folder;
}

const std::filesystem::path& ScriptRun::temporaryFolder()
{
    if (m_tempDir.empty())
        m_tempDir = newTemporaryFolder("files");
    return m_tempDir;
}

std::string ScriptRun::readFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw ScriptError("cannot read " + file.string());
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

namespace {

// The file a "files" key names in the component copy `copy`: a file, inside the
// copy, reached without "..", an absolute path or a link that leads out.
std::filesystem::path fileInCopy(const std::filesystem::path& copy, const std::string& key)
{
    namespace fs = std::filesystem;
    const fs::path relative(key);
    const auto refuse = [&key](const std::string& why) {
        return ScriptError("\"files\": \"" + key + "\" " + why + " (a key is a file's path relative to the "
                           "component folder, e.g. \"XMLData/DTMDictionary.xml\")");
    };
    if (relative.empty() || relative.has_root_name() || relative.has_root_directory())
        throw refuse("is not a relative path");
    if (std::any_of(relative.begin(), relative.end(), [](const fs::path& part) { return part == ".."; }))
        throw refuse("leads out of the component folder");
    const fs::path file = (copy / relative).lexically_normal();
    std::error_code error;
    if (!file.has_filename() || fs::is_directory(file, error))
        throw refuse("names a folder");
    // A link on the way (or the file itself) must not lead out of the copy either.
    const fs::path root = fs::canonical(copy);
    const fs::path real = fs::weakly_canonical(file, error);
    if (error || fs::is_symlink(file, error) ||
        std::mismatch(root.begin(), root.end(), real.begin(), real.end()).first != root.end())
        throw refuse("leads out of the component folder");
    return file;
}

} // namespace

std::filesystem::path ScriptRun::copyComponentFolder(std::filesystem::path source, const Json& spec)
{
    if (source.empty())
        source = frameComponentFolder();
    checkComponentFolder(source);
    const auto target = newTemporaryFolder("component");
    for (const char* dir : {"XMLData", "XMLSchemas", "Resources"})
        std::filesystem::copy(source / dir, target / dir, std::filesystem::copy_options::recursive);
    if (spec.contains("files")) {
        if (!spec["files"].is_object())
            throw ScriptError("\"files\" takes an object of \"relative/path\": content");
        for (const auto& item : spec["files"].items()) {
            const auto file = fileInCopy(target, item.key());
            if (item.value().is_null()) {
                // null takes the file out of the copy.
                std::error_code error;
                if (!std::filesystem::is_regular_file(file, error) || !std::filesystem::remove(file, error))
                    throw ScriptError("\"files\": \"" + item.key() + "\" is no file of the component folder to remove");
                continue;
            }
            std::filesystem::create_directories(file.parent_path());
            std::ofstream out(file, std::ios::binary | std::ios::trunc);
            out << text(m_references.resolve(item.value()), "a file's content");
            if (!out.flush())
                throw ScriptError("\"files\": cannot write " + file.string());
        }
    }
    if (spec.contains("ini")) {
        if (!spec["ini"].is_object())
            throw ScriptError("\"ini\" takes {\"Section\": {\"Key\": \"value\"}}");
        const auto iniFile = target / "Resources" / "DTM.ini";
        std::string ini = readFile(iniFile);
        for (const auto& section : spec["ini"].items()) {
            if (!section.value().is_object())
                throw ScriptError("\"ini\" section \"" + section.key() + "\" takes {\"Key\": \"value\"}");
            for (const auto& entry : section.value().items())
                ini = setIniValue(ini, section.key(), entry.key(), text(entry.value(), "an ini value"));
        }
        std::ofstream out(iniFile, std::ios::binary | std::ios::trunc);
        out << ini;
    }
    return target;
}

Json ScriptRun::invokeChecked(const Json& step, const std::string& from, const std::string& op, Json shownArgs,
                              bool returnsValue, const std::function<Json()>& call)
{
    Json result;
    bool failed = false;
    Json error;
    try {
        if (returnsValue)
            result = recordCall(m_transcript, from, op, std::move(shownArgs), call);
        else
            recordCall(m_transcript, from, op, std::move(shownArgs), [&] { call(); });
    } catch (const std::invalid_argument&) {
        throw;
    } catch (const std::exception& caught) {
        failed = true;
        error = errorJson(caught);
    }
    // A "respond" step names the ZEB error it answers with in "error"; its own
    // expectation of an error is "expectError".
    const char* errorKey = step.contains("respond") ? "expectError" : "error";
    if (failed) {
        // A call that failed has no result to keep.
        if (step.contains("let") && step["let"].is_string())
            m_vars.erase(step["let"].get<std::string>());
        if (!step.contains(errorKey))
            fail("unexpected error " + error.dump());
        else
            checkError(step[errorKey], error);
        return nullptr;
    }
    if (step.contains(errorKey) && step[errorKey] != false)
        fail("expected an error " + step[errorKey].dump() + ", the call returned " + result.dump());
    checkResult(step, result);
    return result;
}

void ScriptRun::checkError(const Json& expected, const Json& error)
{
    std::string why;
    if (expected == true)
        return;
    if (expected.is_string()) {
        if (error["type"] != expected)
            fail("expected an error of type " + expected.dump() + ", got " + error.dump());
        return;
    }
    if (!m_matcher.matches(m_references.resolveMatcher(expected), error, why))
        fail("error: " + why);
}

void ScriptRun::checkResult(const Json& step, const Json& result)
{
    // A step's "let" keeps its result (a "let" step's own value is an object).
    if (step.contains("let") && step["let"].is_string())
        m_vars[step["let"].get<std::string>()] = result;
    if (!step.contains("result"))
        return;
    std::string why;
    if (!m_matcher.matches(m_references.resolveMatcher(step["result"]), result, why))
        fail("result: " + why);
}

void ScriptRun::fail(const std::string& reason)
{
    ++m_failures;
    m_transcript.add({{"ev", "fail"}, {"reason", reason}});
    m_errors << "FAIL " << origin() << ": " << reason << "\n";
}

std::string ScriptRun::origin() const
{
    return m_options.script.string() + ":" + std::to_string(m_currentLine);
}

std::string ScriptRun::commRef()
{
    return m_session && m_session->dtmObject() ? m_session->hosted().state("communicationReference").as<std::string>() : "";
}

std::optional<std::string> ScriptRun::readAttribute(const std::string& document, const std::string& path,
                                                    const std::string& name)
{
    if (!m_session)
        return std::nullopt;
    return m_session->documents().attribute(document, path, name);
}

std::filesystem::path ScriptRun::scriptPath(const std::string& relative)
{
    const std::filesystem::path path(m_references.interpolate(relative));
    return path.is_absolute() ? path : m_scriptDir / path;
}

ScriptPages& ScriptRun::scriptPages()
{
    if (!m_pages) {
        if (!m_options.pages)
            throw ScriptError(m_options.withoutPages);
        m_pages = m_options.pages();
    }
    return *m_pages;
}

std::string ScriptRun::text(const Json& value, const std::string& what)
{
    if (!value.is_string())
        throw ScriptError(what + " takes text, not " + value.dump());
    return value.get<std::string>();
}

bool ScriptRun::boolean(const Json& value, const std::string& what)
{
    if (!value.is_boolean())
        throw ScriptError(what + " takes true or false, not " + value.dump());
    return value.get<bool>();
}

long long ScriptRun::nth(const Json& value)
{
    if (!value.is_number_integer() || value.get<long long>() < 1)
        throw ScriptError("\"nth\" takes a whole number from 1 (1 = the first call), not " + value.dump());
    return value.get<long long>();
}

} // namespace zeb2hart::frame

#include "ScriptRunner.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include "ComponentHost.h"
#include "Matcher.h"
#include "Operations.h"
#include "Recording.h"
#include "Session.h"
#include "fdt/Errors.h"
#include "gateway/HartGateway.h"
#include "platform/ManualEventLoop.h"
#include "support/Conversions.h"

namespace zeb2hart::frame {

namespace {

struct Step {
    int line = 0;
    Json json;
    std::string action;
};

// The keys each kind of step may carry besides its action key.
const std::map<std::string, std::set<std::string>>& stepKeys()
{
    static const std::map<std::string, std::set<std::string>> keys = {
        {"create", {}},
        {"init", {"result", "error"}},
        {"save", {"result"}},
        {"call", {"args", "from", "result", "error", "hold"}},
        {"get", {"result"}},
        {"set", {}},
        {"respond",
         {"request", "invokeId", "reference", "tag", "status", "data", "object", "sub", "messageType", "error",
          "zebActive", "response", "hold", "expectError"}},
        {"parentReturns", {}},
        {"frameReturns", {}},
        {"fileDialog", {}},
        {"advance", {}},
        {"run", {}},
        {"attach", {"device", "model", "modelFile", "tag", "shortAddress"}},
        {"model", {}},
        {"child", {"command", "data", "result", "hold"}},
        {"open", {"invokeId", "result", "qt"}},
        {"close", {"result", "qt"}},
        {"click", {"page", "result"}},
        {"select", {"page", "index", "text", "result"}},
        {"type", {"page", "keys", "result"}},
        {"read", {"page", "result"}},
        {"expect", {"count", "scope"}},
        {"let", {}},
        {"release", {"result"}},
    };
    return keys;
}

std::string trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::string readFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw ScriptError("cannot read " + file.string());
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::vector<Step> parseScript(const std::filesystem::path& script)
{
    std::ifstream in(script, std::ios::binary);
    if (!in)
        throw ScriptError("cannot open the script " + script.string());
    std::vector<Step> steps;
    std::string text;
    int line = 0;
    while (std::getline(in, text)) {
        ++line;
        const std::string content = trim(text);
        if (content.empty() || content[0] == '#')
            continue;
        const std::string where = script.string() + ":" + std::to_string(line) + ": ";
        Step step;
        step.line = line;
        try {
            step.json = Json::parse(content);
        } catch (const Json::parse_error& error) {
            throw ScriptError(where + "malformed line (not one JSON object): " + error.what());
        }
        if (!step.json.is_object())
            throw ScriptError(where + "a step is a JSON object, e.g. {\"call\": \"IDtm::InitNew\", ...}");
        for (const auto& [action, allowed] : stepKeys()) {
            if (step.json.contains(action)) {
                if (!step.action.empty())
                    throw ScriptError(where + "one step holds both \"" + step.action + "\" and \"" + action + "\"");
                step.action = action;
            }
        }
        if (step.action.empty()) {
            if (step.json.size() == 1 && step.json.contains("note"))
                continue;
            throw ScriptError(where + "no step kind in " + content.substr(0, 80) +
                              " (expected one of create, init, save, call, get, set, respond, parentReturns, "
                              "frameReturns, fileDialog, advance, run, attach, model, child, open, close, click, "
                              "select, type, read, expect, let, release)");
        }
        const auto& allowed = stepKeys().at(step.action);
        for (const auto& item : step.json.items()) {
            if (item.key() != step.action && item.key() != "note" && !allowed.count(item.key()))
                throw ScriptError(where + "\"" + step.action + "\" steps take no key \"" + item.key() + "\"");
        }
        steps.push_back(std::move(step));
    }
    return steps;
}

// Sets `key` = `value` in section `section` of INI text, adding what is missing.
std::string setIniValue(const std::string& text, const std::string& section, const std::string& key,
                        const std::string& value)
{
    const auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
        return s;
    };
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    int sectionStart = -1;
    int sectionEnd = static_cast<int>(lines.size());
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const std::string t = trim(lines[i]);
        if (!t.empty() && t.front() == '[' && t.back() == ']') {
            if (sectionStart >= 0) {
                sectionEnd = i;
                break;
            }
            if (lower(trim(t.substr(1, t.size() - 2))) == lower(section))
                sectionStart = i;
        }
    }
    const std::string entry = key + "=" + value;
    if (sectionStart < 0) {
        lines.push_back("[" + section + "]");
        lines.push_back(entry);
    } else {
        bool replaced = false;
        for (int i = sectionStart + 1; i < sectionEnd && !replaced; ++i) {
            const auto equals = lines[i].find('=');
            if (equals != std::string::npos && lower(trim(lines[i].substr(0, equals))) == lower(key)) {
                lines[i] = entry;
                replaced = true;
            }
        }
        if (!replaced)
            lines.insert(lines.begin() + sectionStart + 1, entry);
    }
    std::string result;
    for (const auto& line : lines)
        result += line + "\r\n";
    return result;
}

class Runner {
public:
    Runner(const ScriptOptions& options, std::ostream& errors)
        : m_options(options), m_errors(errors), m_scriptDir(std::filesystem::absolute(options.script).parent_path()),
          m_matcher([this](const std::string& document, const std::string& path, const std::string& name) {
              return readAttribute(document, path, name);
          })
    {
        m_transcript.setOutput(options.transcript);
    }

    ~Runner()
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

    ScriptOutcome run()
    {
        std::vector<Step> steps;
        try {
            steps = parseScript(m_options.script);
        } catch (const ScriptError& error) {
            m_errors << "zeb2hart run: " << error.what() << "\n";
            return ScriptOutcome::CannotRun;
        }
        for (const auto& step : steps) {
            m_transcript.setLine(step.line);
            try {
                runStep(step);
            } catch (const std::exception& error) {
                const std::string message =
                    m_options.script.string() + ":" + std::to_string(step.line) + ": " + error.what();
                m_transcript.add({{"ev", "error"}, {"message", message}});
                m_errors << "zeb2hart run: " << message << "\n";
                return ScriptOutcome::CannotRun;
            }
        }
        m_transcript.setLine(0);
        m_transcript.add({{"ev", "end"}, {"steps", steps.size()}, {"failures", m_failures}});
        if (m_failures > 0) {
            m_errors << "zeb2hart run: " << m_options.script.string() << ": " << m_failures << " expectation"
                     << (m_failures == 1 ? "" : "s") << " failed\n";
            return ScriptOutcome::ExpectationFailed;
        }
        return ScriptOutcome::Passed;
    }

private:
    // --- steps ------------------------------------------------------------------------

    void runStep(const Step& step)
    {
        const Json& j = step.json;
        const std::string& action = step.action;
        m_currentLine = step.line;
        if (action == "expect") {
            expectEvent(j);
            return;
        }
        if (action == "let") {
            if (!j["let"].is_object())
                throw ScriptError("\"let\" takes an object of name: value");
            for (const auto& item : j["let"].items())
                m_vars[item.key()] = resolve(item.value());
            return;
        }
        m_stepStart = m_transcript.size();
        m_cursor = m_stepStart;
        if (action == "create") {
            create(j["create"]);
            return;
        }
        ensureSession();
        if (action == "init")
            stepInit(j);
        else if (action == "save")
            stepSave(j);
        else if (action == "call")
            stepCall(j);
        else if (action == "get")
            checkResult(j, getProperty(text(j["get"], "\"get\"")));
        else if (action == "set")
            stepSet(j["set"]);
        else if (action == "respond")
            stepRespond(j);
        else if (action == "parentReturns")
            stepParentReturns(j["parentReturns"]);
        else if (action == "frameReturns")
            stepFrameReturns(j["frameReturns"]);
        else if (action == "fileDialog")
            m_session->fileDialog().answer =
                j["fileDialog"].is_null() ? std::nullopt : std::optional<std::string>(text(resolve(j["fileDialog"]), "\"fileDialog\""));
        else if (action == "advance")
            stepAdvance(j["advance"]);
        else if (action == "run")
            m_loop->runPending();
        else if (action == "attach")
            stepAttach(j);
        else if (action == "model")
            stepModel(j["model"]);
        else if (action == "child")
            stepChild(j);
        else if (action == "open" || action == "close")
            stepPage(j, action);
        else if (action == "click" || action == "select" || action == "type" || action == "read")
            stepControl(j, action);
        else if (action == "release")
            stepRelease(j);
        if (!(j.contains("hold") && j["hold"] == true))
            m_loop->runPending();
        m_session->pollTrace();
    }

    void ensureSession()
    {
        if (!m_session)
            create(Json::object());
    }

    void create(const Json& spec)
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

    // A fresh folder of this run, removed when the run ends.
    std::filesystem::path newTemporaryFolder(const std::string& kind)
    {
        std::random_device random;
        const auto folder = std::filesystem::temp_directory_path() /
                            ("zeb2hart-" + kind + "-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(folder);
        m_temporaryFolders.push_back(folder);
        return folder;
    }

    const std::filesystem::path& temporaryFolder()
    {
        if (m_tempDir.empty())
            m_tempDir = newTemporaryFolder("files");
        return m_tempDir;
    }

    std::filesystem::path copyComponentFolder(std::filesystem::path source, const Json& spec)
    {
        if (source.empty())
            source = platform::services().componentFolder;
        checkComponentFolder(source);
        const auto target = newTemporaryFolder("component");
        for (const char* dir : {"XMLData", "XMLSchemas", "Resources"})
            std::filesystem::copy(source / dir, target / dir, std::filesystem::copy_options::recursive);
        if (spec.contains("files")) {
            if (!spec["files"].is_object())
                throw ScriptError("\"files\" takes an object of \"relative/path\": content");
            for (const auto& item : spec["files"].items()) {
                const auto relative = std::filesystem::path(item.key()).lexically_normal();
                if (relative.is_absolute() || relative.string().rfind("..", 0) == 0)
                    throw ScriptError("\"files\" names a path outside the component folder: " + item.key());
                std::filesystem::create_directories((target / relative).parent_path());
                std::ofstream out(target / relative, std::ios::binary | std::ios::trunc);
                out << text(resolve(item.value()), "a file's content");
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

    void stepInit(const Json& j)
    {
        const Json& spec = j["init"];
        std::shared_ptr<platform::MemoryPropertyBag> bag;
        Json shown;
        if (spec == "new") {
            shown = "new";
        } else if (spec.is_object() && (spec.contains("bag") || spec.contains("bagFile"))) {
            bag = bagArgument(spec.contains("bag") ? spec["bag"] : Json{{"file", spec["bagFile"]}});
            shown = bagValues(*bag);
        } else {
            throw ScriptError("\"init\" takes \"new\", {\"bag\": {...}}, {\"bag\": \"saved\"} or {\"bagFile\": PATH}");
        }
        invokeChecked(j, "frame", bag ? "DTMMain::LoadProperties" : "DTMMain::InitNewProperties",
                      bag ? Json{{"bag", shown}} : Json::object(), false, [&] {
                          if (bag)
                              m_session->dtm().LoadProperties(*bag);
                          else
                              m_session->dtm().InitNewProperties();
                          return Json();
                      });
    }

    void stepSave(const Json& j)
    {
        auto bag = std::make_shared<platform::MemoryPropertyBag>();
        const Json result = invokeChecked(j, "frame", "DTMMain::SaveProperties", Json::object(), true, [&] {
            m_session->dtm().SaveProperties(*bag);
            return Json{{"values", bagValues(*bag)}, {"types", bagTypes(*bag)}};
        });
        m_saved = bag;
        const Json& spec = j["save"];
        if (spec.is_object() && spec.contains("file")) {
            platform::JsonFilePropertyBag file(scriptPath(text(spec["file"], "\"file\"")));
            for (const auto& [key, value] : bag->entries())
                file.write(key, value);
            file.save();
        }
    }

    void stepCall(const Json& j)
    {
        const std::string name = text(j["call"], "\"call\"");
        const Operation* operation = findOperation(name);
        if (!operation)
            throw ScriptError("unknown operation \"" + name + "\" (see docs/frame-scripts.md for the list)");
        std::vector<Argument> args = arguments(*operation, j.contains("args") ? j["args"] : Json::array());
        Json shown = Json::object();
        for (std::size_t i = 0; i < args.size(); ++i)
            shown[operation->params[i].name] = args[i].shown;
        const std::string from = j.contains("from") ? text(j["from"], "\"from\"") : operation->defaultCaller;
        invokeChecked(j, from, name, shown, operation->returnsValue,
                      [&] { return operation->invoke(*m_session, args); });
    }

    // Runs a call into the component, records it, and checks "result" / "error".
    Json invokeChecked(const Json& step, const std::string& from, const std::string& op, Json shownArgs,
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
            if (!step.contains(errorKey)) {
                fail("unexpected error " + error.dump());
            } else {
                checkError(step[errorKey], error);
            }
            return nullptr;
        }
        if (step.contains(errorKey) && step[errorKey] != false)
            fail("expected an error " + step[errorKey].dump() + ", the call returned " + result.dump());
        checkResult(step, result);
        return result;
    }

    void checkError(const Json& expected, const Json& error)
    {
        std::string why;
        if (expected == true)
            return;
        if (expected.is_string()) {
            if (error["type"] != expected)
                fail("expected an error of type " + expected.dump() + ", got " + error.dump());
            return;
        }
        if (!m_matcher.matches(resolveMatcher(expected), error, why))
            fail("error: " + why);
    }

    void checkResult(const Json& step, const Json& result)
    {
        if (!step.contains("result"))
            return;
        std::string why;
        if (!m_matcher.matches(resolveMatcher(step["result"]), result, why))
            fail("result: " + why);
    }

    void stepSet(const Json& spec)
    {
        if (!spec.is_object())
            throw ScriptError("\"set\" takes an object of property: value");
        for (const auto& item : spec.items())
            setProperty(item.key(), resolve(item.value()));
    }

    void stepParentReturns(const Json& spec)
    {
        if (!spec.is_object())
            throw ScriptError("\"parentReturns\" takes {\"ConnectRequest\": BOOL, ...}");
        auto& answers = m_session->parentAnswers();
        for (const auto& item : spec.items()) {
            const std::string& key = item.key();
            if (key == "GetSupportedProtocols") {
                answers.supportedProtocols = text(resolve(item.value()), key.c_str());
                continue;
            }
            const bool value = boolean(item.value(), key);
            if (key == "ConnectRequest")
                answers.connectRequest = value;
            else if (key == "DisconnectRequest")
                answers.disconnectRequest = value;
            else if (key == "TransactionRequest")
                answers.transactionRequest = value;
            else if (key == "Sequence")
                answers.sequence = value;
            else
                throw ScriptError("\"parentReturns\" knows ConnectRequest, DisconnectRequest, TransactionRequest, "
                                  "Sequence and GetSupportedProtocols, not \"" + key + "\"");
        }
    }

    void stepFrameReturns(const Json& spec)
    {
        if (!spec.is_object())
            throw ScriptError("\"frameReturns\" takes {\"GetXmlSchemaPath\": PATH, \"SaveRequest\": BOOL, ...}");
        auto& answers = m_session->containerAnswers();
        for (const auto& item : spec.items()) {
            const std::string& key = item.key();
            if (key == "GetXmlSchemaPath")
                answers.xmlSchemaPath = text(resolve(item.value()), key.c_str());
            else if (key == "SaveRequest")
                answers.saveRequest = boolean(item.value(), key);
            else if (key == "LockDataSet")
                answers.lockDataSet = boolean(item.value(), key);
            else if (key == "UnlockDataSet")
                answers.unlockDataSet = boolean(item.value(), key);
            else
                throw ScriptError("\"frameReturns\" knows GetXmlSchemaPath, SaveRequest, LockDataSet and "
                                  "UnlockDataSet, not \"" + key + "\"");
        }
    }

    void stepAdvance(const Json& spec)
    {
        if (!spec.is_number_integer() || spec.get<long long>() < 0)
            throw ScriptError("\"advance\" takes a number of milliseconds (0 or more)");
        const auto by = std::chrono::milliseconds(spec.get<long long>());
        m_transcript.add({{"ev", "clock"}, {"advance", by.count()}, {"now", (m_loop->now() + by).count()}});
        m_loop->advance(by);
    }

    void stepAttach(const Json& j)
    {
        const std::string what = text(j["attach"], "\"attach\"");
        if (what == "simulated-parent") {
            ZebDeviceModel model;
            if (j.contains("model")) {
                model = ZebDeviceModel::fromJson(j["model"], m_options.script.string() + ":" + std::to_string(m_currentLine));
            } else if (j.contains("modelFile")) {
                model = ZebDeviceModel::load(scriptPath(text(j["modelFile"], "\"modelFile\"")));
            } else {
                const std::string device = j.contains("device") ? text(j["device"], "\"device\"") : "VRA520";
                model = ZebDeviceModel::load(deviceModelFile(device));
            }
            const std::string type = model.deviceType;
            m_session->attachSimulatedParent(std::move(model));
            m_transcript.add({{"ev", "attached"}, {"object", "parent"}, {"simulated", true}, {"device", type}});
        } else if (what == "simulated-child") {
            const std::string tag = j.contains("tag") ? text(resolve(j["tag"]), "\"tag\"") : "HART-DEVICE";
            long long address = 0;
            if (j.contains("shortAddress")) {
                if (!j["shortAddress"].is_number_integer())
                    throw ScriptError("\"shortAddress\" takes a whole number");
                address = j["shortAddress"].get<long long>();
                if (address < -32768 || address > 32767)
                    throw ScriptError("\"shortAddress\" does not fit a 16-bit integer");
            }
            m_session->attachSimulatedChild(tag, static_cast<std::int16_t>(address));
            m_transcript.add({{"ev", "attached"}, {"object", "child"}, {"simulated", true}, {"tag", tag}});
        } else {
            throw ScriptError("\"attach\" takes \"simulated-parent\" or \"simulated-child\"");
        }
    }

    void stepModel(const Json& spec)
    {
        auto* parent = m_session->simulatedParent();
        if (!parent)
            throw ScriptError("\"model\" needs a simulated parent: {\"attach\": \"simulated-parent\"} first");
        if (!spec.is_object())
            throw ScriptError("\"model\" takes {\"answer\": ..., \"objects\": [...], ...}");
        ZebDeviceModel& model = parent->model();
        for (const auto& item : spec.items()) {
            const std::string& key = item.key();
            if (key == "answer") {
                model.answerMode = answerModeFromJson(item.value());
            } else if (key == "objects") {
                if (!item.value().is_array())
                    throw ScriptError("\"objects\" takes an array of {\"object\", \"sub\", \"data\", \"status\"}");
                for (const auto& entry : item.value()) {
                    const ZebObject object = parseObject(entry);
                    if (ZebObject* existing = model.find(object.objectNo, object.subNo))
                        *existing = object;
                    else
                        model.objects.push_back(object);
                }
            } else if (key == "broadcastReply" || key == "delayedResponse") {
                ZebReply& reply = key == "broadcastReply" ? model.broadcastReply : model.delayedResponse;
                const ZebObject parsed = parseObject(
                    Json{{"object", 0}, {"sub", 0}, {"status", item.value().value("status", 0)}, {"data", item.value().value("data", "")}});
                reply.status = parsed.status;
                reply.data = parsed.data;
            } else if (key == "unknownObjectStatus") {
                model.unknownObjectStatus = static_cast<std::uint8_t>(parseObject(
                    Json{{"object", 0}, {"sub", 0}, {"status", item.value()}, {"data", ""}}).status);
            } else {
                throw ScriptError("\"model\" knows answer, objects, broadcastReply, delayedResponse and "
                                  "unknownObjectStatus, not \"" + key + "\"");
            }
        }
        m_transcript.add({{"ev", "model"}, {"change", spec}});
    }

    static ZebObject parseObject(const Json& entry)
    {
        if (!entry.is_object())
            throw ScriptError("an object entry is {\"object\", \"sub\", \"data\", \"status\"}");
        ZebObject object;
        const auto number = [&](const char* key, long long low, long long high, long long fallback) {
            if (!entry.contains(key))
                return fallback;
            if (!entry[key].is_number_integer() || entry[key].get<long long>() < low || entry[key].get<long long>() > high)
                throw ScriptError(std::string("\"") + key + "\" takes a whole number in " + std::to_string(low) +
                                  ".." + std::to_string(high));
            return entry[key].get<long long>();
        };
        object.objectNo = static_cast<std::int32_t>(number("object", 0, 65535, 0));
        object.subNo = static_cast<std::uint8_t>(number("sub", 0, 255, 0));
        object.status = static_cast<std::uint8_t>(number("status", 0, 255, 0));
        if (entry.contains("data")) {
            if (!entry["data"].is_string() || entry["data"].get<std::string>().size() % 2 != 0)
                throw ScriptError("\"data\" takes hexadecimal text, two digits a byte");
            try {
                object.data = support::HexToByteArray(entry["data"].get<std::string>());
            } catch (const fdt::Error&) {
                throw ScriptError("\"data\" is not hexadecimal text: " + entry["data"].dump());
            }
        }
        return object;
    }

    void stepChild(const Json& j)
    {
        auto* child = m_session->simulatedChild();
        if (!child)
            throw ScriptError("\"child\" needs a simulated child: {\"attach\": \"simulated-child\"} first");
        const std::string what = text(j["child"], "\"child\"");
        bool result = false;
        if (what == "connect") {
            result = child->connect();
        } else if (what == "disconnect") {
            result = child->disconnect();
        } else if (what == "command") {
            if (!j.contains("command") || !j["command"].is_number_integer() || j["command"].get<int>() < 0 ||
                j["command"].get<int>() > 255)
                throw ScriptError("\"child\": \"command\" needs \"command\": a HART command number 0..255");
            std::vector<std::uint8_t> data;
            if (j.contains("data")) {
                try {
                    data = support::HexToByteArray(text(resolve(j["data"]), "\"data\""));
                } catch (const fdt::Error&) {
                    throw ScriptError("\"data\" is not hexadecimal text: " + j["data"].dump());
                }
            }
            result = child->sendCommand(j["command"].get<int>(), data);
        } else {
            throw ScriptError("\"child\" takes \"connect\", \"disconnect\" or \"command\"");
        }
        checkResult(j, result);
    }

    void stepPage(const Json& j, const std::string& action)
    {
        const std::string which = text(j[action], ("\"" + action + "\"").c_str());
        if (j.contains("qt") && boolean(j["qt"], "\"qt\""))
            return stepQtPage(j, action, which);
        HeadlessPage* page = nullptr;
        if (which == "monitor")
            page = &m_session->monitorPage();
        else if (which == "offline")
            page = &m_session->offlinePage();
        else
            throw ScriptError("\"" + action + "\" takes \"monitor\" or \"offline\" (the headless pages), or "
                              "\"monitor\", \"offline\" or \"about\" with \"qt\": true");
        Json result;
        if (action == "open") {
            const std::string invokeId = j.contains("invokeId") ? text(resolve(j["invokeId"]), "\"invokeId\"") : which + "-page";
            result = recordCall(m_transcript, "frame", "IDtmActiveXControl::Init",
                                {{"page", which}, {"invokeId", invokeId}, {"functionCall", ""}, {"dtm", "dtm"}},
                                [&] { return page->Init(invokeId, "", m_session->dtmPtr()); });
        } else {
            result = recordCall(m_transcript, "frame", "IDtmActiveXControl::PrepareToRelease", {{"page", which}},
                                [&] { return page->PrepareToRelease(); });
        }
        checkResult(j, result);
    }

    ScriptPages& scriptPages()
    {
        if (!m_pages) {
            if (!m_options.pages)
                throw ScriptError("this zeb2hart was built without the Qt pages (configure with "
                                  "-DZEB2HART_WITH_UI=ON); the headless pages open without \"qt\"");
            m_pages = m_options.pages();
        }
        return *m_pages;
    }

    // A real page: created through the class registry as a frame creates it,
    // opened with IDtmActiveXControl::Init and the function call document of its
    // function, shown offscreen; closed with PrepareToRelease, then destroyed.
    void stepQtPage(const Json& j, const std::string& action, const std::string& which)
    {
        const ScriptPages::PageClass* pageClass = ScriptPages::pageClass(which);
        if (!pageClass)
            throw ScriptError("\"" + action + "\" with \"qt\" takes \"monitor\", \"offline\" or \"about\"");
        ScriptPages& pages = scriptPages();
        Json result;
        if (action == "open") {
            if (pages.opened(which))
                throw ScriptError("the Qt page \"" + which + "\" is open already");
            const std::string invokeId =
                j.contains("invokeId") ? text(resolve(j["invokeId"]), "\"invokeId\"") : which + "-qt-page";
            const std::string functionCall = m_session->documents().functionCall(pageClass->functionId);
            std::shared_ptr<fdt::IDtmActiveXControl> page;
            try {
                page = pages.create(which);
            } catch (const PageError& error) {
                throw ScriptError(error.what());
            }
            m_transcript.add({{"ev", "ui"}, {"op", "create"}, {"page", which}, {"progId", pageClass->progId}});
            result = recordCall(
                m_transcript, "frame", "IDtmActiveXControl::Init",
                {{"page", which}, {"qt", true}, {"invokeId", invokeId}, {"functionCall", functionCall}, {"dtm", "dtm"}},
                [&] { return page->Init(invokeId, functionCall, m_session->dtmPtr()); });
            pages.settle();
        } else {
            std::shared_ptr<fdt::IDtmActiveXControl> page = pages.opened(which);
            if (!page)
                throw ScriptError("the Qt page \"" + which + "\" is not open");
            result = recordCall(m_transcript, "frame", "IDtmActiveXControl::PrepareToRelease",
                                {{"page", which}, {"qt", true}}, [&] { return page->PrepareToRelease(); });
            page.reset();
            pages.destroy(which);
            m_transcript.add({{"ev", "ui"}, {"op", "destroy"}, {"page", which}});
        }
        checkResult(j, result);
    }

    // click, select, type and read on a control of an open Qt page.
    void stepControl(const Json& j, const std::string& action)
    {
        ControlAction request;
        request.control = text(resolve(j[action]), "\"" + action + "\"");
        if (j.contains("page"))
            request.page = text(j["page"], "\"page\"");
        Json shown = {{"ev", "ui"}, {"op", action}};
        if (action == "click") {
            request.kind = ControlAction::Kind::Click;
        } else if (action == "select") {
            request.kind = ControlAction::Kind::Select;
            if (j.contains("index") == j.contains("text"))
                throw ScriptError("\"select\" takes \"index\" (from 0) or \"text\" of the entry");
            if (j.contains("index")) {
                if (!j["index"].is_number_integer())
                    throw ScriptError("\"index\" takes a whole number");
                request.index = j["index"].get<int>();
            } else {
                request.text = text(resolve(j["text"]), "\"text\"");
            }
        } else if (action == "type") {
            request.kind = ControlAction::Kind::Type;
            if (!j.contains("keys"))
                throw ScriptError("\"type\" needs \"keys\": the characters to type");
            request.keys = text(resolve(j["keys"]), "\"keys\"");
        } else {
            request.kind = ControlAction::Kind::Read;
        }
        if (!m_pages)
            throw ScriptError("\"" + action + "\" acts on a Qt page: open one first with {\"open\": PAGE, \"qt\": true}");
        ControlState reached;
        try {
            if (request.kind == ControlAction::Kind::Read) {
                reached = m_pages->act(request);
            } else {
                // The action's event comes before what the action caused.
                ControlAction locate = request;
                locate.kind = ControlAction::Kind::Read;
                const ControlState before = m_pages->act(locate);
                shown["page"] = before.page;
                shown["control"] = before.control;
                if (request.index)
                    shown["index"] = *request.index;
                if (request.text)
                    shown["text"] = *request.text;
                if (request.kind == ControlAction::Kind::Type)
                    shown["keys"] = request.keys;
                m_transcript.add(shown);
                reached = m_pages->act(request);
                m_pages->settle();
            }
        } catch (const PageError& error) {
            throw ScriptError(error.what());
        }
        if (request.kind == ControlAction::Kind::Read)
            m_transcript.add({{"ev", "ui"}, {"op", "read"}, {"page", reached.page}, {"control", reached.control},
                              {"state", reached.state}});
        checkResult(j, reached.state);
    }

    void stepRelease(const Json& j)
    {
        m_loop->runPending();
        const bool destroyed = m_session->releaseDtm();
        m_transcript.add({{"ev", "released"}, {"destroyed", destroyed}});
        checkResult(j, destroyed);
    }

    void stepRespond(const Json& j)
    {
        const std::string kind = text(j["respond"], "\"respond\"");
        const auto& documents = m_session->documents();
        const auto optionalText = [&](const char* key, const std::string& fallback) {
            return j.contains(key) ? text(resolve(j[key]), key) : fallback;
        };
        std::string op;
        Json args;
        std::function<void()> call;
        if (kind == "connect") {
            const ParentRequest* request = lastRequest("ConnectRequest");
            const std::string invokeId = optionalText("invokeId", request ? request->invokeId : "");
            const std::string tag =
                optionalText("tag", request ? readAttribute(request->document, "FDT/ConnectRequest", "fdt:tag").value_or("") : "");
            const std::string response =
                optionalText("response", documents.zebConnectResponse(optionalText("reference", "ZEB-REF-1"), tag));
            op = "IFdtCommunicationEvents::OnConnectResponse";
            args = {{"invokeId", invokeId}, {"response", response}};
            call = [this, invokeId, response] { m_session->dtm().OnConnectResponse(invokeId, response); };
        } else if (kind == "disconnect") {
            const ParentRequest* request = lastRequest("DisconnectRequest");
            const std::string invokeId = optionalText("invokeId", request ? request->invokeId : "");
            const std::string response =
                optionalText("response", documents.zebDisconnectResponse(optionalText("reference", commRef())));
            op = "IFdtCommunicationEvents::OnDisconnectResponse";
            args = {{"invokeId", invokeId}, {"response", response}};
            call = [this, invokeId, response] { m_session->dtm().OnDisconnectResponse(invokeId, response); };
        } else if (kind == "transaction") {
            const ParentRequest& request = transactionRequest(j.contains("request") ? j["request"] : Json(-1));
            const std::string invokeId = optionalText("invokeId", request.invokeId);
            const std::string response = optionalText("response", transactionAnswer(j, request));
            op = "IFdtCommunicationEvents::OnTransactionResponse";
            args = {{"invokeId", invokeId}, {"response", response}};
            call = [this, invokeId, response] { m_session->dtm().OnTransactionResponse(invokeId, response); };
        } else if (kind == "abort") {
            const std::string reference = optionalText("reference", commRef());
            op = "IFdtCommunicationEvents::OnAbort";
            args = {{"communicationReference", reference}};
            call = [this, reference] { m_session->dtm().OnAbort(reference); };
        } else {
            throw ScriptError("\"respond\" takes \"connect\", \"disconnect\", \"transaction\" or \"abort\"");
        }
        invokeChecked(j, "parent", op, args, false, [&] {
            call();
            return Json();
        });
    }

    // The ZEB answer to a request, from the step's "status"/"data" or "error"/"zebActive".
    std::string transactionAnswer(const Json& j, const ParentRequest& request)
    {
        const auto& documents = m_session->documents();
        const std::string reference = j.contains("reference") ? text(resolve(j["reference"]), "\"reference\"") : commRef();
        if (j.contains("error")) {
            std::string active = "True";
            if (j.contains("zebActive")) {
                const Json& value = j["zebActive"];
                active = value.is_boolean() ? (value.get<bool>() ? "True" : "False") : text(value, "\"zebActive\"");
            }
            const std::string tag = j.contains("tag") ? text(resolve(j["tag"]), "\"tag\"") : "";
            return documents.zebCommError(reference, tag, text(resolve(j["error"]), "\"error\""), active);
        }
        const auto header = [&](const char* attribute, const char* key) -> long {
            if (j.contains(key)) {
                if (!j[key].is_number_integer())
                    throw ScriptError(std::string("\"") + key + "\" takes a whole number");
                return j[key].get<long>();
            }
            const auto value = readAttribute(request.document, "FDT/DataExchangeRequest/CommunicationHeader", attribute);
            try {
                return value ? support::toLong(*value) : 0;
            } catch (const fdt::Error&) {
                return 0;
            }
        };
        long status = 0;
        if (j.contains("status")) {
            if (!j["status"].is_number_integer())
                throw ScriptError("\"status\" takes a whole number");
            status = j["status"].get<long>();
        }
        const std::string data = j.contains("data") ? text(resolve(j["data"]), "\"data\"") : "";
        return documents.zebDataExchangeResponse(reference, static_cast<int>(status), header("ObjectNo", "object"),
                                                 static_cast<int>(header("SubNo", "sub")),
                                                 static_cast<int>(header("MessageType", "messageType")), data);
    }

    // --- expectations ------------------------------------------------------------------

    void expectEvent(const Json& j)
    {
        const Json matcher = resolveMatcher(j["expect"]);
        if (!matcher.is_object())
            throw ScriptError("\"expect\" takes an object of event fields, e.g. {\"ev\": \"monitor\", ...}");
        const std::string scope = j.contains("scope") ? text(j["scope"], "\"scope\"") : "step";
        if (scope != "step" && scope != "all")
            throw ScriptError("\"scope\" takes \"step\" or \"all\"");
        const auto& events = m_transcript.events();
        const std::size_t begin = scope == "all" ? 0 : m_stepStart;
        const std::size_t end = events.size();
        std::string closest;
        if (j.contains("count")) {
            if (!j["count"].is_number_integer())
                throw ScriptError("\"count\" takes a whole number");
            long long count = 0;
            for (std::size_t i = begin; i < end; ++i) {
                std::string why;
                if (isObservable(events[i]) && m_matcher.matches(matcher, events[i], why))
                    ++count;
            }
            if (count != j["count"].get<long long>())
                fail("expected " + j["count"].dump() + " event(s) matching " + matcher.dump() + ", found " +
                     std::to_string(count));
            return;
        }
        const std::size_t from = scope == "all" ? 0 : m_cursor;
        for (std::size_t i = from; i < end; ++i) {
            std::string why;
            if (!isObservable(events[i]))
                continue;
            if (m_matcher.matches(matcher, events[i], why)) {
                if (scope == "step")
                    m_cursor = i + 1;
                return;
            }
            // The first event of the same kind and operation says why it did not match.
            const auto sameAs = [&](const char* key) {
                return !matcher.contains(key) || !matcher[key].is_string() ||
                       (events[i].contains(key) && events[i][key] == matcher[key]);
            };
            if (closest.empty() && matcher.contains("ev") && sameAs("ev") && sameAs("op"))
                closest = why;
        }
        fail("no event matches " + matcher.dump() + (closest.empty() ? "" : " (nearest: " + closest + ")"));
    }

    static bool isObservable(const Json& event)
    {
        const auto ev = event.value("ev", "");
        return ev != "fail" && ev != "error";
    }

    void fail(const std::string& reason)
    {
        ++m_failures;
        const std::string message = m_options.script.string() + ":" + std::to_string(m_currentLine) + ": " + reason;
        m_transcript.add({{"ev", "fail"}, {"reason", reason}});
        m_errors << "FAIL " << message << "\n";
    }

    // --- values ------------------------------------------------------------------------

    std::string commRef()
    {
        return m_session && m_session->dtmPtr() ? m_session->dtm().gateway().communicator().communicationReference() : "";
    }

    const ParentRequest* lastRequest(const std::string& op) const
    {
        const auto& requests = m_session->parentRequests();
        for (auto it = requests.rbegin(); it != requests.rend(); ++it) {
            if (it->op == op)
                return &*it;
        }
        return nullptr;
    }

    const ParentRequest& transactionRequest(const Json& index)
    {
        std::vector<const ParentRequest*> transactions;
        for (const auto& request : m_session->parentRequests()) {
            if (request.op == "TransactionRequest")
                transactions.push_back(&request);
        }
        return *pick(transactions, index, "parent.transactions");
    }

    template <class T>
    static const T* pick(const std::vector<const T*>& list, const Json& index, const std::string& what)
    {
        if (!index.is_number_integer())
            throw ScriptError(what + ": the position is a whole number (1 = first, -1 = last)");
        const long long n = index.get<long long>();
        const long long size = static_cast<long long>(list.size());
        const long long position = n > 0 ? n - 1 : size + n;
        if (n == 0 || position < 0 || position >= size)
            throw ScriptError(what + "[" + std::to_string(n) + "] does not exist (there are " + std::to_string(size) + ")");
        return list[static_cast<std::size_t>(position)];
    }

    // ${...} references inside a text.
    std::string interpolate(const std::string& input)
    {
        std::string output;
        std::size_t position = 0;
        while (true) {
            const auto start = input.find("${", position);
            if (start == std::string::npos) {
                output += input.substr(position);
                break;
            }
            const auto end = input.find('}', start);
            if (end == std::string::npos)
                throw ScriptError("unterminated ${ in " + input.substr(start, 40));
            output += input.substr(position, start - position);
            output += reference(input.substr(start + 2, end - start - 2));
            position = end + 1;
        }
        return output;
    }

    std::string reference(const std::string& name)
    {
        if (m_vars.count(name)) {
            const Json& value = m_vars[name];
            return value.is_string() ? value.get<std::string>() : value.dump();
        }
        if (name == "commRef")
            return commRef();
        if (name == "hartProtocol")
            return gateway::kHartProtocolId;
        if (name == "zebProtocol")
            return gateway::kZebProtocolId;
        if (name == "zebInvokeId")
            return m_session ? m_session->dtm().gateway().ZebInvokeId() : "";
        if (name == "componentDir")
            return m_session ? m_session->componentFolder().string() : "";
        if (name == "frameSchemas")
            return frameSchemaFolder().string();
        if (name == "scriptDir")
            return m_scriptDir.string();
        if (name == "tempDir")
            return temporaryFolder().string();
        if (name == "child.invokeId") {
            auto* child = m_session ? m_session->simulatedChild() : nullptr;
            if (!child)
                throw ScriptError("${child.invokeId} needs a simulated child");
            return child->lastInvokeId();
        }
        // parent.requests[N].field, parent.transactions[N].field, child.calls[N].field
        const auto open = name.find('[');
        const auto close = name.find(']');
        if (open != std::string::npos && close != std::string::npos && close > open && m_session) {
            const std::string list = name.substr(0, open);
            long long index = 0;
            try {
                index = std::stoll(name.substr(open + 1, close - open - 1));
            } catch (const std::exception&) {
                throw ScriptError("${" + name + "}: the position is a whole number");
            }
            const std::string field = close + 2 <= name.size() ? name.substr(close + 2) : "";
            if (list == "parent.requests" || list == "parent.transactions") {
                std::vector<const ParentRequest*> requests;
                for (const auto& request : m_session->parentRequests()) {
                    if (list == "parent.requests" || request.op == "TransactionRequest")
                        requests.push_back(&request);
                }
                const ParentRequest* request = pick(requests, Json(index), list);
                if (field == "invokeId")
                    return request->invokeId;
                if (field == "document")
                    return request->document;
                if (field == "op")
                    return request->op;
                if (field == "protocolId")
                    return request->protocolId;
                throw ScriptError("${" + name + "}: the fields are invokeId, document, op and protocolId");
            }
            if (list == "child.calls") {
                std::vector<const ChildCall*> calls;
                for (const auto& call : m_session->childCalls())
                    calls.push_back(&call);
                const ChildCall* call = pick(calls, Json(index), list);
                if (field == "invokeId")
                    return call->invokeId;
                if (field == "document")
                    return call->document;
                if (field == "op")
                    return call->op;
                throw ScriptError("${" + name + "}: the fields are invokeId, document and op");
            }
        }
        throw ScriptError("unknown reference ${" + name + "}");
    }

    // A value of the script with references replaced and documents built.
    Json resolve(const Json& value)
    {
        if (value.is_string())
            return interpolate(value.get<std::string>());
        if (value.is_object() && value.contains("file") && value.size() == 1)
            return readFile(scriptPath(text(value["file"], "\"file\"")));
        if (value.is_object() && value.contains("doc"))
            return buildDocument(value);
        return value;
    }

    // A matcher with references replaced in its texts.
    Json resolveMatcher(const Json& matcher)
    {
        if (matcher.is_string())
            return interpolate(matcher.get<std::string>());
        if (matcher.is_array()) {
            Json result = Json::array();
            for (const auto& item : matcher)
                result.push_back(resolveMatcher(item));
            return result;
        }
        if (matcher.is_object()) {
            Json result = Json::object();
            for (const auto& item : matcher.items())
                result[item.key()] = resolveMatcher(item.value());
            return result;
        }
        return matcher;
    }

    std::string buildDocument(const Json& spec)
    {
        const auto& documents = m_session->documents();
        const std::string kind = text(spec["doc"], "\"doc\"");
        const auto field = [&](const char* key, const std::string& fallback) {
            return spec.contains(key) ? text(resolve(spec[key]), key) : fallback;
        };
        const auto number = [&](const char* key, long fallback) -> long {
            if (!spec.contains(key))
                return fallback;
            if (!spec[key].is_number_integer())
                throw ScriptError(std::string("\"") + key + "\" takes a whole number");
            return spec[key].get<long>();
        };
        if (kind == "hart-connect")
            return documents.hartConnectRequest(field("tag", "HART-DEVICE"), static_cast<std::int16_t>(number("shortAddress", 0)));
        if (kind == "hart-disconnect")
            return documents.hartDisconnectRequest(field("reference", commRef()));
        if (kind == "hart-command") {
            if (!spec.contains("command"))
                throw ScriptError("a hart-command document needs \"command\"");
            return documents.hartTransactionRequest(static_cast<int>(number("command", 0)), field("reference", commRef()),
                                                    field("data", ""));
        }
        if (kind == "zeb-connect-response")
            return documents.zebConnectResponse(field("reference", "ZEB-REF-1"), field("tag", ""));
        if (kind == "zeb-disconnect-response")
            return documents.zebDisconnectResponse(field("reference", commRef()));
        if (kind == "zeb-data") {
            ParentRequest none;
            const ParentRequest& request =
                spec.contains("request") ? transactionRequest(spec["request"]) : none;
            Json answer = spec;
            return transactionAnswer(answer, request);
        }
        if (kind == "zeb-error")
            return documents.zebCommError(field("reference", commRef()), field("tag", ""), field("error", "timeout"),
                                          spec.contains("zebActive") && spec["zebActive"].is_boolean()
                                              ? (spec["zebActive"].get<bool>() ? "True" : "False")
                                              : field("zebActive", "True"));
        if (kind == "device-type")
            return documents.deviceType(field("name", "ZEB to HART Gateway"),
                                        field("busCategory", gateway::kZebProtocolId));
        if (kind == "user-info")
            return documents.userInformation(field("level", "planningEngineer"));
        if (kind == "function-call")
            return documents.functionCall(field("id", "30"));
        throw ScriptError("unknown document \"" + kind +
                          "\" (hart-connect, hart-disconnect, hart-command, zeb-connect-response, "
                          "zeb-disconnect-response, zeb-data, zeb-error, device-type, user-info, function-call)");
    }

    std::vector<Argument> arguments(const Operation& operation, const Json& given)
    {
        std::vector<Json> values;
        if (given.is_array()) {
            if (given.size() != operation.params.size())
                throw ScriptError(operation.name + " takes " + std::to_string(operation.params.size()) +
                                  " argument(s)" + paramList(operation) + ", got " + std::to_string(given.size()));
            values.assign(given.begin(), given.end());
        } else if (given.is_object()) {
            for (const auto& param : operation.params) {
                if (!given.contains(param.name))
                    throw ScriptError(operation.name + " needs the argument \"" + param.name + "\"" + paramList(operation));
                values.push_back(given[param.name]);
            }
            for (const auto& item : given.items()) {
                bool known = false;
                for (const auto& param : operation.params)
                    known = known || param.name == item.key();
                if (!known)
                    throw ScriptError(operation.name + " has no argument \"" + item.key() + "\"" + paramList(operation));
            }
        } else {
            throw ScriptError("\"args\" is a list of values or an object of name: value");
        }
        std::vector<Argument> args;
        for (std::size_t i = 0; i < values.size(); ++i)
            args.push_back(argument(operation.params[i], values[i], operation.name));
        return args;
    }

    static std::string paramList(const Operation& operation)
    {
        std::string list = " (";
        for (std::size_t i = 0; i < operation.params.size(); ++i)
            list += (i ? ", " : "") + operation.params[i].name;
        return list + ")";
    }

    Argument argument(const Param& param, const Json& raw, const std::string& op)
    {
        Argument arg;
        const std::string where = op + " argument \"" + param.name + "\"";
        switch (param.kind) {
        case ParamKind::Text: {
            const Json value = resolve(raw);
            if (!value.is_string())
                throw ScriptError(where + " is text");
            arg.text = value.get<std::string>();
            arg.shown = arg.text;
            break;
        }
        case ParamKind::Object:
            if (raw.is_null()) {
                arg.shown = nullptr;
            } else {
                arg.object = m_session->object(text(raw, where.c_str()));
                arg.shown = raw;
            }
            break;
        case ParamKind::Integer:
            if (!raw.is_number_integer())
                throw ScriptError(where + " is a whole number");
            arg.number = raw.get<long long>();
            arg.shown = raw;
            break;
        case ParamKind::Boolean:
            arg.flag = boolean(raw, where);
            arg.shown = arg.flag;
            break;
        case ParamKind::Bag:
            arg.bag = bagArgument(raw);
            arg.shown = bagValues(*arg.bag);
            break;
        case ParamKind::Controls:
            if (!raw.is_array())
                throw ScriptError(where + " is a list of {\"name\", \"index\", \"caption\"}");
            for (const auto& control : raw) {
                if (!control.is_object() || !control.contains("name") || !control["name"].is_string())
                    throw ScriptError(where + ": each control has a \"name\"");
                std::optional<int> index;
                if (control.contains("index")) {
                    if (!control["index"].is_number_integer())
                        throw ScriptError(where + ": \"index\" is a whole number");
                    index = control["index"].get<int>();
                }
                arg.controls.emplace_back(control["name"].get<std::string>(), index, control.value("caption", true));
            }
            arg.shown = raw;
            break;
        }
        return arg;
    }

    std::shared_ptr<platform::MemoryPropertyBag> bagArgument(const Json& raw)
    {
        if (raw == "saved") {
            if (!m_saved)
                throw ScriptError("no bag has been saved yet (a \"save\" step comes first)");
            auto copy = std::make_shared<platform::MemoryPropertyBag>();
            for (const auto& [key, value] : m_saved->entries())
                copy->write(key, value);
            return copy;
        }
        if (raw.is_object() && raw.contains("file") && raw.size() == 1) {
            platform::JsonFilePropertyBag file(scriptPath(text(raw["file"], "\"file\"")));
            try {
                file.load();
            } catch (const fdt::Error& error) {
                throw ScriptError(error.what());
            }
            auto copy = std::make_shared<platform::MemoryPropertyBag>();
            for (const auto& [key, value] : file.entries())
                copy->write(key, value);
            return copy;
        }
        try {
            return bagFromJson(raw);
        } catch (const std::invalid_argument& error) {
            throw ScriptError(error.what());
        }
    }

    // --- DTM properties ---------------------------------------------------------------

    Json getProperty(const std::string& name)
    {
        auto& dtm = m_session->dtm();
        Json value;
        if (name == "CommStatus")
            value = variantToJson(dtm.CommStatus());
        else if (name == "StatusText")
            value = dtm.StatusText();
        else if (name == "PresistentTrace")
            value = dtm.PresistentTrace;
        else if (auto* flag = boolProperty(name))
            value = *flag;
        else if (auto* number = int16Property(name))
            value = *number;
        else if (auto* textValue = textProperty(name))
            value = *textValue;
        else if (name == "systemTag")
            value = dtm.systemTag();
        else if (name == "childSystemTag")
            value = dtm.childSystemTag();
        else if (name == "m_ChannelUUID")
            value = dtm.channelUuid();
        else if (name == "communicationReference")
            value = commRef();
        else if (name == "HARTCommand")
            value = dtm.gateway().HARTCommand();
        else if (name == "ZebInvokeId")
            value = dtm.gateway().ZebInvokeId();
        else if (name == "Cmd0Response")
            value = support::ByteArrayToHex(dtm.gateway().Cmd0Response());
        else if (name == "ZEBSeqColCount")
            value = dtm.gateway().communicator().ZEBSeqColCount();
        else if (name == "TimeoutTimer.Interval")
            value = dtm.gateway().timeoutTimer().Interval();
        else if (name == "TimeoutTimer.Enabled")
            value = dtm.gateway().timeoutTimer().Enabled();
        else if (name == "shortAddress")
            value = dtm.gateway().communicator().shortAddress();
        else if (name == "childConnected")
            value = dtm.gateway().communicator().CallbackInterface() != nullptr;
        else if (name == "parentAttached")
            value = dtm.gateway().communicator().ZEBDriverInterface() != nullptr;
        else
            throw ScriptError("unknown property \"" + name + "\" (see docs/frame-scripts.md)");
        m_transcript.add({{"ev", "get"}, {"property", name}, {"value", value}});
        return value;
    }

    void setProperty(const std::string& name, const Json& value)
    {
        auto& dtm = m_session->dtm();
        if (name == "CommStatus") {
            fdt::Variant variant;
            if (value.is_number_integer())
                variant = static_cast<std::int32_t>(value.get<long long>());
            else if (value.is_string())
                variant = value.get<std::string>();
            else if (value.is_boolean())
                variant = value.get<bool>();
            else
                throw ScriptError("CommStatus takes a number, a text or a Boolean");
            recordCall(m_transcript, "page", "DTMMain::CommStatus", {{"value", value}}, [&] { dtm.CommStatus(variant); });
        } else if (name == "StatusText") {
            dtm.StatusText(text(value, "StatusText"));
        } else if (name == "PresistentTrace") {
            dtm.PresistentTrace = text(value, "PresistentTrace");
        } else if (auto* flag = boolProperty(name)) {
            *flag = boolean(value, name);
        } else if (auto* number = int16Property(name)) {
            if (!value.is_number_integer() || value.get<long long>() < -32768 || value.get<long long>() > 32767)
                throw ScriptError(name + " takes a 16-bit whole number");
            *number = static_cast<std::int16_t>(value.get<long long>());
        } else if (auto* textValue = textProperty(name)) {
            *textValue = text(value, name.c_str());
        } else {
            throw ScriptError("unknown or read-only property \"" + name + "\"");
        }
        m_transcript.add({{"ev", "set"}, {"property", name}, {"value", value}});
    }

    bool* boolProperty(const std::string& name)
    {
        auto& dtm = m_session->dtm();
        if (name == "PersistentZEBProtocolFilter")
            return &dtm.PersistentZEBProtocolFilter;
        if (name == "PersistentHARTProtocolFilter")
            return &dtm.PersistentHARTProtocolFilter;
        if (name == "PersistentFDTInterfaceFilter")
            return &dtm.PersistentFDTInterfaceFilter;
        return nullptr;
    }

    std::int16_t* int16Property(const std::string& name)
    {
        auto& dtm = m_session->dtm();
        if (name == "PersistentDeviceTypeIndex")
            return &dtm.PersistentDeviceTypeIndex;
        if (name == "PersistentWarmstartDelay")
            return &dtm.PersistentWarmstartDelay;
        return nullptr;
    }

    std::string* textProperty(const std::string& name)
    {
        auto& dtm = m_session->dtm();
        if (name == "PersistentDeviceList")
            return &dtm.PersistentDeviceList;
        if (name == "PersistentManufacturerIDCode")
            return &dtm.PersistentManufacturerIDCode;
        if (name == "PersistentManufacturerDevTypeCode")
            return &dtm.PersistentManufacturerDevTypeCode;
        if (name == "PersistentRevLevelOfTransmSpecDoc")
            return &dtm.PersistentRevLevelOfTransmSpecDoc;
        if (name == "PersistentSoftwareRevLevelOfDev")
            return &dtm.PersistentSoftwareRevLevelOfDev;
        if (name == "PersistentHardwareRevLevelOfElectr")
            return &dtm.PersistentHardwareRevLevelOfElectr;
        if (name == "PersistentDeviceID")
            return &dtm.PersistentDeviceID;
        return nullptr;
    }

    // --- small helpers -------------------------------------------------------------------

    std::optional<std::string> readAttribute(const std::string& document, const std::string& path, const std::string& name)
    {
        if (!m_session)
            return std::nullopt;
        return m_session->documents().attribute(document, path, name);
    }

    static std::string text(const Json& value, const std::string& what)
    {
        if (!value.is_string())
            throw ScriptError(what + " takes text, not " + value.dump());
        return value.get<std::string>();
    }

    static bool boolean(const Json& value, const std::string& what)
    {
        if (!value.is_boolean())
            throw ScriptError(what + " takes true or false, not " + value.dump());
        return value.get<bool>();
    }

    std::filesystem::path scriptPath(const std::string& relative)
    {
        const std::filesystem::path path(interpolate(relative));
        return path.is_absolute() ? path : m_scriptDir / path;
    }

    const ScriptOptions& m_options;
    std::ostream& m_errors;
    std::filesystem::path m_scriptDir;
    Transcript m_transcript;
    Matcher m_matcher;
    std::shared_ptr<platform::ManualEventLoop> m_loop;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<ScriptPages> m_pages;
    std::vector<std::filesystem::path> m_temporaryFolders;
    std::filesystem::path m_tempDir;
    std::map<std::string, Json> m_vars;
    std::shared_ptr<platform::MemoryPropertyBag> m_saved;
    std::size_t m_stepStart = 0;
    std::size_t m_cursor = 0;
    int m_currentLine = 0;
    int m_failures = 0;
};

} // namespace

ScriptOutcome runScript(const ScriptOptions& options, std::ostream& errors)
{
    Runner runner(options, errors);
    return runner.run();
}

} // namespace zeb2hart::frame

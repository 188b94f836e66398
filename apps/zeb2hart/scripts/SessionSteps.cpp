#include "scripts/SessionSteps.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileText.h"
#include "scripts/CallArguments.h"
#include "scripts/ExpectSteps.h"
#include "scripts/Operations.h"
#include "scripts/PropertyAccess.h"
#include "scripts/ScriptRun.h"
#include "support/Conversions.h"

namespace zeb2hart::frame {

void stepCreate(ScriptRun& run, const Json& j)
{
    run.create(j["create"]);
}

namespace {

// Whether `value` is a text of hexadecimal digits, two a byte.
bool isHexText(const Json& value)
{
    if (!value.is_string() || value.get_ref<const std::string&>().size() % 2 != 0)
        return false;
    const std::string& text = value.get_ref<const std::string&>();
    return std::all_of(text.begin(), text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

bool isName(const Json& value)
{
    return value.is_string() && !value.get_ref<const std::string&>().empty();
}

// The bytes of a stream argument, as checkInit let it through: NAME, {"hex": HEX} or {"file": PATH}.
std::vector<std::uint8_t> streamArgument(ScriptRun& run, const Json& raw)
{
    if (raw.is_string()) {
        const auto found = run.savedStreams().find(raw.get<std::string>());
        if (found == run.savedStreams().end())
            throw ScriptError("no stream " + raw.dump() + " has been saved yet (a {\"save\": {\"stream\": " + raw.dump() +
                              "}} step comes first)");
        return found->second;
    }
    if (raw.contains("hex"))
        return support::HexToByteArray(raw["hex"].get<std::string>());
    const std::string content = ScriptRun::readFile(run.scriptPath(raw["file"].get<std::string>()));
    return std::vector<std::uint8_t>(content.begin(), content.end());
}

void loadStream(ScriptRun& run, const Json& j)
{
    const Json& raw = j["init"]["stream"];
    const std::vector<std::uint8_t> bytes = streamArgument(run, raw);
    run.invokeChecked(j, "frame", "IPersistStreamInit::Load", Json{{"stream", raw}, {"size", bytes.size()}}, false, [&] {
        run.session().hosted().loadStream(bytes);
        return Json();
    });
}

void saveStream(ScriptRun& run, const Json& j)
{
    const Json& request = j["save"];
    std::optional<std::vector<std::uint8_t>> bytes;
    run.invokeChecked(j, "frame", "IPersistStreamInit::Save", Json{{"stream", request["stream"]}}, true, [&] {
        HostedDtm& dtm = run.session().hosted();
        const std::uint64_t sizeMax = dtm.streamSizeMax();
        bytes = dtm.saveStream();
        return Json{{"size", bytes->size()}, {"sizeMax", sizeMax}, {"bytes", support::ByteArrayToHex(*bytes)}};
    });
    if (!bytes)
        return;
    run.savedStreams()[request["stream"].get<std::string>()] = *bytes;
    if (request.contains("file"))
        platform::writeFileAtomically(run.scriptPath(request["file"].get<std::string>()),
                                      std::string(bytes->begin(), bytes->end()));
}

// A stream to load: NAME, {"hex": HEX} or {"file": PATH}.
bool isStreamArgument(const Json& stream)
{
    if (isName(stream))
        return true;
    if (!stream.is_object() || stream.size() != 1)
        return false;
    return stream.contains("hex") ? isHexText(stream["hex"]) : isName(stream.value("file", Json()));
}

} // namespace

void checkInit(const Json& j)
{
    const Json& request = j["init"];
    const bool valid = request == "new" || (request.is_object() && request.size() == 1 &&
                                            (request.contains("bag") || request.contains("bagFile") ||
                                             (request.contains("stream") && isStreamArgument(request["stream"]))));
    if (!valid)
        throw ScriptError("\"init\" takes \"new\", {\"bag\": {...}}, {\"bag\": \"saved\"}, {\"bagFile\": PATH}, "
                          "{\"stream\": NAME}, {\"stream\": {\"hex\": HEX}} (two digits a byte) or "
                          "{\"stream\": {\"file\": PATH}}, not " + request.dump());
}

void stepInit(ScriptRun& run, const Json& j)
{
    const Json& spec = j["init"];
    if (spec.is_object() && spec.contains("stream"))
        return loadStream(run, j);
    std::shared_ptr<platform::MemoryPropertyBag> bag;
    Json shown = "new";
    if (spec != "new") {
        bag = bagArgument(run, spec.contains("bag") ? spec["bag"] : Json{{"file", spec["bagFile"]}});
        shown = bagValues(*bag);
    }
    run.invokeChecked(j, "frame", bag ? "DTMMain::LoadProperties" : "DTMMain::InitNewProperties",
                      bag ? Json{{"bag", shown}} : Json::object(), false, [&] {
                          if (bag)
                              run.session().hosted().loadProperties(*bag);
                          else
                              run.session().hosted().initNewProperties();
                          return Json();
                      });
}

void checkSave(const Json& j)
{
    const Json& request = j["save"];
    const auto known = [](const auto& item) {
        return (item.key() == "stream" || item.key() == "file") && isName(item.value());
    };
    const bool valid = request == true || (request.is_object() && !request.empty() &&
                                           std::all_of(request.items().begin(), request.items().end(), known));
    if (!valid)
        throw ScriptError("\"save\" takes true, {\"file\": PATH} (also a JSON bag file), {\"stream\": NAME} or "
                          "{\"stream\": NAME, \"file\": PATH} (the stream also to a file), not " + request.dump());
    if (j.contains("let"))
        checkLetName(j["let"]);
}

void stepSave(ScriptRun& run, const Json& j)
{
    const Json& spec = j["save"];
    if (spec.is_object() && spec.contains("stream"))
        return saveStream(run, j);
    auto bag = std::make_shared<platform::MemoryPropertyBag>();
    run.invokeChecked(j, "frame", "DTMMain::SaveProperties", Json::object(), true, [&] {
        run.session().hosted().saveProperties(*bag);
        return Json{{"values", bagValues(*bag)}, {"types", bagTypes(*bag)}};
    });
    run.savedBag() = bag;
    if (spec.is_object() && spec.contains("file")) {
        platform::JsonFilePropertyBag file(run.scriptPath(ScriptRun::text(spec["file"], "\"file\"")));
        for (const auto& [key, value] : bag->entries())
            file.write(key, value);
        file.save();
    }
}

void stepCall(ScriptRun& run, const Json& j)
{
    const std::string name = ScriptRun::text(j["call"], "\"call\"");
    const Operation* operation = findOperation(name);
    if (!operation)
        throw ScriptError("unknown operation \"" + name + "\" (see docs/frame-scripts.md for the list)");
    std::vector<Argument> args = callArguments(run, *operation, j.contains("args") ? j["args"] : Json::array());
    Json shown = Json::object();
    for (std::size_t i = 0; i < args.size(); ++i)
        shown[operation->params[i].name] = args[i].shown;
    const std::string from = j.contains("from") ? ScriptRun::text(j["from"], "\"from\"") : operation->defaultCaller;
    run.invokeChecked(j, from, name, shown, operation->returnsValue,
                      [&] { return operation->invoke(run.session(), args); });
}

void stepGet(ScriptRun& run, const Json& j)
{
    run.checkResult(j, getProperty(run, ScriptRun::text(j["get"], "\"get\"")));
}

void stepSet(ScriptRun& run, const Json& j)
{
    const Json& spec = j["set"];
    if (!spec.is_object())
        throw ScriptError("\"set\" takes an object of property: value");
    for (const auto& item : spec.items())
        setProperty(run, item.key(), run.references().resolve(item.value()));
}

namespace {

// The operations of the scripted parent a "parentReturns" key sets ("Sequence": all three).
std::vector<std::string> parentReturnsOperations(const std::string& key)
{
    if (key == "ConnectRequest" || key == "DisconnectRequest" || key == "TransactionRequest" ||
        key == "GetSupportedProtocols")
        return {key};
    if (key == "Sequence")
        return {"SequenceBegin", "SequenceStart", "SequenceEnd"};
    throw ScriptError("\"parentReturns\" knows ConnectRequest, DisconnectRequest, TransactionRequest, "
                      "Sequence and GetSupportedProtocols, not \"" + key + "\"");
}

} // namespace

void checkParentReturns(const Json& j)
{
    const Json& spec = j["parentReturns"];
    if (!spec.is_object())
        throw ScriptError("\"parentReturns\" takes {\"ConnectRequest\": BOOL, ...}");
    for (const auto& item : spec.items()) {
        parentReturnsOperations(item.key());
        if (item.key() != "GetSupportedProtocols")
            ScriptRun::boolean(item.value(), item.key());
    }
    if (j.contains("nth"))
        ScriptRun::nth(j["nth"]);
}

void stepParentReturns(ScriptRun& run, const Json& j)
{
    const Json& spec = j["parentReturns"];
    auto& answers = run.session().parentAnswers();
    std::optional<long long> nth;
    if (j.contains("nth"))
        nth = ScriptRun::nth(j["nth"]);
    for (const auto& item : spec.items()) {
        const std::string& key = item.key();
        const Json value = key == "GetSupportedProtocols"
                               ? Json(ScriptRun::text(run.references().resolve(item.value()), key))
                               : Json(ScriptRun::boolean(item.value(), key));
        if (nth) {
            for (const std::string& op : parentReturnsOperations(key))
                answers.nthResults[{op, *nth}] =
                    value.is_string() ? fakes::Value(value.get<std::string>()) : fakes::Value(value.get<bool>());
        } else if (key == "GetSupportedProtocols") {
            answers.supportedProtocols = value.get<std::string>();
        } else if (key == "ConnectRequest") {
            answers.connectRequest = value.get<bool>();
        } else if (key == "DisconnectRequest") {
            answers.disconnectRequest = value.get<bool>();
        } else if (key == "TransactionRequest") {
            answers.transactionRequest = value.get<bool>();
        } else {
            answers.sequence = value.get<bool>();
        }
    }
}

void stepFrameReturns(ScriptRun& run, const Json& j)
{
    const Json& spec = j["frameReturns"];
    if (!spec.is_object())
        throw ScriptError("\"frameReturns\" takes {\"GetXmlSchemaPath\": PATH, \"SaveRequest\": BOOL, ...}");
    auto& answers = run.session().containerAnswers();
    for (const auto& item : spec.items()) {
        const std::string& key = item.key();
        if (key == "GetXmlSchemaPath")
            answers.xmlSchemaPath = ScriptRun::text(run.references().resolve(item.value()), key);
        else if (key == "SaveRequest")
            answers.saveRequest = ScriptRun::boolean(item.value(), key);
        else if (key == "LockDataSet")
            answers.lockDataSet = ScriptRun::boolean(item.value(), key);
        else if (key == "UnlockDataSet")
            answers.unlockDataSet = ScriptRun::boolean(item.value(), key);
        else
            throw ScriptError("\"frameReturns\" knows GetXmlSchemaPath, SaveRequest, LockDataSet and "
                              "UnlockDataSet, not \"" + key + "\"");
    }
}

void stepFileDialog(ScriptRun& run, const Json& j)
{
    const Json& answer = j["fileDialog"];
    run.session().fileDialog().answer =
        answer.is_null() ? std::nullopt
                         : std::optional<std::string>(ScriptRun::text(run.references().resolve(answer), "\"fileDialog\""));
}

void stepAdvance(ScriptRun& run, const Json& j)
{
    const Json& spec = j["advance"];
    if (!spec.is_number_unsigned())
        throw ScriptError("\"advance\" takes a number of milliseconds (0 or more)");
    // The clock counts milliseconds in 64 bits and ends there.
    const auto left = std::chrono::milliseconds::max() - run.loop().now();
    if (spec.get<std::uint64_t>() > static_cast<std::uint64_t>(left.count()))
        throw ScriptError("\"advance\": " + spec.dump() + " ms would move the clock past its end (" +
                          std::to_string(left.count()) + " ms are left)");
    const auto by = std::chrono::milliseconds(spec.get<long long>());
    run.transcript().add({{"ev", "clock"}, {"advance", by.count()}, {"now", (run.loop().now() + by).count()}});
    run.loop().advance(by);
}

void stepRun(ScriptRun& run, const Json&)
{
    run.loop().runPending();
}

void stepRelease(ScriptRun& run, const Json& j)
{
    run.loop().runPending();
    const bool destroyed = run.session().releaseDtm();
    run.transcript().add({{"ev", "released"}, {"destroyed", destroyed}});
    run.checkResult(j, destroyed);
}

} // namespace zeb2hart::frame

#include "scripts/PeerSteps.h"

#include <algorithm>
#include <optional>

#include "fdt/Errors.h"
#include "host/ComponentHost.h"
#include "scripts/ScriptRun.h"
#include "support/Conversions.h"
#include "xml/DocumentPaths.h"

namespace zeb2hart::frame {

namespace {

// An object of the simulated parent's model, read as the device models read theirs.
ZebObject parseObject(const Json& entry, const std::string& where)
{
    try {
        return ZebDeviceModel::objectFromJson(entry, "model", where);
    } catch (const ModelError& error) {
        throw ScriptError(error.what());
    }
}

bool wireTimingOf(const Json& value)
{
    if (!value.is_boolean())
        throw ScriptError("\"wireTiming\" takes true or false");
    return value.get<bool>();
}

// The operations a scripted peer can fail, by peer.
const std::vector<std::string>& peerOperations(const std::string& peer)
{
    static const std::vector<std::string> parent = {"ConnectRequest", "DisconnectRequest", "TransactionRequest",
                                                    "Abort", "GetSupportedProtocols", "SequenceBegin",
                                                    "SequenceStart", "SequenceEnd"};
    static const std::vector<std::string> child = {"OnAbort", "OnConnectResponse", "OnDisconnectResponse",
                                                   "OnTransactionResponse"};
    return peer == "parent" ? parent : child;
}

std::string optionalText(ScriptRun& run, const Json& j, const char* key, const std::string& fallback)
{
    return j.contains(key) ? ScriptRun::text(run.references().resolve(j[key]), key) : fallback;
}

// The parent's OnTransactionResponse to `request`, as the "respond": "transaction" step `j` gives it.
void respondToTransaction(ScriptRun& run, const Json& j, const fakes::PeerCall& request)
{
    const std::string invokeId = optionalText(run, j, "invokeId", request.invokeId);
    const std::string response = optionalText(run, j, "response", run.references().transactionAnswer(j, request));
    const Json args = {{"invokeId", invokeId}, {"response", response}};
    run.invokeChecked(j, "parent", "IFdtCommunicationEvents::OnTransactionResponse", args, false, [&] {
        run.session().dtmAs<fdt::IFdtCommunicationEvents>()->OnTransactionResponse(invokeId, response);
        return Json();
    });
}

} // namespace

void stepRespond(ScriptRun& run, const Json& j)
{
    const std::string kind = ScriptRun::text(j["respond"], "\"respond\"");
    const auto& documents = run.session().documents();
    References& references = run.references();
    if (j.contains("atOnce")) {
        if (kind != "transaction")
            throw ScriptError("\"atOnce\" goes with \"respond\": \"transaction\"");
        if (run.session().simulatedParent())
            throw ScriptError("\"atOnce\" makes the scripted parent answer, and the simulated parent is attached");
        auto& answer = run.session().parentAnswers().answerAtOnce;
        answer = nullptr;
        if (ScriptRun::boolean(j["atOnce"], "atOnce"))
            answer = [&run, j](const fakes::PeerCall& request) { respondToTransaction(run, j, request); };
        return;
    }
    if (kind == "transaction") {
        respondToTransaction(run, j, references.transactionRequest(j.contains("request") ? j["request"] : Json(-1)));
        return;
    }
    std::string op;
    Json args;
    std::function<void()> call;
    if (kind == "connect") {
        const fakes::PeerCall* request = references.lastRequest("ConnectRequest");
        const std::string invokeId = optionalText(run, j, "invokeId", request ? request->invokeId : "");
        const std::string tag = optionalText(
            run, j, "tag", request ? run.readAttribute(request->document, xml::paths::kConnectRequest, "fdt:tag").value_or("") : "");
        const std::string response = optionalText(
            run, j, "response", documents.zebConnectResponse(optionalText(run, j, "reference", "ZEB-REF-1"), tag));
        op = "IFdtCommunicationEvents::OnConnectResponse";
        args = {{"invokeId", invokeId}, {"response", response}};
        call = [&run, invokeId, response] { run.session().dtmAs<fdt::IFdtCommunicationEvents>()->OnConnectResponse(invokeId, response); };
    } else if (kind == "disconnect") {
        const fakes::PeerCall* request = references.lastRequest("DisconnectRequest");
        const std::string invokeId = optionalText(run, j, "invokeId", request ? request->invokeId : "");
        const std::string response = optionalText(
            run, j, "response", documents.zebDisconnectResponse(optionalText(run, j, "reference", run.commRef())));
        op = "IFdtCommunicationEvents::OnDisconnectResponse";
        args = {{"invokeId", invokeId}, {"response", response}};
        call = [&run, invokeId, response] { run.session().dtmAs<fdt::IFdtCommunicationEvents>()->OnDisconnectResponse(invokeId, response); };
    } else if (kind == "abort") {
        const std::string reference = optionalText(run, j, "reference", run.commRef());
        op = "IFdtCommunicationEvents::OnAbort";
        args = {{"communicationReference", reference}};
        call = [&run, reference] { run.session().dtmAs<fdt::IFdtCommunicationEvents>()->OnAbort(reference); };
    } else {
        throw ScriptError("\"respond\" takes \"connect\", \"disconnect\", \"transaction\" or \"abort\"");
    }
    run.invokeChecked(j, "parent", op, args, false, [&] {
        call();
        return Json();
    });
}

void checkRaise(const Json& j)
{
    const Json& peer = j["raise"];
    if (peer != "parent" && peer != "child")
        throw ScriptError("\"raise\" takes \"parent\" (the scripted parent) or \"child\" (the scripted child), not " +
                          peer.dump());
    const auto& operations = peerOperations(peer.get<std::string>());
    std::string names;
    for (const auto& op : operations)
        names += (names.empty() ? "" : ", ") + op;
    if (!j.contains("op") || !j["op"].is_string() ||
        std::find(operations.begin(), operations.end(), j["op"].get<std::string>()) == operations.end())
        throw ScriptError("\"raise\": \"" + peer.get<std::string>() + "\" needs \"op\": one of " + names +
                          (j.contains("op") ? ", not " + j["op"].dump() : ""));
    if (j.contains("nth"))
        ScriptRun::nth(j["nth"]);
}

void stepRaise(ScriptRun& run, const Json& j)
{
    const std::string peer = j["raise"].get<std::string>();
    std::optional<long long> nth;
    if (j.contains("nth"))
        nth = ScriptRun::nth(j["nth"]);
    if (peer == "parent" && run.session().simulatedParent())
        throw ScriptError("\"raise\": \"parent\" fails calls of the scripted parent, and the simulated parent is "
                          "attached");
    fakes::PeerFaults& faults = peer == "parent" ? run.session().parentFaults() : run.session().childFaults();
    faults.failOn(j["op"].get<std::string>(), nth);
}

void stepAttach(ScriptRun& run, const Json& j)
{
    const std::string what = ScriptRun::text(j["attach"], "\"attach\"");
    if (what == "simulated-parent") {
        ZebDeviceModel model;
        if (j.contains("model")) {
            model = ZebDeviceModel::fromJson(j["model"], "\"model\"");
        } else if (j.contains("modelFile")) {
            model = ZebDeviceModel::load(run.scriptPath(ScriptRun::text(j["modelFile"], "\"modelFile\"")));
        } else {
            const std::string device = j.contains("device") ? ScriptRun::text(j["device"], "\"device\"") : "VRA520";
            model = ZebDeviceModel::load(deviceModelFile(device));
        }
        const std::string type = model.deviceType;
        const bool wireTiming = j.contains("wireTiming") && wireTimingOf(j["wireTiming"]);
        run.session().attachSimulatedParent(std::move(model));
        run.session().simulatedParent()->setWireTiming(wireTiming);
        Json event = {{"ev", "attached"}, {"object", "parent"}, {"simulated", true}, {"device", type}};
        if (wireTiming)
            event["wireTiming"] = true;
        run.transcript().add(std::move(event));
    } else if (what == "simulated-child") {
        const std::string tag = optionalText(run, j, "tag", "HART-DEVICE");
        long long address = 0;
        if (j.contains("shortAddress")) {
            if (!j["shortAddress"].is_number_integer())
                throw ScriptError("\"shortAddress\" takes a whole number");
            address = j["shortAddress"].get<long long>();
            if (address < -32768 || address > 32767)
                throw ScriptError("\"shortAddress\" does not fit a 16-bit integer");
        }
        run.session().attachSimulatedChild(tag, static_cast<std::int16_t>(address));
        run.transcript().add({{"ev", "attached"}, {"object", "child"}, {"simulated", true}, {"tag", tag}});
    } else {
        throw ScriptError("\"attach\" takes \"simulated-parent\" or \"simulated-child\"");
    }
}

void stepModel(ScriptRun& run, const Json& j)
{
    const Json& spec = j["model"];
    auto* parent = run.session().simulatedParent();
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
            for (std::size_t i = 0; i < item.value().size(); ++i) {
                const ZebObject object = parseObject(item.value()[i], "objects[" + std::to_string(i) + "]");
                if (ZebObject* existing = model.find(object.objectNo, object.subNo))
                    *existing = object;
                else
                    model.objects.push_back(object);
            }
        } else if (key == "broadcastReply" || key == "delayedResponse") {
            ZebReply& reply = key == "broadcastReply" ? model.broadcastReply : model.delayedResponse;
            const ZebObject parsed = parseObject(Json{
                {"object", 0}, {"sub", 0}, {"status", item.value().value("status", 0)}, {"data", item.value().value("data", "")}}, key);
            reply.status = parsed.status;
            reply.data = parsed.data;
        } else if (key == "bus") {
            model.bus = busFromJson(item.value(), "\"model\"", model.bus);
        } else if (key == "faults") {
            // A new seed starts the draw again; other keys change what the next draws mean.
            parent->changeFaults(faultsFromJson(item.value(), "\"model\"", model.faults),
                                 item.value().is_object() && item.value().contains("seed"));
        } else if (key == "wireTiming") {
            parent->setWireTiming(wireTimingOf(item.value()));
        } else if (key == "unknownObjectStatus") {
            model.unknownObjectStatus = static_cast<std::uint8_t>(
                parseObject(Json{{"object", 0}, {"sub", 0}, {"status", item.value()}, {"data", ""}}, key).status);
        } else {
            throw ScriptError("\"model\" knows answer, objects, broadcastReply, delayedResponse, "
                              "unknownObjectStatus, bus, faults and wireTiming, not \"" + key + "\"");
        }
    }
    run.transcript().add({{"ev", "model"}, {"change", spec}});
}

void stepChild(ScriptRun& run, const Json& j)
{
    auto* child = run.session().simulatedChild();
    if (!child)
        throw ScriptError("\"child\" needs a simulated child: {\"attach\": \"simulated-child\"} first");
    const std::string what = ScriptRun::text(j["child"], "\"child\"");
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
                data = support::HexToByteArray(ScriptRun::text(run.references().resolve(j["data"]), "\"data\""));
            } catch (const fdt::Error&) {
                throw ScriptError("\"data\" is not hexadecimal text: " + j["data"].dump());
            }
        }
        result = child->sendCommand(j["command"].get<int>(), data);
    } else {
        throw ScriptError("\"child\" takes \"connect\", \"disconnect\" or \"command\"");
    }
    run.checkResult(j, result);
}

} // namespace zeb2hart::frame

#include "scripts/References.h"

#include "core/ComponentClasses.h"
#include "fdt/Errors.h"
#include "gateway/HartGateway.h"
#include "host/ComponentHost.h"
#include "scripts/ScriptRun.h"
#include "support/Conversions.h"
#include "xml/DocumentPaths.h"

namespace zeb2hart::frame {

namespace {

template <class T>
const T* pick(const std::vector<const T*>& list, const Json& index, const std::string& what)
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

} // namespace

std::string References::interpolate(const std::string& input)
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

std::string References::reference(const std::string& name)
{
    auto& vars = m_run.vars();
    if (vars.count(name)) {
        const Json& value = vars[name];
        return value.is_string() ? value.get<std::string>() : value.dump();
    }
    const bool session = m_run.hasSession();
    if (name == "commRef")
        return m_run.commRef();
    if (name == "hartProtocol")
        return gateway::kHartProtocolId;
    if (name == "zebProtocol")
        return gateway::kZebProtocolId;
    if (name == "zebInvokeId")
        return session ? m_run.session().hosted().state("ZebInvokeId").as<std::string>() : "";
    if (name == "componentDir")
        return session ? m_run.session().componentFolder().string() : "";
    if (name == "/")
        return std::string(1, static_cast<char>(std::filesystem::path::preferred_separator));
    if (name == "frameSchemas")
        return frameSchemaFolder().string();
    if (name == "scriptDir")
        return m_run.scriptDir().string();
    if (name == "tempDir")
        return m_run.temporaryFolder().string();
    if (name == "child.invokeId") {
        auto* child = session ? m_run.session().simulatedChild() : nullptr;
        if (!child)
            throw ScriptError("${child.invokeId} needs a simulated child");
        return child->lastInvokeId();
    }
    return listReference(name);
}

// parent.requests[N].field, parent.transactions[N].field, child.calls[N].field
std::string References::listReference(const std::string& name)
{
    const auto open = name.find('[');
    const auto close = name.find(']');
    if (open != std::string::npos && close != std::string::npos && close > open && m_run.hasSession()) {
        const std::string list = name.substr(0, open);
        long long index = 0;
        try {
            index = std::stoll(name.substr(open + 1, close - open - 1));
        } catch (const std::exception&) {
            throw ScriptError("${" + name + "}: the position is a whole number");
        }
        const std::string field = close + 2 <= name.size() ? name.substr(close + 2) : "";
        if (list == "parent.requests" || list == "parent.transactions") {
            std::vector<const fakes::PeerCall*> requests;
            for (const auto& request : m_run.session().parentRequests()) {
                const bool listed = list == "parent.requests" ? request.operation.ends_with("Request")
                                                              : request.operation == "TransactionRequest";
                if (listed)
                    requests.push_back(&request);
            }
            const fakes::PeerCall* request = pick(requests, Json(index), list);
            if (field == "invokeId")
                return request->invokeId;
            if (field == "document")
                return request->document;
            if (field == "op")
                return std::string(request->operation);
            if (field == "protocolId")
                return request->protocolId;
            throw ScriptError("${" + name + "}: the fields are invokeId, document, op and protocolId");
        }
        if (list == "child.calls") {
            std::vector<const fakes::PeerCall*> calls;
            for (const auto& call : m_run.session().childCalls())
                calls.push_back(&call);
            const fakes::PeerCall* call = pick(calls, Json(index), list);
            if (field == "invokeId")
                return call->invokeId;
            if (field == "document")
                return call->document;
            if (field == "op")
                return std::string(call->operation);
            throw ScriptError("${" + name + "}: the fields are invokeId, document and op");
        }
    }
    throw ScriptError("unknown reference ${" + name + "}");
}

Json References::resolve(const Json& value)
{
    if (value.is_string())
        return interpolate(value.get<std::string>());
    if (value.is_object() && value.contains("file") && value.size() == 1)
        return ScriptRun::readFile(m_run.scriptPath(ScriptRun::text(value["file"], "\"file\"")));
    if (value.is_object() && value.contains("doc"))
        return buildDocument(value);
    return value;
}

Json References::resolveMatcher(const Json& matcher)
{
    if (matcher.is_string()) {
        // "${NAME}" alone stands for the whole value a "let" kept, whatever its kind.
        const std::string& text = matcher.get_ref<const std::string&>();
        if (text.size() > 3 && text.rfind("${", 0) == 0 && text.back() == '}' &&
            text.find('}') == text.size() - 1) {
            const auto var = m_run.vars().find(text.substr(2, text.size() - 3));
            if (var != m_run.vars().end())
                return var->second;
        }
        return interpolate(text);
    }
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

const fakes::PeerCall* References::lastRequest(const std::string& op) const
{
    const auto& requests = m_run.session().parentRequests();
    for (auto it = requests.rbegin(); it != requests.rend(); ++it) {
        if (it->operation == op)
            return &*it;
    }
    return nullptr;
}

const fakes::PeerCall& References::transactionRequest(const Json& index) const
{
    std::vector<const fakes::PeerCall*> transactions;
    for (const auto& request : m_run.session().parentRequests()) {
        if (request.operation == "TransactionRequest")
            transactions.push_back(&request);
    }
    return *pick(transactions, index, "parent.transactions");
}

std::string References::transactionAnswer(const Json& j, const fakes::PeerCall& request)
{
    const auto& documents = m_run.session().documents();
    const std::string reference =
        j.contains("reference") ? ScriptRun::text(resolve(j["reference"]), "\"reference\"") : m_run.commRef();
    if (j.contains("error")) {
        std::string active = "True";
        if (j.contains("zebActive")) {
            const Json& value = j["zebActive"];
            active = value.is_boolean() ? (value.get<bool>() ? "True" : "False") : ScriptRun::text(value, "\"zebActive\"");
        }
        const std::string tag = j.contains("tag") ? ScriptRun::text(resolve(j["tag"]), "\"tag\"") : "";
        return documents.zebCommError(reference, tag, ScriptRun::text(resolve(j["error"]), "\"error\""), active);
    }
    const auto header = [&](const char* attribute, const char* key) -> long {
        if (j.contains(key)) {
            if (!j[key].is_number_integer())
                throw ScriptError(std::string("\"") + key + "\" takes a whole number");
            return j[key].get<long>();
        }
        const auto value = m_run.readAttribute(request.document, xml::paths::kRequestHeader, attribute);
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
    const std::string data = j.contains("data") ? ScriptRun::text(resolve(j["data"]), "\"data\"") : "";
    return documents.zebDataExchangeResponse(reference, static_cast<int>(status), header("ObjectNo", "object"),
                                             static_cast<int>(header("SubNo", "sub")),
                                             static_cast<int>(header("MessageType", "messageType")), data);
}

std::string References::buildDocument(const Json& spec)
{
    const auto& documents = m_run.session().documents();
    const std::string kind = ScriptRun::text(spec["doc"], "\"doc\"");
    const auto field = [&](const char* key, const std::string& fallback) {
        return spec.contains(key) ? ScriptRun::text(resolve(spec[key]), key) : fallback;
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
        return documents.hartDisconnectRequest(field("reference", m_run.commRef()));
    if (kind == "hart-command") {
        if (!spec.contains("command"))
            throw ScriptError("a hart-command document needs \"command\"");
        return documents.hartTransactionRequest(static_cast<int>(number("command", 0)),
                                                field("reference", m_run.commRef()), field("data", ""));
    }
    if (kind == "zeb-connect-response")
        return documents.zebConnectResponse(field("reference", "ZEB-REF-1"), field("tag", ""));
    if (kind == "zeb-disconnect-response")
        return documents.zebDisconnectResponse(field("reference", m_run.commRef()));
    if (kind == "zeb-data") {
        fakes::PeerCall none;
        const fakes::PeerCall& request = spec.contains("request") ? transactionRequest(spec["request"]) : none;
        return transactionAnswer(spec, request);
    }
    if (kind == "zeb-error")
        return documents.zebCommError(field("reference", m_run.commRef()), field("tag", ""), field("error", "timeout"),
                                      spec.contains("zebActive") && spec["zebActive"].is_boolean()
                                          ? (spec["zebActive"].get<bool>() ? "True" : "False")
                                          : field("zebActive", "True"));
    if (kind == "device-type")
        return documents.deviceType(field("name", "ZEB to HART Gateway"), field("busCategory", gateway::kZebProtocolId));
    if (kind == "user-info")
        return documents.userInformation(field("level", "planningEngineer"));
    if (kind == "function-call")
        return documents.functionCall(field("id", core::kFunctionMonitor));
    throw ScriptError("unknown document \"" + kind +
                      "\" (hart-connect, hart-disconnect, hart-command, zeb-connect-response, "
                      "zeb-disconnect-response, zeb-data, zeb-error, device-type, user-info, function-call)");
}

} // namespace zeb2hart::frame
